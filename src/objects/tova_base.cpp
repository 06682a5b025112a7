#include "objects/tova_base.h"

#include "graphics/draw_ops.h"

namespace tova {

std::string_view LayerName(int index) {
    static constexpr std::string_view kNames[2] = {"\001BASE0", "\001BASE1"};
    return kNames[index & 1];
}

TTovaBase::TTovaBase(int index) : index_(index & 1) {
    Name = LayerName(index_);
    Color = 0;  // a new screen is black
}

void TTovaBase::Resize(int32_t width, int32_t height) {
    Width = width;
    Height = height;
    surface_.Resize(width, height);
    LayoutChanged();  // the clip the top-level controls inherit
    InvalidateAll();
}

void TTovaBase::AddLayerDirtyRect(const TRect& rect) {
    dirty_.Add(rect, TRect::FromSize(0, 0, Width, Height));
}

void TTovaBase::InvalidateAll() {
    dirty_.Clear();
    AddLayerDirtyRect(TRect::FromSize(0, 0, Width, Height));
}

void TTovaBase::PaintDirty(TSurface32& target, TBrioCollection* images) {
    TPaintContext context{target, {}, images};
    const TRect bounds = target.Bounds();
    for (const TRect& rect : dirty_.Rects()) {
        context.Clip = rect.Intersect(bounds);
        if (context.Clip.IsEmpty()) continue;
        if (Color >= 0)
            Fill(target.View(), context.Clip, context.Clip, PixelFromColorRef(static_cast<uint32_t>(Color)));
        for (TTovaControl* child : Children())
            child->PaintTree(context);
    }
}

}  // namespace tova
