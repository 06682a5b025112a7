// A visual component: bounds, parent and children, the clip rectangle, the
// mouse and key event texts, screen positions (offsets, zoom, flips, PlusX
// and PlusY), invalidation, hit testing and the handlers that queue events.
// The screen owns every control; Children only links them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "graphics/surface.h"
#include "objects/control_motion.h"
#include "objects/paint_context.h"
#include "objects/tova_object.h"

namespace tova {

class TTovaBase;

// IgnoreMouse values: which mouse events a control lets through.
enum : uint8_t {
    IM_NONE = 0,    // takes every mouse event
    IM_ALL = 1,     // takes none
    IM_CLICK = 2,   // ignores presses
    IM_LCLICK = 3,  // ignores the left button
    IM_RCLICK = 4,  // ignores the right button
};

// A set of IgnoreMouse values that count as hittable for one hit test
// (values above 7 never count).
struct TMouseModes {
    uint8_t Bits = 0;
    static constexpr TMouseModes Of(std::initializer_list<int> values) {
        TMouseModes modes;
        for (int v : values)
            if (v >= 0 && v < 8) modes.Bits = static_cast<uint8_t>(modes.Bits | (1u << v));
        return modes;
    }
    constexpr bool Has(int value) const { return value >= 0 && value < 8 && (Bits >> value & 1u) != 0; }
};

// The nine mouse event texts, in the order of the save record.
enum class TMouseEvent { Move, In, Out, LeftDown, LeftUp, RightDown, RightUp, WheelDown, WheelUp };
inline constexpr int kMouseEventCount = 9;
// The five key and focus event texts, in the order of the save record.
enum class TKeyEvent { Down, Up, Repeat, FocusIn, FocusOut };
inline constexpr int kKeyEventCount = 5;

// How deep controls may nest: a control has at most this many ancestors
// (its layer included). The walks over the tree (painting, invalidation, hit
// testing, focus, freeing, save records) recurse once per level, so the
// limit keeps them far from the end of the stack; a saved screen nests its
// records one level deeper (the layer's own).
inline constexpr int kMaxControlDepth = 256;

// What SetParent did.
enum class TReparent {
    Moved,      // the control has the new parent
    Unchanged,  // it is the present parent
    Cycle,      // the control itself or one of its descendants: refused
    TooDeep,    // the control's subtree would nest beyond kMaxControlDepth: refused
};

class TTovaControl : public TTovaComponent {
public:
    TTovaControl();
    ~TTovaControl() override;

    TObjectKind Kind() const override { return TObjectKind::Control; }
    TTovaControl* AsControl() override { return this; }
    void GetProp(int id, TCustomParam& result) const override;
    void SetProp(int id, const TCustomParam& value) override;
    // Keeps names unique on the screen: an older holder of the name is
    // renamed first (name_2, name_3 ...).
    void SetName(std::string name) override;
    void SetPriority(int32_t priority) override;
    void SetPriorityBias(int32_t bias) override;
    bool Step(int32_t frameMs) override;
    bool InCabinet() const override;
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream, int32_t version) override;

    // --- Tree -------------------------------------------------------------
    TTovaControl* Parent() const { return parent_; }
    // The children in sibling order (sorted first when they changed).
    std::span<TTovaControl* const> Children() const;
    int ChildCount() const { return static_cast<int>(children_.size()); }
    TTovaControl* GetChild(int index) const;
    // Makes parent (a control of the same screen, or null) the parent.
    // Changes nothing unless the result is Moved: for the present parent,
    // this control or one of its descendants, and a parent so deep that the
    // control's subtree would nest beyond kMaxControlDepth.
    TReparent SetParent(TTovaControl* parent);
    // This control or one of its descendants is the given one.
    bool IsAncestorOf(const TTovaControl& control) const;
    // The number of ancestors (0 for a layer or a control without a parent).
    int Depth() const;
    // The layer the control stands on (a layer answers itself), or null.
    TTovaBase* GetLayer() const;
    // The control itself when it is a layer, else null.
    virtual TTovaBase* AsLayer() const { return nullptr; }
    // Whether the control is a cabinet (not whether one holds it: InCabinet).
    virtual bool IsCabinet() const { return false; }
    // Marks Children for reordering by DrawsBefore (a child was added or its
    // priority or name changed); they are sorted when next read, so that
    // making or renaming many siblings costs one sort, not one per change.
    void SortChildren() { orderStale_ = true; }

