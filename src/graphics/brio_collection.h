// The image cache: components and film tracks ask it for an image by name
// and share one item per distinct request (the name with its "?m" and "?t"
// flags, compared without regard to case). An item holds every frame of the
// image as a ready-to-draw 32-bit surface with an optional 8-bit mask; it is
// loaded once and freed when its last user releases it. A missing or
// damaged image gives one 8 x 8 black frame (reported once, where a report is wanted).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_collection.h"
#include "core/stream.h"
#include "graphics/draw_ops.h"
#include "graphics/surface.h"

namespace tova {

class TVrFileManager;

// Where the cache finds image files (the project's existence test and the
// virtual file system in the player; memory in tests).
class TImageFileSource {
public:
    virtual ~TImageFileSource() = default;
    virtual bool Exists(std::string_view name) = 0;
    // The whole file into the stream, position 0; throws ETovaError.
    virtual void Load(TStream& stream, std::string_view name) = 0;
};

class TVrImageFileSource : public TImageFileSource {
public:
    explicit TVrImageFileSource(TVrFileManager& files) : files_(files) {}
    bool Exists(std::string_view name) override;
    void Load(TStream& stream, std::string_view name) override;

private:
    TVrFileManager& files_;
};

struct TBrioItemFrame {
    TSurface32 Colour;  // top byte 0
    bool HasMask = false;
    TSurface8 Mask;
    // The frame's size before trimming, and where its content lies within it.
    int32_t FullWidth = 0;
    int32_t FullHeight = 0;
    int32_t OffsetX = 0;
    int32_t OffsetY = 0;
    std::optional<TPixel32> TransparentColor;
    int32_t Delay = 1;  // a stored 0 becomes 1
};

class TBrioCollection;

class TBrioItem : public THashCollectionItem {
public:
    const std::string& Key() const { return GetName(); }
    int32_t Width = 0;  // of the first frame
    int32_t Height = 0;
    int32_t Duration = 0;  // the sum of the frames' delays
    std::vector<std::unique_ptr<TBrioItemFrame>> Frames;
    const std::vector<const void*>& Users() const { return users_; }
    // Whether the image was missing or damaged (the item holds the 8 x 8 frame).
    bool Missing() const { return missing_; }

    // Draws frame `index` with the image's top-left corner at (x, y) (a
    // trimmed frame's content at its offset, mirrored by the flips) through
    // clip: level <= 254 blended at that opacity, 255 copied, 256 and above
    // brightened by level - 256; through the frame's mask, else skipping its
    // transparent colour.
    void Draw(TView32 target, const TRect& clip, int32_t x, int32_t y, int index, int32_t level,
              TFlip flip = TFlip::None) const;
    // Covers rect with copies of frame `index`, the first starting at (u mod
    // width, v mod height) of the frame; flips lay the copies from the opposite edge.
    void DrawTiled(TView32 target, const TRect& clip, const TRect& rect, int index, int32_t u, int32_t v,
                   int32_t level = LevelCopy, TFlip flip = TFlip::None) const;

private:
    friend class TBrioCollection;
    std::vector<const void*> users_;
    bool missing_ = false;
};

class TBrioCollection : public THashCollectionOf<TBrioItem> {
public:
    explicit TBrioCollection(TImageFileSource& source) : source_(source) {}

    // The project's image key, given to every image read from now on.
    void SetImageKey(uint32_t key) { imageKey_ = key; }
    bool DepthConversion() const { return depthConversion_; }
    // When the flag changes, every item is loaded again.
    void SetDepthConversion(bool flag);

    // The item of name + "?m" (mask) + "?t" (trim), found or created and
    // loaded; user is added to its users.
    TBrioItem& Acquire(const void* user, std::string_view name, bool trim, bool mask);
    // Removes the user; the item is freed when it has none left.
    void Release(TBrioItem* item, const void* user);
    // Loads every item again; with recreate its frames are made anew.
    void Reload(bool recreate);

    // Where missing and damaged images are reported (UTF-8, once per image
    // name); unset: nowhere, as the player plays a game silently.
    std::function<void(const std::string& utf8Message)> OnLoadError;

private:
    void LoadItem(TBrioItem& item, bool recreate);
    void ReportOnce(const std::string& name, const std::string& message);

    TImageFileSource& source_;
    uint32_t imageKey_ = 0;
    bool depthConversion_ = false;
    std::set<std::string> reported_;
};

// The key of a request, and the name and flags a key stands for.
std::string BrioItemKey(std::string_view name, bool trim, bool mask);
struct TBrioKeyParts {
    std::string Name;
    bool Trim = false;
    bool Mask = false;
};
TBrioKeyParts SplitBrioItemKey(std::string_view key);

}  // namespace tova
