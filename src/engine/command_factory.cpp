// The factory from a record's type code to a new command of its class.
#include <array>

#include "core/error.h"
#include "engine/command.h"
#include "engine/command_component.h"
#include "engine/command_flow.h"
#include "engine/command_media.h"

namespace tova {
namespace {

using TCommandCreator = std::unique_ptr<TCommand> (*)(TPage&);

template <typename T>
std::unique_ptr<TCommand> Make(TPage& page) {
    return std::make_unique<T>(page);
}

// Indexed by type code.
constexpr std::array<TCommandCreator, kCommandCodeCount> kCreators = {
    Make<TComIf>,           Make<TComElseif>,     Make<TComElse>,      Make<TComLabel>,
    Make<TComJump>,         Make<TComCall>,       Make<TComExit>,      Make<TComWait>,
    Make<TComBoxNew>,       Make<TComImgNew>,     Make<TComMesNew>,    Make<TComTimer>,
    Make<TComMovie>,        Make<TComFlip>,       Make<TComCalc>,      Make<TComVarNew>,
    Make<TComVarDel>,       Make<TComGetProp>,    Make<TComSetProp>,   Make<TComObjDel>,
    Make<TComTextIns>,      Make<TComMovieStop>,  Make<TComClrHist>,   Make<TComCinema>,
    Make<TComCaption>,      Make<TComMenu>,       Make<TComMenuClose>, Make<TComComment>,
    Make<TComTextClr>,      Make<TComCallHist>,   Make<TComBtnNew>,    Make<TComWhile>,
    Make<TComWhileInit>,    Make<TComWhileLoop>,  Make<TComBreak>,     Make<TComContinue>,
    Make<TComParticleNew>,  Make<TComFireNew>,    Make<TComGameSave>,  Make<TComGameLoad>,
    Make<TComPCReset>,      Make<TComReset>,      Make<TComSound>,     Make<TComEditNew>,
    Make<TComMemoNew>,      Make<TComTerminate>,  Make<TComDoEvent>,   Make<TComClrRead>,
    Make<TComMapImgNew>,    Make<TComWaveNew>,    Make<TComTileNew>,   Make<TComSliderNew>,
    Make<TComScrollbarNew>, Make<TComGaugeNew>,   Make<TComCGCaption>, Make<TComMediaPlay>,
    Make<TComPrevMenuNew>,  Make<TComPropMotion>, Make<TComEntryHist>, Make<TComCabinetSave>,
    Make<TComCabinetLoad>,
};

}  // namespace

std::unique_ptr<TCommand> CreateCommand(TPage& page, uint8_t typeByte) {
    const int code = typeByte & 0x7F;
    if (code >= kCommandCodeCount) throw ETovaError(SysText("不正なコマンド"));
    return kCreators[static_cast<size_t>(code)](page);
}

}  // namespace tova
