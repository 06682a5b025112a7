// The control's tree, positions, clips, invalidation and the setters that
// redraw what they change.
#include "objects/tova_control.h"

#include <algorithm>
#include <limits>

#include "objects/tova_base.h"
#include "objects/tova_base_list.h"

namespace tova {
namespace {

int32_t ClampToInt32(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// A rectangle from a position and a size that may be huge or negative: the
// size counts as 0 when negative, and the edges stay within int32.
TRect RectOf(int64_t left, int64_t top, int64_t width, int64_t height) {
    return {ClampToInt32(left), ClampToInt32(top), ClampToInt32(left + std::max<int64_t>(width, 0)),
            ClampToInt32(top + std::max<int64_t>(height, 0))};
}

}  // namespace

TTovaControl::TTovaControl() = default;

TTovaControl::~TTovaControl() = default;

TTovaControl* TTovaControl::GetChild(int index) const {
    return index >= 0 && index < ChildCount() ? Children()[static_cast<size_t>(index)] : nullptr;
}

TTovaBase* TTovaControl::GetLayer() const {
    if (TTovaBase* layer = AsLayer()) return layer;
    return parent_ ? Inherited().Layer : nullptr;
}

bool TTovaControl::IsAncestorOf(const TTovaControl& control) const {
    for (const TTovaControl* c = &control; c; c = c->parent_)
        if (c == this) return true;
    return false;
}

int TTovaControl::Depth() const {
    return parent_ ? Inherited().Depth : 0;
}

bool TTovaControl::InCabinet() const {
    return IsCabinet() || (parent_ && Inherited().InCabinet);
}

const TTovaControl::TInherited& TTovaControl::Inherited() const {
    const uint64_t epoch = Screen ? Screen->layoutEpoch_ : 0;
    if (epoch != 0 && inherited_.Epoch == epoch) return inherited_;
    // Everything comes from the parent's own fields and what it inherits in
    // turn (from its cache), so a walk down the tree computes each level
    // once, and a control without a screen (nothing cached) walks its
    // ancestors once.
    const TInherited* up = parent_->Up();
    TInherited next;
    next.OriginX = int64_t{parent_->ScreenPosIn(false, up)} - parent_->ScrollX();
    next.OriginY = int64_t{parent_->ScreenPosIn(true, up)} - parent_->ScrollY();
    next.Clip = parent_->VisibleClipIn(up);
    next.Layer = parent_->AsLayer() ? parent_->AsLayer() : up ? up->Layer : nullptr;
    next.Depth = (up ? up->Depth : 0) + 1;
    next.InCabinet = parent_->IsCabinet() || (up && up->InCabinet);
    next.Epoch = epoch;
    inherited_ = next;
    return inherited_;
}

void TTovaControl::LayoutChanged() const {
    if (Screen) ++Screen->layoutEpoch_;
}

std::span<TTovaControl* const> TTovaControl::Children() const {
    if (orderStale_) {
        orderStale_ = false;
        const auto before = [](const TTovaControl* a, const TTovaControl* b) { return DrawsBefore(*a, *b); };
        if (!std::is_sorted(children_.begin(), children_.end(), before))
            std::stable_sort(children_.begin(), children_.end(), before);
    }
    return children_;
}

int TTovaControl::SubtreeHeight() const {
    if (children_.empty()) return 0;
    int height = 0;
    std::vector<std::pair<const TTovaControl*, int>> pending{{this, 0}};
    while (!pending.empty()) {
        const auto [control, level] = pending.back();
        pending.pop_back();
        height = std::max(height, level);
        for (const TTovaControl* child : control->children_)
            pending.emplace_back(child, level + 1);
    }
    return height;
}

void TTovaControl::AddChild(TTovaControl& child) {
    children_.push_back(&child);
    SortChildren();
}

void TTovaControl::RemoveChild(TTovaControl& child) {
    std::erase(children_, &child);
}

TReparent TTovaControl::SetParent(TTovaControl* parent) {
    if (parent == parent_) return TReparent::Unchanged;
    // Without children only the control itself is one of its descendants
    // (the common case, a new control: no walk up a deep parent).
    if (parent && (parent == this || (!children_.empty() && IsAncestorOf(*parent)))) return TReparent::Cycle;
    if (parent && parent->Depth() + 1 + SubtreeHeight() > kMaxControlDepth) return TReparent::TooDeep;
    Invalidate();
    if (TTovaControl* old = parent_) {
        old->RemoveChild(*this);
        old->CabinetChildRemoved(*this);
    }
    parent_ = parent;
    // What this control inherits is new; a subtree's descendants inherit
    // through it.
    inherited_.Epoch = 0;
    if (!children_.empty()) LayoutChanged();
    if (parent) {
        parent->AddChild(*this);
        parent->CabinetChildAdded(*this);
    }
    Invalidate();
    if (Screen) {
        const TTovaControl* focus = Screen->Focus();
        if ((focus && IsAncestorOf(*focus)) || GetLayer() == &Screen->CurrentLayer()) {
            Screen->DropFocus();
            Screen->MarkFocusDirty();
        }
    }
    return TReparent::Moved;
}

void TTovaControl::SetName(std::string name) {
    if (name == Name) return;
    if (Screen && !name.empty()) Screen->MoveNameAside(name, *this);
    TTovaObject::SetName(std::move(name));
    if (parent_) Restack();  // ties between priorities are broken by name
}

void TTovaControl::Restack() {
    if (parent_) parent_->SortChildren();
    Invalidate();
}

void TTovaControl::SetPriority(int32_t priority) {
    TTovaObject::SetPriority(priority);
    Restack();
}

void TTovaControl::SetPriorityBias(int32_t bias) {
    TTovaObject::SetPriorityBias(bias);
    Restack();
}

// --- Positions ------------------------------------------------------------

int32_t TTovaControl::LocalPos(bool vertical) const {
    const int64_t zoom = vertical ? ZoomY() : ZoomX();
    const int64_t offset = vertical ? OffsetY : OffsetX;
    const int64_t size = vertical ? Height : Width;
    const bool flip = vertical ? FlipV() : FlipH();
    const int64_t scaledOffset = zoom != 256 ? zoom * offset / 256 : offset;
    const int64_t anchor = flip ? size - scaledOffset - 1 : scaledOffset;
    int64_t pos = vertical ? Top : Left;
    if (MotionRunning())
        pos = vertical ? MotionY : MotionX;
    else if (PosZoomed)
        pos = zoom * pos / 256;
    return ClampToInt32(pos - anchor + (vertical ? PlusY : PlusX));
}

int32_t TTovaControl::ScreenPosIn(bool vertical, const TInherited* up) const {
    int64_t pos = LocalPos(vertical);
    if (up) pos += vertical ? up->OriginY : up->OriginX;
    return ClampToInt32(pos);
}

int32_t TTovaControl::ScreenPos(bool vertical) const {
    return ScreenPosIn(vertical, Up());
}

int32_t TTovaControl::ScreenX() const {
    return ScreenPos(false);
}

int32_t TTovaControl::ScreenY() const {
    return ScreenPos(true);
}

int32_t TTovaControl::LocalX() const {
    return LocalPos(false);
}

int32_t TTovaControl::LocalY() const {
    return LocalPos(true);
}

TRect TTovaControl::GetBoundsRect() const {
    return RectOf(ScreenX(), ScreenY(), Width, Height);
}

TRect TTovaControl::VisibleClipIn(const TInherited* up) const {
    const int64_t x = ScreenPosIn(false, up);
    const int64_t y = ScreenPosIn(true, up);
    // Without a parent (a layer, or a control not placed yet) the control's
    // own rectangle.
    TRect clip = up ? up->Clip : RectOf(x, y, Width, Height);
    if (ClipWidth >= 1 && ClipHeight >= 1)
        clip = clip.Intersect(RectOf(x + ClipLeft, y + ClipTop, ClipWidth, ClipHeight));
    return clip;
}

TRect TTovaControl::VisibleClip() const {
    return VisibleClipIn(Up());
}

void TTovaControl::ClientToScreen(int32_t& x, int32_t& y) const {
    x = ClampToInt32(int64_t{x} + ScreenX());
    y = ClampToInt32(int64_t{y} + ScreenY());
}

void TTovaControl::ScreenToClient(int32_t& x, int32_t& y) const {
    x = ClampToInt32(int64_t{x} - ScreenX());
    y = ClampToInt32(int64_t{y} - ScreenY());
}

// --- Drawing --------------------------------------------------------------

void TTovaControl::AddDirtyRect(const TRect& rect) {
    if (TTovaBase* layer = GetLayer()) layer->AddLayerDirtyRect(rect);
}

void TTovaControl::Invalidate() {
    if (!Screen) return;
    // Around a change of this control its descendants' positions may move.
    if (!children_.empty()) LayoutChanged();
    InvalidateTree();
}

void TTovaControl::InvalidateTree() {
    if (!Visible) return;
    // Children may reach outside their parent, so they are redrawn too.
    const TRect rect = PaintedRect().Intersect(VisibleClip());
    if (!rect.IsEmpty()) AddDirtyRect(rect);
    for (TTovaControl* child : Children())
        child->InvalidateTree();
}

void TTovaControl::Paint(TPaintContext&) {}

void TTovaControl::PaintTree(TPaintContext& context) {
    if (!Visible) return;
    const TRect outer = context.Clip;
    context.Clip = outer.Intersect(VisibleClip());
    if (!context.Clip.IsEmpty()) {
        if (!context.Clip.Intersect(PaintedRect()).IsEmpty()) Paint(context);
        for (TTovaControl* child : Children())
            child->PaintTree(context);
    }
    context.Clip = outer;
}

// --- Setters --------------------------------------------------------------

void TTovaControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == Left && top == Top && width == Width && height == Height) return;
    const bool moved = left != Left || top != Top;
    Invalidate();
    if (left != Left) MotionX = 0;
    if (top != Top) MotionY = 0;
    Left = left;
    Top = top;
    Width = width;
    Height = height;
    Invalidate();
    if (moved) PositionChanged();
}

