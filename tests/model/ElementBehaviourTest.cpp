// Exact arithmetic of the element types against the recording device context: measuring,
// drawing, hit-testing, dragging, printing and the dialogs' write-back rules.
//
// The fake context's font metrics (FakeDeviceContext.h): with h = |lfHeight| of the selected
// device font, every character is h / 2 pixels wide, CR and LF are 0 wide, a line is h tall.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/ElementDialogs.h"
#include "model/Fonts.h"
#include "model/FormAlias.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "support/FakeDeviceContext.h"
#include "support/FakeServices.h"

namespace {

// 1 page unit = 1 pixel.
const CPageMapper kOnePx;
// 2 pixels per unit both ways.
const CPageMapper kTwoPx = CPageMapper::ForPage(500, 705, 1000, 1410);
// 1.5 pixels per unit (750 x 1057.5): conversions truncate.
const CPageMapper kOneAndHalfPx = CPageMapper::ForPage(500, 705, 750, 2000);

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGrey = RGB(0x5C, 0x5C, 0x5C);
constexpr COLORREF kShade = RGB(0xE6, 0xE6, 0xE6);
constexpr COLORREF kWhite = RGB(255, 255, 255);

std::uint32_t Le32(const std::vector<std::uint8_t>& d, std::size_t at) {
  return static_cast<std::uint32_t>(d.at(at)) | (static_cast<std::uint32_t>(d.at(at + 1)) << 8) |
         (static_cast<std::uint32_t>(d.at(at + 2)) << 16) |
         (static_cast<std::uint32_t>(d.at(at + 3)) << 24);
}
std::uint16_t Le16(const std::vector<std::uint8_t>& d, std::size_t at) {
  return static_cast<std::uint16_t>(d.at(at) | (d.at(at + 1) << 8));
}

std::vector<std::string> Texts(const FakeDeviceContext& dc) {
  std::vector<std::string> out;
  for (const auto& c : dc.CallsOf("Text")) out.push_back(c.text);
  return out;
}

// A dialog service that records what it was shown and answers as scripted.
class ScriptedDialogs : public ElementDialogService {
 public:
  bool RunTextDialog(TextDialogValues&) override { return false; }
  bool RunLineDialog(LineDialogValues&) override { return false; }
  bool RunImageDialog(ImageDialogValues& v) override {
    shownImage = v;
    if (editImage) editImage(v);
    return ok;
  }
  bool RunTableDialog(CFormTable& copy) override {
    shownTable = &copy;
    if (editTable) editTable(copy);
    return ok;
  }
  bool ok = true;
  std::optional<ImageDialogValues> shownImage;
  std::function<void(ImageDialogValues&)> editImage;
  const CFormTable* shownTable = nullptr;
  std::function<void(CFormTable&)> editTable;
};

// ================================================================================================
// Text
// ================================================================================================

TEST(ElementBehaviourText, MeasuringStoresThePageBoxAndTheAlignmentOffset) {
  struct Case {
    const char* text;
    int lfHeight;
    int alignment;
    const CPageMapper* mapper;
    int width, height, offsetX;
  } cases[] = {
      // 2 px/unit: -1010 becomes a 202 px font, each letter 101 px, two letters 202 px = 101 units.
      {"AB", -1010, 0, &kTwoPx, 101, 101, 0},
      {"AB", -1010, 1, &kTwoPx, 101, 101, -50},
      {"AB", -1010, 2, &kTwoPx, 101, 101, -101},
      {"AB", -1010, 7, &kTwoPx, 101, 101, 0},  // an unknown alignment is left
      // Half of an odd width is truncated towards zero: -(15 / 2) = -7.
      {"abc", -100, 1, &kOnePx, 15, 10, -7},
      // 1.5 px/unit: 170 tenths -> 255 px -> font -25; 5 x 12 px = 60 px = 40 units; 25 px = 16 units.
      {"abcde", -170, 0, &kOneAndHalfPx, 40, 16, 0},
      // Line breaks take no width and the box is one line tall.
      {"ab\r\ncd", -160, 1, &kOnePx, 32, 16, -16},
      {"", -160, 2, &kOnePx, 0, 16, 0},
  };
  const CFormEnv data;
  for (const Case& c : cases) {
    // Every drawing and printing refreshes the measure.
    for (int op = 0; op < 3; ++op) {
      CFormText t({40, 30}, c.text);
      t.font.lfHeight = c.lfHeight;
      t.alignment = c.alignment;
      t.width = t.height = t.offsetX = 9999;
      FakeDeviceContext dc;
      if (op == 0) t.Draw(dc, *c.mapper);
      if (op == 1) t.DrawSelected(dc, *c.mapper, kRed);
      if (op == 2) t.Print(dc, 1, *c.mapper, data);
      SCOPED_TRACE(std::string(c.text) + " alignment " + std::to_string(c.alignment) + " op " +
                   std::to_string(op));
      EXPECT_EQ(t.width, c.width);
      EXPECT_EQ(t.height, c.height);
      EXPECT_EQ(t.offsetX, c.offsetX);
      EXPECT_EQ(t.x, 40);  // the anchor never moves by measuring
      EXPECT_EQ(t.GetBounds(), CRect(40 + c.offsetX, 30, 40 + c.offsetX + c.width, 30 + c.height));
    }
  }
}

TEST(ElementBehaviourText, DrawSplitsAtCarriageReturnLineFeedOneLineHeightApart) {
  struct Case {
    const char* text;
    int alignment;
    unsigned align;
    std::vector<std::string> parts;
  } cases[] = {
      {"ab\r\ncd\r\n", 0, TA_LEFT | TA_TOP, {"ab", "cd", ""}},
      {"one", 1, TA_CENTER | TA_TOP, {"one"}},
      {"a\nb\r\nc", 2, TA_RIGHT | TA_TOP, {"a\nb", "c"}},  // a lone LF is no line break
      {"\r\n", 4, TA_LEFT | TA_TOP, {"", ""}},
  };
  for (const Case& c : cases) {
    CFormText t({10, 20}, c.text);
    t.alignment = c.alignment;
    t.color = RGB(1, 2, 3);
    FakeDeviceContext dc;
    const FakeDeviceContext::State before = dc.state;
    t.Draw(dc, kTwoPx);  // anchor at (20, 40) px, font -32 px, one line 32 px
    const auto calls = dc.CallsOf("Text");
    ASSERT_EQ(calls.size(), c.parts.size()) << c.text;
    for (std::size_t k = 0; k < calls.size(); ++k) {
      EXPECT_EQ(calls[k].text, c.parts[k]);
      EXPECT_EQ(calls[k].rect.TopLeft(), CPoint(20, 40 + 32 * static_cast<int>(k))) << c.text << k;
      EXPECT_EQ(calls[k].state.align, c.align);
      EXPECT_EQ(calls[k].state.textColor, RGB(1, 2, 3));
      EXPECT_TRUE(calls[k].state.transparent);
      EXPECT_EQ(calls[k].state.font.lfHeight, -32);
      EXPECT_EQ(FaceName(calls[k].state.font), "Arial");
    }
    EXPECT_EQ(dc.calls.size(), calls.size());  // nothing but the text
    // The context is handed back with left/top alignment and its own font.
    EXPECT_EQ(dc.state.align, before.align);
    EXPECT_EQ(dc.state.font, before.font);
    EXPECT_EQ(dc.state.textColor, before.textColor);
  }
}

TEST(ElementBehaviourText, DrawSelectedFramesCornersAnchorAndWholeTextInOneCall) {
  CFormText t({100, 50}, "ab\r\ncd");
  t.alignment = 1;
  t.color = RGB(9, 9, 9);
  FakeDeviceContext dc;
  t.DrawSelected(dc, kTwoPx, kRed);
  // 4 letters x 16 px = 64 px = 32 units wide, 16 units tall, centred: box from x = 84.
  ASSERT_EQ(t.offsetX, -16);
  // Box (84, 50)-(116, 66) in units = (168, 100)-(232, 132) px.
  const auto rects = dc.CallsOf("Rectangle");
  ASSERT_EQ(rects.size(), 5u);
  EXPECT_EQ(rects[0].rect, CRect(168, 100, 234, 134));
  EXPECT_TRUE(rects[0].state.brush.null);
  EXPECT_EQ(rects[0].state.pen, Pen::Solid(0, kRed));
  // Only the four corners, around (x0, y0) and (x1 + 1, y1 + 1).
  const CRect corners[] = {{165, 97, 172, 104}, {230, 97, 237, 104},
                           {230, 130, 237, 137}, {165, 130, 172, 137}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rects[1 + i].rect, corners[i]) << i;
    EXPECT_EQ(rects[1 + i].state.brush, Brush::StockBlack());
  }
  // The anchor circle, 2 px wide, unfilled, around the anchor (200, 100).
  const auto ellipses = dc.CallsOf("Ellipse");
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].rect, CRect(194, 94, 207, 107));
  EXPECT_EQ(ellipses[0].state.pen, Pen::Solid(2, kRed));
  EXPECT_TRUE(ellipses[0].state.brush.null);
  // The whole text, line break and all, in one call in the selection colour.
  const auto texts = dc.CallsOf("Text");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "ab\r\ncd");
  EXPECT_EQ(texts[0].rect.TopLeft(), CPoint(200, 100));
  EXPECT_EQ(texts[0].state.textColor, kRed);
  EXPECT_EQ(texts[0].state.align, TA_CENTER | TA_TOP);
  EXPECT_EQ(texts[0].state.pen, Pen::Solid(0, kRed));
  EXPECT_TRUE(texts[0].state.transparent);
  EXPECT_EQ(dc.state.align, TA_LEFT | TA_TOP);
  EXPECT_FALSE(dc.state.brush.null);
}

