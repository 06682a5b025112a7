// Record reading and writing of the component and cabinet commands.
#include "engine/command_component.h"

#include "engine/command_io.h"
#include "engine/page.h"

namespace tova {

TComComponent::TComComponent(TPage& page, TCommandCode code) : TCommand(page) {
    const TPropertyMask& mask = page.MaskFor(code);
    for (int id = 0; id < kComponentPropertyCount; ++id)
        if (MaskHas(mask, id)) Properties[static_cast<size_t>(id)] = std::make_unique<TTovaParser>();
}

void TComComponent::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    for (const auto& slot : Properties)
        if (slot) slot->LoadFromStream(stream);
}

void TComComponent::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    for (const auto& slot : Properties)
        if (slot) slot->SaveToStream(stream);
}

TTovaParser* TComComponent::Property(int id) const {
    if (id < 0 || id >= kComponentPropertyCount) return nullptr;
    return Properties[static_cast<size_t>(id)].get();
}

void TComCabinet::LoadFromStream(TStream& stream) {
    TComComponent::LoadFromStream(stream);
    Mode.LoadFromStream(stream);
    ReadParserList(stream, Names);
}

void TComCabinet::SaveToStream(TStream& stream) const {
    TComComponent::SaveToStream(stream);
    Mode.SaveToStream(stream);
    WriteParserList(stream, Names);
}

}  // namespace tova
