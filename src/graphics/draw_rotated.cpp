// Rotation with zoom: the box a turned picture covers, the sampler that
// finds the source pixel under each target pixel (of the source itself, or
// of a stretched, mirrored or cropped picture of it given by its axes), and
// drawing turned sources through the same row step as Draw.
#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

#include "graphics/blit_clip.h"
#include "graphics/draw_ops.h"
#include "graphics/draw_rows.h"

namespace tova {

TRect RotatedBounds(int32_t centreX, int32_t centreY, int32_t width, int32_t height,
                    const TRotation& rotation) {
    const double scale = rotation.Zoom / 256.0;
    const double c = std::abs(std::cos(rotation.Angle)), s = std::abs(std::sin(rotation.Angle));
    const double halfW = width / 2.0, halfH = height / 2.0;
    const double extentX = (c * halfW + s * halfH) * scale;
    const double extentY = (s * halfW + c * halfH) * scale;
    if (!std::isfinite(extentX) || !std::isfinite(extentY)) return {centreX, centreY, centreX, centreY};
    return {ClampCoordinate(static_cast<int64_t>(std::floor(centreX - extentX))),
            ClampCoordinate(static_cast<int64_t>(std::floor(centreY - extentY))),
            ClampCoordinate(static_cast<int64_t>(std::ceil(centreX + extentX)) + 1),
            ClampCoordinate(static_cast<int64_t>(std::ceil(centreY + extentY)) + 1)};
}

TRotatedSampler::TRotatedSampler(int32_t centreX, int32_t centreY, TConstView32 source,
                                 const TRotation& rotation, const TDrawOptions& options,
                                 const TPictureAxes* axes)
    : source_(source), masked_(options.Mask != nullptr), centreX_(centreX), centreY_(centreY) {
    if (masked_)
        mask_ = *options.Mask;
    else
        key_ = options.TransparentColor;
    int32_t width = source.Width, height = source.Height;
    if (axes) {
        axes_ = *axes;
        width = static_cast<int32_t>(std::min<size_t>(axes->Columns.size(), INT32_MAX));
        height = static_cast<int32_t>(std::min<size_t>(axes->Rows.size(), INT32_MAX));
        limit_ = {0, 0, width, height};
    } else {
        limit_ = source.Bounds();
        if (options.Mask) limit_ = limit_.Intersect(options.Mask->Bounds());
    }
    if (rotation.Zoom <= 0 || !std::isfinite(rotation.Angle) || source.IsEmpty() || width <= 0 || height <= 0)
        return;  // nothing shows: the bounds stay empty
    scale_ = rotation.Zoom / 256.0;
    cos_ = std::cos(rotation.Angle);
    sin_ = std::sin(rotation.Angle);
    halfWidth_ = width / 2.0;
    halfHeight_ = height / 2.0;
    bounds_ = RotatedBounds(centreX, centreY, width, height, rotation);
}

namespace {

// The sampling of one row, made once for each kind of sampler: zoom 100 %
// divides by nothing (x / 1.0 is x, so the pixels are the same), and a
// sampler without axes reads the source directly.
struct TRowSampling {
    TConstView32 Source;
    const int32_t* Columns = nullptr;  // with axes
    const int32_t* Rows = nullptr;
    bool Masked = false;
    TConstView8 Mask;
    bool Keyed = false;
    TPixel32 Key = 0;
    double Cos = 1, Sin = 0, Scale = 1, HalfWidth = 0, HalfHeight = 0;
    double CentreX = 0;
    double Left = 0, Right = 0, Top = 0, Bottom = 0;  // the picture's pixels that can show
};

template <bool UnitScale, bool WithAxes>
bool SampleRowAs(const TRowSampling& p, int32_t x, double sinDy, double cosDy, size_t n, TPixel32* colour,
                 uint8_t* mask) {
    bool any = false;
    for (size_t i = 0; i < n; ++i) {
        const double dx = x + static_cast<double>(i) + 0.5 - p.CentreX;
        double u = p.Cos * dx + sinDy, v = cosDy - p.Sin * dx;
        if constexpr (!UnitScale) {
            u /= p.Scale;
            v /= p.Scale;
        }
        u += p.HalfWidth;
        v += p.HalfHeight;
        colour[i] = 0;
        mask[i] = 0;
        if (!(u >= p.Left && u < p.Right && v >= p.Top && v < p.Bottom)) continue;
        int32_t sx = static_cast<int32_t>(u), sy = static_cast<int32_t>(v);
        if constexpr (WithAxes) {
            sx = p.Columns[sx];
            sy = p.Rows[sy];
            if (sx < 0 || sy < 0 || sx >= p.Source.Width || sy >= p.Source.Height) continue;
        }
        const TPixel32 pixel = p.Source.Row(sy)[sx];
        colour[i] = pixel;
        if (p.Masked)
            mask[i] = sx < p.Mask.Width && sy < p.Mask.Height ? p.Mask.Row(sy)[sx] : 0;
        else
            mask[i] = p.Keyed && pixel == p.Key ? 0 : 255;
        any = true;
    }
    return any;
}

}  // namespace

bool TRotatedSampler::SampleRow(int32_t x, int32_t y, size_t n, TPixel32* colour, uint8_t* mask) const {
    if (bounds_.IsEmpty()) {
        std::fill_n(colour, n, TPixel32{0});
        std::fill_n(mask, n, uint8_t{0});
        return false;
    }
    // A picture pixel (u, v) shows where floor(u') = u and floor(v') = v;
    // u' and v' are tested against the picture's edges before they are
    // truncated (the same as flooring them there, as the edges are whole).
    TRowSampling p;
    p.Source = source_;
    if (axes_) {
        p.Columns = axes_->Columns.data();
        p.Rows = axes_->Rows.data();
    }
    p.Masked = masked_;
    p.Mask = mask_;
    p.Keyed = key_.has_value();
    p.Key = key_.value_or(0);
    p.Cos = cos_;
    p.Sin = sin_;
    p.Scale = scale_;
    p.HalfWidth = halfWidth_;
    p.HalfHeight = halfHeight_;
    p.CentreX = centreX_;
    p.Left = limit_.Left;
    p.Right = limit_.Right;
    p.Top = limit_.Top;
    p.Bottom = limit_.Bottom;
    const double dy = y + 0.5 - centreY_;
    const double sinDy = sin_ * dy, cosDy = cos_ * dy;
    const auto run = [&](auto unit, auto withAxes) {
        return SampleRowAs<decltype(unit)::value, decltype(withAxes)::value>(p, x, sinDy, cosDy, n, colour,
                                                                             mask);
    };
    using Yes = std::true_type;
    using No = std::false_type;
    if (scale_ == 1.0) return axes_ ? run(Yes{}, Yes{}) : run(Yes{}, No{});
    return axes_ ? run(No{}, Yes{}) : run(No{}, No{});
}

void DrawRotated(TView32 target, const TRect& clip, int32_t centreX, int32_t centreY, TConstView32 source,
                 const TRotation& rotation, const TDrawOptions& options) {
    if (options.Level <= LevelNone) return;
    if (ViewsOverlap(target, source)) {
        TSurface32 copy(source.Width, source.Height);
        Copy(copy.View(), copy.Bounds(), 0, 0, source, source.Bounds());
        DrawRotated(target, clip, centreX, centreY, copy.View(), rotation, options);
        return;
    }
    const TRotatedSampler sampler(centreX, centreY, source, rotation, options);
    auto window = ClipRect(target.Bounds(), clip, sampler.Bounds());
    if (!window) return;
    const size_t n = static_cast<size_t>(window->Width());
    TScratch& scratch = TScratch::ForThread(n);
    std::vector<TPixel32> row(n);
    std::vector<uint8_t> maskRow(n);
    for (int32_t y = window->Top; y < window->Bottom; ++y)
        if (sampler.SampleRow(window->Left, y, n, row.data(), maskRow.data()))
            DrawRow(target.Row(y) + window->Left, row.data(), maskRow.data(), !options.Mask, n, options,
                    scratch);
}

}  // namespace tova
