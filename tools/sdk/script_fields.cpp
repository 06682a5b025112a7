#include "sdk/script_fields.h"

namespace tova::sdk {

std::vector<TFieldSlot> ExpressionFields(TCommand& command) {
    return DescribeExpressions(command);
}

TComComponent* ComponentOf(TCommand& command) {
    return dynamic_cast<TComComponent*>(&command);
}

bool IsComponentCode(TCommandCode code) {
    switch (code) {
        case TCommandCode::BoxNew:
        case TCommandCode::ImgNew:
        case TCommandCode::MesNew:
        case TCommandCode::Timer:
        case TCommandCode::Movie:
        case TCommandCode::Cinema:
        case TCommandCode::Caption:
        case TCommandCode::Menu:
        case TCommandCode::Button:
        case TCommandCode::ParticleNew:
        case TCommandCode::FireNew:
        case TCommandCode::Sound:
        case TCommandCode::EditNew:
        case TCommandCode::MemoNew:
        case TCommandCode::MapImgNew:
        case TCommandCode::WaveNew:
        case TCommandCode::TileNew:
        case TCommandCode::SliderNew:
        case TCommandCode::ScrollbarNew:
        case TCommandCode::GaugeNew:
        case TCommandCode::CGCaption:
        case TCommandCode::PrevMenuNew:
        case TCommandCode::SaveCabinet:
        case TCommandCode::LoadCabinet:
            return true;
        default:
            return false;
    }
}

bool HasTrueByDefault(TCommandCode code) {
    return code == TCommandCode::Jump || code == TCommandCode::Call || code == TCommandCode::Exit ||
           code == TCommandCode::Break || code == TCommandCode::Continue;
}

}  // namespace tova::sdk
