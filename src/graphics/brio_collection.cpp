// The image cache: loading items from layered images and other image
// files, trimming, masks, the frame of a missing image, and drawing frames.
#include "graphics/brio_collection.h"

#include <algorithm>
#include <cctype>

#include "core/encoding.h"
#include "core/error.h"
#include "graphics/brio_image.h"
#include "vfs/file_manager.h"

namespace tova {

bool TVrImageFileSource::Exists(std::string_view name) {
    return files_.Exists(name);
}

void TVrImageFileSource::Load(TStream& stream, std::string_view name) {
    files_.LoadToStream(stream, name);
}

std::string BrioItemKey(std::string_view name, bool trim, bool mask) {
    std::string key(name);
    if (mask) key += "?m";
    if (trim) key += "?t";
    return key;
}

TBrioKeyParts SplitBrioItemKey(std::string_view key) {
    // Flags are taken from the end one by one, so "?m?t" gives both flags
    // and the name without either.
    TBrioKeyParts parts;
    for (;;) {
        if (key.ends_with("?t") && !parts.Trim) {
            parts.Trim = true;
        } else if (key.ends_with("?m") && !parts.Mask) {
            parts.Mask = true;
        } else {
            break;
        }
        key.remove_suffix(2);
    }
    parts.Name = key;
    return parts;
}

namespace {

std::string Folded(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// The bounding rectangle of the frame's visible pixels: those of a mask
// that are not 0, else those that are not the transparent colour.
TRect ContentBounds(const TBrioFrame& frame) {
    const TSurface32& colour = frame.Picture.Colour;
    if (!frame.HasMask && !frame.TransparentColor) return colour.Bounds();
    TRect bounds{colour.Width(), colour.Height(), 0, 0};
    for (int32_t y = 0; y < colour.Height(); ++y)
        for (int32_t x = 0; x < colour.Width(); ++x) {
            const bool visible =
                frame.HasMask ? frame.Mask.Row(y)[x] != 0 : colour.Row(y)[x] != *frame.TransparentColor;
            if (!visible) continue;
            bounds.Left = std::min(bounds.Left, x);
            bounds.Top = std::min(bounds.Top, y);
            bounds.Right = std::max(bounds.Right, x + 1);
            bounds.Bottom = std::max(bounds.Bottom, y + 1);
        }
    return bounds.IsEmpty() ? TRect{} : bounds;
}

template <class Surface>
Surface Crop(const Surface& from, const TRect& rect, TImageBudget& budget) {
    Surface out;
    budget.Resize(out, rect.Width(), rect.Height());
    for (int32_t y = 0; y < rect.Height(); ++y)
        std::copy_n(from.Row(rect.Top + y) + rect.Left, rect.Width(), out.Row(y));
    return out;
}

void FillItemFrame(TBrioItemFrame& out, TBrioFrame& frame, bool trim, bool mask, TImageBudget& budget) {
    frame.ConvertToColour(budget);
    out.FullWidth = frame.Width();
    out.FullHeight = frame.Height();
    out.TransparentColor = frame.TransparentColor;
    const TRect content = trim ? ContentBounds(frame) : frame.Picture.Colour.Bounds();
    out.OffsetX = content.Left;
    out.OffsetY = content.Top;
    const bool whole = content == frame.Picture.Colour.Bounds();
    out.Colour = whole ? std::move(frame.Picture.Colour) : Crop(frame.Picture.Colour, content, budget);
    out.HasMask = frame.HasMask || mask;
    if (frame.HasMask) {
        out.Mask = whole ? std::move(frame.Mask) : Crop(frame.Mask, content, budget);
    } else if (mask) {
        // Masks were asked for but the frame has no transparency: all of it shows.
        budget.Resize(out.Mask, content.Width(), content.Height());
        for (int32_t y = 0; y < out.Mask.Height(); ++y)
            std::fill_n(out.Mask.Row(y), out.Mask.Width(), uint8_t{255});
    } else {
        out.Mask = TSurface8();
    }
    out.Delay = std::max(frame.Delay, 1);
}

// The frames of an image file ready for the cache, all within the image's
// load budget; none when the file's type is not an image's.
std::vector<TBrioItemFrame> LoadItemFrames(TImageFileSource& source, const TBrioKeyParts& parts,
                                           uint32_t imageKey, bool depthConversion) {
    TBrioFrameList list(imageKey);
    list.TargetDepth = depthConversion ? 32 : 0;
    TTpMemoryStream stream;
    source.Load(stream, parts.Name);
    std::vector<TBrioItemFrame> frames;
    if (!list.LoadFromFileData(parts.Name, stream)) return frames;
    list.FinishLoad(parts.Mask);
    frames.resize(list.Frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
        FillItemFrame(frames[i], *list.Frames[i], parts.Trim, parts.Mask, list.Budget);
    return frames;
}

}  // namespace

void TBrioCollection::SetDepthConversion(bool flag) {
    if (flag == depthConversion_) return;
    depthConversion_ = flag;
    Reload(false);
}

TBrioItem& TBrioCollection::Acquire(const void* user, std::string_view name, bool trim, bool mask) {
    const std::string key = BrioItemKey(name, trim, mask);
    TBrioItem* item = Find(key);
    if (!item) {
        auto fresh = std::make_unique<TBrioItem>();
        fresh->SetName(key);
        item = Add(std::move(fresh));
        LoadItem(*item, true);
    }
    if (std::find(item->users_.begin(), item->users_.end(), user) == item->users_.end())
        item->users_.push_back(user);
    return *item;
}

void TBrioCollection::Release(TBrioItem* item, const void* user) {
    if (!item || item->Collection() != this) return;
    std::erase(item->users_, user);
    if (item->users_.empty()) Delete(item->Index());
}

void TBrioCollection::Reload(bool recreate) {
    for (int i = 0; i < Count(); ++i)
        LoadItem(*Item(i), recreate);
}

void TBrioCollection::ReportOnce(const std::string& name, const std::string& message) {
    if (!reported_.insert(Folded(name)).second) return;
    if (OnLoadError) OnLoadError(message);
}

void TBrioCollection::LoadItem(TBrioItem& item, bool recreate) {
    const TBrioKeyParts parts = SplitBrioItemKey(item.Key());
    std::vector<TBrioItemFrame> loaded;
    if (!parts.Name.empty() && source_.Exists(parts.Name)) {
        try {
            loaded = LoadItemFrames(source_, parts, imageKey_, depthConversion_);
        } catch (const std::exception& e) {
            ReportOnce(parts.Name, "image " + Cp932ToUtf8(parts.Name) + ": " + e.what());
            loaded.clear();
        }
    } else if (!parts.Name.empty()) {
        ReportOnce(parts.Name,
                   "image " + Cp932ToUtf8(parts.Name) + ": " + Cp932ToUtf8(SysText("ファイルがありません")));
    }
    if (recreate) item.Frames.clear();
    const size_t count = loaded.empty() ? 1 : loaded.size();
    item.Frames.resize(count);
    for (auto& frame : item.Frames)
        if (!frame) frame = std::make_unique<TBrioItemFrame>();
    item.missing_ = loaded.empty();
    item.Duration = 0;
    if (!loaded.empty()) {
        for (size_t i = 0; i < count; ++i) {
            *item.Frames[i] = std::move(loaded[i]);
            item.Duration += item.Frames[i]->Delay;
        }
        item.Width = item.Frames[0]->FullWidth;
        item.Height = item.Frames[0]->FullHeight;
        return;
    }
    TBrioItemFrame& frame = *item.Frames[0];
    frame = TBrioItemFrame{};
    frame.Colour.Resize(8, 8);
    frame.FullWidth = frame.FullHeight = 8;
    frame.TransparentColor = 0;
    frame.HasMask = parts.Mask;
    if (parts.Mask) frame.Mask.Resize(8, 8);
    frame.Delay = 100;
    item.Duration = frame.Delay;
    item.Width = item.Height = 8;
}

namespace {

// How a frame is drawn: through its mask (a view the caller keeps) or
// its transparent colour.
TDrawOptions FrameDrawOptions(const TBrioItemFrame& frame, const TConstView8& mask, int32_t level,
                              TFlip flip) {
    TDrawOptions options;
    options.Level = level;
    options.Flip = flip;
    if (frame.HasMask)
        options.Mask = &mask;
    else
        options.TransparentColor = frame.TransparentColor;
    return options;
}

}  // namespace

void TBrioItem::Draw(TView32 target, const TRect& clip, int32_t x, int32_t y, int index, int32_t level,
                     TFlip flip) const {
    if (index < 0 || index >= static_cast<int>(Frames.size())) return;
    const TBrioItemFrame& frame = *Frames[static_cast<size_t>(index)];
    const TConstView8 mask = frame.Mask.View();
    const TDrawOptions options = FrameDrawOptions(frame, mask, level, flip);
    const int32_t dx = HasFlip(flip, TFlip::Horizontal)
                           ? frame.FullWidth - frame.OffsetX - frame.Colour.Width()
                           : frame.OffsetX;
    const int32_t dy = HasFlip(flip, TFlip::Vertical)
                           ? frame.FullHeight - frame.OffsetY - frame.Colour.Height()
                           : frame.OffsetY;
    tova::Draw(target, clip, x + dx, y + dy, frame.Colour.View(), frame.Colour.Bounds(), options);
}

void TBrioItem::DrawTiled(TView32 target, const TRect& clip, const TRect& rect, int index, int32_t u,
                          int32_t v, int32_t level, TFlip flip) const {
    if (index < 0 || index >= static_cast<int>(Frames.size())) return;
    const TBrioItemFrame& frame = *Frames[static_cast<size_t>(index)];
    const TConstView8 mask = frame.Mask.View();
    const TDrawOptions options = FrameDrawOptions(frame, mask, level, flip);
    tova::DrawTiled(target, clip, rect, frame.Colour.View(), u, v, options);
}

}  // namespace tova
