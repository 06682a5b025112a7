#include "sdk/command_line.h"

#include <charconv>

namespace tova::sdk {

TCommandLine::TCommandLine(const std::vector<std::string>& args, const std::set<std::string>& flags,
                           const std::set<std::string>& valued) {
    bool onlyOperands = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!onlyOperands && arg == "-h") throw EHelpRequested();
        if (onlyOperands || arg.size() < 2 || !arg.starts_with("--")) {
            operands_.push_back(arg);
        } else if (arg == "--") {
            onlyOperands = true;
        } else if (arg == "--help") {
            throw EHelpRequested();
        } else if (flags.count(arg)) {
            flags_.insert(arg);
        } else if (valued.count(arg)) {
            if (i + 1 >= args.size()) throw EUsage(arg + " needs a value");
            values_[arg] = args[++i];
        } else if (const size_t equals = arg.find('='); equals != std::string::npos) {
            // --name=value
            const std::string name = arg.substr(0, equals);
            if (!valued.count(name))
                throw EUsage(flags.count(name) ? name + " takes no value" : "unknown option " + name);
            values_[name] = arg.substr(equals + 1);
        } else {
            throw EUsage("unknown option " + arg);
        }
    }
}

std::optional<std::string> TCommandLine::Value(const std::string& option) const {
    const auto it = values_.find(option);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void TCommandLine::ExpectOperands(size_t n) const {
    if (operands_.size() != n)
        throw EUsage("expected " + std::to_string(n) + " operands, got " + std::to_string(operands_.size()));
}

long long ParseCount(const std::string& option, const std::string& text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        throw EUsage(option + " takes a whole number, not '" + text + "'");
    return value;
}

}  // namespace tova::sdk