TEST(ElementBehaviourText, HitTestCountsTheBoxAndOnlyTheCornerHandles) {
  // Centred text whose box is (100, 50)-(132, 66): corners at x 100/132, y 50/66, middles at
  // x 116 and y 58.
  CFormText t({116, 50}, "x");
  t.alignment = 1;
  t.offsetX = -16;
  t.width = 32;
  t.height = 16;
  struct Case {
    int px, py;
    bool selected;
    bool hit;
    int part;
  } cases[] = {
      {101, 51, false, true, 0},  {131, 65, true, true, 0},   {116, 58, true, true, 0},
      {100, 58, false, false, 0},                                  // the border is not inside
      {97, 47, false, false, 0},                                   // a corner of an unselected text
      {97, 47, true, true, 1},    {135, 47, true, true, 2},   {135, 69, true, true, 3},
      {97, 69, true, true, 4},    {100, 50, true, true, 1},
      {96, 50, true, false, 0},                                    // 4 units from the corner
      // The middle handles do not count, not even on the border itself.
      {116, 47, true, false, 0},  {135, 58, true, false, 0},  {116, 69, true, false, 0},
      {97, 58, true, false, 0},   {116, 50, true, false, 0},  {132, 58, true, false, 0},
  };
  for (const Case& c : cases) {
    t.selected = c.selected;
    t.hitPart = -1;
    const bool hit = t.HitTest(nullptr, kOnePx, c.px, c.py);
    EXPECT_EQ(hit, c.hit) << c.px << "," << c.py << " selected " << c.selected;
    if (c.hit) {
      EXPECT_EQ(t.hitPart, c.part) << c.px << "," << c.py;
    }
  }
}

TEST(ElementBehaviourText, CornerDragScalesTheFontInHalfPointsAroundTheFixedAnchor) {
  // "abcdefghij" in the default 19 pt (-160) at 1 px/unit: 80 x 16 units.
  struct Case {
    int alignment;
    int handle;
    CPoint delta;
    int lfHeight;
    int width;  // the box measured with the new font
  } cases[] = {
      {0, 3, {40, 0}, -239, 110},   // factor 1.5: 28.5 pt
      {0, 4, {4, 8}, -239, 110},    // the larger relative change (height, 1.5) wins
      {0, 1, {20, 0}, -122, 60},    // top-left dragged right: 0.75 -> 14.25 -> 14.5 pt
      {0, 2, {0, -1}, -168, 80},    // 17/16 of 19 pt = 20.19 -> 20 pt
      {0, 3, {1, 0}, -160, 80},     // 19.24 pt rounds back to 19
      {0, 3, {-5, 1}, -168, 80},    // 0.9375 against 1.0625: a tie goes to the height
      {0, 3, {-79, 0}, -8, 0},      // 0.24 pt: never below 1 pt
      {0, 3, {-200, -50}, -8, 0},   // past the opposite corner: still 1 pt
      {2, 1, {-40, 0}, -239, 110},  // right-aligned, top-left dragged outwards
      {1, 3, {40, 0}, -239, 110},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("handle " + std::to_string(c.handle) + " alignment " + std::to_string(c.alignment));
    CFormText t({300, 100}, "abcdefghij");
    t.alignment = c.alignment;
    FakeDeviceContext dc;
    t.Draw(dc, kOnePx);
    ASSERT_EQ(t.width, 80);
    ASSERT_EQ(t.height, 16);
    t.selected = true;
    const CRect box = t.GetBounds();
    const CPoint corner = c.handle == 1   ? box.TopLeft()
                          : c.handle == 2 ? CPoint(box.right, box.top)
                          : c.handle == 3 ? box.BottomRight()
                                          : CPoint(box.left, box.bottom);
    ASSERT_TRUE(t.HitTest(&dc, kOnePx, corner.x, corner.y));
    ASSERT_EQ(t.hitPart, c.handle);
    dc.calls.clear();
    t.BeginTrack(dc, kOnePx, corner);
    // Scaling is measured from the start of the drag, not from the previous mouse position.
    t.Track(dc, kOnePx, corner + CPoint(c.delta.x / 2, c.delta.y / 2));
    t.Track(dc, kOnePx, corner + c.delta);
    t.EndTrack(dc, kOnePx, corner + c.delta);
    EXPECT_EQ(t.font.lfHeight, c.lfHeight);
    EXPECT_EQ(t.x, 300);
    EXPECT_EQ(t.y, 100);
    EXPECT_EQ(t.width, c.width);
    const int expectedOffset = c.alignment == 1 ? -(c.width / 2) : c.alignment == 2 ? -c.width : 0;
    EXPECT_EQ(t.offsetX, expectedOffset);
    // XOR outlines: one at the start, two per movement, one at the end, the last one at the new
    // box plus 2 px.
    const auto rects = dc.CallsOf("Rectangle");
    ASSERT_EQ(rects.size(), 6u);
    for (const auto& r : rects) {
      EXPECT_EQ(r.state.rop, RasterOp::xorPen);
      EXPECT_EQ(r.state.pen, Pen::Solid(0, kGrey));
    }
    EXPECT_EQ(rects[5].rect, CRect(300 + t.offsetX, 100, 300 + t.offsetX + t.width + 2,
                                   100 + t.height + 2));
    EXPECT_EQ(rects[4].rect, rects[5].rect);
    EXPECT_EQ(dc.state.rop, RasterOp::copy);
  }
}

TEST(ElementBehaviourText, BodyDragMovesTheAnchorAndEmptyBoxDoesNotScale) {
  CFormText t({50, 60}, "abc");
  FakeDeviceContext dc;
  t.Draw(dc, kOnePx);
  ASSERT_TRUE(t.HitTest(&dc, kOnePx, 51, 61));
  t.BeginTrack(dc, kOnePx, {51, 61});
  t.Track(dc, kOnePx, {56, 58});
  t.Track(dc, kOnePx, {60, 70});
  EXPECT_EQ(CPoint(t.x, t.y), CPoint(59, 69));
  EXPECT_EQ(t.font.lfHeight, -160);

  // A text never measured (box 0 x 0) keeps its font when a corner is dragged.
  CFormText empty({10, 10}, "");
  empty.hitPart = 3;
  empty.BeginTrack(dc, kOnePx, {10, 10});
  empty.Track(dc, kOnePx, {50, 50});
  EXPECT_EQ(empty.font.lfHeight, -160);
  EXPECT_EQ(CPoint(empty.x, empty.y), CPoint(10, 10));
}

