#include "platform/WindowPlacement.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

std::string WindowPlacement::Format() const {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, showCmd, minPosition.x,
                minPosition.y, maxPosition.x, maxPosition.y, normalPosition.left,
                normalPosition.top, normalPosition.right, normalPosition.bottom);
  return buf;
}

std::optional<WindowPlacement> WindowPlacement::Parse(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::string s(text);
  WindowPlacement p;
  const int n = std::sscanf(s.c_str(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", &p.flags, &p.showCmd,
                            &p.minPosition.x, &p.minPosition.y, &p.maxPosition.x, &p.maxPosition.y,
                            &p.normalPosition.left, &p.normalPosition.top, &p.normalPosition.right,
                            &p.normalPosition.bottom);
  if (n != 10) return std::nullopt;
  return p;
}

namespace {

// How much of a window must lie on a screen for the user to reach it with the mouse.
constexpr int kGrabWidth = 64;
constexpr int kGrabHeight = 32;

CRect Intersection(const CRect& a, const CRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

std::int64_t DistanceSquared(const CRect& a, const CRect& b) {
  const std::int64_t dx = std::max({0, b.left - a.right, a.left - b.right});
  const std::int64_t dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
  return dx * dx + dy * dy;
}

// Moves [lo, hi) by as little as possible into [areaLo, areaHi), shrinking it when it is longer.
void FitSpan(int& lo, int& hi, int areaLo, int areaHi) {
  const int length = std::min(hi - lo, areaHi - areaLo);
  if (lo < areaLo) lo = areaLo;
  if (lo + length > areaHi) lo = areaHi - length;
  hi = lo + length;
}

}  // namespace

CRect PlaceOnScreens(const CRect& rect, const std::vector<CRect>& workAreas) {
  const CRect r = rect.Normalized();
  const CRect* nearest = nullptr;
  std::int64_t bestOverlap = 0;
  std::int64_t bestDistance = 0;
  for (const CRect& area : workAreas) {
    if (area.IsRectEmpty()) continue;
    const CRect common = Intersection(r, area);
    if (!common.IsRectEmpty()) {
      if (common.Width() >= std::min(kGrabWidth, r.Width()) && common.Height() >= std::min(kGrabHeight, r.Height()))
        return rect;
      const std::int64_t overlap = std::int64_t{common.Width()} * common.Height();
      if (overlap > bestOverlap) {
        bestOverlap = overlap;
        nearest = &area;
      }
    } else if (bestOverlap == 0) {
      const std::int64_t distance = DistanceSquared(r, area);
      if (!nearest || distance < bestDistance) {
        bestDistance = distance;
        nearest = &area;
      }
    }
  }
  if (!nearest) return rect;
  CRect placed = r;
  FitSpan(placed.left, placed.right, nearest->left, nearest->right);
  FitSpan(placed.top, placed.bottom, nearest->top, nearest->bottom);
  return placed;
}
