// Run-time behaviour of the component creation and cabinet commands: each
// creation command makes its component through the shared creation path
// (component_creation.cpp). The cabinet commands move on to the next command
// until cabinets can be filled.
#include "engine/command_component.h"

#include "expr/component_types.h"
#include "objects/components/tova_custom_images.h"
#include "objects/property_ids.h"

namespace tova {

void TComTimer::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_TIMER);
}
void TComSound::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_SOUND);
}
void TComBoxNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_BOX);
}
void TComImgNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_IMAGES);
}
void TComMesNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_MES);
}
void TComMovie::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_VIDEO);
}
void TComCinema::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_CINEMA);
}
void TComCaption::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_LABEL);
}
void TComMenu::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_MENU);
}
void TComBtnNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_BUTTON);
}
void TComParticleNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_PARTICLE);
}
void TComFireNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_FIRE);
}
void TComEditNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_EDIT);
}
void TComMemoNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_MEMO);
}
void TComMapImgNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_MAPIMG);
}
void TComWaveNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_WAVE);
}
void TComTileNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_TILE);
}
void TComSliderNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_SLIDER);
}
void TComScrollbarNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_SCROLLBAR);
}
void TComGaugeNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_GAUGE);
}
void TComCGCaption::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_CGLABEL);
}
void TComPrevMenuNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    CreateAndApply(callMan, pc, LT_PREVMENU);
}
void TComImgNew::HandOver(TTovaObject& object) {
    TTovaParser* delay = Property(PR_DELAY);
    auto* images = dynamic_cast<TTovaCustomImages*>(&object);
    if (!delay || !images) return;
    auto copy = std::make_unique<TTovaParser>();
    copy->Assign(*delay);
    images->SetLastFrameExpression(std::move(copy));
}

void TComCabinetSave::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComCabinetLoad::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}

}  // namespace tova