TEST(ElementBehaviourText, PrintReplacesCodesAndKeepsUnknownOnes) {
  CFormText t({10, 20}, "Platz [Rang]\r\n[Name] [Segel]");
  t.color = RGB(0, 128, 0);
  CFormEnv data;
  data.attributes = {{"[Name]", "Meier"}, {"[Rang]", "1"}, {"[Lauf01]", "3"}};
  const std::vector<CFormEnvRow> rows = {{{{"[Segel]", "GER 7"}}}};
  data.rows = &rows;  // rows are for tables: a text does not look at them
  for (int page : {1, 3}) {
    FakeDeviceContext dc;
    t.Print(dc, page, kTwoPx, data);
    const auto calls = dc.CallsOf("Text");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, "Platz 1");
    EXPECT_EQ(calls[1].text, "Meier [Segel]");
    EXPECT_EQ(calls[0].rect.TopLeft(), CPoint(20, 40));
    EXPECT_EQ(calls[1].rect.TopLeft(), CPoint(20, 72));
    EXPECT_EQ(calls[0].state.textColor, RGB(0, 128, 0));
    EXPECT_EQ(calls[0].state.font.lfHeight, -32);
    EXPECT_TRUE(calls[0].state.transparent);
    // The box is measured from the stored text with its codes: 26 letters x 16 px = 208 units.
    EXPECT_EQ(t.width, 208);
    EXPECT_EQ(t.height, 16);
  }
  CFormText codesOnly({0, 0}, "[Name][Rang]");
  FakeDeviceContext dc;
  codesOnly.Print(dc, 1, kOnePx, data);
  EXPECT_EQ(Texts(dc), std::vector<std::string>{"Meier1"});
}

// ================================================================================================
// Line
// ================================================================================================

TEST(ElementBehaviourLine, HitBandAndEndZones) {
  CFormLine horizontal({100, 100}, {300, 100});
  // Sloping line with a point 4.9001 units beside its middle.
  CFormLine sloping({100, 100}, {199, 106});
  CFormLine shortLine({0, 0}, {6, 0});
  struct Case {
    CFormLine* line;
    int px, py;
    bool hit;
    int part;
  } cases[] = {
      {&horizontal, 200, 104, true, 0},  {&horizontal, 200, 105, false, 0},
      {&horizontal, 200, 95, false, 0},  {&horizontal, 200, 96, true, 0},
      {&sloping, 148, 98, true, 0},      {&sloping, 148, 97, false, 0},
      {&horizontal, 97, 100, true, 1},   {&horizontal, 97, 103, true, 1},
      {&horizontal, 97, 104, false, 1},  // 5 units from the start point: rounded end
      {&horizontal, 103, 100, true, 1},  {&horizontal, 104, 104, true, 0},
      {&horizontal, 296, 100, true, 0},  {&horizontal, 297, 100, true, 2},
      {&horizontal, 304, 100, true, 2},  {&horizontal, 305, 100, false, 2},
      {&horizontal, 20, 100, false, 1},  // far behind the start: measured to the start
      {&shortLine, 3, 0, true, 1},       {&shortLine, 4, 0, true, 2},
  };
  for (const Case& c : cases) {
    c.line->hitPart = -1;
    EXPECT_EQ(c.line->HitTest(nullptr, kOnePx, c.px, c.py), c.hit) << c.px << "," << c.py;
    // The part is decided whether or not the point hits.
    EXPECT_EQ(c.line->hitPart, c.part) << c.px << "," << c.py;
  }
}

TEST(ElementBehaviourLine, ZeroLengthLineIsNeverHit) {
  CFormLine point({50, 50}, {50, 50});
  for (bool selected : {false, true}) {
    point.selected = selected;
    point.hitPart = 7;
    for (CPoint p : {CPoint(50, 50), CPoint(51, 50), CPoint(47, 50)})
      EXPECT_FALSE(point.HitTest(nullptr, kOnePx, p.x, p.y));
    EXPECT_EQ(point.hitPart, 7);  // no end or body to report
  }
  EXPECT_EQ(point.GetBounds(), CRect(50, 50, 50, 50));
}

TEST(ElementBehaviourLine, DraggingAnEndMovesOnlyThatEnd) {
  struct Case {
    CPoint grab;
    int part;
    CPoint from, to;
  } cases[] = {
      {{97, 100}, 1, {93, 110}, {300, 100}},    // 3 units before the start
      {{302, 101}, 2, {100, 100}, {293, 110}},  // beside the end
      {{200, 102}, 0, {93, 110}, {293, 110}},   // the middle: the whole line
  };
  for (const Case& c : cases) {
    CFormLine line({100, 100}, {300, 100});
    ASSERT_TRUE(line.HitTest(nullptr, kOnePx, c.grab.x, c.grab.y));
    ASSERT_EQ(line.hitPart, c.part);
    FakeDeviceContext dc;
    line.BeginTrack(dc, kTwoPx, c.grab);
    line.Track(dc, kTwoPx, c.grab + CPoint(-4, 3));
    line.Track(dc, kTwoPx, c.grab + CPoint(-7, 10));
    line.EndTrack(dc, kTwoPx, c.grab + CPoint(-7, 10));
    EXPECT_EQ(line.from, c.from) << c.part;
    EXPECT_EQ(line.to, c.to) << c.part;
    // XOR lines in device pixels; the last one at the new position.
    const auto lines = dc.CallsOf("Line");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5].rect, CRect(c.from.x * 2, c.from.y * 2, c.to.x * 2, c.to.y * 2));
    for (const auto& l : lines) {
      EXPECT_EQ(l.state.rop, RasterOp::xorPen);
      EXPECT_EQ(l.state.pen, Pen::Solid(0, kGrey));
    }
  }
}

TEST(ElementBehaviourLine, SetTopSetLeftAndMovingKeepShapeRules) {
  CFormLine line({10, 80}, {50, 20});
  EXPECT_EQ(line.GetTop(), 20);
  EXPECT_EQ(line.GetLeft(), 10);
  EXPECT_EQ(line.GetBounds(), CRect(10, 20, 50, 80));
  line.SetTop(100);
  EXPECT_EQ(line.from, CPoint(10, 100));
  EXPECT_EQ(line.to, CPoint(50, 100));
  line.SetLeft(7);
  EXPECT_EQ(line.from.x, 7);
  EXPECT_EQ(line.to.x, 7);

  CFormLine moved({10, 80}, {50, 20});
  moved.MoveBy(nullptr, kOnePx, {-13, 6});
  EXPECT_EQ(moved.from, CPoint(-3, 86));
  EXPECT_EQ(moved.to, CPoint(37, 26));
  EXPECT_EQ(moved.to - moved.from, CPoint(40, -60));
}

TEST(ElementBehaviourLine, DrawnOnePixelWideWithHandleSquaresWhenSelected) {
  CFormLine line({10, 20}, {60, 25});
  line.color = RGB(1, 2, 3);
  FakeDeviceContext dc;
  line.Draw(dc, kTwoPx);
  ASSERT_EQ(dc.calls.size(), 1u);
  EXPECT_EQ(dc.calls[0].rect, CRect(20, 40, 120, 50));
  EXPECT_EQ(dc.calls[0].state.pen, Pen::Solid(0, RGB(1, 2, 3)));

  dc.calls.clear();
  line.DrawSelected(dc, kTwoPx, kRed);
  ASSERT_EQ(dc.calls.size(), 3u);
  EXPECT_EQ(dc.calls[0].op, "Line");
  EXPECT_EQ(dc.calls[0].state.pen, Pen::Solid(0, kRed));
  EXPECT_EQ(dc.calls[1].rect, CRect(17, 37, 24, 44));
  EXPECT_EQ(dc.calls[2].rect, CRect(117, 47, 124, 54));
  EXPECT_EQ(dc.calls[1].state.brush, Brush::StockBlack());

  dc.calls.clear();
  line.Print(dc, 5, kOneAndHalfPx, CFormEnv{});
  ASSERT_EQ(dc.calls.size(), 1u);
  EXPECT_EQ(dc.calls[0].rect, CRect(15, 30, 90, 37));
  EXPECT_EQ(dc.state.pen, Pen{});
}

// ================================================================================================
// Image
// ================================================================================================

TEST(ElementBehaviourImage, LoadedPictureIsHundredUnitsAlongItsLongerSide) {
  struct Case {
    int pw, ph;
    int width, height;
  } cases[] = {
      {400, 100, 100, 25}, {100, 400, 25, 100}, {64, 64, 100, 100},
      {7, 3, 100, 42},     {3, 7, 42, 100},     {1000, 1, 100, 0},
  };
  for (const Case& c : cases) {
    FakeImages images;
    images.Add("pic.png", c.pw, c.ph);
    ScopedServices scope;
    scope.With(&images);
    CFormImage img({10, 20}, "pic.png");
    EXPECT_EQ(images.loads, 1);
    ASSERT_TRUE(img.HasPicture()) << c.pw << "x" << c.ph;
    EXPECT_EQ(img.bitsOffset, 40);
    EXPECT_EQ(img.PixelSize(), CSize(c.pw, c.ph));
    EXPECT_EQ(CPoint(img.x, img.y), CPoint(10, 20));
    EXPECT_EQ(img.width, c.width) << c.pw << "x" << c.ph;
    EXPECT_EQ(img.height, c.height) << c.pw << "x" << c.ph;
  }
}

