// Record fields of the component and cabinet commands.
#include "engine/command_component.h"

#include "engine/command_archive.h"
#include "engine/page.h"

namespace tova {

TComComponent::TComComponent(TPage& page, TCommandCode code) : TCommand(page) {
    const TPropertyMask& mask = page.MaskFor(code);
    for (int id = 0; id < kComponentPropertyCount; ++id)
        if (MaskHas(mask, id)) Properties[static_cast<size_t>(id)] = std::make_unique<TTovaParser>();
}

void TComComponent::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Properties(Properties);
}

TTovaParser* TComComponent::Property(int id) const {
    if (id < 0 || id >= kComponentPropertyCount) return nullptr;
    return Properties[static_cast<size_t>(id)].get();
}

void TComCabinet::Serialize(TCommandArchive& archive) {
    TComComponent::Serialize(archive);
    archive.Expression("Mode", Mode);
    archive.ExpressionList("Names", Names);
}

}  // namespace tova
