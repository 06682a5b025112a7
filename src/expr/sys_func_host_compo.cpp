// The built-in functions about components: properties, item states,
// coordinate conversion, lookup and listing.
#include <optional>

#include "core/error.h"
#include "core/sjis.h"
#include "expr/param_collection_item.h"
#include "expr/param_convert.h"
#include "expr/property_names.h"
#include "expr/sys_func_host_util.h"
#include "expr/sys_host.h"

namespace tova {
namespace {

constexpr int kLastPropertyId = 162;

// The item index of argument 2. A preview menu takes a text index only when
// it is an integer.
std::optional<int> ItemIndex(const TSysCall& call, TSysHost& host, std::string_view compo) {
    const std::optional<int> type = host.Components().ComponentType(compo);
    if (!type) return std::nullopt;
    if (*type == TComponentHost::kPrevMenuType && call.HasArg(2) && call.Arg(2).GetParamType() == PT_STR) {
        const std::string text = call.Arg(2).GetStr();
        const std::optional<int32_t> index = TryTextToInt(text);
        if (!index) throw ETovaError::Format("'%s' は有効な整数値ではありません", {text});
        return *index;
    }
    return IntArg(call, 2);
}

template <TItemFlag Flag>
void GetFlag(TSysCall& call) {
    TSysHost& host = HostOf(call);
    const std::string compo = TextArg(call, 1);
    const std::optional<int> index = ItemIndex(call, host, compo);
    if (!index) return;
    if (const std::optional<bool> state = host.Components().GetItemFlag(compo, Flag, *index))
        call.Target.SetBool(*state);
}

template <TItemFlag Flag>
void SetFlag(TSysCall& call) {
    TSysHost& host = HostOf(call);
    const std::string compo = TextArg(call, 1);
    const std::optional<int> index = ItemIndex(call, host, compo);
    if (!index) return;
    host.Components().SetItemFlag(compo, Flag, *index, BoolArg(call, 3));
}

void GetGroupIndex(TSysCall& call) {
    TSysHost& host = HostOf(call);
    const std::string compo = TextArg(call, 1);
    const std::optional<int> index = ItemIndex(call, host, compo);
    if (!index) return;
    if (const std::optional<int32_t> group = host.Components().GetGroupIndex(compo, *index))
        call.Target.SetInt(*group);
}

// The property id of argument 2 for a component that exists.
std::optional<int> PropertyId(const TSysCall& call, TSysHost& host, std::string_view compo,
                              std::string_view utf8Error) {
    if (!host.Components().ComponentType(compo)) return std::nullopt;
    const int32_t id = IntArg(call, 2);
    if (id < 0 || id > kLastPropertyId) throw ETovaError::Format(utf8Error);
    return id;
}

void GetProp(TSysCall& call) {
    TSysHost& host = HostOf(call);
    const std::string compo = TextArg(call, 1);
    if (const std::optional<int> id = PropertyId(call, host, compo, "GetPropエラー"))
        host.Components().GetProperty(compo, *id, call.Target.Value());
}

void SetProp(TSysCall& call) {
    TSysHost& host = HostOf(call);
    const std::string compo = TextArg(call, 1);
    const std::optional<int> id = PropertyId(call, host, compo, "SetPropエラー");
    if (!id || !call.HasArg(3)) return;
    if (!host.Components().SetProperty(compo, *id, call.Arg(3)) && call.Env.Warnings)
        call.Env.Warnings->Warn(NotTakenMessage(compo, *id));
}

void Exists(TSysCall& call) {
    const std::string compo = TextArg(call, 1);
    call.Target.SetBool(!compo.empty() && HostOf(call).Components().ComponentType(compo).has_value());
}

void InPrimary(TSysCall& call) {
    const std::string compo = TextArg(call, 1);
    call.Target.SetBool(!compo.empty() && HostOf(call).Components().InPrimary(compo));
}

void InCabinet(TSysCall& call) {
    const std::string compo = TextArg(call, 1);
    call.Target.SetBool(!compo.empty() && HostOf(call).Components().InCabinet(compo));
}

// Screen and client coordinates differ by the component's screen origin;
// without the component the value passes unchanged.
template <bool Y, int Sign>
void ConvertPoint(TSysCall& call) {
    const int32_t value = IntArg(call, 2);
    const auto origin = HostOf(call).Components().ScreenOrigin(TextArg(call, 1));
    if (!origin) {
        call.Target.SetInt(value);
        return;
    }
    const int64_t shift = Y ? origin->second : origin->first;
    call.Target.SetInt(static_cast<int32_t>(static_cast<int64_t>(value) + Sign * shift));
}

void IndexOfMenu(TSysCall& call) {
    const std::optional<std::string> items = HostOf(call).Components().ItemText(TextArg(call, 1));
    int32_t found = -1;
    if (items) {
        const std::string wanted = TextArg(call, 2);
        const std::vector<std::string> lines = SplitLines(*items);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (SjisSameText(lines[i], wanted)) {
                found = static_cast<int32_t>(i);
                break;
            }
        }
    }
    call.Target.SetInt(found);
}

void ListCompo(TSysCall& call) {
    TSysHost& host = HostOf(call);
    std::vector<TComponentEntry> entries;
    if (call.HasArg(3)) {
        if (auto children = host.Components().ChildComponents(TextArg(call, 3)))
            entries = std::move(*children);
    } else {
        entries = host.Components().ScreenComponents();
    }
    const int32_t type = IntArg(call, 2);
    const bool everyType = type == 0 || type > TComponentHost::kLastComponentType;
    std::vector<std::string> names;
    for (TComponentEntry& entry : entries)
        if (everyType || entry.Type == type) names.push_back(std::move(entry.Name));
    if (call.HasArg(1)) AssignTextList(call.Arg(1), names);
    call.Target.SetInt(static_cast<int32_t>(names.size()));
}

}  // namespace

void RegisterHostComponentFunctions(TSysFunctionImpl* table) {
    table[2] = GetProp;
    table[3] = SetProp;
    table[19] = Exists;
    table[24] = GetFlag<TItemFlag::Check>;
    table[25] = SetFlag<TItemFlag::Check>;
    table[32] = ListCompo;
    table[33] = ConvertPoint<false, -1>;
    table[34] = ConvertPoint<true, -1>;
    table[35] = ConvertPoint<false, 1>;
    table[36] = ConvertPoint<true, 1>;
    table[47] = IndexOfMenu;
    table[69] = InPrimary;
    table[131] = GetFlag<TItemFlag::Enabled>;
    table[132] = SetFlag<TItemFlag::Enabled>;
    table[140] = GetFlag<TItemFlag::Visible>;
    table[141] = SetFlag<TItemFlag::Visible>;
    table[145] = GetGroupIndex;
    table[146] = GetFlag<TItemFlag::Selected>;
    table[147] = SetFlag<TItemFlag::Selected>;
    table[154] = InCabinet;
}

}  // namespace tova