TEST(ElementBehaviourImage, PictureIsBottomUpWithRowsPaddedToFourBytes) {
  struct Case {
    int w;
    std::size_t stride;
  } cases[] = {{1, 4}, {3, 12}, {4, 12}, {5, 16}};
  for (const Case& c : cases) {
    const int h = 2;
    DecodedImage pic;
    pic.width = c.w;
    pic.height = h;
    for (int row = 0; row < h; ++row)
      for (int i = 0; i < c.w * 3; ++i) pic.bgr.push_back(static_cast<std::uint8_t>(100 * row + i + 1));
    FakeImages images;
    images.pictures["p.bmp"] = pic;
    ScopedServices scope;
    scope.With(&images);
    CFormImage img({0, 0}, "p.bmp");
    ASSERT_TRUE(img.HasPicture());
    const std::vector<std::uint8_t>& dib = *img.dib;
    ASSERT_EQ(dib.size(), 40 + c.stride * h) << c.w;
    EXPECT_EQ(Le32(dib, 0), 40u);
    EXPECT_EQ(static_cast<int>(Le32(dib, 4)), c.w);
    EXPECT_EQ(static_cast<int>(Le32(dib, 8)), h);  // positive: bottom-up
    EXPECT_EQ(Le16(dib, 12), 1);
    EXPECT_EQ(Le16(dib, 14), 24);
    for (std::size_t i = 16; i < 40; ++i) EXPECT_EQ(dib[i], 0) << "header byte " << i;
    for (int r = 0; r < h; ++r) {
      const int sourceRow = h - 1 - r;  // the first stored row is the picture's bottom row
      const std::size_t start = 40 + c.stride * r;
      for (int i = 0; i < c.w * 3; ++i)
        EXPECT_EQ(dib[start + i], 100 * sourceRow + i + 1) << c.w << " row " << r << " byte " << i;
      for (std::size_t i = c.w * 3; i < c.stride; ++i) EXPECT_EQ(dib[start + i], 0) << "padding";
    }
  }
}

TEST(ElementBehaviourImage, FailedLoadKeepsFiftyByFiftyOrThePreviousPicture) {
  FakeImages images;
  images.Add("ok.png", 200, 100);
  ScopedServices scope;
  scope.With(&images);

  CFormImage missing({5, 6}, "missing.png");
  EXPECT_EQ(images.loads, 1);
  EXPECT_FALSE(missing.HasPicture());
  EXPECT_EQ(missing.PixelSize(), CSize(0, 0));
  EXPECT_EQ(CRect(missing.x, missing.y, missing.width, missing.height), CRect(5, 6, 50, 50));
  EXPECT_EQ(missing.fileName, "missing.png");

  CFormImage unnamed({5, 6}, "");  // the image tool: no file asked for at all
  EXPECT_EQ(images.loads, 1);
  EXPECT_FALSE(unnamed.HasPicture());
  EXPECT_EQ(unnamed.width, 50);

  CFormImage loaded({0, 0}, "ok.png");
  const DibBuffer picture = loaded.dib;
  loaded.width = 33;
  loaded.fileName = "missing.png";
  EXPECT_FALSE(loaded.LoadImageFile());
  EXPECT_EQ(loaded.dib, picture);
  EXPECT_EQ(loaded.bitsOffset, 40);
  EXPECT_EQ(loaded.width, 33);
}

TEST(ElementBehaviourImage, DrawWithoutPictureUsesTheCallersPenAndBrush) {
  CFormImage img;
  img.x = 5;
  img.y = 6;
  img.width = 50;
  img.height = 40;
  FakeDeviceContext dc;
  dc.state.pen = Pen::Solid(3, RGB(1, 2, 3));
  dc.state.brush = Brush::Solid(RGB(4, 5, 6));
  img.Draw(dc, kTwoPx);
  ASSERT_EQ(dc.calls.size(), 1u);
  EXPECT_EQ(dc.calls[0].op, "Rectangle");
  EXPECT_EQ(dc.calls[0].rect, CRect(10, 12, 110, 92));
  EXPECT_EQ(dc.calls[0].state.pen, Pen::Solid(3, RGB(1, 2, 3)));
  EXPECT_EQ(dc.calls[0].state.brush, Brush::Solid(RGB(4, 5, 6)));

  // A helper image adds a grey dashed frame over it and gives the context back unchanged.
  dc.calls.clear();
  img.helper = true;
  img.Draw(dc, kTwoPx);
  ASSERT_EQ(dc.calls.size(), 2u);
  EXPECT_EQ(dc.calls[1].rect, CRect(10, 12, 110, 92));
  EXPECT_EQ(dc.calls[1].state.pen, (Pen{Pen::Style::dash, 0, RGB(128, 128, 128)}));
  EXPECT_TRUE(dc.calls[1].state.brush.null);
  EXPECT_TRUE(dc.calls[1].state.transparent);
  EXPECT_EQ(dc.state.pen, Pen::Solid(3, RGB(1, 2, 3)));
  EXPECT_EQ(dc.state.brush, Brush::Solid(RGB(4, 5, 6)));
  EXPECT_FALSE(dc.state.transparent);

  // Without a picture there is nothing to print.
  dc.calls.clear();
  img.helper = false;
  img.Print(dc, 1, kTwoPx, CFormEnv{});
  EXPECT_TRUE(dc.calls.empty());
}

TEST(ElementBehaviourImage, PictureIsStretchedOntoCornersInTheEditorAndOntoSizeInPrint) {
  FakeImages images;
  images.Add("p.png", 10, 10);
  ScopedServices scope;
  scope.With(&images);
  CFormImage img({0, 0}, "p.png");
  img.x = 1;
  img.y = 1;
  img.width = 101;
  img.height = 101;
  FakeDeviceContext dc;
  // At 1.5 px/unit the corners (1, 1) and (102, 102) are (1, 1) and (153, 153) px ...
  img.Draw(dc, kOneAndHalfPx);
  ASSERT_EQ(dc.calls.size(), 1u);
  EXPECT_EQ(dc.calls[0].op, "StretchDib");
  EXPECT_EQ(dc.calls[0].rect, CRect(1, 1, 153, 153));
  // ... while printing converts the size on its own: 101 units are 151 px.
  dc.calls.clear();
  img.Print(dc, 2, kOneAndHalfPx, CFormEnv{});
  ASSERT_EQ(dc.calls.size(), 1u);
  EXPECT_EQ(dc.calls[0].op, "StretchDib");
  EXPECT_EQ(dc.calls[0].rect, CRect(1, 1, 152, 152));

  // Selected: the picture, then the frame in the selection colour and eight handles; a
  // selected helper image shows no dashed frame.
  dc.calls.clear();
  img.helper = true;
  img.DrawSelected(dc, kOneAndHalfPx, kRed);
  ASSERT_EQ(dc.calls.size(), 10u);
  EXPECT_EQ(dc.calls[0].op, "StretchDib");
  EXPECT_EQ(dc.calls[1].rect, CRect(1, 1, 153, 153));
  EXPECT_EQ(dc.calls[1].state.pen, Pen::Solid(0, kRed));
  EXPECT_TRUE(dc.calls[1].state.brush.null);
  for (std::size_t i = 1; i < dc.calls.size(); ++i)
    EXPECT_EQ(dc.calls[i].state.pen.style, Pen::Style::solid);
  EXPECT_EQ(dc.calls[9].rect, CRect(-2, 74, 5, 81));  // left-middle handle at (1, 77)
}

// A 2 x 2 picture as stored in a layout: header, optional colour masks, rows.
std::shared_ptr<const std::vector<std::uint8_t>> StoredPicture(std::uint16_t bitCount, std::uint32_t compression,
                                                              bool withMasks) {
  const std::size_t offset = withMasks ? 52 : 40;
  const std::size_t stride = (2 * bitCount + 31) / 32 * 4;
  std::vector<std::uint8_t> d(offset + stride * 2, 0);
  auto put = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) d[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put(0, 40);
  put(4, 2);
  put(8, 2);
  d[12] = 1;
  d[14] = static_cast<std::uint8_t>(bitCount);
  put(16, compression);
  if (withMasks) {
    put(40, 0xF800);
    put(44, 0x07E0);
    put(48, 0x001F);
  }
  return std::make_shared<const std::vector<std::uint8_t>>(std::move(d));
}