    // --- Positions ----------------------------------------------------------
    // What the image components draw with; the base has no zoom or flip.
    virtual int32_t ZoomX() const { return 256; }
    virtual int32_t ZoomY() const { return 256; }
    virtual bool FlipH() const { return false; }
    virtual bool FlipV() const { return false; }
    virtual int32_t ScrollX() const { return 0; }
    virtual int32_t ScrollY() const { return 0; }

    int32_t ScreenX() const;
    int32_t ScreenY() const;
    int32_t LocalX() const;
    int32_t LocalY() const;
    TRect GetBoundsRect() const;
    // The screen rectangle the control's own drawing may touch: its bounds,
    // or more for a picture turned beyond them.
    virtual TRect PaintedRect() const { return GetBoundsRect(); }
    // The rectangle the control's drawing and its children's are limited to
    // (screen coordinates): the clip sub-rectangles of it and its ancestors.
    TRect VisibleClip() const;
    void ClientToScreen(int32_t& x, int32_t& y) const;
    void ScreenToClient(int32_t& x, int32_t& y) const;

    // Setters that redraw the old and the new area.
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
    void SetLeft(int32_t left);
    void SetTop(int32_t top);
    void SetWidth(int32_t width);
    void SetHeight(int32_t height);
    void SetOffset(int32_t offsetX, int32_t offsetY);
    void SetPlus(int32_t plusX, int32_t plusY);
    void SetClip(int32_t left, int32_t top, int32_t width, int32_t height);
    void SetVisible(bool visible);
    void SetColor(int32_t color);
    // Called after Left, Top, OffsetX or OffsetY was written.
    virtual void PositionChanged() {}

    // --- Drawing ------------------------------------------------------------
    // Adds the control's visible screen rectangle (and its children's) to
    // its layer's dirty list. Every change of what a control's children
    // inherit (its position, offsets, zoom, flips, scroll, clip) must come
    // between two calls, one before and one after, as every redrawing setter
    // does: a control with children invalidates the screen positions its
    // descendants keep (see Inherited).
    void Invalidate();
    // Passes a rectangle (screen coordinates) to the layer's dirty list.
    void AddDirtyRect(const TRect& rect);
    // Draws the control itself; children are drawn by PaintTree after it.
    virtual void Paint(TPaintContext& context);
    // Paints the control and then its visible children in sibling order,
    // each restricted to the clips in force.
    void PaintTree(TPaintContext& context);

    // --- Mouse and keys -----------------------------------------------------
    // The topmost control under the point (screen coordinates) whose
    // IgnoreMouse is in modes, or null.
    virtual TTovaControl* HitTest(int32_t x, int32_t y, TMouseModes modes);
    // The cursor file for the part under the point; by default PR_CURSOR.
    virtual std::string CursorAt(int32_t x, int32_t y) const;
    virtual void MouseLeftDown();
    virtual void MouseLeftUp();
    virtual void MouseRightDown();
    virtual void MouseRightUp();
    virtual void MouseMoved();
    virtual void MouseIn();
    virtual void MouseOut();
    virtual void WheelDown();
    virtual void WheelUp();
    // PR_RCLICKSCRAP of the components that have it (menus, map images).
    virtual bool RightClickScrap() const { return false; }
    // A right press anywhere asks such a component to close; true when it
    // does, which spends the press.
    virtual bool CloseByRightClick() { return false; }
    // Called every frame while a button pressed on this control is held.
    virtual void CaptureIdle() {}
    // The key events of the focused control; keys are the codes collected.
    virtual void KeyDown(std::span<const int> keys);
    virtual void KeyUp(std::span<const int> keys);
    virtual void KeyRepeat(std::span<const int> keys);
    // The control got (true) or lost the keyboard focus.
    virtual void FocusChanged(bool) {}

    // --- Motion -------------------------------------------------------------
    TControlMotion* GetMotion() const { return Motion.get(); }
    bool MotionRunning() const { return Motion && Motion->Running(); }
    // Replaces the running motion (null stops it; MotionX, MotionY and
    // PriorityBias go back to 0).
    void SetMotion(std::unique_ptr<TControlMotion> motion);

