// Filled ellipses and pie segments in 8-bit surfaces (the masks of circle,
// clock-hand and fan transitions). A pixel belongs to a shape when its centre
// does; each row is filled as spans.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/blit_clip.h"
#include "graphics/draw_ops.h"

namespace tova {

namespace {

constexpr double TwoPi = 6.283185307179586;

// The columns [first, last] whose centres lie within half of centreX on row y,
// clipped to r; false when none.
bool RowSpan(const TRect& r, double centreX, double half, int32_t& first, int32_t& last) {
    double lo = std::ceil(centreX - half - 0.5);
    double hi = std::floor(centreX + half - 0.5);
    lo = std::max(lo, static_cast<double>(r.Left));
    hi = std::min(hi, static_cast<double>(r.Right - 1));
    if (hi < lo) return false;
    first = static_cast<int32_t>(lo);
    last = static_cast<int32_t>(hi);
    return true;
}

// Half the width of the ellipse (radii rx, ry) at vertical distance dy from
// its centre; negative outside.
double HalfWidth(double rx, double ry, double dy) {
    double t = dy / ry;
    if (t * t >= 1.0) return -1.0;
    return rx * std::sqrt(1.0 - t * t);
}

}  // namespace

void FillEllipse(TView8 target, const TRect& clip, const TRect& bounds, uint8_t value) {
    auto r = ClipRect(target.Bounds(), clip, bounds);
    if (!r) return;
    double cx = (static_cast<double>(bounds.Left) + bounds.Right) / 2.0;
    double cy = (static_cast<double>(bounds.Top) + bounds.Bottom) / 2.0;
    double rx = (static_cast<double>(bounds.Right) - bounds.Left) / 2.0;
    double ry = (static_cast<double>(bounds.Bottom) - bounds.Top) / 2.0;
    for (int32_t y = r->Top; y < r->Bottom; ++y) {
        double half = HalfWidth(rx, ry, y + 0.5 - cy);
        int32_t first, last;
        if (half < 0 || !RowSpan(*r, cx, half, first, last)) continue;
        std::memset(target.Row(y) + first, value, static_cast<size_t>(last - first + 1));
    }
}

void FillPie(TView8 target, const TRect& clip, double centreX, double centreY, double radius,
             double startAngle, double sweepAngle, uint8_t value) {
    if (!(radius > 0) || !std::isfinite(radius) || !std::isfinite(startAngle) || !std::isfinite(sweepAngle))
        return;
    if (sweepAngle == 0) return;
    radius = std::min(radius, 1e6);  // any larger radius covers every surface alike
    if (std::abs(sweepAngle) >= TwoPi) {
        double lo = std::floor(centreX - radius), hi = std::ceil(centreX + radius);
        double top = std::floor(centreY - radius), bottom = std::ceil(centreY + radius);
        auto clampInt = [](double v) { return static_cast<int32_t>(std::clamp(v, -1e9, 1e9)); };
        // The circle's bounding box may be fractional: scan it directly.
        auto r =
            ClipRect(target.Bounds(), clip, {clampInt(lo), clampInt(top), clampInt(hi), clampInt(bottom)});
        if (!r) return;
        for (int32_t y = r->Top; y < r->Bottom; ++y) {
            double half = HalfWidth(radius, radius, y + 0.5 - centreY);
            int32_t first, last;
            if (half < 0 || !RowSpan(*r, centreX, half, first, last)) continue;
            std::memset(target.Row(y) + first, value, static_cast<size_t>(last - first + 1));
        }
        return;
    }
    if (sweepAngle < 0) {
        startAngle += sweepAngle;
        sweepAngle = -sweepAngle;
    }
    // Edge directions; in screen coordinates (y down) a positive cross
    // product means "clockwise from".
    double x0 = std::cos(startAngle), y0 = std::sin(startAngle);
    double x1 = std::cos(startAngle + sweepAngle), y1 = std::sin(startAngle + sweepAngle);
    bool wide = sweepAngle > TwoPi / 2;
    auto r = ClipRect(target.Bounds(), clip, target.Bounds());
    if (!r) return;
    for (int32_t y = r->Top; y < r->Bottom; ++y) {
        double dy = y + 0.5 - centreY;
        double half = HalfWidth(radius, radius, dy);
        int32_t first, last;
        if (half < 0 || !RowSpan(*r, centreX, half, first, last)) continue;
        uint8_t* row = target.Row(y);
        for (int32_t x = first; x <= last; ++x) {
            double dx = x + 0.5 - centreX;
            double afterStart = x0 * dy - y0 * dx;
            double beforeEnd = dx * y1 - dy * x1;
            bool inside = wide ? !(afterStart < 0 && beforeEnd < 0) : (afterStart >= 0 && beforeEnd >= 0);
            if (inside) row[x] = value;
        }
    }
}

}  // namespace tova