// A picture in a form that cannot be drawn (run-length, JPEG or PNG inside the bitmap) shows the
// empty frame rather than nothing; colour-mask pictures are drawn.
TEST(ElementBehaviourImage, UndrawablePictureShowsTheEmptyFrame) {
  const struct {
    const char* name;
    std::uint16_t bitCount;
    std::uint32_t compression;
    bool withMasks;
    bool drawn;
  } cases[] = {
      {"rgb24", 24, 0, false, true},       {"bitfields16", 16, 3, true, true},
      {"bitfields32", 32, 3, true, true},  {"rle8", 8, 1, false, false},
      {"rle4", 4, 2, false, false},        {"jpeg", 24, 4, false, false},
      {"png", 24, 5, false, false},        {"bitfields24", 24, 3, true, false},
  };
  for (const auto& c : cases) {
    CFormImage img;
    img.width = 50;
    img.height = 40;
    img.dib = StoredPicture(c.bitCount, c.compression, c.withMasks);
    img.bitsOffset = c.withMasks ? 52 : 40;
    ASSERT_TRUE(img.HasPicture()) << c.name;
    EXPECT_EQ(img.CanDrawPicture(), c.drawn) << c.name;
    FakeDeviceContext dc;
    img.Draw(dc, kOnePx);
    ASSERT_EQ(dc.calls.size(), 1u) << c.name;
    EXPECT_EQ(dc.calls[0].op, c.drawn ? "StretchDib" : "Rectangle") << c.name;
    EXPECT_EQ(dc.calls[0].rect, CRect(0, 0, 50, 40)) << c.name;
  }
}

TEST(ElementBehaviourImage, SelectedWithoutPictureFillsNothing) {
  CFormImage img({10, 10}, "");
  FakeDeviceContext dc;
  img.DrawSelected(dc, kOnePx, kRed);
  const auto rects = dc.CallsOf("Rectangle");
  ASSERT_EQ(rects.size(), 9u);
  EXPECT_EQ(rects[0].rect, CRect(10, 10, 60, 60));
  EXPECT_TRUE(rects[0].state.brush.null);
  EXPECT_TRUE(dc.CallsOf("StretchDib").empty());
}

class ElementBehaviourImageDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    images.Add("a.png", 400, 100);
    images.Add("tall.png", 100, 400);
    scope.With(&images).With(&messages).With(static_cast<ElementDialogService*>(&dialogs));
  }
  FakeImages images;
  FakeMessages messages;
  ScriptedDialogs dialogs;
  ScopedServices scope;
};

TEST_F(ElementBehaviourImageDialog, ShowsTheElementsValues) {
  CFormImage img({0, 0}, "a.png");
  img.helper = true;
  dialogs.ok = false;
  dialogs.editImage = [](ImageDialogValues& v) { v.displayWidth = 1; v.fileName = "tall.png"; };
  EXPECT_FALSE(img.EditInDialog());
  ASSERT_TRUE(dialogs.shownImage);
  EXPECT_EQ(dialogs.shownImage->fileName, "a.png");
  EXPECT_EQ(dialogs.shownImage->displayWidth, 100);
  EXPECT_EQ(dialogs.shownImage->displayHeight, 25);
  EXPECT_EQ(dialogs.shownImage->pixelWidth, 400);
  EXPECT_EQ(dialogs.shownImage->pixelHeight, 100);
  EXPECT_TRUE(dialogs.shownImage->helper);
  // Cancel changes nothing.
  EXPECT_EQ(img.fileName, "a.png");
  EXPECT_EQ(img.width, 100);
  EXPECT_EQ(images.loads, 1);
}

TEST_F(ElementBehaviourImageDialog, SizeRulesOnOk) {
  struct Case {
    const char* name;
    const char* newFile;  // file name the dialog returns
    int dialogW, dialogH; // display size the dialog returns (100 x 25 = unchanged)
    const char* fileName; // expected afterwards
    bool newPicture;      // a different picture was taken
    int width, height;
    bool message;
  } cases[] = {
      {"same file, size edited", "a.png", 80, 30, "a.png", false, 80, 30, false},
      {"same file, size kept", "a.png", 100, 25, "a.png", false, 100, 25, false},
      {"new file, size kept", "tall.png", 100, 25, "tall.png", true, 25, 100, false},
      {"new file, size edited", "tall.png", 70, 20, "tall.png", true, 70, 20, false},
      {"new file, height edited", "tall.png", 100, 30, "tall.png", true, 100, 30, false},
      {"new file, width edited", "tall.png", 90, 25, "tall.png", true, 90, 25, false},
      {"unreadable file", "gone.png", 70, 20, "a.png", false, 70, 20, true},
      {"unreadable file, size kept", "gone.png", 100, 25, "a.png", false, 100, 25, true},
      {"name cleared", "", 100, 25, "", false, 100, 25, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CFormImage img({0, 0}, "a.png");
    const DibBuffer before = img.dib;
    const int loadsBefore = images.loads;
    messages.shown.clear();
    messages.icons.clear();
    dialogs.ok = true;
    dialogs.editImage = [&c](ImageDialogValues& v) {
      v.fileName = c.newFile;
      v.displayWidth = c.dialogW;
      v.displayHeight = c.dialogH;
      v.helper = true;
    };
    EXPECT_TRUE(img.EditInDialog());
    EXPECT_EQ(img.fileName, c.fileName);
    EXPECT_EQ(img.width, c.width);
    EXPECT_EQ(img.height, c.height);
    EXPECT_TRUE(img.helper);
    ASSERT_TRUE(img.HasPicture());
    if (c.newPicture) {
      EXPECT_NE(img.dib, before);
      EXPECT_EQ(img.PixelSize(), CSize(100, 400));
    } else {
      EXPECT_EQ(img.dib, before);  // a failed load never removes the picture
    }
    // The same file with a picture is not read again.
    if (std::string(c.newFile) == "a.png") {
      EXPECT_EQ(images.loads, loadsBefore);
    }
    if (c.message) {
      ASSERT_EQ(messages.shown.size(), 1u);
      EXPECT_EQ(messages.shown[0], "Das Bild konnte nicht geladen werden.");
      EXPECT_EQ(messages.icons[0], MessageIcon::exclamation);
    } else {
      EXPECT_TRUE(messages.shown.empty());
    }
  }
}

TEST_F(ElementBehaviourImageDialog, SameNameWithoutPictureIsLoadedAgain) {
  CFormImage img({0, 0}, "later.png");  // the file was missing when the element was made
  ASSERT_FALSE(img.HasPicture());
  images.Add("later.png", 200, 100);
  dialogs.editImage = [](ImageDialogValues&) {};  // OK with everything as shown
  EXPECT_TRUE(img.EditInDialog());
  EXPECT_TRUE(img.HasPicture());
  EXPECT_EQ(img.width, 100);
  EXPECT_EQ(img.height, 50);
  EXPECT_TRUE(messages.shown.empty());
}

// ================================================================================================
// Table
// ================================================================================================

CFormTableEntry Column(std::string name, int percent, int alignment = 0, int lfHeight = -80,
                       COLORREF color = 0) {
  CFormTableEntry e;
  e.name = std::move(name);
  e.widthPercent = percent;
  e.alignment = alignment;
  e.font.lfHeight = lfHeight;
  e.color = color;
  return e;
}

CFormTable Table(int x, int y, int w, int h, std::vector<CFormTableEntry> columns = {}) {
  CFormTable t({x, y});
  t.width = w;
  t.height = h;
  for (const auto& c : columns) t.AppendColumn(c);
  return t;
}

std::vector<CFormEnvRow> NumberedRows(int count) {
  std::vector<CFormEnvRow> rows;
  for (int k = 1; k <= count; ++k) rows.push_back({{{"[Nr]", std::to_string(k)}}});
  return rows;
}

TEST(ElementBehaviourTable, ColumnEdgesAddTruncatedWidthsAndMayPassTheRightEdge) {
  // 200 units at 1 px/unit with 30/30/50 %: the third column ends 20 px past the table.
  CFormTable t = Table(10, 20, 200, 100, {Column("", 30), Column("", 30), Column("", 50)});
  FakeDeviceContext dc;
  std::vector<CRect> columns, templates;
  t.GetColumnRects(dc, kOnePx, columns, templates);
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0], CRect(10, 20, 70, 120));
  EXPECT_EQ(columns[1], CRect(70, 20, 130, 120));
  EXPECT_EQ(columns[2], CRect(130, 20, 230, 120));

  // At 1.5 px/unit 201 units are 301 px: 90.3, 90.3 and 150.5 px are truncated one by one, so
  // the columns end at 15 + 90 + 90 + 150 = 345, not at 110 % of 301.
  t.width = 201;
  t.GetColumnRects(dc, kOneAndHalfPx, columns, templates);  // the arrays are emptied first
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0], CRect(15, 30, 105, 180));
  EXPECT_EQ(columns[1], CRect(105, 30, 195, 180));
  EXPECT_EQ(columns[2], CRect(195, 30, 345, 180));
  EXPECT_EQ(templates.size(), 3u);
}

