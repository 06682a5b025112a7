// The commands that create components from property expressions, and the
// cabinet commands that park components. Their records are read and written
// in command_component.cpp; their Execute is in command_component_execute.cpp.
#pragma once

#include <array>
#include <memory>

#include "engine/command.h"
#include "engine/command_flow.h"
#include "expr/tova_parser.h"

namespace tova {

class TTovaObject;

// One expression slot per property id 0..162, present where the page's mask
// for the command's code has the bit set; the slots are created from the
// mask when the command is, so a page's masks are read before its commands.
class TComComponent : public TCommand {
public:
    TComComponent(TPage& page, TCommandCode code);
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;

    // The slot of a property id, or null when the record carries none.
    TTovaParser* Property(int id) const;

    std::array<std::unique_ptr<TTovaParser>, kComponentPropertyCount> Properties;

protected:
    // The creation path (component_creation.cpp): pc + 1, a component of the
    // LT_ code made on the screen, handed what HandOver gives, then the
    // properties of the present slots in the fixed order. Null, with a trace
    // note, when there is no class for the code yet.
    TTovaObject* CreateAndApply(TCallMan& callMan, int32_t& pc, int typeCode);
    // What a command gives the new component before its properties.
    virtual void HandOver(TTovaObject&) {}
};

class TComTimer final : public TComComponent {
public:
    explicit TComTimer(TPage& page) : TComComponent(page, TCommandCode::Timer) {}
    TCommandCode GetCode() const override { return TCommandCode::Timer; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComSound final : public TComComponent {
public:
    explicit TComSound(TPage& page) : TComComponent(page, TCommandCode::Sound) {}
    TCommandCode GetCode() const override { return TCommandCode::Sound; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

// The creation commands of components that have a place on the screen.
class TComControl : public TComComponent {
public:
    using TComComponent::TComComponent;
};

class TComBoxNew final : public TComControl {
public:
    explicit TComBoxNew(TPage& page) : TComControl(page, TCommandCode::BoxNew) {}
    TCommandCode GetCode() const override { return TCommandCode::BoxNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComImgNew final : public TComControl {
public:
    explicit TComImgNew(TPage& page) : TComControl(page, TCommandCode::ImgNew) {}
    TCommandCode GetCode() const override { return TCommandCode::ImgNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

protected:
    // The component's own copy of the PR_DELAY expression, which lengthens
    // its last frame each time it is shown.
    void HandOver(TTovaObject& object) override;
};

class TComMesNew final : public TComControl {
public:
    explicit TComMesNew(TPage& page) : TComControl(page, TCommandCode::MesNew) {}
    TCommandCode GetCode() const override { return TCommandCode::MesNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComMovie final : public TComControl {
public:
    explicit TComMovie(TPage& page) : TComControl(page, TCommandCode::Movie) {}
    TCommandCode GetCode() const override { return TCommandCode::Movie; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComCinema final : public TComControl {
public:
    explicit TComCinema(TPage& page) : TComControl(page, TCommandCode::Cinema) {}
    TCommandCode GetCode() const override { return TCommandCode::Cinema; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComCaption final : public TComControl {
public:
    explicit TComCaption(TPage& page) : TComControl(page, TCommandCode::Caption) {}
    TCommandCode GetCode() const override { return TCommandCode::Caption; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComMenu final : public TComControl {
public:
    explicit TComMenu(TPage& page) : TComControl(page, TCommandCode::Menu) {}
    TCommandCode GetCode() const override { return TCommandCode::Menu; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComBtnNew final : public TComControl {
public:
    explicit TComBtnNew(TPage& page) : TComControl(page, TCommandCode::Button) {}
    TCommandCode GetCode() const override { return TCommandCode::Button; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComParticleNew final : public TComControl {
public:
    explicit TComParticleNew(TPage& page) : TComControl(page, TCommandCode::ParticleNew) {}
    TCommandCode GetCode() const override { return TCommandCode::ParticleNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComFireNew final : public TComControl {
public:
    explicit TComFireNew(TPage& page) : TComControl(page, TCommandCode::FireNew) {}
    TCommandCode GetCode() const override { return TCommandCode::FireNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComEditNew final : public TComControl {
public:
    explicit TComEditNew(TPage& page) : TComControl(page, TCommandCode::EditNew) {}
    TCommandCode GetCode() const override { return TCommandCode::EditNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComMemoNew final : public TComControl {
public:
    explicit TComMemoNew(TPage& page) : TComControl(page, TCommandCode::MemoNew) {}
    TCommandCode GetCode() const override { return TCommandCode::MemoNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComMapImgNew final : public TComControl {
public:
    explicit TComMapImgNew(TPage& page) : TComControl(page, TCommandCode::MapImgNew) {}
    TCommandCode GetCode() const override { return TCommandCode::MapImgNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComWaveNew final : public TComControl {
public:
    explicit TComWaveNew(TPage& page) : TComControl(page, TCommandCode::WaveNew) {}
    TCommandCode GetCode() const override { return TCommandCode::WaveNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComTileNew final : public TComControl {
public:
    explicit TComTileNew(TPage& page) : TComControl(page, TCommandCode::TileNew) {}
    TCommandCode GetCode() const override { return TCommandCode::TileNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComSliderNew final : public TComControl {
public:
    explicit TComSliderNew(TPage& page) : TComControl(page, TCommandCode::SliderNew) {}
    TCommandCode GetCode() const override { return TCommandCode::SliderNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComScrollbarNew final : public TComControl {
public:
    explicit TComScrollbarNew(TPage& page) : TComControl(page, TCommandCode::ScrollbarNew) {}
    TCommandCode GetCode() const override { return TCommandCode::ScrollbarNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComGaugeNew final : public TComControl {
public:
    explicit TComGaugeNew(TPage& page) : TComControl(page, TCommandCode::GaugeNew) {}
    TCommandCode GetCode() const override { return TCommandCode::GaugeNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComCGCaption final : public TComControl {
public:
    explicit TComCGCaption(TPage& page) : TComControl(page, TCommandCode::CGCaption) {}
    TCommandCode GetCode() const override { return TCommandCode::CGCaption; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComPrevMenuNew final : public TComControl {
public:
    explicit TComPrevMenuNew(TPage& page) : TComControl(page, TCommandCode::PrevMenuNew) {}
    TCommandCode GetCode() const override { return TCommandCode::PrevMenuNew; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

// Property expressions (of which PR_NAME names the cabinet), then Mode and
// the names of the components to move.
class TComCabinet : public TComComponent {
public:
    using TComComponent::TComComponent;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;

    TTovaParser Mode;
    TParserList Names;
};

class TComCabinetSave final : public TComCabinet {
public:
    explicit TComCabinetSave(TPage& page) : TComCabinet(page, TCommandCode::SaveCabinet) {}
    TCommandCode GetCode() const override { return TCommandCode::SaveCabinet; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComCabinetLoad final : public TComCabinet {
public:
    explicit TComCabinetLoad(TPage& page) : TComCabinet(page, TCommandCode::LoadCabinet) {}
    TCommandCode GetCode() const override { return TCommandCode::LoadCabinet; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

}  // namespace tova
