#include "view/ViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::optional<ViewLayout> ComputeViewLayout(const ViewLayoutInput& in) {
  // Where the anchor lies on the page, as a fraction of the page, before the page changes size.
  double fx = 0;
  double fy = 0;
  if (in.anchor) {
    const CPoint old = in.mapper.ToDevice(in.pageWidth, in.pageHeight);
    const int pw = old.x > 0 ? old.x : 1;
    const int ph = old.y > 0 ? old.y : 1;
    fx = static_cast<double>(in.anchor->x + in.scroll.x - in.pageOrigin.x) / pw;
    fy = static_cast<double>(in.anchor->y + in.scroll.y - in.pageOrigin.y) / ph;
  }

  const int cx = in.client.cx;
  const int cy = in.client.cy;
  if (cx < 2 || cy < 2) return std::nullopt;

  ViewLayout out;
  out.mapper = in.mapper;
  out.mapper.pageWidth = in.pageWidth;
  out.mapper.pageHeight = in.pageHeight;
  // At zoom 1 the page fills 95 % of the window in its limiting direction.
  out.mapper.Fit(static_cast<int>(cx * 95 / 100.0 * in.zoom), static_cast<int>(cy * 95 / 100.0 * in.zoom));
  const CPoint page = out.mapper.ToDevice(in.pageWidth, in.pageHeight);
  const int pw = page.x;
  const int ph = page.y;

  const int mx = cx * 5 / 200;
  const int my = cy * 5 / 200;

  int gx = 0;
  int gy = 0;
  if (in.anchor) {
    gx = static_cast<int>(std::floor(in.anchor->x - pw * fx + 0.5));
    gy = static_cast<int>(std::floor(in.anchor->y - ph * fy + 0.5));
  } else {
    gx = (cx - pw) / 2;
    gy = (cy - ph) / 2;
  }

  // A page reaching past the window's left or top edge keeps its margin there too.
  const int minX = gx - mx <= 0 ? gx - mx : 0;
  const int minY = gy - my <= 0 ? gy - my : 0;

  out.surface = {std::max(cx, gx + mx + pw) - minX, std::max(cy, gy + my + ph) - minY};
  out.pageOrigin = {gx - minX, gy - minY};
  out.scroll = {-minX, -minY};
  out.pageStep = {cx * 9 / 10, cy * 9 / 10};
  return out;
}

CSize VisibleClientSize(CSize surface, CSize client, int verticalBarWidth, int horizontalBarHeight) {
  bool horizontal = false;
  bool vertical = false;
  // Each bar can only make the other one necessary, so this settles after two rounds.
  for (int round = 0; round < 3; ++round) {
    const int w = client.cx - (vertical ? verticalBarWidth : 0);
    const int h = client.cy - (horizontal ? horizontalBarHeight : 0);
    horizontal = surface.cx > w;
    vertical = surface.cy > h;
  }
  return {client.cx - (vertical ? verticalBarWidth : 0), client.cy - (horizontal ? horizontalBarHeight : 0)};
}

std::optional<double> ZoomTarget(double current, double proposed) {
  double z = std::min(kMaxZoom, proposed);
  if (z < kMinZoom) z = kMinZoom;
  if (std::fabs(z - current) < 1e-9) return std::nullopt;
  return z;
}

double WheelZoomFactor(int wheelDelta) { return std::pow(1.15, wheelDelta / 120.0); }

CPoint WindowToPage(const CPageMapper& mapper, CPoint window, CPoint scroll, CPoint pageOrigin) {
  return mapper.ToPage(window.x + scroll.x - pageOrigin.x, window.y + scroll.y - pageOrigin.y);
}

CPoint PageToWindow(const CPageMapper& mapper, CPoint page, CPoint scroll, CPoint pageOrigin) {
  return mapper.ToDevice(page) + DrawingOffset(scroll, pageOrigin);
}

CPageMapper ReorientedMapper(const CPageMapper& mapper, bool portrait) {
  const CSize units = PageUnits(portrait);
  CPageMapper m = mapper;
  m.pageWidth = units.cx;
  m.pageHeight = units.cy;
  m.Fit(mapper.availableWidth, mapper.availableHeight);
  return m;
}

std::string ZoomText(double zoom) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "Zoom %d %%", static_cast<int>(std::floor(zoom * 100 + 0.5)));
  return buffer;
}

std::string CoordinateText(CPoint page) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "X %d   Y %d", page.x, page.y);
  return buffer;
}

ColumnCursorBitmap ColumnCursorPixels() {
  ColumnCursorBitmap bits{};
  for (auto& row : bits) row.fill(CursorPixel::transparent);
  // The shaft.
  for (int r = 3; r <= 14; ++r)
    for (int c = 14; c <= 17; ++c) bits[r][c] = CursorPixel::black;
  // The head narrows towards the tip at the hot spot.
  for (int r = 15; r <= 23; ++r)
    for (int c = r - 8; c <= 39 - r; ++c) bits[r][c] = CursorPixel::black;
  // A white rim around the black.
  const ColumnCursorBitmap black = bits;
  for (int r = 0; r < kColumnCursorSize; ++r) {
    for (int c = 0; c < kColumnCursorSize; ++c) {
      if (black[r][c] != CursorPixel::transparent) continue;
      bool touches = false;
      for (int dr = -1; dr <= 1 && !touches; ++dr)
        for (int dc = -1; dc <= 1 && !touches; ++dc) {
          const int rr = r + dr;
          const int cc = c + dc;
          touches = rr >= 0 && rr < kColumnCursorSize && cc >= 0 && cc < kColumnCursorSize &&
                    black[rr][cc] == CursorPixel::black;
        }
      if (touches) bits[r][c] = CursorPixel::white;
    }
  }
  return bits;
}
