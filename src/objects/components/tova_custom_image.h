// The base of the components that show a picture from the screen's image
// cache: the source, the zoom that sizes the control from its picture,
// alpha, angle and flips, hit testing through the picture's mask, and the
// properties every picture component shares (repeat, automatic freeing, the
// play-end and idle event texts). Which frame is shown is its subclasses'
// business; this class draws the one they choose.
#pragma once

#include <cstdint>
#include <string>

#include "objects/components/picture_holder.h"
#include "objects/tova_control.h"

namespace tova {

class TRecordIO;

class TTovaCustomImage : public TTovaControl, public TPicturePlay {
public:
    void GetProp(int id, TCustomParam& result) const override;
    void SetProp(int id, const TCustomParam& value) override;
    int32_t ZoomX() const override { return zoomX_; }
    int32_t ZoomY() const override { return zoomY_; }
    bool FlipH() const override { return flipH_; }
    bool FlipV() const override { return flipV_; }
    std::string IdleText() const override { return OnIdle; }
    void Paint(TPaintContext& context) override;
    TRect PaintedRect() const override;
    // With PR_CAPTUREMASK, the control itself is hit only where its
    // picture is opaque.
    TTovaControl* HitTest(int32_t x, int32_t y, TMouseModes modes) override;
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream, int32_t version) override;

    // Loads the picture through the screen's image cache (releasing the old
    // one); an empty name shows nothing, a missing or damaged file the
    // cache's 8 x 8 frame.
    void SetSource(const std::string& source);
    const std::string& Source() const { return picture_.Source(); }
    // The picture, or null without a source or an image cache.
    const TBrioItem* Image() const { return picture_.Image(); }
    int32_t FrameCount() const { return picture_.FrameCount(); }
    // Width and height from the picture (PR_ORIGWIDTH, PR_ORIGHEIGHT) and
    // the zoom, redrawing the old and the new area. The creation command
    // calls it before it places the component (PR_LEFT).
    void SizeFromPicture();
    // The picture's own size: the shown frame's, else the first frame's,
    // unless PR_ORIGWIDTH / PR_ORIGHEIGHT set one.
    int32_t OrigWidth() const;
    int32_t OrigHeight() const;

    int32_t Alpha = 255;
    int32_t Angle = 0;  // 256 steps per turn
    bool CaptureMask = false;

protected:
    // Frame `index` of the picture, or null when there is none.
    const TBrioItemFrame* FrameAt(int32_t index) const { return picture_.FrameAt(index); }
    // The frame drawn now (-1: none) and its brightness (255 as it is).
    virtual int32_t ShownIndex() const { return 0; }
    virtual int32_t ShownBrightness() const { return 255; }
    // Called after the source changed and its picture is loaded.
    virtual void SourceLoaded() {}
    void VisitImageRecord(TRecordIO& io, int32_t version);

private:
    // The shown frame, brought up to date with index and brightness.
    const TShownFrame& Shown() const;
    TImageLook Look() const;

    TPictureHolder picture_{this};
    int32_t zoomX_ = 256;
    int32_t zoomY_ = 256;
    bool flipH_ = false;
    bool flipV_ = false;
    int32_t origWidth_ = 0;  // 0: the picture's own
    int32_t origHeight_ = 0;
};

}  // namespace tova