    // --- Cabinets -------------------------------------------------------------
    virtual void CabinetChildAdded(TTovaControl&) {}
    virtual void CabinetChildRemoved(TTovaControl&) {}

    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t OffsetX = 0;
    int32_t OffsetY = 0;
    bool Visible = true;
    int32_t Color = 0xFFFFFF;
    TRect Area{0, 0, 1, 1};
    std::array<std::string, kMouseEventCount> MouseTexts;
    uint8_t IgnoreMouse = IM_NONE;
    std::string Cursor;
    bool PosZoomed = false;
    int32_t ClipLeft = 0;
    int32_t ClipTop = 0;
    int32_t ClipWidth = 0;
    int32_t ClipHeight = 0;
    int32_t MotionX = 0;
    int32_t MotionY = 0;
    int32_t PlusX = 0;
    int32_t PlusY = 0;
    bool AniPaused = false;
    bool HandleKey = false;
    std::array<std::string, kKeyEventCount> KeyTexts;
    std::unique_ptr<TControlMotion> Motion;

    std::string& MouseText(TMouseEvent e) { return MouseTexts[static_cast<size_t>(e)]; }
    const std::string& MouseText(TMouseEvent e) const { return MouseTexts[static_cast<size_t>(e)]; }
    std::string& KeyText(TKeyEvent e) { return KeyTexts[static_cast<size_t>(e)]; }
    const std::string& KeyText(TKeyEvent e) const { return KeyTexts[static_cast<size_t>(e)]; }

protected:
    // The control part of the record (after the object part), without the
    // children.
    void VisitControlRecord(TRecordIO& io, int32_t version);
    // Queues an event of this control with its handler text; false when the
    // text is empty. Arguments: none, or the pointer relative to the control.
    bool QueueEvent(const std::string& handler, int kind, std::vector<std::string> args = {});
    std::vector<std::string> PointerArgs() const;
    bool EventWaiting(int kind) const;

    // Tells the screen that positions its controls' descendants inherit may
    // have changed (a layer resized).
    void LayoutChanged() const;

private:
    friend class TTovaBaseList;
    // What the ancestors give a control: the origin its local position is
    // added to, the clip it inherits, its layer, depth and whether a cabinet
    // holds it. Kept while the screen's layout epoch stays the same, so that
    // a walk down a deep tree or many changes of leaves do not walk every
    // ancestor again; a control's own fields are always read afresh.
    struct TInherited {
        uint64_t Epoch = 0;  // 0: not computed
        int64_t OriginX = 0;
        int64_t OriginY = 0;
        TRect Clip;
        TTovaBase* Layer = nullptr;
        int Depth = 0;
        bool InCabinet = false;
    };
    // Only for a control with a parent.
    const TInherited& Inherited() const;
    // What the parent gives, or null without a parent.
    const TInherited* Up() const { return parent_ ? &Inherited() : nullptr; }
    // ScreenPos and VisibleClip with what the parent gives (up) already known.
    int32_t ScreenPosIn(bool vertical, const TInherited* up) const;
    TRect VisibleClipIn(const TInherited* up) const;
    // The levels of descendants below this control (0 without children).
    int SubtreeHeight() const;
    // Invalidate without telling the screen: the walk over the children.
    void InvalidateTree();
    void AddChild(TTovaControl& child);
    void RemoveChild(TTovaControl& child);
    void Restack();  // re-sorts the parent's children and redraws
    int32_t ScreenPos(bool vertical) const;
    int32_t LocalPos(bool vertical) const;

    TTovaControl* parent_ = nullptr;
    // Sorted by DrawsBefore when read through Children() (see SortChildren).
    mutable std::vector<TTovaControl*> children_;
    mutable bool orderStale_ = false;
    mutable TInherited inherited_;
};

// An invisible container whose children the cabinet commands save and
// restore together.
class TTovaCabinet : public TTovaControl {
public:
    int TypeCode() const override { return LT_CABINET; }
    bool IsCabinet() const override { return true; }
    // Being invisible, a cabinet takes no mouse itself, but its children do
    // wherever they are.
    TTovaControl* HitTest(int32_t x, int32_t y, TMouseModes modes) override;
};

}  // namespace tova
