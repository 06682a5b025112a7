// Picture components that play the frames of their picture: the frame shown
// (PR_INDEX), the milliseconds left in it, brightness, pause, and the frame
// animation that walks the frames by their delays, repeats, frees the
// component or reports the end. The last frame of an animation waits longer
// by the value of an expression the creation command hands over. While a
// motion drives the component (a motion file as its source), the motion's
// film stands in for the frames: PR_INDEX seeks it, PR_COUNT is its length.
#pragma once

#include <cstdint>
#include <memory>

#include "objects/components/tova_custom_image.h"

namespace tova {

class TTovaMotion;
class TTovaParser;

class TTovaCustomImages : public TTovaCustomImage {
public:
    TTovaCustomImages();
    ~TTovaCustomImages() override;

    void GetProp(int id, TCustomParam& result) const override;
    void SetProp(int id, const TCustomParam& value) override;
    bool Paused() const override { return paused_; }
    // The frame animation; false when the last frame ran out and
    // PR_AUTOSCRAP is set (the screen then frees the component).
    bool Step(int32_t frameMs) override;
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream, int32_t version) override;

    // Shows frame `index` (with Brightness) and adds its delay to Wait; the
    // last of several frames also adds the last-frame expression. An index
    // outside the frames shows nothing.
    void SetIndex(int32_t index);
    // The expression whose value lengthens the last frame (the creation
    // command's PR_DELAY expression; null for none). It is evaluated each
    // time the last frame is shown, through the screen's evaluator.
    void SetLastFrameExpression(std::unique_ptr<TTovaParser> expression);
    const TTovaParser* LastFrameExpression() const { return lastFrame_.get(); }
    // PR_PLAYING: not paused and either repeating or the last frame has not
    // run out.
    bool Playing() const;

    int32_t Wait = 0;  // milliseconds left in the shown frame
    int32_t FrameIndex = -1;
    int32_t Brightness = 255;

protected:
    int32_t ShownIndex() const override { return FrameIndex; }
    int32_t ShownBrightness() const override { return Brightness; }
    void SourceLoaded() override;

private:
    // Wait, FrameIndex, Brightness, Paused and the last-frame expression
    // (its stored form; no records for none).
    void VisitFramesRecord(TRecordIO& io);
    int32_t LastFrameExtra();
    // The film motion that drives the component, or null.
    TTovaMotion* FilmMotion() const;
    void AddWait(int64_t milliseconds);

    bool paused_ = false;
    // The end of the animation was reported; cleared when a frame is shown,
    // so that PR_ONPLAYEND is queued once per run rather than every frame.
    bool endReported_ = false;
    std::unique_ptr<TTovaParser> lastFrame_;
};

}  // namespace tova
