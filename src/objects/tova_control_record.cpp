// The control's part of the save data, visited by one function for reading
// and writing, followed by the records of its saved children.
#include <string>

#include "core/binary_io.h"
#include "core/error.h"
#include "objects/record_io.h"
#include "objects/tova_base_list.h"
#include "objects/tova_control.h"

namespace tova {

void TTovaControl::VisitControlRecord(TRecordIO& io, int32_t) {
    io.I32(Left);
    io.I32(Top);
    io.I32(Width);
    io.I32(Height);
    io.I32(OffsetX);
    io.I32(OffsetY);
    io.Bool(PosZoomed);
    io.I32(MotionX);
    io.I32(MotionY);
    io.I32(PlusX);
    io.I32(PlusY);
    io.I32(ClipLeft);
    io.I32(ClipTop);
    io.I32(ClipWidth);
    io.I32(ClipHeight);
    io.Bool(AniPaused);
    io.Bool(Visible);
    io.I32(Color);
    io.Rect(Area);
    io.U8(IgnoreMouse);
    io.String(Cursor);
    for (std::string& text : MouseTexts)
        io.String(text);
    io.Bool(HandleKey);
    for (std::string& text : KeyTexts)
        io.String(text);
    if (io.Reading()) {
        Width = std::max(Width, 0);
        Height = std::max(Height, 0);
    }
}

void TTovaControl::SaveToStream(TStream& stream) const {
    TRecordIO io(stream, TRecordIO::TMode::Write);
    auto* self = const_cast<TTovaControl*>(this);
    self->VisitObjectRecord(io, kObjectsSaveVersion);
    self->VisitControlRecord(io, kObjectsSaveVersion);
    std::vector<const TTovaControl*> saved;
    for (const TTovaControl* child : Children())
        if (child->TypeCode() != LT_NONE && !child->IsSystemObject() &&
            !(Screen && Screen->IsScheduledForDeletion(*child)))
            saved.push_back(child);
    WriteI32(stream, static_cast<int32_t>(saved.size()));
    for (const TTovaControl* child : saved) {
        WriteU8(stream, static_cast<uint8_t>(child->TypeCode()));
        child->SaveToStream(stream);
    }
}

void TTovaControl::LoadFromStream(TStream& stream, int32_t version) {
    Invalidate();
    TRecordIO io(stream, TRecordIO::TMode::Read);
    VisitObjectRecord(io, version);
    VisitControlRecord(io, version);
    int32_t count = 0;
    // A child record holds at least its type code and a few dozen bytes.
    io.Count(count, 1 << 20, 1 + 100);
    for (int32_t i = 0; i < count; ++i) {
        const int code = ReadU8(stream);
        TTovaObject* child = Screen ? Screen->CreateComponent(code) : nullptr;
        TTovaControl* control = child ? child->AsControl() : nullptr;
        if (!control) {
            if (child) Screen->RemoveObject(*child);
            throw ETovaError(TErrorKind::DamagedSave, "a component record is damaged: a child of type " +
                                                          std::to_string(code) + " cannot be created");
        }
        // A new component stands on the current layer, which may be this one.
        if (control->SetParent(this) == TReparent::TooDeep) {
            Screen->RemoveObject(*control);
            throw ETovaError(TErrorKind::DamagedSave,
                             "a component record is damaged: its children nest deeper than " +
                                 std::to_string(kMaxControlDepth));
        }
        control->LoadFromStream(stream, version);
    }
    if (parent_) parent_->SortChildren();  // the priority and name just read
    Invalidate();
}

}  // namespace tova
