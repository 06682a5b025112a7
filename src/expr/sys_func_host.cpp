#include "expr/sys_func_host_util.h"
#include "expr/sys_func_registry.h"
#include "expr/sys_host.h"

namespace tova {

TSysHost& HostOf(const TSysCall& call) {
    static TSysHost defaultHost;
    return call.Env.Host ? *call.Env.Host : defaultHost;
}

std::string TextArg(const TSysCall& call, int n) {
    return call.HasArg(n) ? call.Arg(n).GetStr() : std::string();
}

int32_t IntArg(const TSysCall& call, int n) {
    return call.HasArg(n) ? call.Arg(n).GetInt() : 0;
}

bool BoolArg(const TSysCall& call, int n, bool absent) {
    return call.HasArg(n) ? call.Arg(n).GetBool() : absent;
}

namespace {

template <typename T, typename TSetAt>
void AssignList(TCustomParam& var, const std::vector<T>& items, TSetAt setAt) {
    if (items.empty()) {
        // Through a reference a scalar write goes to one element, so the
        // shape is dropped first.
        var.MakeScalar();
        var.SetStr("");
        return;
    }
    var.SetDims({static_cast<int32_t>(items.size())});
    for (size_t i = 0; i < items.size(); ++i)
        (var.*setAt)(static_cast<int>(i), items[i]);
}

}  // namespace

void AssignTextList(TCustomParam& var, const std::vector<std::string>& items) {
    AssignList(var, items, &TCustomParam::SetStrAt);
}

void AssignIntList(TCustomParam& var, const std::vector<int32_t>& items) {
    AssignList(var, items, &TCustomParam::SetIntAt);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        lines.emplace_back(text.substr(start, pos - start));
        if (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
        start = ++pos;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

void RegisterHostFunctions(TSysFunctionImpl* table) {
    RegisterHostComponentFunctions(table);
    RegisterHostScreenFunctions(table);
    RegisterHostFileFunctions(table);
    RegisterHostVariableFunctions(table);
    RegisterHostCalcFunction(table);
}

}  // namespace tova
