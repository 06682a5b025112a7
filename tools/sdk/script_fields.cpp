#include "sdk/script_fields.h"

#include "engine/command_media.h"

namespace tova::sdk {
namespace {

using TFields = std::vector<TFieldSlot>;

TFieldSlot One(std::string_view name, TTovaParser& parser, int32_t minVersion = 0) {
    return {name, &parser, nullptr, minVersion};
}

TFieldSlot Many(std::string_view name, TParserList& list) {
    return {name, nullptr, &list, 0};
}

template <class T>
T& As(TCommand& command) {
    return static_cast<T&>(command);
}

TFields FlowFields(TCommand& c) {
    switch (c.GetCode()) {
        case TCommandCode::If:
        case TCommandCode::Elseif:
            return {One("Condition", As<TComIf>(c).Condition)};
        case TCommandCode::Jump:
            return {One("Condition", As<TComJump>(c).Condition)};
        case TCommandCode::Call:
            return {One("Condition", As<TComCall>(c).Condition),
                    Many("Arguments", As<TComCall>(c).Arguments)};
        case TCommandCode::Exit:
        case TCommandCode::Break:
        case TCommandCode::Continue:
            return {One("Condition", As<TComExit>(c).Condition)};
        case TCommandCode::Wait: {
            auto& wait = As<TComWait>(c);
            return {One("Condition", wait.Condition), One("Time", wait.Time),
                    One("BlockEvents", wait.BlockEvents, kBlockEventsVersion)};
        }
        case TCommandCode::Calc:
            return {One("Expression", As<TComCalc>(c).Expression)};
        case TCommandCode::VarNew:
            return {One("InitialValue", As<TComVarNew>(c).InitialValue)};
        case TCommandCode::GetProp:
            return {One("Object", As<TComGetProp>(c).Object),
                    One("PropertyId", As<TComGetProp>(c).PropertyId)};
        case TCommandCode::SetProp: {
            auto& set = As<TComSetProp>(c);
            return {One("Object", set.Object), One("PropertyId", set.PropertyId), One("Value", set.Value)};
        }
        case TCommandCode::ObjDel:
            return {One("Object", As<TComObjDel>(c).Object)};
        case TCommandCode::While:
            return {One("Condition", As<TComWhile>(c).Condition)};
        case TCommandCode::WhileInit:
        case TCommandCode::WhileLoop:
            return {One("Expression", As<TComWhileInit>(c).Expression)};
        case TCommandCode::GameSave:
            return {One("Slot", As<TComGameSave>(c).Slot), One("Text", As<TComGameSave>(c).Text)};
        case TCommandCode::GameLoad:
            return {One("Slot", As<TComGameLoad>(c).Slot)};
        default:
            return {};
    }
}

TFields MediaFields(TCommand& c) {
    switch (c.GetCode()) {
        case TCommandCode::Flip: {
            auto& flip = As<TComFlip>(c);
            return {One("WipeType", flip.WipeType),
                    One("Duration", flip.Duration),
                    One("Reverse", flip.Reverse),
                    One("Mode", flip.Mode),
                    Many("NameLists", flip.NameLists),
                    One("ClearOld", flip.ClearOld),
                    One("Param0", flip.Param0),
                    One("Param1", flip.Param1),
                    One("WipeSource", flip.WipeSource, kWipeSourceVersion),
                    One("BlockEvents", flip.BlockEvents, kBlockEventsVersion)};
        }
        case TCommandCode::TextIns: {
            auto& text = As<TComTextIns>(c);
            return {One("Target", text.Target), One("ReadMark", text.ReadMark), One("Wait", text.Wait),
                    One("BlockEvents", text.BlockEvents, kBlockEventsVersion)};
        }
        case TCommandCode::MovieStop: {
            auto& stop = As<TComMovieStop>(c);
            return {One("Target", stop.Target), One("FadeTime", stop.FadeTime), One("Wait", stop.Wait),
                    One("BlockEvents", stop.BlockEvents, kBlockEventsVersion)};
        }
        case TCommandCode::MenuClose:
            return {One("Target", As<TComMenuClose>(c).Target)};
        case TCommandCode::TextClr:
            return {One("Target", As<TComTextClr>(c).Target)};
        case TCommandCode::MediaPlay:
            return {One("Target", As<TComMediaPlay>(c).Target)};
        case TCommandCode::CallHist: {
            auto& hist = As<TComCallHist>(c);
            return {One("Window", hist.Window), One("Start", hist.Start), One("Count", hist.Count),
                    One("ReadFlag", hist.ReadFlag), One("Format", hist.Format, kHistoryFormatVersion)};
        }
        case TCommandCode::FormatHist: {
            auto& entry = As<TComEntryHist>(c);
            return {One("Component", entry.Component), One("Format", entry.Format, kHistoryFormatVersion)};
        }
        case TCommandCode::PropMotion: {
            auto& motion = As<TComPropMotion>(c);
            return {One("Name", motion.Name),
                    One("Target", motion.Target),
                    One("PropertyId", motion.PropertyId),
                    One("RealValue", motion.RealValue),
                    One("IntValue", motion.IntValue),
                    One("ByteValue", motion.ByteValue),
                    One("Paused", motion.Paused, kMotionPausedVersion)};
        }
        case TCommandCode::SaveCabinet:
        case TCommandCode::LoadCabinet: {
            auto& cabinet = As<TComCabinet>(c);
            return {One("Mode", cabinet.Mode), Many("Names", cabinet.Names)};
        }
        default:
            return {};
    }
}

}  // namespace

std::vector<TFieldSlot> ExpressionFields(TCommand& command) {
    TFields fields = FlowFields(command);
    return fields.empty() ? MediaFields(command) : fields;
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