TEST(ElementBehaviourTable, TemplateRectsAreFontHeightWideAndTextLong) {
  CFormTable t = Table(10, 20, 200, 100,
                       {Column("Name", 30, 0, -80), Column("[Lauf01]", 30, 2, -160), Column("", 50)});
  FakeDeviceContext dc;
  std::vector<CRect> columns, templates;
  t.GetColumnRects(dc, kOneAndHalfPx, columns, templates);
  ASSERT_EQ(templates.size(), 3u);
  // -80 -> 12 px font: "Name" is 4 x 6 px long; -160 -> 24 px: 8 x 12 px.
  EXPECT_EQ(templates[0], CRect(15, 30, 27, 54));
  EXPECT_EQ(templates[1], CRect(105, 30, 129, 126));
  EXPECT_EQ(templates[2], CRect(195, 30, 207, 30));
  EXPECT_EQ(dc.state.font, LOGFONTA{});  // measuring leaves the context's font alone
}

TEST(ElementBehaviourTable, HitTestColumnFindsTheVerticalTemplate) {
  // At 2 px/unit: table (200, 200)-(600, 500) px; template 0 covers (200, 200)-(216, 232),
  // template 1 (320, 200)-(352, 296); each reacts 2 px around it.
  CFormTable t = Table(100, 100, 200, 150, {Column("Name", 30, 0, -80), Column("[Rang]", 30, 0, -160)});
  FakeDeviceContext dc;
  struct Case {
    int px, py;
    bool selected;
    int column;
  } cases[] = {
      {101, 101, false, 0}, {108, 116, false, 0}, {109, 105, false, -1}, {101, 117, false, -1},
      {159, 101, false, 1}, {176, 148, false, 1}, {177, 120, false, -1},
      {150, 130, false, -1},  // inside the table, away from every template
      {50, 50, false, -1},    // outside the table
      {101, 99, false, -1},   // above the table: an unselected table is not hit
      {101, 101, true, -1},   // on the top-left handle of a selected table
      {160, 101, true, 1},    // a selected table away from its handles
      {200, 102, true, -1},   // the top-middle handle
  };
  for (const Case& c : cases) {
    t.selected = c.selected;
    EXPECT_EQ(t.HitTestColumn(dc, kTwoPx, c.px, c.py), c.column)
        << c.px << "," << c.py << " selected " << c.selected;
  }
}

TEST(ElementBehaviourTable, RowHeightIsTheTallestAgOrEighty) {
  struct Case {
    std::vector<CFormTableEntry> columns;
    const CPageMapper* mapper;
    int rowHeight;
  } cases[] = {
      {{Column("a", 10, 0, -80), Column("b", 10, 0, -160), Column("c", 10, 0, -120)}, &kOnePx, 16},
      {{Column("a", 10, 0, -160)}, &kTwoPx, 32},
      {{}, &kOnePx, 80},
      {{}, &kTwoPx, 80},                          // device pixels, whatever the scale
      {{Column("a", 10, 0, -5)}, &kOnePx, 80},    // a font that is 0 px tall on this device
      {{Column("a", 10, 0, 0)}, &kOnePx, 80},
  };
  for (const Case& c : cases) {
    CFormTable t = Table(0, 0, 100, 100, c.columns);
    FakeDeviceContext dc;
    EXPECT_EQ(t.RowHeight(dc, *c.mapper), c.rowHeight) << c.columns.size();
  }
}

TEST(ElementBehaviourTable, PageCountIsRowHeightTimesRowsOverDeviceHeightPlusOne) {
  const std::vector<CFormTableEntry> oneColumn = {Column("[Nr]", 100, 0, -160)};  // 16 px rows
  struct Case {
    std::vector<CFormTableEntry> columns;
    int height;  // units
    const CPageMapper* mapper;
    int rows;    // -1 = no row data
    int pages;
  } cases[] = {
      {oneColumn, 200, &kOnePx, -1, 1},
      {oneColumn, 200, &kOnePx, 0, 1},
      {oneColumn, 200, &kOnePx, 1, 1},
      {oneColumn, 200, &kOnePx, 40, 4},   // 640 / 200 + 1
      {oneColumn, 192, &kOnePx, 36, 4},   // 576 / 192 + 1, although three pages hold them
      {oneColumn, 10, &kOnePx, 3, 5},     // rows taller than the table
      {oneColumn, 100, &kTwoPx, 40, 7},   // 32 px rows in 200 px: 1280 / 200 + 1
      {{}, 200, &kOnePx, 40, 17},         // 80 px rows without columns
  };
  for (const Case& c : cases) {
    CFormTable t = Table(10, 20, 100, c.height, c.columns);
    const std::vector<CFormEnvRow> rows = NumberedRows(std::max(c.rows, 0));
    CFormEnv data;
    if (c.rows >= 0) data.rows = &rows;
    FakeDeviceContext dc;
    EXPECT_EQ(t.GetPageCount(dc, *c.mapper, data), c.pages) << c.rows << " rows, height " << c.height;
  }
}

TEST(ElementBehaviourTable, RowsContinueAtTheTopOfTheTableOnTheNextPage) {
  // 16 px rows: 12 rows per page in 200 px, and still 12 in 192 px.
  CFormTable t = Table(10, 20, 200, 200, {Column("[Nr]", 100, 0, -160)});
  const std::vector<CFormEnvRow> rows = NumberedRows(40);
  CFormEnv data;
  data.rows = &rows;
  struct Case {
    int page;
    int first, last;  // row numbers drawn, 0 = none
    int height;
  } cases[] = {{1, 1, 12, 200}, {2, 13, 24, 200}, {3, 25, 36, 200}, {4, 37, 40, 200},
               {5, 0, 0, 200},  {0, 0, 0, 200},
               // Exactly twelve rows tall: the twelfth row still fits.
               {1, 1, 12, 192}, {2, 13, 24, 192}, {4, 37, 40, 192}};
  for (const Case& c : cases) {
    t.height = c.height;
    FakeDeviceContext dc;
    t.Print(dc, c.page, kOnePx, data);
    const auto texts = dc.CallsOf("Text");
    const std::size_t count = c.first == 0 ? 0 : static_cast<std::size_t>(c.last - c.first + 1);
    ASSERT_EQ(texts.size(), count) << "page " << c.page << ", height " << c.height;
    for (std::size_t k = 0; k < texts.size(); ++k) {
      EXPECT_EQ(texts[k].text, std::to_string(c.first + static_cast<int>(k)));
      EXPECT_EQ(texts[k].rect.TopLeft(), CPoint(10, 20 + 16 * static_cast<int>(k))) << "page " << c.page;
    }
  }

  // The first row of a page is drawn even when it does not fit: one row per page.
  CFormTable low = Table(10, 20, 200, 10, {Column("[Nr]", 100, 0, -160)});
  const std::vector<CFormEnvRow> three = NumberedRows(3);
  data.rows = &three;
  for (int page = 1; page <= 4; ++page) {
    FakeDeviceContext dc;
    low.Print(dc, page, kOnePx, data);
    const std::vector<std::string> expected =
        page <= 3 ? std::vector<std::string>{std::to_string(page)} : std::vector<std::string>{};
    EXPECT_EQ(Texts(dc), expected) << "page " << page;
    if (page <= 3) {
      EXPECT_EQ(dc.CallsOf("Text")[0].rect.TopLeft(), CPoint(10, 20));
    }
  }
}

