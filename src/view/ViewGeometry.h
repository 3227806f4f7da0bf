// The arithmetic of the editor view: where the page lies inside the window at a zoom factor, how
// window pixels become page points, the zoom steps and limits, and the status-bar texts. Kept
// apart from the widget so that it can be checked without a window system.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/PageMapper.h"
#include "platform/Types.h"

constexpr double kMinZoom = 1.0;   // the whole page fits the window
constexpr double kMaxZoom = 10.0;
constexpr double kZoomStep = 1.25;
constexpr int kGridStep = 10;  // page units between grid lines
constexpr int kLineStep = 20;  // pixels one scroll-bar arrow click moves

// What a relayout starts from.
struct ViewLayoutInput {
  CSize client;  // client area without scroll bars, pixels
  double zoom = 1.0;
  int pageWidth = kPortraitWidth;  // page units
  int pageHeight = kPortraitHeight;
  std::optional<CPoint> anchor;  // window pixel whose page point must stay under it
  CPoint scroll;                 // current scroll position
  CPoint pageOrigin;             // current position of page point (0, 0) on the scroll surface
  CPageMapper mapper;            // the mapper before refitting
};

// Where a relayout puts the page.
struct ViewLayout {
  CPageMapper mapper;  // fitted to the zoomed window
  CPoint pageOrigin;   // page point (0, 0) on the scroll surface
  CSize surface;       // whole scroll surface
  CPoint scroll;       // scroll position to go to
  CSize pageStep;
  CSize lineStep{kLineStep, kLineStep};
};

// Fits the page into the window at the zoom factor and places it: centred when it fits, otherwise
// with a margin of 2.5 % of the window on the overflowing sides; with an anchor the page point under
// the anchor stays there. Nothing when the window is narrower or lower than 2 pixels.
std::optional<ViewLayout> ComputeViewLayout(const ViewLayoutInput& in);

// The part of the window left for the page once the scroll bars the surface needs are shown.
// A bar appearing can make the other one necessary too.
CSize VisibleClientSize(CSize surface, CSize client, int verticalBarWidth, int horizontalBarHeight);

// ---- zoom

// The zoom a proposed value leads to: at most 10, at least 1; nothing when it differs from the
// current zoom by less than 1e-9 (so a step at a limit neither relayouts nor redraws).
std::optional<double> ZoomTarget(double current, double proposed);
constexpr double ZoomedIn(double zoom) { return zoom * kZoomStep; }
constexpr double ZoomedOut(double zoom) { return zoom / kZoomStep; }
// One wheel notch (120) zooms by 1.15; forward turns are positive.
double WheelZoomFactor(int wheelDelta);
// Zoomed beyond the whole page: the page may overflow the window.
constexpr bool IsZoomed(double zoom) { return zoom > 1.000000001; }
constexpr bool CanZoomIn(double zoom) { return zoom < 9.999999999; }
constexpr bool CanZoomOut(double zoom) { return IsZoomed(zoom); }
constexpr bool CanShowWholePage(double zoom) { return IsZoomed(zoom); }

// ---- coordinates

// The page point under a window pixel.
CPoint WindowToPage(const CPageMapper& mapper, CPoint window, CPoint scroll, CPoint pageOrigin);
// The window pixel where a page point is drawn.
CPoint PageToWindow(const CPageMapper& mapper, CPoint page, CPoint scroll, CPoint pageOrigin);
// How far drawing moves the device origin so that page point (0, 0) lands on its window pixel.
constexpr CPoint DrawingOffset(CPoint scroll, CPoint pageOrigin) { return pageOrigin - scroll; }

// Page units of a page in either orientation: 500 x 705 upright, 705 x 500 lying.
constexpr CSize PageUnits(bool portrait) {
  return portrait ? CSize(kPortraitWidth, kPortraitHeight) : CSize(kPortraitHeight, kPortraitWidth);
}
constexpr bool IsPortrait(int pageWidth, int pageHeight) { return pageWidth < pageHeight; }
// The mapper for the other orientation, fitted into the same available area.
CPageMapper ReorientedMapper(const CPageMapper& mapper, bool portrait);

// ---- status-bar texts

std::string ZoomText(double zoom);         // "Zoom 156 %"
std::string CoordinateText(CPoint page);   // "X 12   Y -3"

// ---- the column cursor: a downward arrow over a table's column label

constexpr int kColumnCursorSize = 32;
constexpr CPoint kColumnCursorHotSpot{15, 23};
enum class CursorPixel : unsigned char { transparent, black, white };
using ColumnCursorBitmap =
    std::array<std::array<CursorPixel, kColumnCursorSize>, kColumnCursorSize>;  // [row][column]
// Black shaft and head with a one-pixel white outline, so it shows on any background.
ColumnCursorBitmap ColumnCursorPixels();
