// Argument parsing shared by the subcommands of the SDK tool: options
// ("--name" or "--name VALUE") may stand anywhere, the rest are operands.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tova::sdk {

// A wrong command line (exit code 2).
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// -h or --help among a subcommand's arguments: its usage, exit code 0.
class EHelpRequested : public std::runtime_error {
public:
    EHelpRequested() : std::runtime_error("help") {}
};

class TCommandLine {
public:
    // flags: options without a value; valued: options that take one, as
    // "--name VALUE" or "--name=VALUE". -h and --help throw EHelpRequested.
    TCommandLine(const std::vector<std::string>& args, const std::set<std::string>& flags,
                 const std::set<std::string>& valued);

    bool Has(const std::string& option) const { return flags_.count(option) || values_.count(option); }
    std::optional<std::string> Value(const std::string& option) const;
    const std::vector<std::string>& Operands() const { return operands_; }
    // Throws EUsage unless there are exactly n operands.
    void ExpectOperands(size_t n) const;

private:
    std::set<std::string> flags_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> operands_;
};

// Parses a whole non-negative decimal number; throws EUsage naming the option.
long long ParseCount(const std::string& option, const std::string& text);

}  // namespace tova::sdk
