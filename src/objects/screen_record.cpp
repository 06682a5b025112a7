// The screen's part of the save data: its size and current layer, both
// layers with their children, the top-level non-visual components, the event
// queue and the focused control's name.
#include "core/binary_io.h"
#include "core/error.h"
#include "objects/record_io.h"
#include "objects/tova_base_list.h"

namespace tova {
namespace {

// A non-visual component is saved when it is a real component, not a system
// object, and not about to be deleted.
bool SavedAlone(const TTovaBaseList& screen, const TTovaObject& object) {
    return !object.AsControl() && object.TypeCode() != LT_NONE && !object.IsSystemObject() &&
           !screen.IsScheduledForDeletion(object);
}

}  // namespace

void TTovaBaseList::SaveToStream(TStream& stream) const {
    WriteI32(stream, width_);
    WriteI32(stream, height_);
    WriteI32(stream, current_);
    for (const auto& layer : layers_)
        layer->SaveToStream(stream);
    std::vector<const TTovaObject*> saved;
    for (size_t i = 0; i < registry_.Count(); ++i)
        if (SavedAlone(*this, registry_.At(i))) saved.push_back(&registry_.At(i));
    WriteI32(stream, static_cast<int32_t>(saved.size()));
    for (const TTovaObject* object : saved) {
        WriteU8(stream, static_cast<uint8_t>(object->TypeCode()));
        object->SaveToStream(stream);
    }
    Events.SaveToStream(stream, [this](TComponentHandle handle) {
        const TTovaObject* sender = Resolve(handle);
        return sender ? LookupName(*sender) : std::string();
    });
    const TTovaControl* focus = Focus();
    WriteString(stream, focus ? LookupName(*focus) : std::string());
}

void TTovaBaseList::LoadFromStream(TStream& stream, int32_t version) {
    Reset();
    TRecordIO io(stream, TRecordIO::TMode::Read);
    int32_t width = 0;
    int32_t height = 0;
    int32_t current = 0;
    io.I32(width);
    io.I32(height);
    io.I32(current);
    // The screen keeps the size the game gave it: the window shows that size,
    // and a saved size that differs (a game whose size changed since the
    // save, or a damaged record) would make the screen disagree with it.
    current_ = current & 1;
    for (auto& layer : layers_) {
        layer->LoadFromStream(stream, version);
        // The record's size and name do not move a layer.
        layer->Left = layer->Top = 0;
        layer->TTovaObject::SetName(std::string(LayerName(layer->Index())));
        layer->Resize(width_, height_);
    }
    int32_t count = 0;
    io.Count(count, 1 << 20, 1 + 12);
    for (int32_t i = 0; i < count; ++i) {
        const int code = ReadU8(stream);
        TTovaObject* object = CreateComponent(code);
        if (!object || object->AsControl()) {
            if (object) RemoveObject(*object);
            throw ETovaError(TErrorKind::DamagedSave, "the screen's record is damaged: a component of type " +
                                                          std::to_string(code) + " cannot be created");
        }
        object->LoadFromStream(stream, version);
    }
    Events.LoadFromStream(stream, version, [this](std::string_view name) { return FindHandle(name); });
    focusDirty_ = true;
    if (version >= kFocusNameVersion) {
        const std::string name = ReadString(stream);
        if (TTovaControl* control = name.empty() ? nullptr : FindControl(name)) {
            focus_ = control->Handle();
            focusDirty_ = false;
            control->FocusChanged(true);
        }
    }
}

}  // namespace tova
