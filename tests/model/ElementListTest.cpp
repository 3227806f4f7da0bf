// The layout list: z-order, hit order, selection rules, drawing passes.
#include <gtest/gtest.h>

#include <random>

#include "model/Fonts.h"
#include "model/FormAlias.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "support/FakeDeviceContext.h"
#include "support/LayoutFixtures.h"

namespace {

std::unique_ptr<CFormImage> Helper(int x, int y, int w, int h) {
  auto img = std::make_unique<CFormImage>();
  img->x = x;
  img->y = y;
  img->width = w;
  img->height = h;
  img->helper = true;
  return img;
}

const CPageMapper kMapper;  // 1 page unit = 1 pixel

TEST(RectGeometry, HandleOneDraggedPastTheOppositeCorner) {
  CFormElementPtrList list;
  auto* box = Add(list, Box(100, 100, 50, 40));
  box->selected = true;
  FakeDeviceContext dc;
  ASSERT_TRUE(box->HitTest(&dc, kMapper, 101, 99));  // within 3 units of the top-left handle
  EXPECT_EQ(box->hitPart, 1);
  box->BeginTrack(dc, kMapper, {100, 100});
  box->Track(dc, kMapper, {180, 160});
  box->EndTrack(dc, kMapper, {180, 160});
  EXPECT_EQ(box->x, 180);
  EXPECT_EQ(box->width, -30);
  EXPECT_EQ(box->height, -20);
  EXPECT_EQ(box->GetBounds(), CRect(150, 140, 180, 160));
  // Handles stay at the stored corners; the interior does not react any more.
  EXPECT_EQ(FindHandle({150, 140}, {box->x, box->y}, {box->width, box->height}), 3);
  box->selected = false;
  EXPECT_FALSE(box->HitTest(&dc, kMapper, 165, 150));
  // Every outline drawn during the drag was drawn twice (XOR): begin + 2 per track + end.
  EXPECT_EQ(dc.CallsOf("Rectangle").size(), 4u);
  for (const auto& c : dc.calls) EXPECT_EQ(c.state.rop, RasterOp::xorPen);
}

TEST(RectGeometry, HandleDeltasAndHitRules) {
  struct Case {
    int part;
    CPoint position;
    CPoint size;
  } cases[] = {
      {0, {15, 27}, {40, 30}}, {1, {15, 27}, {35, 23}}, {2, {10, 27}, {45, 23}},
      {3, {10, 20}, {45, 37}}, {4, {15, 20}, {35, 37}}, {5, {10, 27}, {40, 23}},
      {6, {10, 20}, {45, 30}}, {7, {10, 20}, {40, 37}}, {8, {15, 20}, {35, 30}},
  };
  for (const Case& c : cases) {
    CPoint p{10, 20};
    CPoint s{40, 30};
    ApplyHandleDelta(c.part, {5, 7}, p, s);
    EXPECT_EQ(p, c.position) << c.part;
    EXPECT_EQ(s, c.size) << c.part;
  }
  CFormAlias box;
  box.x = 10;
  box.y = 20;
  box.width = 40;
  box.height = 30;
  // Outside, near the top-middle handle: only a selected rectangle reports the handle.
  EXPECT_FALSE(box.HitTest(nullptr, kMapper, 30, 17));
  box.selected = true;
  EXPECT_TRUE(box.HitTest(nullptr, kMapper, 30, 17));
  EXPECT_EQ(box.hitPart, 5);
  EXPECT_FALSE(box.HitTest(nullptr, kMapper, 30, 16));
  // The border itself is not inside.
  box.selected = false;
  EXPECT_FALSE(box.HitTest(nullptr, kMapper, 10, 30));
  EXPECT_TRUE(box.HitTest(nullptr, kMapper, 11, 21));
  EXPECT_EQ(box.hitPart, 0);
}

TEST(ElementList, TopmostWinsAndHelperImagesComeLast) {
  CFormElementPtrList list;
  auto* low = Add(list, Box(0, 0, 100, 100));
  auto* high = Add(list, Box(50, 50, 100, 100));
  auto* helper = Add(list, Helper(0, 0, 300, 300));  // last in the list, still behind
  EXPECT_EQ(list.FindAt(nullptr, kMapper, 75, 75), high);
  EXPECT_EQ(list.FindAt(nullptr, kMapper, 25, 25), low);
  EXPECT_EQ(list.FindAt(nullptr, kMapper, 250, 250), helper);
  list.showHelperImages = false;
  EXPECT_EQ(list.FindAt(nullptr, kMapper, 250, 250), nullptr);

  list.SelectAt(nullptr, kMapper, 75, 75, 0);
  EXPECT_TRUE(high->selected);
  EXPECT_EQ(list.current, high);
  list.SelectAt(nullptr, kMapper, 25, 25, MK_SHIFT);
  EXPECT_TRUE(high->selected && low->selected);
  EXPECT_EQ(list.current, low);
  list.SelectAt(nullptr, kMapper, 25, 25, 0);
  EXPECT_FALSE(high->selected);
  // Shift on empty paper clears everything.
  list.SelectAt(nullptr, kMapper, 900, 900, MK_SHIFT);
  EXPECT_EQ(list.CountSelected(), 0);
  EXPECT_EQ(list.current, nullptr);
}

TEST(ElementList, RubberBandSelection) {
  CFormElementPtrList list;
  auto* a = Add(list, Box(10, 10, 20, 20));
  auto* b = Add(list, Box(100, 100, 20, 20));
  auto* helper = Add(list, Helper(12, 12, 5, 5));
  auto* point = Add(list, std::make_unique<CFormLine>(CPoint{15, 15}, CPoint{15, 15}));
  b->selected = true;
  list.current = b;

  // Borders inclusive; with add, b stays selected.
  EXPECT_TRUE(list.SelectInRect(CRect(30, 30, 10, 10), true));
  EXPECT_TRUE(a->selected && b->selected && helper->selected && point->selected);
  EXPECT_EQ(list.current, b);
  EXPECT_FALSE(list.SelectInRect(CRect(10, 10, 30, 30), true));  // nothing changed

  // Without add, b goes; with helper images hidden the helper is not taken.
  list.showHelperImages = false;
  EXPECT_TRUE(list.SelectInRect(CRect(10, 10, 30, 30), false));
  EXPECT_FALSE(b->selected);
  EXPECT_FALSE(helper->selected);
  EXPECT_TRUE(a->selected);
  // b was current while a was visited; the first element selected after b dropped is the point.
  EXPECT_EQ(list.current, point);
}

TEST(ElementList, DeselectMovesCurrentToNearestTail) {
  CFormElementPtrList list;
  auto* a = Add(list, Box(0, 0, 1, 1));
  auto* b = Add(list, Box(0, 0, 1, 1));
  auto* c = Add(list, Box(0, 0, 1, 1));
  list.Select(a);
  list.Select(b);
  list.Select(c);
  list.Deselect(c);
  EXPECT_EQ(list.current, b);
  list.Deselect(a);  // not current: current stays
  EXPECT_EQ(list.current, b);
  list.Deselect(b);
  EXPECT_EQ(list.current, nullptr);
}

TEST(ElementList, HidingHelperImagesDeselectsThem) {
  CFormElementPtrList list;
  auto* helper = Add(list, Helper(0, 0, 10, 10));
  auto* box = Add(list, Box(0, 0, 1, 1));
  list.Select(box);
  list.Select(helper);
  EXPECT_TRUE(list.DeselectHelperImages());
  EXPECT_FALSE(helper->selected);
  EXPECT_EQ(list.current, nullptr);
  EXPECT_FALSE(list.DeselectHelperImages());
}

TEST(ElementList, OrderOperations) {
  CFormElementPtrList list;
  auto* a = Add(list, Box(0, 0, 1, 1));
  auto* b = Add(list, Box(0, 0, 1, 1));
  auto c = Box(0, 0, 1, 1);
  auto* cp = c.get();
  list.InsertAt(1, std::move(c));
  EXPECT_EQ(list.IndexOf(cp), 1);
  EXPECT_EQ(list.IndexOf(b), 2);
  list.InsertAt(99, Box(0, 0, 1, 1));
  list.InsertAt(-1, Box(0, 0, 1, 1));
  EXPECT_EQ(list.GetCount(), 5);

  list.Select(cp);
  auto removed = list.Remove(cp);
  EXPECT_EQ(removed.get(), cp);
  EXPECT_FALSE(cp->selected);
  EXPECT_EQ(list.current, nullptr);
  EXPECT_EQ(list.Remove(cp), nullptr);

  std::vector<CFormElement*> all;
  list.GetAll(all);
  std::reverse(all.begin(), all.end());
  list.SetAll(all);
  EXPECT_EQ(list.IndexOf(a), 3);
  EXPECT_EQ(list.IndexOf(b), 2);
}

TEST(ElementList, DrawAllPassesAndColours) {
  CFormElementPtrList list;
  auto* helper = Add(list, Helper(0, 0, 10, 10));
  auto* selectedLow = Add(list, Box(1, 1, 5, 5));
  auto* plain = Add(list, Box(2, 2, 5, 5));
  auto* current = Add(list, Box(3, 3, 5, 5));
  list.Select(selectedLow);
  list.Select(current);
  FakeDeviceContext dc;
  list.DrawAll(dc, kMapper);
  // Outlines in drawing order: helper (empty image rectangle + dashed frame), the unselected
  // box, then the selected ones with their handles.
  std::vector<std::pair<CRect, COLORREF>> outlines;
  for (const auto& call : dc.CallsOf("Rectangle"))
    if (call.state.brush.null) outlines.emplace_back(call.rect, call.state.pen.color);
  ASSERT_EQ(outlines.size(), 4u);
  EXPECT_EQ(outlines[0].first, CRect(0, 0, 10, 10));  // dashed helper frame
  EXPECT_EQ(outlines[1], std::make_pair(CRect(2, 2, 7, 7), RGB(7, 0, 0)));
  EXPECT_EQ(outlines[2], std::make_pair(CRect(1, 1, 6, 6), kSelectedColour));
  EXPECT_EQ(outlines[3], std::make_pair(CRect(3, 3, 8, 8), kCurrentColour));
  (void)helper;
  (void)plain;

  dc.calls.clear();
  list.showHelperImages = false;
  list.DrawAll(dc, kMapper);
  for (const auto& call : dc.CallsOf("Rectangle")) EXPECT_NE(call.rect, CRect(0, 0, 10, 10));
}

TEST(ElementList, PrintAllSkipsHelperImagesAndPageZero) {
  CFormElementPtrList list;
  Add(list, Box(1, 1, 5, 5));
  auto img = Helper(0, 0, 10, 10);
  img->SetPicture(1, 1, {1, 2, 3});
  Add(list, std::move(img));
  FakeDeviceContext dc;
  CFormEnv data;
  list.PrintAll(dc, 0, kMapper, data);
  EXPECT_TRUE(dc.calls.empty());
  list.PrintAll(dc, 1, kMapper, data);
  EXPECT_EQ(dc.CallsOf("Rectangle").size(), 1u);
  EXPECT_TRUE(dc.CallsOf("StretchDib").empty());
}

TEST(ElementList, BatchRemovalAndInsertionMatchOneByOne) {
  // Random requests against a list of 40 texts, with elements asked for twice and ones from
  // elsewhere: the batch calls leave the same order and hand back the same elements as Remove and
  // InsertAt called for each in turn.
  std::mt19937 rng(7);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  CFormText stranger({0, 0}, "fremd");
  for (int trial = 0; trial < 200; ++trial) {
    SCOPED_TRACE(trial);
    CFormElementPtrList batch, single;
    std::vector<CFormElement*> inBatch, inSingle;
    for (int i = 0; i < 40; ++i) {
      batch.Append(std::make_unique<CFormText>(CPoint{i, 0}, std::to_string(i)));
      single.Append(std::make_unique<CFormText>(CPoint{i, 0}, std::to_string(i)));
    }
    batch.GetAll(inBatch);
    single.GetAll(inSingle);
    for (int i = 0; i < 40; ++i)
      if (pick(0, 2) == 0) {
        batch.Select(inBatch[static_cast<std::size_t>(i)]);
        single.Select(inSingle[static_cast<std::size_t>(i)]);
      }
    batch.current = inBatch[static_cast<std::size_t>(pick(0, 39))];
    single.current = inSingle[static_cast<std::size_t>(batch.IndexOf(batch.current))];
    std::vector<CFormElement*> askBatch, askSingle;
    for (int n = pick(0, 45); n > 0; --n) {
      const int i = pick(-1, 39);
      askBatch.push_back(i < 0 ? &stranger : inBatch[static_cast<std::size_t>(i)]);
      askSingle.push_back(i < 0 ? &stranger : inSingle[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(batch.IndicesOf(askBatch), [&] {
      std::vector<int> one;
      for (CFormElement* e : askSingle) one.push_back(single.IndexOf(e));
      return one;
    }());
    std::vector<std::unique_ptr<CFormElement>> fromBatch = batch.RemoveAll(askBatch);
    std::vector<std::unique_ptr<CFormElement>> fromSingle;
    for (CFormElement* e : askSingle) fromSingle.push_back(single.Remove(e));
    // Each element's text, and a star for the selected ones.
    const auto texts = [](const CFormElementPtrList& list) {
      std::vector<CFormElement*> all;
      list.GetAll(all);
      std::vector<std::string> out;
      for (CFormElement* e : all) out.push_back(static_cast<CFormText*>(e)->text + (e->selected ? "*" : ""));
      return out;
    };
    ASSERT_EQ(fromBatch.size(), fromSingle.size());
    for (std::size_t k = 0; k < fromBatch.size(); ++k) {
      ASSERT_EQ(fromBatch[k] == nullptr, fromSingle[k] == nullptr) << k;
      if (fromBatch[k]) EXPECT_EQ(static_cast<CFormText&>(*fromBatch[k]).text, static_cast<CFormText&>(*fromSingle[k]).text);
    }
    EXPECT_EQ(texts(batch), texts(single));
    ASSERT_EQ(batch.current == nullptr, single.current == nullptr);
    if (batch.current) EXPECT_EQ(batch.IndexOf(batch.current), single.IndexOf(single.current));

    // Back in at ascending places, some past the end.
    std::vector<int> places;
    for (std::size_t k = 0; k < fromBatch.size(); ++k) places.push_back(pick(-1, 50));
    std::sort(places.begin(), places.end());
    for (std::size_t k = 0; k < fromSingle.size(); ++k) single.InsertAt(places[k], std::move(fromSingle[k]));
    batch.InsertAllAt(places, std::move(fromBatch));
    EXPECT_EQ(texts(batch), texts(single));
  }
  // Into an empty list, in no particular order.
  CFormElementPtrList batch, single;
  for (const std::vector<int>& places : {std::vector<int>{2, 5, 0}, std::vector<int>{0, 0, -1, 1}}) {
    std::vector<std::unique_ptr<CFormElement>> forBatch;
    for (std::size_t k = 0; k < places.size(); ++k) {
      forBatch.push_back(std::make_unique<CFormText>(CPoint{0, 0}, std::to_string(k)));
      single.InsertAt(places[k], std::make_unique<CFormText>(CPoint{0, 0}, std::to_string(k)));
    }
    batch.InsertAllAt(places, std::move(forBatch));
    std::vector<CFormElement*> a, b;
    batch.GetAll(a);
    single.GetAll(b);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k)
      EXPECT_EQ(static_cast<CFormText*>(a[k])->text, static_cast<CFormText*>(b[k])->text) << k;
  }
}

TEST(ElementList, DestroyingTheListDeletesItsElements) {
  // Run under the sanitizer build, a leak or double delete here fails the suite.
  auto list = std::make_unique<CFormElementPtrList>();
  Add(list.get()[0], Box(0, 0, 1, 1));
  auto owned = list->Remove(Add(*list, Box(0, 0, 1, 1)));
  list.reset();
  EXPECT_NE(owned, nullptr);
}

TEST(PrintData, ReplacesFirstOccurrenceOfEachCodeInOrder) {
  const std::vector<CFormEnvAttrib> attrs = {{"[Name]", "Meier [Vorname]"}, {"[Vorname]", "Anna"}, {"[Rang]", "1"}};
  EXPECT_EQ(ReplacePlaceholders(attrs, "[Name] / [Name]"), "Meier Anna / [Name]");
  EXPECT_EQ(ReplacePlaceholders(attrs, "[Segel]"), "[Segel]");
  EXPECT_EQ(ReplacePlaceholders(attrs, "Platz [Rang]."), "Platz 1.");
  EXPECT_EQ(ReplacePlaceholders({}, "x"), "x");
}

TEST(PageMapper, FitKeepsAspectAndConvertsBothWays) {
  CPageMapper m;
  m.Fit(1000, 800);
  EXPECT_DOUBLE_EQ(m.deviceHeight, 800);
  EXPECT_NEAR(m.deviceWidth, 800.0 * 500 / 705, 1e-9);
  EXPECT_EQ(m.ToDevice(500, 705), CPoint(567, 800));
  m.Fit(500, 2000);
  EXPECT_DOUBLE_EQ(m.deviceWidth, 500);
  EXPECT_DOUBLE_EQ(m.deviceHeight, 705);
  m.Fit(1000, 2000);
  EXPECT_EQ(m.ToDevice(-3, 7), CPoint(-6, 14));
  EXPECT_EQ(m.ToPage(7, 15), CPoint(3, 7));  // truncated towards zero
  // Coordinates beyond the device range stop at the ends of int.
  const CPageMapper deep = CPageMapper::ForPage(500, 705, 10000, 14100);
  EXPECT_EQ(deep.ToDevice(2000000000, -2000000000), CPoint(INT32_MAX, INT32_MIN));
  CPageMapper landscape = CPageMapper::ForPage(705, 500, 705, 1000);
  EXPECT_DOUBLE_EQ(landscape.deviceHeight, 500);
}

TEST(Fonts, HalfPointConversions) {
  struct Case {
    double points;
    int height;
  } cases[] = {{19, -160}, {9.5, -80}, {10, -84}, {10.25, -88}, {1, -8}, {72, -605}};
  for (const Case& c : cases) {
    EXPECT_EQ(PointsToFontHeight(c.points), c.height) << c.points;
  }
  // Absurd sizes stay in range instead of overflowing.
  EXPECT_EQ(PointsToFontHeight(1e9), PointsToFontHeight(10000));
  EXPECT_LT(PointsToFontHeight(1e9), 0);
  EXPECT_DOUBLE_EQ(FontHeightToPoints(-160), 19);
  EXPECT_DOUBLE_EQ(FontHeightToPoints(-80), 9.5);
  EXPECT_DOUBLE_EQ(FontHeightToPoints(84), 10);
  const LOGFONTA f = DefaultTextFont();
  EXPECT_EQ(f.lfHeight, -160);
  EXPECT_EQ(f.lfWeight, 400);
  EXPECT_EQ(f.lfOutPrecision, 4);
  EXPECT_EQ(f.lfClipPrecision, 32);
  EXPECT_EQ(FaceName(f), "Arial");
  // Device height: -(device pixels of |lfHeight| / 10), truncated towards zero.
  CPageMapper m = CPageMapper::ForPage(500, 705, 1000, 1410);  // 2 px per unit
  EXPECT_EQ(CreateElementFont(f, m).lfHeight, -32);
  m.Fit(250, 1000);  // 0.5 px per unit
  EXPECT_EQ(CreateElementFont(DefaultColumnFont(), m).lfHeight, -4);
}

TEST(Elements, CloneCopiesStoredStateOnly) {
  CFormText t({5, 6}, "abc");
  t.selected = true;
  t.hitPart = 3;
  t.offsetX = -4;
  t.color = 77;
  t.trackWidth = 9;
  auto c = t.Clone();
  auto* ct = static_cast<CFormText*>(c.get());
  EXPECT_FALSE(ct->selected);
  EXPECT_EQ(ct->hitPart, 0);
  EXPECT_EQ(ct->trackWidth, 0);
  EXPECT_EQ(ct->offsetX, -4);
  EXPECT_EQ(ct->color, 77u);
  EXPECT_EQ(ct->text, "abc");
  EXPECT_TRUE(c->Is<CFormText>());
  EXPECT_FALSE(c->Is<CFormLine>());

  CFormTable table({1, 2});
  table.AppendColumn(CFormTableEntry());
  auto copy = table.Clone();
  static_cast<CFormTable*>(copy.get())->columns.front().name = "[Name]";
  EXPECT_EQ(table.columns.front().name, "");
  table.CopyFrom(table);  // onto itself: nothing happens
  EXPECT_EQ(table.columns.size(), 1u);

  CFormImage img;
  img.SetPicture(2, 2, std::vector<std::uint8_t>(12));
  auto imgCopy = img.Clone();
  EXPECT_EQ(static_cast<CFormImage*>(imgCopy.get())->dib, img.dib);  // shared, not copied
  EXPECT_EQ(img.dib.use_count(), 2);
}

}  // namespace
