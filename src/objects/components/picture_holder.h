// What the components that show a picture from the screen's image cache hold
// alike: the source name with its cached picture and the frame made ready to
// draw (TPictureHolder), and the playing properties with their property ids
// and their place in the save record (TPicturePlay).
#pragma once

#include <cstdint>
#include <string>

#include "objects/components/image_paint.h"

namespace tova {

class TBrioCollection;
class TBrioItem;
class TCustomParam;
class TRecordIO;
class TTovaBaseList;
struct TBrioItemFrame;

// The picture of one component, taken from an image cache under the
// component's name as its user and given back to the same cache, whichever
// screen the component is on by then.
class TPictureHolder {
public:
    explicit TPictureHolder(const void* user) : user_(user) {}
    ~TPictureHolder();
    TPictureHolder(const TPictureHolder&) = delete;
    TPictureHolder& operator=(const TPictureHolder&) = delete;

    // Gives back the old picture and loads source through the screen's image
    // cache; an empty name, or no screen or cache, holds none. A missing or
    // damaged file gives the cache's 8 x 8 frame.
    void Load(const TTovaBaseList* screen, const std::string& source);
    const std::string& Source() const { return source_; }
    // The picture, or null.
    const TBrioItem* Image() const { return image_; }
    int32_t FrameCount() const;
    // Frame `index` of the picture, or null when there is none.
    const TBrioItemFrame* FrameAt(int32_t index) const;
    // The frame ready to draw at a brightness (255 as it is); what it keeps
    // between paints (the turned picture) lasts while the frame is the same.
    const TShownFrame& Show(const TBrioItemFrame* frame, int32_t brightness) const;
    // The source name in a save record; reading loads it.
    void VisitSource(TRecordIO& io, const TTovaBaseList* screen);

private:
    void Release();

    const void* user_;
    std::string source_;
    TBrioItem* image_ = nullptr;
    TBrioCollection* cache_ = nullptr;  // where image_ came from
    mutable TShownFrame shown_;
};

// Repeating, freeing itself at the end, and the play-end and idle event
// texts: the properties every picture component accepts.
struct TPicturePlay {
    bool Repeat = false;
    bool AutoScrap = false;
    std::string OnPlayEnd;
    std::string OnIdle;

    // Read or write the property when it is one of these; false otherwise.
    bool GetPlayProp(int id, TCustomParam& result) const;
    bool SetPlayProp(int id, const TCustomParam& value);
    // The four in a save record: the two flags, then the two texts.
    void VisitPlayRecord(TRecordIO& io);
};

}  // namespace tova
