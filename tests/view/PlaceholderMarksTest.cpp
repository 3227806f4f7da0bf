// Where the editor marks unknown placeholder codes, on the fake context's fixed metrics (every
// character is half the font height wide).
#include "view/PlaceholderMarks.h"

#include <gtest/gtest.h>

#include "model/FormElementPtrList.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "model/PageMapper.h"
#include "placeholders/Catalogue.h"
#include "support/FakeDeviceContext.h"
#include "support/LayoutFixtures.h"

namespace {

class Marks : public ::testing::Test {
 protected:
  void SetUp() override { BuildCatalogue(); }
  void TearDown() override { FreeCatalogue(); }
  CFormText* AddText(const std::string& text, int alignment) {
    auto t = std::make_unique<CFormText>(CPoint{100, 50}, text);
    t->font.lfHeight = -200;  // 20 device pixels high, characters 10 wide
    t->alignment = alignment;
    return Add(list, std::move(t));
  }
  CFormElementPtrList list;
  FakeDeviceContext dc;
  const CPageMapper mapper;
};

TEST_F(Marks, TokensAreMarkedWhereTheyAreDrawn) {
  struct Case {
    int alignment;
    bool selected;
    CRect expected;
  } cases[] = {
      {0, false, CRect(160, 70, 220, 90)},   // second line, after "Zeile "
      {1, false, CRect(100, 70, 160, 90)},   // the 120-pixel line centred on x = 100
      {2, false, CRect(40, 70, 100, 90)},    // ending at x = 100
      {0, true, CRect(250, 50, 310, 70)},    // selected: drawn in one piece, breaks 0 wide
  };
  for (const Case& c : cases) {
    list.DeleteAll();
    CFormText* text = AddText("ab [Rang]\r\nZeile [Nmae]", c.alignment);
    text->selected = c.selected;
    const auto marks = FindPlaceholderMarks(dc, mapper, list);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].rect, c.expected) << c.alignment << c.selected;
    EXPECT_FALSE(marks[0].vertical);
    EXPECT_EQ(marks[0].finding.token, "[Nmae]");
  }
}

TEST_F(Marks, ColumnTemplatesAreMarkedAlongTheirRun) {
  auto table = std::make_unique<CFormTable>(CPoint{100, 100});
  CFormTableEntry rank, name;
  rank.name = "[Rang]";
  name.name = "x [Verien]";
  table->AppendColumn(rank);
  table->AppendColumn(name);
  CFormTable* t = Add(list, std::move(table));
  std::vector<CRect> bodies, templates;
  t->GetColumnRects(dc, mapper, bodies, templates);
  const auto marks = FindPlaceholderMarks(dc, mapper, list);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_TRUE(marks[0].vertical);
  // Column font 8 pixels: "x " is 8 pixels down the run, "[Verien]" 32 long.
  EXPECT_EQ(marks[0].rect, CRect(templates[1].left, templates[1].top + 8, templates[1].right, templates[1].top + 40));
}

TEST_F(Marks, DrawingHintAndPointerLookUp) {
  AddText("[Nmae] und [kg]", 0);
  const auto marks = FindPlaceholderMarks(dc, mapper, list);
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(PlaceholderHint(marks[0].finding), "Unbekannter Platzhalter [Nmae] – gemeint ist vielleicht [Name]?");
  EXPECT_EQ(PlaceholderHint(marks[1].finding), "Unbekannter Platzhalter [kg]");
  EXPECT_EQ(MarkAt(marks, {130, 60}), &marks[0]);
  EXPECT_EQ(MarkAt(marks, {215, 60}), &marks[1]);
  EXPECT_EQ(MarkAt(marks, {180, 60}), nullptr);  // "und" between them

  // A red zigzag just below each token, every segment inside its width.
  DrawPlaceholderMarks(dc, marks);
  const auto lines = dc.CallsOf("Line");
  ASSERT_FALSE(lines.empty());
  for (const auto& l : lines) {
    EXPECT_EQ(l.state.pen.color, RGB(220, 0, 0));
    EXPECT_GE(std::min(l.rect.top, l.rect.bottom), 70);
    EXPECT_LE(std::max(l.rect.top, l.rect.bottom), 72);
    const bool first = l.rect.left >= 100 && l.rect.right <= 160;
    const bool second = l.rect.left >= 210 && l.rect.right <= 250;
    EXPECT_TRUE(first || second) << l.rect.left << ".." << l.rect.right;
  }
  // Printing draws no marks: they come only from the editor view and `png --marks`.
  FakeDeviceContext printer;
  printer.printing = true;
  list.DrawAll(printer, mapper);
  for (const auto& l : printer.CallsOf("Line")) EXPECT_NE(l.state.pen.color, RGB(220, 0, 0));
}

}  // namespace