TEST(ElementBehaviourTable, CellsAreAlignedAndClippedToTheirOwnColumn) {
  // 205 px wide: columns 61 (30 %), 61 (30 %), 82 (40 %) and 20 (10 %, past the edge) px.
  CFormTable t = Table(10, 20, 205, 100,
                       {Column("[Rang].", 30, 0, -80, RGB(1, 0, 0)),
                        Column("[Name]", 30, 1, -160, RGB(2, 0, 0)),
                        Column("[Titel]", 40, 2, -160, RGB(3, 0, 0)),
                        Column("fix", 10, 5, -160, RGB(4, 0, 0))});
  const std::vector<CFormEnvRow> rows = {
      {{{"[Name]", "Meier"}, {"[Rang]", "1"}}},
      {{{"[Name]", "Huber"}, {"[Rang]", "2"}}},
  };
  CFormEnv data;
  data.attributes = {{"[Titel]", "Regatta"}, {"[Name]", "page"}};  // not used by cells
  data.rows = &rows;
  FakeDeviceContext dc;
  t.Print(dc, 1, kOnePx, data);
  const auto texts = dc.CallsOf("Text");
  ASSERT_EQ(texts.size(), 8u);
  struct Cell {
    const char* text;
    int x;
    unsigned align;
    CRect clip;
    int font;
    COLORREF color;
  } first[] = {
      {"1.", 10, TA_LEFT | TA_TOP, {10, 20, 71, 36}, -8, RGB(1, 0, 0)},
      {"Meier", 101, TA_CENTER | TA_TOP, {71, 20, 132, 36}, -16, RGB(2, 0, 0)},  // 71 + 61 / 2
      {"[Titel]", 212, TA_RIGHT | TA_TOP, {132, 20, 214, 36}, -16, RGB(3, 0, 0)},  // 132 + 82 - 2
      {"fix", 214, TA_LEFT | TA_TOP, {214, 20, 234, 36}, -16, RGB(4, 0, 0)},
  };
  for (int row = 0; row < 2; ++row) {
    for (int i = 0; i < 4; ++i) {
      const auto& call = texts[row * 4 + i];
      const Cell& cell = first[i];
      SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(i));
      if (row == 0) {
        EXPECT_EQ(call.text, cell.text);
      }
      EXPECT_EQ(call.rect.TopLeft(), CPoint(cell.x, 20 + 16 * row));
      EXPECT_EQ(call.state.align, cell.align);
      CRect clip = cell.clip;
      clip.OffsetRect(0, 16 * row);
      EXPECT_EQ(call.state.clips, std::vector<CRect>{clip});
      EXPECT_EQ(call.state.font.lfHeight, cell.font);
      EXPECT_EQ(call.state.textColor, cell.color);
      EXPECT_TRUE(call.state.transparent);
    }
  }
  EXPECT_EQ(texts[4].text, "2.");
  EXPECT_EQ(texts[5].text, "Huber");
  EXPECT_TRUE(dc.state.clips.empty());
  EXPECT_EQ(dc.state.align, TA_LEFT | TA_TOP);
}

TEST(ElementBehaviourTable, ShadingBandsAlternateFromOneAndStopAboveTheBottom) {
  struct Band {
    CRect rect;
    COLORREF color;
  };
  struct Case {
    std::vector<CFormTableEntry> columns;
    int height;
    std::vector<Band> bands;
  } cases[] = {
      // 16 px rows in 40 px.
      {{Column("x", 100, 0, -160)}, 40,
       {{{11, 21, 109, 37}, kShade}, {{11, 37, 109, 53}, kWhite}, {{11, 53, 109, 59}, kShade}}},
      // No columns: 80 px rows in 200 px.
      {{}, 200,
       {{{11, 21, 109, 101}, kShade}, {{11, 101, 109, 181}, kWhite}, {{11, 181, 109, 219}, kShade}}},
      {{}, 1, {}},
  };
  for (const Case& c : cases) {
    CFormTable t = Table(10, 20, 100, c.height, c.columns);
    t.twoColour = true;
    FakeDeviceContext dc;
    t.Print(dc, 1, kOnePx, CFormEnv{});  // the bands cover the table with or without rows
    std::vector<Band> drawn;
    for (const auto& call : dc.calls) {
      if (call.op == "FillSolid" || (call.op == "Rectangle" && call.state.pen.style == Pen::Style::null)) {
        EXPECT_FALSE(call.state.brush.null);
        drawn.push_back({call.rect, call.state.brush.color});
      }
    }
    ASSERT_EQ(drawn.size(), c.bands.size()) << "height " << c.height;
    for (std::size_t k = 0; k < drawn.size(); ++k) {
      EXPECT_EQ(drawn[k].rect, c.bands[k].rect) << "band " << k;
      EXPECT_EQ(drawn[k].color, c.bands[k].color) << "band " << k;
    }
    EXPECT_EQ(drawn.size(), dc.calls.size());  // no frame asked for
  }
}

TEST(ElementBehaviourTable, FrameIsDrawnLastWithTheBlackPenAndNoFill) {
  CFormTable t = Table(10, 20, 100, 40, {Column("[Nr]", 100, 0, -160)});
  t.frame = true;
  t.twoColour = true;
  const std::vector<CFormEnvRow> rows = NumberedRows(2);
  CFormEnv data;
  data.rows = &rows;
  FakeDeviceContext dc;
  dc.state.pen = Pen::Solid(4, RGB(9, 8, 7));
  dc.state.brush = Brush::Solid(RGB(1, 1, 1));
  t.Print(dc, 1, kOnePx, data);
  ASSERT_FALSE(dc.calls.empty());
  const auto& last = dc.calls.back();
  EXPECT_EQ(last.op, "Rectangle");
  EXPECT_EQ(last.rect, CRect(10, 20, 110, 60));
  EXPECT_EQ(last.state.pen, Pen::StockBlack());
  EXPECT_TRUE(last.state.brush.null);
  // Shading first, then the cells, then the frame.
  EXPECT_NE(dc.calls.front().op, "Text");
  EXPECT_EQ(Texts(dc), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(dc.state.pen, Pen::Solid(4, RGB(9, 8, 7)));
  EXPECT_EQ(dc.state.brush, Brush::Solid(RGB(1, 1, 1)));
  EXPECT_FALSE(dc.state.transparent);

  // A table without columns prints only its shading and frame.
  CFormTable empty = Table(10, 20, 100, 40);
  empty.frame = true;
  FakeDeviceContext dc2;
  empty.Print(dc2, 1, kOnePx, data);
  EXPECT_TRUE(dc2.CallsOf("Text").empty());
  EXPECT_EQ(dc2.calls.size(), 1u);
}

TEST(ElementBehaviourTable, FlatOrInvertedTableCountsPagesSoundlyAndPrintEnds) {
  for (int height : {0, -30}) {
    CFormTable t = Table(10, 20, 100, height, {Column("[Nr]", 100, 0, -160)});
    t.twoColour = true;
    t.frame = true;
    const std::vector<CFormEnvRow> rows = NumberedRows(40);
    CFormEnv data;
    data.rows = &rows;
    FakeDeviceContext dc;
    const int pages = t.GetPageCount(dc, kOnePx, data);
    EXPECT_GE(pages, 1) << height;
    // Printing the pages the table asked for puts every row out exactly once.
    std::multiset<std::string> printed;
    for (int page = 1; page <= std::min(pages, 1000); ++page) {
      FakeDeviceContext pdc;
      t.Print(pdc, page, kOnePx, data);
      for (const auto& s : Texts(pdc)) printed.insert(s);
    }
    EXPECT_EQ(printed.size(), 40u) << height;
    for (int k = 1; k <= 40; ++k) EXPECT_EQ(printed.count(std::to_string(k)), 1u) << k;
    FakeDeviceContext after;
    t.Print(after, pages + 1, kOnePx, data);
    EXPECT_TRUE(Texts(after).empty());
  }
}

TEST(ElementBehaviourTable, DrawShowsSeparatorsAndRotatedTemplates) {
  CFormTable t = Table(10, 20, 200, 100,
                       {Column("[Name]", 30, 0, -80, RGB(1, 2, 3)), Column("B", 30, 2, -160, RGB(4, 5, 6)),
                        Column("C", 50)});
  FakeDeviceContext dc;
  dc.state.pen = Pen::Solid(0, RGB(50, 50, 50));
  dc.state.brush = Brush::Solid(RGB(60, 60, 60));
  dc.state.textColor = RGB(7, 7, 7);
  t.Draw(dc, kTwoPx);  // (20, 40)-(420, 240) px; edges at 140, 260, 460
  const auto rects = dc.CallsOf("Rectangle");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].rect, CRect(20, 40, 420, 240));
  EXPECT_EQ(rects[0].state.pen, Pen::Solid(0, RGB(50, 50, 50)));
  EXPECT_EQ(rects[0].state.brush, Brush::Solid(RGB(60, 60, 60)));
  const auto lines = dc.CallsOf("Line");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rect, CRect(140, 40, 140, 240));
  EXPECT_EQ(lines[1].rect, CRect(260, 40, 260, 240));
  EXPECT_EQ(lines[2].rect, CRect(460, 40, 460, 240));
  const auto texts = dc.CallsOf("Text");
  ASSERT_EQ(texts.size(), 3u);
  const int lefts[] = {20, 140, 260};
  const int heights[] = {-16, -32, -16};
  const COLORREF colours[] = {RGB(1, 2, 3), RGB(4, 5, 6), 0};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(texts[i].rect.TopLeft(), CPoint(lefts[i], 40)) << i;
    EXPECT_EQ(texts[i].state.align, TA_BOTTOM | TA_LEFT) << i;
    EXPECT_EQ(texts[i].state.font.lfEscapement, -900) << i;
    EXPECT_EQ(texts[i].state.font.lfOrientation, -900) << i;
    EXPECT_EQ(texts[i].state.font.lfHeight, heights[i]) << i;
    EXPECT_EQ(texts[i].state.textColor, colours[i]) << i;
    EXPECT_TRUE(texts[i].state.transparent);
  }
  EXPECT_EQ(texts[0].text, "[Name]");
  EXPECT_EQ(dc.state.textColor, RGB(7, 7, 7));
  EXPECT_EQ(dc.state.align, TA_LEFT | TA_TOP);
  EXPECT_EQ(dc.state.font, LOGFONTA{});

  // Selected: frame, eight handles, separators in the selection colour, templates in whatever
  // text colour the context holds.
  dc.calls.clear();
  t.DrawSelected(dc, kTwoPx, kRed);
  const auto srects = dc.CallsOf("Rectangle");
  ASSERT_EQ(srects.size(), 9u);
  EXPECT_EQ(srects[0].rect, CRect(20, 40, 420, 240));
  EXPECT_TRUE(srects[0].state.brush.null);
  EXPECT_EQ(srects[0].state.pen, Pen::Solid(0, kRed));
  EXPECT_EQ(srects[5].rect, CRect(217, 37, 224, 44));  // top-middle handle at (220, 40)
  for (const auto& l : dc.CallsOf("Line")) EXPECT_EQ(l.state.pen, Pen::Solid(0, kRed));
  for (const auto& s : dc.CallsOf("Text")) EXPECT_EQ(s.state.textColor, RGB(7, 7, 7));
  EXPECT_EQ(dc.CallsOf("Text").size(), 3u);
}

