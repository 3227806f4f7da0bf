#include "platform/qt/QtDeviceContext.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kGrey = 0xFF808080u;
constexpr COLORREF kXorColour = RGB(0x5C, 0x5C, 0x5C);

QRgb ToRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

QImage Canvas(int w, int h, QRgb fill = kWhite) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

// Every pixel different from its neighbours, so XOR results can be told apart from the original.
QImage Patterned(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 37) & 0xFF, (y * 53) & 0xFF, (x * y) & 0xFF));
  return img;
}

// Draws on `img` with a fresh context; the painter has ended when this returns.
void Paint(QImage& img, const std::function<void(DeviceContext&)>& draw) {
  QtDeviceContext dc(&img);
  ASSERT_TRUE(dc.IsActive());
  draw(dc);
}

int CountDifferent(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

// The bounding box of every pixel that is not `background`; invalid when there is none.
QRect InkBox(const QImage& img, QRgb background = kWhite) {
  QRect box;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}

LOGFONTA ArialFont(int height, int weight = 400) {
  LOGFONTA f;
  f.lfHeight = height;
  f.lfWeight = weight;
  SetFaceName(f, "Arial");
  return f;
}

// ---- rectangles ---------------------------------------------------------------------------------

struct RectCase {
  const char* name;
  friend void PrintTo(const RectCase& c, std::ostream* os) { *os << c.name; }
  Pen pen;
  Brush brush;
  CRect rect;
  QRect outline;  // pixels the outline covers (empty: none)
  QRect fill;     // pixels the brush covers (empty: none)
};

class RectangleCoverage : public ::testing::TestWithParam<RectCase> {};

TEST_P(RectangleCoverage, CoversTheGdiPixels) {
  const RectCase& c = GetParam();
  QImage img = Canvas(24, 20);
  Paint(img, [&](DeviceContext& dc) {
    dc.SetPen(c.pen);
    dc.SetBrush(c.brush);
    dc.Rectangle(c.rect);
  });
  const QRect inner =
      c.outline.width() > 2 && c.outline.height() > 2 ? c.outline.adjusted(1, 1, -1, -1) : QRect();
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      QRgb expected = kWhite;
      if (c.fill.contains(x, y)) expected = ToRgb(c.brush.color);
      if (c.outline.contains(x, y) && !inner.contains(x, y)) expected = ToRgb(c.pen.color);
      ASSERT_EQ(img.pixel(x, y), expected) << "pixel " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    QtDeviceContext, RectangleCoverage,
    ::testing::Values(
        // Outline l..r-1, t..b-1; the brush fills what lies inside.
        RectCase{"penAndBrush", Pen::Solid(0, RGB(0, 0, 255)), Brush::Solid(RGB(255, 0, 0)),
                 CRect(3, 4, 13, 10), QRect(QPoint(3, 4), QPoint(12, 9)), QRect(QPoint(4, 5), QPoint(11, 8))},
        RectCase{"edgesGivenReversed", Pen::Solid(0, RGB(0, 0, 255)), Brush::Solid(RGB(255, 0, 0)),
                 CRect(13, 10, 3, 4), QRect(QPoint(3, 4), QPoint(12, 9)), QRect(QPoint(4, 5), QPoint(11, 8))},
        RectCase{"nullBrush", Pen::Solid(0, RGB(0, 128, 0)), Brush::Null(), CRect(2, 2, 20, 15),
                 QRect(QPoint(2, 2), QPoint(19, 14)), QRect()},
        // Without a pen GDI fills one pixel less to the right and bottom.
        RectCase{"nullPen", Pen::Null(), Brush::Solid(RGB(255, 0, 0)), CRect(3, 4, 13, 10), QRect(),
                 QRect(QPoint(3, 4), QPoint(11, 8))},
        RectCase{"onePixelWide", Pen::Solid(0, RGB(0, 0, 255)), Brush::Solid(RGB(255, 0, 0)),
                 CRect(5, 3, 6, 12), QRect(QPoint(5, 3), QPoint(5, 11)), QRect()},
        RectCase{"empty", Pen::Solid(0, RGB(0, 0, 255)), Brush::Solid(RGB(255, 0, 0)), CRect(5, 3, 5, 12),
                 QRect(), QRect()}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- lines ----------------------------------------------------------------------------------------------

struct LineCase {
  const char* name;
  friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }
  CPoint from;
  CPoint to;
};

class StraightLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(StraightLine, LeavesOutTheEndPixel) {
  const LineCase& c = GetParam();
  QImage img = Canvas(20, 20);
  Paint(img, [&](DeviceContext& dc) { dc.Line(c.from, c.to); });
  const int dx = (c.to.x > c.from.x) - (c.to.x < c.from.x);
  const int dy = (c.to.y > c.from.y) - (c.to.y < c.from.y);
  std::vector<QPoint> expected;
  for (CPoint p = c.from; p != c.to; p += CPoint(dx, dy)) expected.emplace_back(p.x, p.y);
  for (const QPoint& p : expected) EXPECT_EQ(img.pixel(p), kBlack) << p.x() << "," << p.y();
  EXPECT_EQ(img.pixel(c.to.x, c.to.y), kWhite);
  EXPECT_EQ(CountDifferent(img, Canvas(20, 20)), static_cast<int>(expected.size()));
}

INSTANTIATE_TEST_SUITE_P(QtDeviceContext, StraightLine,
                         ::testing::Values(LineCase{"right", {2, 5}, {12, 5}},
                                           LineCase{"left", {12, 5}, {2, 5}},
                                           LineCase{"down", {7, 1}, {7, 17}},
                                           LineCase{"up", {7, 17}, {7, 1}},
                                           LineCase{"diagonalRightDown", {2, 2}, {12, 12}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QtDeviceContext, LineToItsOwnStartDrawsNothing) {
  QImage img = Canvas(10, 10);
  Paint(img, [](DeviceContext& dc) { dc.Line({4, 4}, {4, 4}); });
  EXPECT_EQ(CountDifferent(img, Canvas(10, 10)), 0);
}

TEST(QtDeviceContext, DashedPenFollowsGdiPatternAndOpaqueBackgroundFillsItsGaps) {
  for (const bool transparent : {false, true}) {
    QImage img = Canvas(60, 3, kGrey);
    Paint(img, [&](DeviceContext& dc) {
      dc.SetTransparentText(transparent);
      dc.SetPen({Pen::Style::dash, 0, RGB(0, 0, 0)});
      dc.Line({0, 1}, {48, 1});
    });
    int ink = 0;
    int gap = 0;
    for (int x = 0; x < 48; ++x) {
      ink += img.pixel(x, 1) == kBlack;
      gap += img.pixel(x, 1) == (transparent ? kGrey : kWhite);
    }
    EXPECT_EQ(ink, 36) << "two dashes of 18";
    EXPECT_EQ(gap, 12) << "two gaps of 6, transparent=" << transparent;
    EXPECT_EQ(img.pixel(48, 1), kGrey);
  }
}

// ---- raster operations -------------------------------------------------------------------------------

struct XorCase {
  const char* name;
  friend void PrintTo(const XorCase& c, std::ostream* os) { *os << c.name; }
  std::function<void(DeviceContext&)> draw;
  int changedPixels;  // by one drawing; each pixel must be hit exactly once
};

class XorDrawing : public ::testing::TestWithParam<XorCase> {};

TEST_P(XorDrawing, ChangesEachPixelOnceAndRestoresWhenRepeated) {
  const XorCase& c = GetParam();
  const QImage original = Patterned(40, 30);
  QImage img = original;
  {
    QtDeviceContext dc(&img);
    dc.SetRop(RasterOp::xorPen);
    dc.SetPen(Pen::Solid(0, RGB(0x5C, 0x5C, 0x5C)));
    c.draw(dc);
  }
  EXPECT_EQ(CountDifferent(img, original), c.changedPixels);
  {
    QtDeviceContext dc(&img);
    dc.SetRop(RasterOp::xorPen);
    dc.SetPen(Pen::Solid(0, RGB(0x5C, 0x5C, 0x5C)));
    c.draw(dc);
  }
  EXPECT_EQ(CountDifferent(img, original), 0);
}

INSTANTIATE_TEST_SUITE_P(
    QtDeviceContext, XorDrawing,
    ::testing::Values(
        // The default white brush inverts the inside; outline and inside together cover 20 x 12.
        XorCase{"rectangleWithBrush", [](DeviceContext& dc) { dc.Rectangle({5, 6, 25, 18}); }, 20 * 12},
        XorCase{"rectangleReversed", [](DeviceContext& dc) { dc.Rectangle({25, 18, 5, 6}); }, 20 * 12},
        XorCase{"rectangleOutline",
                [](DeviceContext& dc) {
                  dc.SetBrush(Brush::Null());
                  dc.Rectangle({5, 6, 25, 18});
                },
                2 * 20 + 2 * 10},
        XorCase{"rectangleOnePixelHigh",
                [](DeviceContext& dc) {
                  dc.SetBrush(Brush::Null());
                  dc.Rectangle({5, 6, 25, 7});
                },
                20},
        // Two pixels across (the drag outline of an empty text): every pixel is outline.
        XorCase{"rectangleTwoPixelsWide", [](DeviceContext& dc) { dc.Rectangle({5, 6, 7, 10}); }, 2 * 4},
        XorCase{"rectangleTwoPixelsHigh", [](DeviceContext& dc) { dc.Rectangle({5, 6, 12, 8}); }, 7 * 2},
        XorCase{"rectangleTwoByTwo", [](DeviceContext& dc) { dc.Rectangle({5, 6, 7, 8}); }, 4},
        XorCase{"horizontalLine", [](DeviceContext& dc) { dc.Line({30, 3}, {4, 3}); }, 26},
        XorCase{"diagonalLine", [](DeviceContext& dc) { dc.Line({3, 2}, {33, 12}); }, 30},
        XorCase{"steepLineUpwards", [](DeviceContext& dc) { dc.Line({20, 28}, {12, 2}); }, 26},
        XorCase{"polylineOfSegments",
                [](DeviceContext& dc) {
                  dc.Line({2, 2}, {20, 2});
                  dc.Line({20, 2}, {20, 20});
                  dc.Line({20, 20}, {2, 20});
                  dc.Line({2, 20}, {2, 2});
                },
                4 * 18},
        // Every other pixel of the 20 x 12 frame's 60 pixels.
        XorCase{"focusRect", [](DeviceContext& dc) { dc.FocusRect({5, 6, 25, 18}); }, 30}),
    [](const auto& info) { return std::string(info.param.name); });

// Random outlines, fills, lines and focus frames, some reaching past the picture, on a painter
// moved by a whole-pixel offset as the editor view's is, with and without a clip rectangle.
void DrawRandomFeedback(DeviceContext& dc, unsigned seed, RasterOp rop = RasterOp::xorPen) {
  std::mt19937 rng(seed);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const COLORREF colours[] = {RGB(0x5C, 0x5C, 0x5C), RGB(255, 255, 255), RGB(1, 128, 254), RGB(0, 0, 0)};
  dc.SetRop(rop);
  if (pick(0, 2) == 0) dc.IntersectClip(CRect(pick(-20, 30), pick(-20, 30), pick(35, 90), pick(35, 70)));
  for (int i = 0; i < 60; ++i) {
    const CPoint a(pick(-30, 100), pick(-30, 80));
    const int w = pick(0, 3) == 0 ? pick(-3, 3) : pick(-60, 60);
    const int h = pick(0, 3) == 0 ? pick(-3, 3) : pick(-60, 60);
    dc.SetPen(pick(0, 5) == 0 ? Pen::Null() : Pen::Solid(pick(0, 5) == 0 ? 1 : 0, colours[pick(0, 3)]));
    dc.SetBrush(pick(0, 1) == 0 ? Brush::Null() : Brush::Solid(colours[pick(0, 3)]));
    switch (pick(0, 4)) {
      case 0: case 1: dc.Rectangle(CRect(a.x, a.y, a.x + w, a.y + h)); break;
      case 2: dc.Line(a, CPoint(a.x + w, a.y)); dc.Line(a, CPoint(a.x, a.y + h)); break;
      case 3: dc.Line(a, CPoint(a.x + w, a.y + h)); break;
      default: dc.FocusRect(CRect(a.x, a.y, a.x + w, a.y + h)); break;
    }
  }
}

TEST(QtDeviceContext, DirectXorGivesThePaintersPixelsAndRestoresWhenRepeated) {
  const QImage original = Patterned(90, 70);
  for (unsigned seed = 1; seed <= 100; ++seed) {
    SCOPED_TRACE(seed);
    const QPoint offset(static_cast<int>(seed % 7) - 3, static_cast<int>(seed % 5) - 2);
    const auto draw = [&](QImage& img, bool direct) {
      QtDeviceContext dc(&img);
      ASSERT_TRUE(dc.IsActive());
      dc.SetDirectPixels(direct);
      dc.Painter()->translate(offset);
      DrawRandomFeedback(dc, seed);
    };
    QImage painted = original;
    draw(painted, false);
    QImage direct = original;
    draw(direct, true);
    ASSERT_NE(CountDifferent(painted, original), 0);
    EXPECT_EQ(CountDifferent(direct, painted), 0);
    draw(direct, true);
    EXPECT_EQ(CountDifferent(direct, original), 0);
  }
}

// Random texts as layouts hold them: umlauts, dashes, codes in brackets, Hebrew and Chinese (other
// fonts stand in for glyphs the face lacks), small and large faces (the largest are filled as
// outlines), every alignment, opaque cells.
void DrawRandomTexts(QtDeviceContext& dc, unsigned seed) {
  std::mt19937 rng(seed);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const char* const pieces[] = {"Ergebnisliste", "[Name]", " ", "Müller-Lüdenscheidt", "Straße", "–", "€ 12,50",
                                "1.", "WWWiii", "fi fl", "Trenn\u00ADung", "Zeile\u2028zwei", "שלום", "名前", "(2) [Lauf01]", "  "};
  const char* const faces[] = {"Arial", "Times New Roman", "Courier New", "DejaVu Sans", "Nimbus Roman"};
  const unsigned horizontal[] = {TA_LEFT, TA_CENTER, TA_RIGHT};
  const unsigned vertical[] = {TA_TOP, TA_BASELINE, TA_BOTTOM};
  if (pick(0, 3) == 0) dc.IntersectClip(CRect(pick(0, 60), pick(0, 60), pick(120, 300), pick(100, 200)));
  for (int i = 0; i < 12; ++i) {
    std::string text;
    for (int n = pick(1, 4); n > 0; --n) text += pieces[pick(0, 15)];
    LOGFONTA f;
    SetFaceName(f, faces[pick(0, 4)]);
    f.lfHeight = pick(0, 1) ? pick(6, 40) : -pick(6, 90);
    f.lfWeight = pick(0, 1) ? 400 : 700;
    f.lfItalic = pick(0, 3) == 0;
    f.lfQuality = pick(0, 5) == 0 ? 3 : 0;
    dc.SetFont(f);
    // Black, the colour of most texts, in a third of them.
    dc.SetTextColor(pick(0, 2) == 0 ? RGB(0, 0, 0) : RGB(pick(0, 255), pick(0, 128), pick(0, 255)));
    dc.SetTransparentText(pick(0, 2) != 0);
    dc.SetTextAlign(horizontal[pick(0, 2)] | vertical[pick(0, 2)]);
    // Twice: the second time the shaped glyphs are reused. Some land off the picture, some
    // reach into it from far outside.
    dc.Text({pick(-200, 450), pick(-120, 300)}, text);
    dc.Text({pick(-20, 280), pick(-10, 200)}, text);
  }
}

TEST(QtDeviceContext, ReusedGlyphsGiveThePaintersPixels) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(seed);
    const QPoint offset(static_cast<int>(seed % 7) - 3, static_cast<int>(seed % 5) - 2);
    // Pictures of other resolutions and densities, and painters of each layout direction.
    const int dotsPerMeter = seed % 3 == 0 ? 5906 : 3780;  // 150 or 96 dpi
    const qreal ratio = seed % 4 == 0 ? 2 : 1;
    const auto picture = [&] {
      QImage img = Patterned(300, 220);
      img.setDotsPerMeterX(dotsPerMeter);
      img.setDotsPerMeterY(dotsPerMeter);
      img.setDevicePixelRatio(ratio);
      return img;
    };
    const Qt::LayoutDirection direction =
        seed % 5 == 0 ? Qt::RightToLeft : (seed % 5 == 1 ? Qt::LeftToRight : Qt::LayoutDirectionAuto);
    const auto draw = [&](bool cached) {
      QImage img = picture();
      QtDeviceContext dc(&img);
      dc.SetTextCache(cached);
      dc.Painter()->translate(offset);
      dc.Painter()->setLayoutDirection(direction);
      DrawRandomTexts(dc, seed);
      // The kept glyphs were used where they can be: not on a right-to-left painter, not where the
      // picture has more pixels than units.
      // Letters were blended from their kept masks as well.
      if (!cached || direction == Qt::RightToLeft || ratio != 1) {
        EXPECT_EQ(dc.TextsFromKeptGlyphs(), 0);
        EXPECT_EQ(dc.RunsFromKeptLetters(), 0);
      } else {
        EXPECT_GT(dc.TextsFromKeptGlyphs(), 0);
        EXPECT_GT(dc.RunsFromKeptLetters(), 0);
      }
      return img;
    };
    const QImage shapedEachTime = draw(false);
    ASSERT_NE(CountDifferent(shapedEachTime, picture()), 0);
    EXPECT_EQ(CountDifferent(draw(true), shapedEachTime), 0);
    // Drawn again from the filled cache.
    EXPECT_EQ(CountDifferent(draw(true), shapedEachTime), 0);
  }
}

TEST(QtDeviceContext, DirectLinesGiveThePaintersPixels) {
  // The grid and frames of the editor view: plain lines written straight into the picture.
  const QImage original = Patterned(90, 70);
  for (unsigned seed = 1; seed <= 100; ++seed) {
    SCOPED_TRACE(seed);
    const QPoint offset(static_cast<int>(seed % 7) - 3, static_cast<int>(seed % 5) - 2);
    const auto draw = [&](bool direct) {
      QImage img = original;
      QtDeviceContext dc(&img);
      dc.SetDirectPixels(direct);
      dc.Painter()->translate(offset);
      DrawRandomFeedback(dc, seed, RasterOp::copy);
      return img;
    };
    const QImage painted = draw(false);
    ASSERT_NE(CountDifferent(painted, original), 0);
    EXPECT_EQ(CountDifferent(draw(true), painted), 0);
  }
}

TEST(QtDeviceContext, DirectXorLeavesACopyTakenWhileDrawingAlone) {
  // A copy of the picture shares its pixels until one of them is written; the direct path must not
  // write into the shared pixels behind the copy's back, nor lose the drawing.
  QImage img = Patterned(40, 30);
  QImage painted = img;
  {
    QtDeviceContext dc(&img);
    dc.SetRop(RasterOp::xorPen);
    dc.SetPen(Pen::Solid(0, kXorColour));
    const QImage copy = img;
    dc.Line({2, 5}, {30, 5});
    dc.Line({1, 1}, {25, 18});
    dc.Rectangle({4, 8, 20, 20});
  }
  {
    QtDeviceContext dc(&painted);
    dc.SetDirectPixels(false);
    dc.SetRop(RasterOp::xorPen);
    dc.SetPen(Pen::Solid(0, kXorColour));
    dc.Line({2, 5}, {30, 5});
    dc.Line({1, 1}, {25, 18});
    dc.Rectangle({4, 8, 20, 20});
  }
  EXPECT_EQ(CountDifferent(img, painted), 0);
}

TEST(QtDeviceContext, XorRectangleInvertsTheInsideWithTheWhiteBrush) {
  QImage img = Canvas(20, 20, qRgb(10, 200, 30));
  Paint(img, [](DeviceContext& dc) {
    dc.SetRop(RasterOp::xorPen);
    dc.SetPen(Pen::Solid(0, RGB(0x5C, 0x5C, 0x5C)));
    dc.Rectangle({2, 2, 12, 12});
  });
  EXPECT_EQ(img.pixel(5, 5), qRgb(255 - 10, 255 - 200, 255 - 30));
  EXPECT_EQ(img.pixel(2, 7), qRgb(10 ^ 0x5C, 200 ^ 0x5C, 30 ^ 0x5C));
  EXPECT_EQ(img.pixel(12, 7), qRgb(10, 200, 30));
}

TEST(QtDeviceContext, MaskPenKeepsOnlyTheColourBitsOfBrushAndPen) {
  const QImage original = Patterned(30, 20);
  QImage img = original;
  const COLORREF tint = RGB(0xF0, 0x3C, 0xAA);
  Paint(img, [&](DeviceContext& dc) {
    dc.SetRop(RasterOp::maskPen);
    dc.SetPen(Pen::Solid(0, tint));
    dc.SetBrush(Brush::Solid(tint));
    dc.Rectangle({4, 4, 20, 16});
    dc.Line({0, 18}, {30, 18});
  });
  const QRgb mask = ToRgb(tint);
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const bool covered = (x >= 4 && x < 20 && y >= 4 && y < 16) || y == 18;
      const QRgb expected = covered ? (original.pixel(x, y) & mask) : original.pixel(x, y);
      ASSERT_EQ(img.pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(QtDeviceContext, FillSolidIgnoresTheRasterOperation) {
  QImage img = Patterned(20, 20);
  Paint(img, [](DeviceContext& dc) {
    dc.SetRop(RasterOp::xorPen);
    dc.FillSolid({3, 3, 10, 8}, RGB(1, 2, 3));
  });
  for (int y = 3; y < 8; ++y)
    for (int x = 3; x < 10; ++x) ASSERT_EQ(img.pixel(x, y), qRgb(1, 2, 3));
  EXPECT_NE(img.pixel(10, 5), qRgb(1, 2, 3));
  EXPECT_NE(img.pixel(5, 8), qRgb(1, 2, 3));
}

// ---- text -----------------------------------------------------------------------------------------------

TEST(QtDeviceContext, MeasuresWithoutKerningAndIgnoresLineBreaks) {
  QImage img = Canvas(10, 10);
  QtDeviceContext dc(&img);
  dc.SetFont(ArialFont(-40));
  const int a = dc.TextExtent("A").cx;
  const int v = dc.TextExtent("V").cx;
  EXPECT_GT(a, 0);
  EXPECT_EQ(dc.TextExtent("AVAVA").cx, 3 * a + 2 * v);
  EXPECT_EQ(dc.TextExtent("AV\r\nVA").cx, dc.TextExtent("AVVA").cx);
  const TextMetrics m = dc.Metrics();
  EXPECT_EQ(m.height, m.ascent + m.descent);
  EXPECT_EQ(dc.TextExtent("AV\r\nVA").cy, m.height);
}

// A tab is one character wide at every size, so a text with tabs scales with the zoom and
// measures the same on screen and on paper; it draws as blank space.
TEST(QtDeviceContext, TabIsOneCharacterNotATabStop) {
  auto draw = [](const char* text) {
    QImage img = Canvas(600, 200);
    Paint(img, [&](DeviceContext& dc) {
      dc.SetFont(ArialFont(-40));
      dc.SetTextColor(RGB(0, 0, 0));
      dc.SetTransparentText(true);
      dc.Text({10, 10}, text);
    });
    return img;
  };
  EXPECT_EQ(CountDifferent(draw("A\tB"), draw("A B")), 0);
  QImage img = Canvas(10, 10);
  QtDeviceContext dc(&img);
  for (int height : {-12, -40, -120}) {
    dc.SetFont(ArialFont(height));
    EXPECT_EQ(dc.TextExtent("A\tB").cx, dc.TextExtent("A B").cx) << height;
    EXPECT_EQ(dc.TextExtent("\t").cx, dc.TextExtent(" ").cx) << height;
  }
}

TEST(QtDeviceContext, FontHeightFollowsLogFontSign) {
  QImage img = Canvas(10, 10);
  QtDeviceContext dc(&img);
  // Negative: the character height; the cell (ascent + descent) is larger by the internal leading.
  dc.SetFont(ArialFont(-40));
  const TextMetrics character = dc.Metrics();
  EXPECT_GT(character.height, 40);
  EXPECT_LT(character.height, 50);
  // Positive: the cell height.
  dc.SetFont(ArialFont(40));
  EXPECT_NEAR(dc.Metrics().height, 40, 1);
}

TEST(QtDeviceContext, FontRecordChoosesWeightAndFace) {
  QImage img = Canvas(10, 10);
  QtDeviceContext dc(&img);
  dc.SetFont(ArialFont(-30, 400));
  const int normal = dc.TextExtent("Wide words").cx;
  dc.SetFont(ArialFont(-30, 700));
  EXPECT_GT(dc.TextExtent("Wide words").cx, normal);
  LOGFONTA mono = ArialFont(-30);
  SetFaceName(mono, "Courier New");
  dc.SetFont(mono);
  EXPECT_EQ(dc.TextExtent("iiii").cx, dc.TextExtent("WWWW").cx);
  EXPECT_EQ(FaceName(dc.GetFont()), "Courier New");
}

struct AlignCase {
  const char* name;
  friend void PrintTo(const AlignCase& c, std::ostream* os) { *os << c.name; }
  unsigned align;
  // Where the ink lies relative to the reference point (50, 40) for a text of extent (w, h)
  // with ascent a.
  std::function<void(const QRect& ink, int w, int h, int a)> check;
};

class TextAlignment : public ::testing::TestWithParam<AlignCase> {};

TEST_P(TextAlignment, PlacesTheInkAroundTheReferencePoint) {
  const AlignCase& c = GetParam();
  QImage img = Canvas(120, 90);
  CSize extent;
  TextMetrics m;
  Paint(img, [&](DeviceContext& dc) {
    dc.SetFont(ArialFont(-20));
    dc.SetTransparentText(true);
    dc.SetTextAlign(c.align);
    extent = dc.TextExtent("HHH");
    m = dc.Metrics();
    dc.Text({50, 40}, "HHH");
  });
  const QRect ink = InkBox(img);
  ASSERT_TRUE(ink.isValid());
  c.check(ink, extent.cx, extent.cy, m.ascent);
}

INSTANTIATE_TEST_SUITE_P(
    QtDeviceContext, TextAlignment,
    ::testing::Values(
        AlignCase{"leftTop", TA_LEFT | TA_TOP,
                  [](const QRect& ink, int w, int h, int) {
                    EXPECT_GE(ink.top(), 40);
                    EXPECT_LT(ink.bottom(), 40 + h);
                    EXPECT_GE(ink.left(), 50);
                    EXPECT_LE(ink.right(), 50 + w);
                  }},
        AlignCase{"rightTop", TA_RIGHT | TA_TOP,
                  [](const QRect& ink, int w, int, int) {
                    EXPECT_GE(ink.top(), 40);
                    EXPECT_LT(ink.right(), 50);
                    EXPECT_GE(ink.left(), 50 - w);
                  }},
        AlignCase{"centerTop", TA_CENTER | TA_TOP,
                  [](const QRect& ink, int, int, int) {
                    EXPECT_LT(ink.left(), 50);
                    EXPECT_GT(ink.right(), 50);
                    EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, 50, 2);
                  }},
        AlignCase{"leftBottom", TA_LEFT | TA_BOTTOM,
                  [](const QRect& ink, int, int h, int) {
                    EXPECT_LT(ink.bottom(), 40);
                    EXPECT_GE(ink.top(), 40 - h);
                  }},
        // Capital H stands on the baseline.
        AlignCase{"leftBaseline", TA_LEFT | TA_BASELINE,
                  [](const QRect& ink, int, int, int a) {
                    EXPECT_NEAR(ink.bottom(), 39, 1);
                    EXPECT_GE(ink.top(), 40 - a);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QtDeviceContext, TextRotatedByMinus900RunsDownwards) {
  for (const unsigned align : {TA_LEFT | TA_TOP, TA_LEFT | TA_BOTTOM}) {
    QImage img = Canvas(100, 120);
    CSize extent;
    Paint(img, [&](DeviceContext& dc) {
      LOGFONTA f = ArialFont(-20);
      dc.SetFont(f);
      extent = dc.TextExtent("HHHH");
      f.lfEscapement = f.lfOrientation = -900;
      dc.SetFont(f);
      dc.SetTransparentText(true);
      dc.SetTextAlign(align);
      dc.Text({50, 10}, "HHHH");
    });
    const QRect ink = InkBox(img);
    ASSERT_TRUE(ink.isValid());
    EXPECT_GT(ink.height(), 2 * ink.width()) << "runs along y";
    EXPECT_GE(ink.top(), 10);
    EXPECT_NEAR(ink.bottom(), 10 + extent.cx, 3);
    if (align & TA_BOTTOM) {
      // The letters' tops point to the right, so a bottom reference puts the text on the right.
      EXPECT_GE(ink.left(), 50);
      EXPECT_LE(ink.right(), 50 + extent.cy);
    } else {
      EXPECT_LT(ink.right(), 50);
      EXPECT_GE(ink.left(), 50 - extent.cy);
    }
  }
}

TEST(QtDeviceContext, OpaqueTextPaintsItsCellInTheBackgroundColour) {
  for (const bool transparent : {false, true}) {
    QImage img = Canvas(100, 60, kGrey);
    CSize extent;
    Paint(img, [&](DeviceContext& dc) {
      dc.SetFont(ArialFont(-20));
      dc.SetTransparentText(transparent);
      extent = dc.TextExtent("Hi");
      dc.Text({10, 10}, "Hi");
    });
    // The cell's corners carry no ink.
    const QRgb corner = transparent ? kGrey : kWhite;
    EXPECT_EQ(img.pixel(10, 10), corner);
    EXPECT_EQ(img.pixel(10 + extent.cx - 1, 10 + extent.cy - 1), corner);
    EXPECT_EQ(img.pixel(10 + extent.cx, 10), kGrey);
    EXPECT_EQ(img.pixel(10, 10 + extent.cy), kGrey);
    EXPECT_EQ(img.pixel(9, 10), kGrey);
  }
}

TEST(QtDeviceContext, TextColourAndLineBreaksOnly) {
  QImage img = Canvas(60, 40);
  Paint(img, [](DeviceContext& dc) {
    dc.SetTransparentText(true);
    dc.Text({5, 5}, "\r\n");
  });
  EXPECT_EQ(CountDifferent(img, Canvas(60, 40)), 0);
  Paint(img, [](DeviceContext& dc) {
    dc.SetFont(ArialFont(-20));
    dc.SetTextColor(RGB(0, 0, 255));
    dc.SetTransparentText(true);
    dc.Text({5, 5}, "H");
  });
  int blue = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) blue += img.pixel(x, y) == qRgb(0, 0, 255);
  EXPECT_GT(blue, 10);
}

// ---- state -----------------------------------------------------------------------------------------------

TEST(QtDeviceContext, StartsAsAFreshGdiContext) {
  QImage img = Canvas(10, 10);
  QtDeviceContext dc(&img);
  EXPECT_EQ(dc.GetPen(), Pen::StockBlack());
  EXPECT_EQ(dc.GetBrush(), Brush::StockWhite());
  EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
  EXPECT_EQ(dc.GetTextAlign(), TA_LEFT | TA_TOP);
  EXPECT_EQ(FaceName(dc.GetFont()), "Arial");
  EXPECT_FALSE(dc.IsPrinting());
  EXPECT_GT(dc.Metrics().height, 0);
}

TEST(QtDeviceContext, RestoreReturnsToTheSavedLevel) {
  QImage img = Canvas(40, 40);
  {
    QtDeviceContext dc(&img);
    const Pen pen = Pen::Solid(0, RGB(1, 2, 3));
    const Brush brush = Brush::Solid(RGB(4, 5, 6));
    const LOGFONTA font = ArialFont(-17, 700);
    dc.SetPen(pen);
    dc.SetBrush(brush);
    dc.SetFont(font);
    dc.SetTextColor(RGB(7, 8, 9));
    dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    dc.IntersectClip({0, 0, 20, 20});
    const int first = dc.Save();

    dc.SetPen(Pen::Null());
    dc.SetBrush(Brush::Null());
    dc.SetFont(ArialFont(-40));
    dc.SetTextColor(RGB(200, 0, 0));
    dc.SetTextAlign(TA_CENTER);
    dc.SetRop(RasterOp::xorPen);
    dc.RemoveClip();
    const int second = dc.Save();
    dc.SetPen(Pen::Solid(3, RGB(9, 9, 9)));
    EXPECT_GT(second, first);

    dc.Restore(first);
    EXPECT_EQ(dc.GetPen(), pen);
    EXPECT_EQ(dc.GetBrush(), brush);
    EXPECT_EQ(dc.GetFont(), font);
    EXPECT_EQ(dc.GetTextColor(), RGB(7, 8, 9));
    EXPECT_EQ(dc.GetTextAlign(), TA_RIGHT | TA_BOTTOM);
    // The later level went with it.
    dc.Restore(second);
    EXPECT_EQ(dc.GetPen(), pen);
    // Clip and copy drawing are back: the brush lands as it is, inside the clip only.
    dc.SetPen(Pen::Null());
    dc.Rectangle({0, 0, 41, 41});
  }
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const QRgb expected = (x < 20 && y < 20) ? qRgb(4, 5, 6) : kWhite;
      ASSERT_EQ(img.pixel(x, y), expected) << x << "," << y;
    }
}

TEST(QtDeviceContext, RestoreWithNegativeCountPopsTheLatestLevel) {
  QImage img = Canvas(10, 10);
  QtDeviceContext dc(&img);
  dc.SetTextColor(RGB(1, 1, 1));
  dc.Save();
  dc.SetTextColor(RGB(2, 2, 2));
  dc.Save();
  dc.SetTextColor(RGB(3, 3, 3));
  dc.Restore(-1);
  EXPECT_EQ(dc.GetTextColor(), RGB(2, 2, 2));
  dc.Restore(-1);
  EXPECT_EQ(dc.GetTextColor(), RGB(1, 1, 1));
  dc.Restore(-1);  // nothing left to pop
  EXPECT_EQ(dc.GetTextColor(), RGB(1, 1, 1));
}

TEST(QtDeviceContext, ClipRectanglesIntersect) {
  QImage img = Canvas(30, 30);
  Paint(img, [](DeviceContext& dc) {
    dc.IntersectClip({5, 5, 20, 20});
    dc.IntersectClip({10, 0, 30, 15});
    dc.FillSolid({0, 0, 30, 30}, RGB(0, 0, 0));
    dc.IntersectClip({0, 0, 3, 3});  // disjoint: nothing may be drawn
    dc.FillSolid({0, 0, 30, 30}, RGB(255, 0, 0));
  });
  EXPECT_EQ(InkBox(img), QRect(QPoint(10, 5), QPoint(19, 14)));
  EXPECT_EQ(CountDifferent(img, Canvas(30, 30)), 10 * 10);
}

TEST(QtDeviceContext, BorrowedPainterKeepsItsClipAndGetsItsStateBack) {
  QImage img = Canvas(30, 30);
  QPainter painter(&img);
  painter.setClipRect(QRect(0, 0, 20, 20));
  {
    QtDeviceContext dc(&painter);
    dc.SetRop(RasterOp::xorPen);
    dc.IntersectClip({10, 10, 30, 30});
    dc.FillSolid({0, 0, 30, 30}, RGB(0, 0, 0));
    dc.RemoveClip();
    dc.FillSolid({25, 25, 30, 30}, RGB(0, 0, 0));  // outside the caller's clip
  }
  EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
  EXPECT_EQ(painter.clipBoundingRect().toRect(), QRect(0, 0, 20, 20));
  painter.end();
  EXPECT_EQ(InkBox(img), QRect(QPoint(10, 10), QPoint(19, 19)));
}

// ---- bitmaps ------------------------------------------------------------------------------------------------

// A packed bitmap (header, colour table, rows) from a grid of colours listed top row first.
struct DibBytes {
  std::vector<std::uint8_t> bytes;
  std::size_t bitsOffset = 0;
};

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

DibBytes MakeDib(const std::vector<std::vector<QRgb>>& rows, int bpp, bool topDown) {
  const int h = static_cast<int>(rows.size());
  const int w = static_cast<int>(rows[0].size());
  std::vector<QRgb> palette;
  if (bpp <= 8) {
    for (const auto& r : rows)
      for (QRgb c : r)
        if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
  }
  const std::size_t stride = static_cast<std::size_t>((w * bpp + 31) / 32 * 4);
  DibBytes dib;
  dib.bitsOffset = 40 + palette.size() * 4;
  dib.bytes.assign(dib.bitsOffset + stride * h, 0);
  auto& b = dib.bytes;
  Put32(b, 0, 40);
  Put32(b, 4, static_cast<std::uint32_t>(w));
  Put32(b, 8, static_cast<std::uint32_t>(topDown ? -h : h));
  b[12] = 1;
  b[14] = static_cast<std::uint8_t>(bpp);
  Put32(b, 32, static_cast<std::uint32_t>(palette.size()));
  for (std::size_t i = 0; i < palette.size(); ++i) {
    b[40 + 4 * i] = static_cast<std::uint8_t>(qBlue(palette[i]));
    b[41 + 4 * i] = static_cast<std::uint8_t>(qGreen(palette[i]));
    b[42 + 4 * i] = static_cast<std::uint8_t>(qRed(palette[i]));
  }
  for (int y = 0; y < h; ++y) {
    const int stored = topDown ? y : h - 1 - y;
    std::uint8_t* row = b.data() + dib.bitsOffset + stride * stored;
    for (int x = 0; x < w; ++x) {
      const QRgb c = rows[y][x];
      const auto index = static_cast<unsigned>(std::find(palette.begin(), palette.end(), c) - palette.begin());
      switch (bpp) {
        case 1: row[x / 8] |= static_cast<std::uint8_t>(index << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<std::uint8_t>(index << (x % 2 ? 0 : 4)); break;
        case 8: row[x] = static_cast<std::uint8_t>(index); break;
        case 24:
          row[3 * x] = static_cast<std::uint8_t>(qBlue(c));
          row[3 * x + 1] = static_cast<std::uint8_t>(qGreen(c));
          row[3 * x + 2] = static_cast<std::uint8_t>(qRed(c));
          break;
        case 32:
          row[4 * x] = static_cast<std::uint8_t>(qBlue(c));
          row[4 * x + 1] = static_cast<std::uint8_t>(qGreen(c));
          row[4 * x + 2] = static_cast<std::uint8_t>(qRed(c));
          break;
      }
    }
  }
  return dib;
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);

struct StretchCase {
  const char* name;
  friend void PrintTo(const StretchCase& c, std::ostream* os) { *os << c.name; }
  int bpp;
  bool topDown;
  bool mirrorX;
  bool mirrorY;
  bool unalignedBits;
};

class StretchedDib : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchedDib, LandsEachSourcePixelOnItsBlock) {
  const StretchCase& c = GetParam();
  // Top row red, white; bottom row blue, green (1-bit pictures get two colours only).
  const std::vector<std::vector<QRgb>> picture =
      c.bpp == 1 ? std::vector<std::vector<QRgb>>{{kRed, kWhite}, {kWhite, kRed}}
                 : std::vector<std::vector<QRgb>>{{kRed, kWhite}, {kBlue, kGreen}};
  const DibBytes dib = MakeDib(picture, c.bpp, c.topDown);
  std::vector<std::uint8_t> storage(dib.bytes.size() + 1);
  const std::size_t shift = c.unalignedBits ? 1 : 0;
  std::memcpy(storage.data() + shift, dib.bytes.data(), dib.bytes.size());
  const std::uint8_t* base = storage.data() + shift;

  QImage img = Canvas(30, 30, kBlack);
  Paint(img, [&](DeviceContext& dc) {
    CRect dest(4, 6, 24, 26);
    if (c.mirrorX) std::swap(dest.left, dest.right);
    if (c.mirrorY) std::swap(dest.top, dest.bottom);
    dc.StretchDib(dest, base, dib.bitsOffset, base + dib.bitsOffset, dib.bytes.size() - dib.bitsOffset);
  });
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      QRgb expected = kBlack;
      if (x >= 4 && x < 24 && y >= 6 && y < 26) {
        int column = (x - 4) / 10;
        int row = (y - 6) / 10;
        if (c.mirrorX) column = 1 - column;
        if (c.mirrorY) row = 1 - row;
        expected = picture[row][column];
      }
      ASSERT_EQ(img.pixel(x, y), expected) << "pixel " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(QtDeviceContext, StretchedDib,
                         ::testing::Values(StretchCase{"rgb24BottomUp", 24, false, false, false, false},
                                           StretchCase{"rgb24TopDown", 24, true, false, false, false},
                                           StretchCase{"rgb24Unaligned", 24, false, false, false, true},
                                           StretchCase{"rgb24MirroredX", 24, false, true, false, false},
                                           StretchCase{"rgb24MirroredY", 24, false, false, true, false},
                                           StretchCase{"rgb32", 32, false, false, false, false},
                                           StretchCase{"indexed8", 8, false, false, false, false},
                                           StretchCase{"indexed8Unaligned", 8, true, false, false, true},
                                           StretchCase{"indexed4", 4, false, false, false, false},
                                           StretchCase{"mono", 1, false, false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadDibCase {
  const char* name;
  friend void PrintTo(const BadDibCase& c, std::ostream* os) { *os << c.name; }
  std::function<void(std::vector<std::uint8_t>& bytes, std::size_t& headerSize, std::size_t& bitsSize)> damage;
};

class MalformedDib : public ::testing::TestWithParam<BadDibCase> {};

TEST_P(MalformedDib, DrawsNothing) {
  DibBytes dib = MakeDib({{kRed, kWhite, kBlue}, {kBlue, kGreen, kRed}}, 8, false);
  std::size_t headerSize = dib.bitsOffset;
  std::size_t bitsSize = dib.bytes.size() - dib.bitsOffset;
  GetParam().damage(dib.bytes, headerSize, bitsSize);
  // The bitmap is copied into a buffer of exactly the sizes claimed, so a read beyond them shows
  // under the address sanitizer.
  std::vector<std::uint8_t> header(dib.bytes.begin(), dib.bytes.begin() + static_cast<std::ptrdiff_t>(headerSize));
  std::vector<std::uint8_t> bits(dib.bytes.begin() + static_cast<std::ptrdiff_t>(dib.bitsOffset),
                                 dib.bytes.begin() + static_cast<std::ptrdiff_t>(dib.bitsOffset + bitsSize));
  QImage img = Canvas(20, 20, kBlack);
  Paint(img, [&](DeviceContext& dc) {
    dc.StretchDib({0, 0, 20, 20}, header.data(), header.size(), bits.data(), bits.size());
  });
  EXPECT_EQ(CountDifferent(img, Canvas(20, 20, kBlack)), 0);
}

INSTANTIATE_TEST_SUITE_P(
    QtDeviceContext, MalformedDib,
    ::testing::Values(
        BadDibCase{"headerCutShort", [](auto&, auto& hs, auto&) { hs = 39; }},
        BadDibCase{"coreHeader", [](auto& b, auto&, auto&) { Put32(b, 0, 12); }},
        BadDibCase{"headerSizeBeyondBuffer", [](auto& b, auto& hs, auto&) { Put32(b, 0, static_cast<std::uint32_t>(hs + 4)); }},
        BadDibCase{"zeroWidth", [](auto& b, auto&, auto&) { Put32(b, 4, 0); }},
        BadDibCase{"negativeWidth", [](auto& b, auto&, auto&) { Put32(b, 4, static_cast<std::uint32_t>(-3)); }},
        BadDibCase{"zeroHeight", [](auto& b, auto&, auto&) { Put32(b, 8, 0); }},
        BadDibCase{"mostNegativeHeight", [](auto& b, auto&, auto&) { Put32(b, 8, 0x80000000u); }},
        BadDibCase{"hugeWidth", [](auto& b, auto&, auto&) { Put32(b, 4, 0x7FFFFFFFu); }},
        BadDibCase{"twoPlanes", [](auto& b, auto&, auto&) { b[12] = 2; }},
        BadDibCase{"oddBitCount", [](auto& b, auto&, auto&) { b[14] = 7; }},
        BadDibCase{"runLengthCompressed", [](auto& b, auto&, auto&) { Put32(b, 16, 1); }},
        BadDibCase{"rowsCutShort", [](auto&, auto&, auto& bs) { bs -= 1; }},
        BadDibCase{"colourTableBeyondHeader", [](auto& b, auto&, auto&) { Put32(b, 32, 200); }},
        BadDibCase{"tallerThanTheRows", [](auto& b, auto&, auto&) { Put32(b, 8, 3); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Pictures that other programs write with colour masks (BI_BITFIELDS), in a plain info header
// with the masks behind it or in a later header version with the masks inside.
TEST(QtDeviceContext, ColourMaskPicturesAreDrawnThroughTheirMasks) {
  const struct {
    const char* name;
    int bitCount;
    std::uint32_t headerSize;
    std::uint32_t masks[3];  // red, green, blue
    std::vector<std::uint32_t> pixels;
    std::vector<QRgb> expected;
  } cases[] = {
      {"rgb565", 16, 40, {0xF800, 0x07E0, 0x001F},
       {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x8410},
       {kRed, kGreen, kBlue, kWhite, qRgb(132, 130, 132)}},
      {"rgb555InV5Header", 16, 124, {0x7C00, 0x03E0, 0x001F},
       {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000},
       {kRed, kGreen, kBlue, kWhite, kBlack}},
      {"bgrx32", 32, 40, {0x000000FF, 0x0000FF00, 0x00FF0000},
       {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00FFFFFF, 0x00804020},
       {kRed, kGreen, kBlue, kWhite, qRgb(0x20, 0x40, 0x80)}},
      {"tenBitChannels", 32, 40, {0x3FF00000, 0x000FFC00, 0x000003FF},
       {0x3FF00000, 0x000FFC00, 0x000003FF, 0x3FFFFFFF, 0x20080200},
       {kRed, kGreen, kBlue, kWhite, qRgb(128, 128, 128)}},
  };
  for (const auto& c : cases) {
    const int w = static_cast<int>(c.pixels.size());
    const std::size_t bitsAt = c.headerSize == 40 ? 52 : c.headerSize;
    const std::size_t stride = (static_cast<std::size_t>(w) * c.bitCount + 31) / 32 * 4;
    std::vector<std::uint8_t> b(bitsAt + stride, 0);
    Put32(b, 0, c.headerSize);
    Put32(b, 4, static_cast<std::uint32_t>(w));
    Put32(b, 8, 1);
    b[12] = 1;
    b[14] = static_cast<std::uint8_t>(c.bitCount);
    Put32(b, 16, 3);  // BI_BITFIELDS
    for (int i = 0; i < 3; ++i) Put32(b, 40 + 4 * static_cast<std::size_t>(i), c.masks[i]);
    for (int x = 0; x < w; ++x)
      for (int k = 0; k < c.bitCount / 8; ++k)
        b[bitsAt + static_cast<std::size_t>(x * c.bitCount / 8 + k)] = static_cast<std::uint8_t>(c.pixels[static_cast<std::size_t>(x)] >> (8 * k));
    QImage img = Canvas(w, 1, qRgb(1, 2, 3));
    Paint(img, [&](DeviceContext& dc) { dc.StretchDib({0, 0, w, 1}, b.data(), bitsAt, b.data() + bitsAt, stride); });
    for (int x = 0; x < w; ++x)
      EXPECT_EQ(img.pixel(x, 0), c.expected[static_cast<std::size_t>(x)]) << c.name << " pixel " << x;
  }
}

// A long thin picture is drawn as long as its pixel count is reasonable.
TEST(QtDeviceContext, LongThinPictureIsDrawn) {
  std::vector<std::vector<QRgb>> row(1, std::vector<QRgb>(70000, kRed));
  row[0].back() = kBlue;
  const DibBytes dib = MakeDib(row, 24, false);
  QImage img = Canvas(70000, 1, kBlack);
  Paint(img, [&](DeviceContext& dc) {
    dc.StretchDib({0, 0, 70000, 1}, dib.bytes.data(), dib.bitsOffset, dib.bytes.data() + dib.bitsOffset,
                  dib.bytes.size() - dib.bitsOffset);
  });
  EXPECT_EQ(img.pixel(0, 0), kRed);
  EXPECT_EQ(img.pixel(69999, 0), kBlue);
}

TEST(QtDeviceContext, NullBitmapPointersDrawNothing) {
  QImage img = Canvas(10, 10, kBlack);
  const DibBytes dib = MakeDib({{kRed}}, 24, false);
  Paint(img, [&](DeviceContext& dc) {
    dc.StretchDib({0, 0, 10, 10}, nullptr, dib.bitsOffset, dib.bytes.data() + dib.bitsOffset, 4);
    dc.StretchDib({0, 0, 10, 10}, dib.bytes.data(), dib.bitsOffset, nullptr, 4);
    dc.StretchDib({0, 0, 0, 10}, dib.bytes.data(), dib.bitsOffset, dib.bytes.data() + dib.bitsOffset, 4);
  });
  EXPECT_EQ(CountDifferent(img, Canvas(10, 10, kBlack)), 0);
}

// ---- devices ----------------------------------------------------------------------------------------------

TEST(QtDeviceContext, ReportsTheDeviceResolution) {
  QImage img = Canvas(10, 10);
  img.setDotsPerMeterY(11811);  // 300 dpi
  QtDeviceContext dc(&img);
  EXPECT_EQ(dc.PixelsPerInchY(), 300);
  EXPECT_FALSE(dc.IsPrinting());
}

TEST(QtDeviceContext, PdfOutputIsPrintingAndKeepsPicturesLossless) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath("out.pdf");
  std::vector<std::vector<QRgb>> noise(64, std::vector<QRgb>(64));
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) noise[y][x] = qRgb((x * 97 + y * 13) & 0xFF, (x * y) & 0xFF, (y * 71) & 0xFF);
  const DibBytes dib = MakeDib(noise, 24, false);
  {
    QPdfWriter writer(file);
    QtDeviceContext dc(&writer);
    ASSERT_TRUE(dc.IsActive());
    EXPECT_TRUE(dc.IsPrinting());
    EXPECT_EQ(dc.PixelsPerInchY(), writer.resolution());
    dc.StretchDib({100, 100, 2000, 2000}, dib.bytes.data(), dib.bitsOffset,
                  dib.bytes.data() + dib.bitsOffset, dib.bytes.size() - dib.bitsOffset);
    dc.SetRop(RasterOp::xorPen);  // no raster operations on paper; must not disturb the output
    dc.Rectangle({100, 100, 500, 500});
    dc.FocusRect({100, 100, 500, 500});
  }
  QFile pdf(file);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray content = pdf.readAll();
  EXPECT_TRUE(content.contains("/Subtype /Image"));
  EXPECT_FALSE(content.contains("DCTDecode"));
}

}  // namespace
