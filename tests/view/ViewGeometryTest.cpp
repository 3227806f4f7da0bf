// The editor view's arithmetic: zoom steps and limits, page placement, anchoring, coordinates,
// status texts, command states and the column cursor.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "view/ViewGeometry.h"

namespace {

ViewLayoutInput Input(int cx, int cy, double zoom, bool portrait = true) {
  ViewLayoutInput in;
  in.client = {cx, cy};
  in.zoom = zoom;
  const CSize units = PageUnits(portrait);
  in.pageWidth = units.cx;
  in.pageHeight = units.cy;
  in.mapper = CPageMapper::ForPage(units.cx, units.cy, 1, 1);
  return in;
}

// The next relayout starts where the previous one left the view.
ViewLayoutInput After(const ViewLayoutInput& before, const ViewLayout& layout, double zoom,
                      std::optional<CPoint> anchor) {
  ViewLayoutInput in = before;
  in.zoom = zoom;
  in.anchor = anchor;
  in.scroll = layout.scroll;
  in.pageOrigin = layout.pageOrigin;
  in.mapper = layout.mapper;
  return in;
}

CSize PagePixels(const ViewLayout& l) {
  const CPoint p = l.mapper.ToDevice(l.mapper.pageWidth, l.mapper.pageHeight);
  return {p.x, p.y};
}

}  // namespace

// ---- zoom --------------------------------------------------------------------------------------

TEST(ViewGeometryZoom, StepsInByAQuarterUpToExactlyTenThenStop) {
  const std::vector<double> expected = {1.25,           1.5625,           1.953125,          2.44140625,
                                        3.0517578125,   3.814697265625,   4.76837158203125,  5.9604644775390625,
                                        7.450580596923828125, 9.31322574615478515625, 10.0};
  double zoom = 1.0;
  for (double want : expected) {
    const std::optional<double> next = ZoomTarget(zoom, ZoomedIn(zoom));
    ASSERT_TRUE(next.has_value()) << "after " << zoom;
    EXPECT_DOUBLE_EQ(*next, want);
    zoom = *next;
  }
  EXPECT_EQ(zoom, 10.0);  // exactly, so the zoom-in command switches off
  EXPECT_FALSE(ZoomTarget(zoom, ZoomedIn(zoom)).has_value());
  EXPECT_FALSE(ZoomTarget(zoom, zoom * WheelZoomFactor(120)).has_value());
}

TEST(ViewGeometryZoom, StepsOutByDivisionAndClampsAtTheWholePage) {
  double zoom = 10.0;
  int steps = 0;
  while (const std::optional<double> next = ZoomTarget(zoom, ZoomedOut(zoom))) {
    EXPECT_LT(*next, zoom);
    zoom = *next;
    ASSERT_LT(++steps, 20);
  }
  EXPECT_EQ(zoom, 1.0);
  EXPECT_EQ(ZoomedOut(1.5625), 1.25);  // division by 1.25, exact
  EXPECT_EQ(ZoomTarget(1.1, ZoomedOut(1.1)), 1.0);
  EXPECT_EQ(ZoomTarget(3.0, 0.2), 1.0);
  EXPECT_EQ(ZoomTarget(3.0, 50.0), 10.0);
}

TEST(ViewGeometryZoom, ChangesBelowOneBillionthAreNoChange) {
  EXPECT_FALSE(ZoomTarget(2.0, 2.0 + 5e-10).has_value());
  EXPECT_FALSE(ZoomTarget(2.0, 2.0 - 5e-10).has_value());
  EXPECT_EQ(ZoomTarget(2.0, 2.0 + 2e-9), 2.0 + 2e-9);
  EXPECT_FALSE(ZoomTarget(1.0, 1.0).has_value());
}

TEST(ViewGeometryZoom, WheelZoomsByFifteenPercentPerNotch) {
  struct Case { int delta; double factor; };
  const Case cases[] = {{120, 1.15}, {-120, 1 / 1.15}, {240, 1.15 * 1.15}, {0, 1.0}, {60, std::sqrt(1.15)}};
  for (const Case& c : cases) EXPECT_NEAR(WheelZoomFactor(c.delta), c.factor, 1e-12) << c.delta;
}

