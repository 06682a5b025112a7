#include "expr/system_variable_names.h"

#include <array>

namespace tova {
namespace {

constexpr std::array<std::string_view, kSystemVariableCount> kNames = {
    "@Result",
    "@LClick",
    "@RClick",
    "@LPush",
    "@RPush",
    "@MouseX",
    "@MouseY",
    "@TextDelay",
    "@HistoryCount",
    "@ParamCount",
    "@ParamStr",
    "@Sender",
    "@ScrWidth",
    "@ScrHeight",
    "@TickCount",
    "@PCTickCount",
    "@UpdateCount",
    "@Year",
    "@Month",
    "@Day",
    "@Week",
    "@Hour",
    "@Min",
    "@Sec",
    "@Fonts",
    "@FixedFonts",
    "@FullScr",
    "@Cursor",
    "@SelStr",
    "@SelIndex",
    "@Pi",
    "@CGDither",
    "@1Hour",
    "@1Min",
    "@1Sec",
    "@KeyPush",
    "@KeyClick",
    "@DisplayModeCount",
    "@DisplayModeIndex",
    "@Title",
    "@SoundON",
    "@ActiveCompo",
    "@KeyRepeat",
    "@HistoryMaxCount",
    "@Temp",
    "@MidiPort",
    "@MidiPorts",
    "@WheelDown",
    "@WheelUp",
    "@IsDebug",
};

}  // namespace

std::string_view SystemVariableName(int sysIndex) {
    return kNames.at(static_cast<size_t>(sysIndex));
}

}  // namespace tova