// ================================================================================================
// Copies
// ================================================================================================

TEST(ElementBehaviourCopy, CopyFromTakesStoredStateAndLeavesSelectionAndDrag) {
  CFormLine line({1, 2}, {3, 4});
  line.color = 5;
  CFormLine target;
  target.selected = true;
  target.hitPart = 2;
  target.trackPoint = {9, 9};
  target.CopyFrom(line);
  EXPECT_EQ(target.from, CPoint(1, 2));
  EXPECT_EQ(target.to, CPoint(3, 4));
  EXPECT_EQ(target.color, 5u);
  EXPECT_TRUE(target.selected);
  EXPECT_EQ(target.hitPart, 2);
  EXPECT_EQ(target.trackPoint, CPoint(9, 9));

  CFormText text({5, 6}, "abc");
  text.font.lfHeight = -200;
  SetFaceName(text.font, "Courier New");
  text.alignment = 2;
  text.offsetY = 3;
  text.trackWidth = 40;
  CFormText textTarget;
  textTarget.trackWidth = 7;
  textTarget.trackFontHeight = -11;
  textTarget.CopyFrom(text);
  EXPECT_EQ(textTarget.font, text.font);
  EXPECT_EQ(textTarget.alignment, 2);
  EXPECT_EQ(textTarget.offsetY, 3);
  EXPECT_EQ(textTarget.trackWidth, 7);  // drag state is not persistent state
  EXPECT_EQ(textTarget.trackFontHeight, -11);

  CFormAlias alias;
  alias.x = 1;
  alias.y = 2;
  alias.width = 3;
  alias.height = 4;
  alias.name = "Kopf";
  alias.selected = true;
  auto aliasClone = alias.Clone();
  auto* ac = static_cast<CFormAlias*>(aliasClone.get());
  EXPECT_TRUE(aliasClone->Is<CFormAlias>());
  EXPECT_EQ(CRect(ac->x, ac->y, ac->width, ac->height), CRect(1, 2, 3, 4));
  EXPECT_EQ(ac->name, "Kopf");
  EXPECT_FALSE(ac->selected);
  ac->name = "Fuss";
  ac->MoveBy(nullptr, kOnePx, {10, 10});
  EXPECT_EQ(alias.name, "Kopf");
  EXPECT_EQ(alias.x, 1);

  CFormImage image;
  image.x = 4;
  image.width = -20;
  image.fileName = "f.png";
  image.helper = true;
  image.SetPicture(1, 1, {1, 2, 3});
  CFormImage imageTarget;
  imageTarget.hitPart = 6;
  imageTarget.CopyFrom(image);
  EXPECT_EQ(imageTarget.dib, image.dib);
  EXPECT_EQ(imageTarget.bitsOffset, 40);
  EXPECT_TRUE(imageTarget.helper);
  EXPECT_EQ(imageTarget.fileName, "f.png");
  EXPECT_EQ(imageTarget.width, -20);
  EXPECT_EQ(imageTarget.hitPart, 6);
}

TEST(ElementBehaviourCopy, TableCopiesHaveTheirOwnColumns) {
  CFormTable source = Table(1, 2, 300, 400, {Column("[Name]", 40, 1, -120, 9)});
  source.twoColour = true;
  source.frame = true;
  source.maxFontHeight = 120;
  CFormTable copy = Table(0, 0, 1, 1, {Column("old", 5)});
  copy.selected = true;
  copy.CopyFrom(source);
  EXPECT_TRUE(copy.selected);
  EXPECT_TRUE(copy.twoColour && copy.frame);
  EXPECT_EQ(copy.maxFontHeight, 120);
  EXPECT_EQ(CRect(copy.x, copy.y, copy.width, copy.height), CRect(1, 2, 300, 400));
  ASSERT_EQ(copy.columns.size(), 1u);
  EXPECT_EQ(copy.columns.front(), source.columns.front());
  // Changing the original's columns afterwards leaves the copy alone, and the other way round.
  source.columns.front().name = "[Segel]";
  source.AppendColumn(Column("x", 10));
  copy.columns.front().widthPercent = 70;
  EXPECT_EQ(copy.columns.size(), 1u);
  EXPECT_EQ(copy.columns.front().name, "[Name]");
  EXPECT_EQ(source.columns.front().widthPercent, 40);
}

TEST(ElementBehaviourCopy, TableDialogEditsACopyAndWritesItBackOnlyOnOk) {
  ScriptedDialogs dialogs;
  ScopedServices scope;
  scope.With(static_cast<ElementDialogService*>(&dialogs));
  CFormTable t = Table(1, 2, 300, 400, {Column("[Name]", 40)});
  dialogs.editTable = [](CFormTable& copy) {
    copy.columns.front().name = "[Rang]";
    copy.AppendColumn(Column("[Segel]", 20));
    copy.frame = true;
    copy.width = 10;
  };
  dialogs.ok = false;
  EXPECT_FALSE(t.EditInDialog());
  EXPECT_NE(dialogs.shownTable, &t);
  EXPECT_EQ(t.columns.size(), 1u);
  EXPECT_EQ(t.columns.front().name, "[Name]");
  EXPECT_FALSE(t.frame);
  EXPECT_EQ(t.width, 300);

  dialogs.ok = true;
  EXPECT_TRUE(t.EditInDialog());
  ASSERT_EQ(t.columns.size(), 2u);
  EXPECT_EQ(t.columns.front().name, "[Rang]");
  EXPECT_EQ(t.columns.back().name, "[Segel]");
  EXPECT_TRUE(t.frame);
  EXPECT_EQ(t.width, 10);
}

}  // namespace