TEST(ViewGeometryZoom, CommandStates) {
  struct Case { double zoom; bool in; bool out; };
  const Case cases[] = {{1.0, true, false},        {1.000000001, true, false}, {1.0000001, true, true},
                        {1.25, true, true},        {9.99, true, true},         {9.999999999, false, true},
                        {10.0, false, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(CanZoomIn(c.zoom), c.in) << c.zoom;
    EXPECT_EQ(CanZoomOut(c.zoom), c.out) << c.zoom;
    EXPECT_EQ(CanShowWholePage(c.zoom), c.out) << c.zoom;
  }
}

// ---- placement ---------------------------------------------------------------------------------

TEST(ViewGeometryLayout, WholePortraitPageIn1000x800IsLimitedByTheHeightAndCentred) {
  const std::optional<ViewLayout> l = ComputeViewLayout(Input(1000, 800, 1.0));
  ASSERT_TRUE(l);
  EXPECT_EQ(l->mapper.availableWidth, 950);
  EXPECT_EQ(l->mapper.availableHeight, 760);
  EXPECT_EQ(PagePixels(*l), CSize(539, 760));
  EXPECT_EQ(l->pageOrigin, CPoint(230, 20));  // (1000 - 539) / 2, (800 - 760) / 2
  EXPECT_EQ(l->surface, CSize(1000, 800));
  EXPECT_EQ(l->scroll, CPoint(0, 0));
  EXPECT_EQ(l->pageStep, CSize(900, 720));
  EXPECT_EQ(l->lineStep, CSize(20, 20));
}

TEST(ViewGeometryLayout, WholeLandscapePageIsLimitedByTheWidth) {
  const std::optional<ViewLayout> l = ComputeViewLayout(Input(1000, 800, 1.0, false));
  ASSERT_TRUE(l);
  EXPECT_EQ(l->mapper.pageWidth, 705);
  EXPECT_EQ(PagePixels(*l), CSize(950, 673));
  EXPECT_EQ(l->pageOrigin, CPoint(25, 63));
  EXPECT_EQ(l->surface, CSize(1000, 800));
}

TEST(ViewGeometryLayout, OverflowingPageKeepsAMarginOnEverySide) {
  const std::optional<ViewLayout> l = ComputeViewLayout(Input(1000, 800, 2.0));
  ASSERT_TRUE(l);
  const CSize page = PagePixels(*l);
  EXPECT_EQ(page, CSize(1078, 1520));
  // 2.5 % of the window: 25 and 20 pixels, left and right, top and bottom.
  EXPECT_EQ(l->pageOrigin, CPoint(25, 20));
  EXPECT_EQ(l->surface.cx - l->pageOrigin.x - page.cx, 25);
  EXPECT_EQ(l->surface.cy - l->pageOrigin.y - page.cy, 20);
  // Centred: the page's middle lies under the window's middle.
  EXPECT_EQ(l->scroll, CPoint(64, 380));
}

TEST(ViewGeometryLayout, CentringTruncatesTowardZero) {
  // (1001 - 1078) / 2 is -38 in integer arithmetic, not -39.
  const std::optional<ViewLayout> l = ComputeViewLayout(Input(1001, 800, 2.0));
  ASSERT_TRUE(l);
  EXPECT_EQ(PagePixels(*l).cx, 1078);
  EXPECT_EQ(l->scroll.x, 38 + 25);
  EXPECT_EQ(l->pageOrigin.x, 25);
}

TEST(ViewGeometryLayout, TooSmallWindowLeavesThePlacementAlone) {
  for (const CSize client : {CSize(1, 800), CSize(800, 1), CSize(0, 0), CSize(-5, 300)}) {
    ViewLayoutInput in = Input(client.cx, client.cy, 1.0);
    EXPECT_FALSE(ComputeViewLayout(in).has_value()) << client.cx << " x " << client.cy;
    in.anchor = CPoint(0, 0);
    EXPECT_FALSE(ComputeViewLayout(in).has_value());
  }
}

TEST(ViewGeometryLayout, AnchorKeepsThePagePointUnderThePointer) {
  struct Step { double zoom; CPoint anchor; };
  // Zooming in and out about points all over the window, from one placement to the next.
  const Step steps[] = {{1.25, {300, 400}}, {1.5625, {900, 100}}, {3.0, {500, 400}}, {6.0, {20, 780}},
                        {10.0, {999, 0}},   {4.0, {640, 333}},    {1.3, {100, 700}}};
  ViewLayoutInput in = Input(1000, 800, 1.0);
  std::optional<ViewLayout> l = ComputeViewLayout(in);
  ASSERT_TRUE(l);
  for (const Step& s : steps) {
    const CSize before = PagePixels(*l);
    const double fx = static_cast<double>(s.anchor.x + l->scroll.x - l->pageOrigin.x) / before.cx;
    const double fy = static_cast<double>(s.anchor.y + l->scroll.y - l->pageOrigin.y) / before.cy;
    const CPoint pageBefore = WindowToPage(l->mapper, s.anchor, l->scroll, l->pageOrigin);

    in = After(in, *l, s.zoom, s.anchor);
    l = ComputeViewLayout(in);
    ASSERT_TRUE(l);
    const CSize after = PagePixels(*l);
    EXPECT_NE(after, before);
    // The anchor lies at the same fraction of the page, to within a pixel.
    EXPECT_NEAR(s.anchor.x + l->scroll.x - l->pageOrigin.x, fx * after.cx, 1.0) << s.zoom;
    EXPECT_NEAR(s.anchor.y + l->scroll.y - l->pageOrigin.y, fy * after.cy, 1.0) << s.zoom;
    const CPoint pageAfter = WindowToPage(l->mapper, s.anchor, l->scroll, l->pageOrigin);
    EXPECT_LE(std::abs(pageAfter.x - pageBefore.x), 1) << s.zoom;
    EXPECT_LE(std::abs(pageAfter.y - pageBefore.y), 1) << s.zoom;
    // And the scroll position stays within the surface.
    EXPECT_GE(l->scroll.x, 0);
    EXPECT_GE(l->scroll.y, 0);
    EXPECT_LE(l->scroll.x, l->surface.cx - in.client.cx);
    EXPECT_LE(l->scroll.y, l->surface.cy - in.client.cy);
  }
}

TEST(ViewGeometryLayout, PageOfNoPixelsCountsAsOneWhenAnchoring) {
  // The initial mapper (fitted into 1 x 1) maps the portrait page to 0 x 1 pixels.
  ViewLayoutInput in = Input(1000, 800, 1.0);
  ASSERT_EQ(in.mapper.ToDevice(500, 705), CPoint(0, 1));
  in.anchor = CPoint(100, 50);
  const std::optional<ViewLayout> l = ComputeViewLayout(in);
  ASSERT_TRUE(l);
  // fx = 100 / 1, fy = 50 / 1; the new page is 539 x 760.
  const int gx = 100 - 539 * 100;
  const int gy = 50 - 760 * 50;
  EXPECT_EQ(l->scroll, CPoint(-(gx - 25), -(gy - 20)));
  EXPECT_EQ(l->pageOrigin, CPoint(25, 20));
}

TEST(ViewGeometryLayout, ScrollBarsTakeRoomOnlyWhenNeeded) {
  struct Case { CSize surface; CSize visible; };
  const Case cases[] = {
      {{95, 95}, {100, 100}},    // fits
      {{150, 80}, {100, 90}},    // too wide only
      {{80, 150}, {90, 100}},    // too high only
      {{95, 150}, {90, 90}},     // the vertical bar makes it too wide as well
      {{150, 95}, {90, 90}},     // the horizontal bar makes it too high as well
      {{100, 100}, {100, 100}},  // exactly fits
  };
  for (const Case& c : cases)
    EXPECT_EQ(VisibleClientSize(c.surface, {100, 100}, 10, 10), c.visible)
        << c.surface.cx << " x " << c.surface.cy;
}

// ---- coordinates -------------------------------------------------------------------------------

TEST(ViewGeometryCoordinates, WindowPixelsAndPagePoints) {
  const CPageMapper twice = CPageMapper::ForPage(500, 705, 1000, 1410);  // two pixels per unit
  struct Case { CPoint window; CPoint scroll; CPoint origin; CPoint page; };
  const Case cases[] = {
      {{100, 50}, {10, 20}, {30, 40}, {40, 15}},
      {{30, 40}, {0, 0}, {30, 40}, {0, 0}},
      {{0, 0}, {0, 0}, {30, 40}, {-15, -20}},  // on the desk: negative page coordinates
      {{1, 0}, {500, 900}, {25, 20}, {238, 440}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WindowToPage(twice, c.window, c.scroll, c.origin), c.page);
    EXPECT_EQ(PageToWindow(twice, c.page, c.scroll, c.origin), c.window);
  }
  EXPECT_EQ(DrawingOffset({10, 20}, {30, 40}), CPoint(20, 20));
}

TEST(ViewGeometryCoordinates, OrientationSwapsPageUnitsInTheSameArea) {
  const CPageMapper portrait = CPageMapper::ForPage(500, 705, 950, 760);
  const CPageMapper landscape = ReorientedMapper(portrait, false);
  EXPECT_EQ(landscape.pageWidth, 705);
  EXPECT_EQ(landscape.pageHeight, 500);
  EXPECT_EQ(landscape.availableWidth, 950);
  EXPECT_EQ(landscape.availableHeight, 760);
  EXPECT_EQ(landscape.ToDevice(705, 500), CPoint(950, 673));
  const CPageMapper back = ReorientedMapper(landscape, true);
  EXPECT_EQ(back.ToDevice(500, 705), portrait.ToDevice(500, 705));
  EXPECT_TRUE(IsPortrait(500, 705));
  EXPECT_FALSE(IsPortrait(705, 500));
}

// ---- status texts ------------------------------------------------------------------------------

TEST(ViewGeometryTexts, ZoomPane) {
  struct Case { double zoom; const char* text; };
  const Case cases[] = {{1.0, "Zoom 100 %"},       {1.25, "Zoom 125 %"},   {1.5625, "Zoom 156 %"},
                        {1.953125, "Zoom 195 %"},  {10.0, "Zoom 1000 %"},  {1.15, "Zoom 115 %"},
                        {2.44140625, "Zoom 244 %"}};
  for (const Case& c : cases) EXPECT_EQ(ZoomText(c.zoom), c.text);
}

TEST(ViewGeometryTexts, CoordinatePaneHasThreeSpaces) {
  EXPECT_EQ(CoordinateText({12, -3}), "X 12   Y -3");
  EXPECT_EQ(CoordinateText({0, 0}), "X 0   Y 0");
  EXPECT_EQ(CoordinateText({-1250, 9999}), "X -1250   Y 9999");
}

// ---- column cursor -----------------------------------------------------------------------------

TEST(ViewGeometryColumnCursor, DownwardArrowWithWhiteRim) {
  const ColumnCursorBitmap bits = ColumnCursorPixels();
  const auto at = [&](int x, int y) { return bits[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]; };
  EXPECT_EQ(at(kColumnCursorHotSpot.x, kColumnCursorHotSpot.y), CursorPixel::black);  // the tip
  struct Case { int x; int y; CursorPixel p; };
  const Case cases[] = {
      {14, 3, CursorPixel::black},  {17, 14, CursorPixel::black}, {13, 3, CursorPixel::white},
      {18, 8, CursorPixel::white},  {14, 2, CursorPixel::white},  {7, 15, CursorPixel::black},
      {24, 15, CursorPixel::black}, {6, 15, CursorPixel::white},  {25, 15, CursorPixel::white},
      {16, 23, CursorPixel::black}, {17, 23, CursorPixel::white}, {15, 24, CursorPixel::white},
      {15, 25, CursorPixel::transparent}, {0, 0, CursorPixel::transparent},
      {12, 8, CursorPixel::transparent},  {31, 31, CursorPixel::transparent},
  };
  for (const Case& c : cases) EXPECT_EQ(at(c.x, c.y), c.p) << c.x << ", " << c.y;

  // White exactly where a non-black pixel touches black.
  for (int y = 0; y < kColumnCursorSize; ++y)
    for (int x = 0; x < kColumnCursorSize; ++x) {
      if (at(x, y) == CursorPixel::black) continue;
      bool touches = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx;
          const int ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < kColumnCursorSize && ny < kColumnCursorSize &&
              at(nx, ny) == CursorPixel::black)
            touches = true;
        }
      EXPECT_EQ(at(x, y) == CursorPixel::white, touches) << x << ", " << y;
    }
}
