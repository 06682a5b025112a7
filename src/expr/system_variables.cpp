#include "expr/system_variables.h"

#include <numbers>
#include <string>
#include <vector>

#include "expr/param_collection.h"
#include "expr/param_system.h"
#include "expr/param_var.h"
#include "expr/sys_host.h"

namespace tova {
namespace {

constexpr int kResultIndex = 0;
constexpr int kTempIndex = 44;
// The key tables: 256 virtual keys, then wheel down and wheel up.
constexpr int kKeyTableSize = 258;
constexpr int kWheelDownKey = 256;
constexpr int kWheelUpKey = 257;
// Longest chain of references followed when checking where @Temp leads.
constexpr int kMaxReferenceChain = 64;

std::string JoinTrimmed(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    size_t first = 0;
    while (first < text.size() && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    size_t last = text.size();
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

}  // namespace

TSystemVariables::TSystemVariables(TParamCollection& vars, TSysHost* host)
    : vars_(vars), defaultHost_(std::make_unique<TSysHost>()), host_(host ? host : defaultHost_.get()) {
    BuildValues();
}

TSystemVariables::~TSystemVariables() = default;

void TSystemVariables::SetHost(TSysHost* host) {
    host_ = host ? host : defaultHost_.get();
}

TCustomParam* TSystemVariables::Resolve(int sysIndex) {
    if (sysIndex == kResultIndex) {
        TCustomParam* result = Host().Script().ResultValue();
        return result ? result : &none_;
    }
    if (sysIndex == kTempIndex) {
        TCustomParam* temp = TempValue();
        return temp ? temp : &none_;
    }
    if (sysIndex < 0 || sysIndex >= kSystemVariableCount) return nullptr;
    return values_[static_cast<size_t>(sysIndex)].get();
}

TCustomParam* TSystemVariables::TempValue() const {
    // An empty name would find the unnamed temporaries of evaluation.
    if (vars_.TempTarget.empty()) return nullptr;
    TParamCollectionItem* item = vars_.FindItem(vars_.TempTarget);
    if (!item) return nullptr;
    // @Temp standing for itself, directly or through references, would
    // forward every operation round in a circle.
    const TCustomParam* step = &item->Value();
    for (int k = 0; k < kMaxReferenceChain; ++k) {
        if (const auto* system = dynamic_cast<const TParamSystem*>(step)) {
            if (system->SysIndex == kTempIndex) return nullptr;
            break;
        }
        const auto* reference = dynamic_cast<const TParamVar*>(step);
        if (!reference || !reference->Target()) break;
        step = &reference->Target()->Value();
    }
    return &item->Value();
}

void TSystemVariables::BuildValues() {
    auto boolVar = [this](int index, std::function<bool()> get, std::function<void(bool)> set = {}) {
        values_[static_cast<size_t>(index)] = std::make_unique<TSysBool>(std::move(get), std::move(set));
    };
    auto intVar = [this](int index, std::function<int32_t()> get, std::function<void(int32_t)> set = {}) {
        values_[static_cast<size_t>(index)] = std::make_unique<TSysInt>(std::move(get), std::move(set));
    };
    auto strVar = [this](int index, std::function<std::string()> get,
                         std::function<void(std::string_view)> set = {}) {
        values_[static_cast<size_t>(index)] = std::make_unique<TSysStr>(std::move(get), std::move(set));
    };
    auto floatVar = [this](int index, long double value) {
        values_[static_cast<size_t>(index)] = std::make_unique<TSysFloat>(value);
    };
    auto keyTable = [this](int index, TKeyTable table) {
        values_[static_cast<size_t>(index)] =
            std::make_unique<TSysBoolArray>(kKeyTableSize, [this, table](int key) {
                if (key == kWheelDownKey) return Host().Input().WheelDown();
                if (key == kWheelUpKey) return Host().Input().WheelUp();
                return Host().Input().KeyState(table, key);
            });
    };

    boolVar(
        1, [this] { return Host().Input().LClick(); }, [this](bool v) { Host().Input().SetLClick(v); });
    boolVar(
        2, [this] { return Host().Input().RClick(); }, [this](bool v) { Host().Input().SetRClick(v); });
    boolVar(3, [this] { return Host().Input().LPush(); });
    boolVar(4, [this] { return Host().Input().RPush(); });
    intVar(
        5, [this] { return Host().Input().MouseX(); }, [this](int32_t v) { Host().Input().SetMouseX(v); });
    intVar(
        6, [this] { return Host().Input().MouseY(); }, [this](int32_t v) { Host().Input().SetMouseY(v); });
    intVar(
        7, [this] { return vars_.TextDelay; }, [this](int32_t v) { vars_.TextDelay = v; });
    intVar(8, [this] { return Host().History().DefaultHistoryCount(); });
    intVar(9, [this] { return Host().Script().ParamCount(); });
    values_[10] = std::make_unique<TSysStrArray>([] { return std::string(); },
                                                 [this] { return Host().Script().ParamCount(); },
                                                 [this](int i) { return Host().Script().ParamStr(i); });
    strVar(11, [this] { return Host().Script().Sender(); });
    intVar(12, [this] { return Host().Script().ScreenWidth(); });
    intVar(13, [this] { return Host().Script().ScreenHeight(); });
    intVar(14, [this] { return Host().Script().TickCount(); });
    intVar(15, [this] { return Host().Script().PCTickCount(); });
    intVar(16, [this] { return Host().Script().UpdateCount(); });
    intVar(17, [this] { return Host().Script().Now().Year; });
    intVar(18, [this] { return Host().Script().Now().Month; });
    intVar(19, [this] { return Host().Script().Now().Day; });
    intVar(20, [this] { return Host().Script().Now().DayOfWeek; });
    intVar(21, [this] { return Host().Script().Now().Hour; });
    intVar(22, [this] { return Host().Script().Now().Min; });
    intVar(23, [this] { return Host().Script().Now().Sec; });
    strVar(24, [this] { return JoinTrimmed(Host().Shell().FontNames(false)); });
    strVar(25, [this] { return JoinTrimmed(Host().Shell().FontNames(true)); });
    boolVar(
        26, [this] { return Host().Shell().FullScreen(); },
        [this](bool v) { Host().Shell().SetFullScreen(v); });
    strVar(
        27, [this] { return vars_.Cursor; }, [this](std::string_view v) { vars_.Cursor = v; });
    strVar(
        28, [this] { return vars_.SelStr; }, [this](std::string_view v) { vars_.SelStr = v; });
    intVar(
        29, [this] { return vars_.SelIndex; }, [this](int32_t v) { vars_.SelIndex = v; });
    floatVar(30, std::numbers::pi_v<long double>);
    boolVar(
        31, [this] { return Host().Shell().CGDither(); }, [this](bool v) { Host().Shell().SetCGDither(v); });
    floatVar(32, 1.0L / 24.0L);
    floatVar(33, 1.0L / 1440.0L);
    floatVar(34, 1.0L / 86400.0L);
    keyTable(35, TKeyTable::Push);
    keyTable(36, TKeyTable::Click);
    intVar(37, [this] { return static_cast<int32_t>(Host().Shell().DisplayModes().size()); });
    intVar(
        38, [this] { return Host().Shell().DisplayModeIndex(); },
        [this](int32_t v) { Host().Shell().SetDisplayModeIndex(v); });
    strVar(39, [this] { return Host().Script().Title(); });
    boolVar(
        40, [this] { return Host().Sound().SoundOn(); }, [this](bool v) { Host().Sound().SetSoundOn(v); });
    strVar(
        41, [this] { return Host().Input().ActiveCompo(); },
        [this](std::string_view v) {
            if (!v.empty()) Host().Input().SetActiveCompo(v);
        });
    keyTable(42, TKeyTable::Repeat);
    intVar(
        43, [this] { return Host().History().DefaultHistoryMaxCount(); },
        [this](int32_t v) { Host().History().SetDefaultHistoryMaxCount(v); });
    strVar(
        45, [this] { return Host().Sound().MidiPort(); },
        [this](std::string_view v) { Host().Sound().SetMidiPort(v); });
    values_[46] = std::make_unique<TSysStrArray>(
        [this] {
            const std::vector<std::string> ports = Host().Sound().MidiPorts();
            return ports.empty() ? std::string() : ports.front();
        },
        [this] { return static_cast<int>(Host().Sound().MidiPorts().size()); },
        [this](int i) {
            const std::vector<std::string> ports = Host().Sound().MidiPorts();
            return i >= 0 && static_cast<size_t>(i) < ports.size() ? ports[static_cast<size_t>(i)]
                                                                   : std::string();
        });
    boolVar(47, [this] { return Host().Input().WheelDown(); });
    boolVar(48, [this] { return Host().Input().WheelUp(); });
    boolVar(49, [] { return false; });
}

}  // namespace tova
