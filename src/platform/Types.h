// Basic geometry and colour types of the layout model. They mirror the Windows records the layout
// file was designed around (points, sizes, rectangles in 32-bit integers; colours as 0x00BBGGRR).
#pragma once

#include <algorithm>
#include <cstdint>

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

struct CPoint {
  int x = 0;
  int y = 0;
  constexpr CPoint() = default;
  constexpr CPoint(int px, int py) : x(px), y(py) {}
  friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
  constexpr CPoint operator+(CPoint o) const { return {x + o.x, y + o.y}; }
  constexpr CPoint operator-(CPoint o) const { return {x - o.x, y - o.y}; }
  constexpr CPoint& operator+=(CPoint o) { x += o.x; y += o.y; return *this; }
  constexpr CPoint& operator-=(CPoint o) { x -= o.x; y -= o.y; return *this; }
};

struct CSize {
  int cx = 0;
  int cy = 0;
  constexpr CSize() = default;
  constexpr CSize(int w, int h) : cx(w), cy(h) {}
  friend constexpr bool operator==(const CSize&, const CSize&) = default;
};

struct CRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  constexpr CRect() = default;
  constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
  constexpr CRect(CPoint tl, CPoint br) : left(tl.x), top(tl.y), right(br.x), bottom(br.y) {}
  friend constexpr bool operator==(const CRect&, const CRect&) = default;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr CPoint TopLeft() const { return {left, top}; }
  constexpr CPoint BottomRight() const { return {right, bottom}; }
  constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }

  // Swaps the edges so that left <= right and top <= bottom.
  constexpr void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  constexpr CRect Normalized() const { CRect r = *this; r.NormalizeRect(); return r; }
  constexpr void InflateRect(int d) { left -= d; top -= d; right += d; bottom += d; }
  constexpr void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  // Windows rule: the left and top edges belong to the rectangle, the right and bottom do not.
  constexpr bool PtInRect(CPoint p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
};