void TTovaControl::SetLeft(int32_t left) {
    SetBounds(left, Top, Width, Height);
}

void TTovaControl::SetTop(int32_t top) {
    SetBounds(Left, top, Width, Height);
}

void TTovaControl::SetWidth(int32_t width) {
    SetBounds(Left, Top, width, Height);
}

void TTovaControl::SetHeight(int32_t height) {
    SetBounds(Left, Top, Width, height);
}

void TTovaControl::SetOffset(int32_t offsetX, int32_t offsetY) {
    if (offsetX == OffsetX && offsetY == OffsetY) return;
    Invalidate();
    OffsetX = offsetX;
    OffsetY = offsetY;
    Invalidate();
    PositionChanged();
}

void TTovaControl::SetPlus(int32_t plusX, int32_t plusY) {
    if (plusX == PlusX && plusY == PlusY) return;
    Invalidate();
    PlusX = plusX;
    PlusY = plusY;
    Invalidate();
}

void TTovaControl::SetClip(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (left == ClipLeft && top == ClipTop && width == ClipWidth && height == ClipHeight) return;
    Invalidate();
    ClipLeft = left;
    ClipTop = top;
    ClipWidth = width;
    ClipHeight = height;
    Invalidate();
}

void TTovaControl::SetVisible(bool visible) {
    if (visible == Visible) return;
    if (!visible) {
        Invalidate();
        Visible = false;
        if (Screen) {
            const TTovaControl* focus = Screen->Focus();
            if (focus && IsAncestorOf(*focus)) Screen->DropFocus();
        }
    } else {
        Visible = true;
        Invalidate();
    }
    if (Screen) Screen->MarkFocusDirty();
}

void TTovaControl::SetColor(int32_t color) {
    if (color == Color) return;
    Invalidate();
    Color = color;
    Invalidate();
}

void TTovaControl::SetMotion(std::unique_ptr<TControlMotion> motion) {
    Invalidate();
    Motion = std::move(motion);
    if (!Motion) {
        MotionX = MotionY = 0;
        PriorityBias = 0;
        Restack();
    }
    Invalidate();
}

bool TTovaControl::Step(int32_t frameMs) {
    if (Motion && Motion->Running()) {
        Invalidate();
        Motion->Step(frameMs);
        Invalidate();
    }
    return true;
}

}  // namespace tova
