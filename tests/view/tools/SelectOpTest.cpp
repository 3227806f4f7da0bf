// The selection tool against a fake view: clicks, drags, snapping, direction and aspect locks,
// text scaling, rubber band, table columns, keys, cursors, and shortcuts pressed mid-drag.
#include <gtest/gtest.h>

#include "document/Clipboard.h"
#include "document/ReportDoc.h"
#include "model/Fonts.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "support/FakeServices.h"
#include "support/FakeToolView.h"
#include "support/LayoutFixtures.h"
#include "view/tools/EditingTools.h"
#include "view/tools/Gestures.h"
#include "view/tools/SelectOp.h"

namespace {

constexpr int kEscape = 27, kLeft = 37, kRight = 39, kDown = 40;

class SelectOpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scope.With<SettingsStore>(&settings).With<Clipboard>(&clipboard).With<MessageService>(&messages);
    doc = std::make_unique<CReportDoc>();
    InstallEditingTools(*doc);
    tool = static_cast<CSelectOp*>(doc->CurrentTool());
  }
  template <class T>
  T* Put(std::unique_ptr<T> e) {
    T* raw = e.get();
    doc->AddElement(std::move(e));
    return raw;
  }
  // Press, move in steps to the end point, release.
  void Drag(CPoint from, CPoint to, unsigned flags = 0) {
    tool->ButtonDown(view, from, flags);
    tool->MouseMove(view, {(from.x + to.x) / 2, (from.y + to.y) / 2}, flags);
    tool->MouseMove(view, to, flags);
    tool->ButtonUp(view, to, flags);
  }
  void Click(CPoint at, unsigned flags = 0) {
    tool->ButtonDown(view, at, flags);
    tool->ButtonUp(view, at, flags);
  }
  std::size_t Undos() const { return doc->history.UndoCount(); }

  FakeSettings settings;
  FakeClipboard clipboard;
  FakeMessages messages;
  ScopedServices scope;
  std::unique_ptr<CReportDoc> doc;
  CSelectOp* tool = nullptr;
  FakeToolView view;
};

TEST_F(SelectOpTest, ClickSelectsWithoutUndoStepAndDragIsOneMove) {
  CFormAlias* box = Put(Box(100, 100, 50, 50));
  const std::size_t before = Undos();
  Click({120, 120});
  EXPECT_TRUE(box->selected);
  EXPECT_EQ(doc->elements.current, box);
  EXPECT_EQ(Undos(), before);
  // Below the drag distance (6 pixels) in both directions: still a click.
  tool->ButtonDown(view, {120, 120}, 0);
  tool->MouseMove(view, {125, 115}, 0);
  tool->ButtonUp(view, {125, 115}, 0);
  EXPECT_EQ(box->x, 100);
  EXPECT_EQ(Undos(), before);
  EXPECT_FALSE(view.captured);

  Drag({120, 120}, {150, 140});
  EXPECT_EQ(box->x, 130);
  EXPECT_EQ(box->y, 120);
  EXPECT_EQ(Undos(), before + 1);
  EXPECT_EQ(doc->history.UndoName(), "Verschieben");
  EXPECT_EQ(tool->state(), CSelectOp::State::idle);
  // The outline drawn at each step was drawn again to erase it.
  EXPECT_EQ(view.Drawn("Rectangle").size() % 2, 0u);
  EXPECT_EQ(view.messages.back(), "");
  doc->Undo();
  EXPECT_EQ(box->x, 100);
}

TEST_F(SelectOpTest, MoveSnapsTheLeftEdgeUnlessAltIsHeld) {
  CFormAlias* box = Put(Box(13, 100, 50, 50));
  view.snap = true;
  Drag({30, 120}, {36, 120});
  EXPECT_EQ(box->x, 20);
  EXPECT_EQ(box->y, 100);
  EXPECT_EQ(view.messages[view.messages.size() - 2], "Verschiebung  X +7  Y +0");
  doc->Undo();
  view.alt = true;
  Drag({30, 120}, {36, 120});
  EXPECT_EQ(box->x, 19);
}

TEST_F(SelectOpTest, HandleSnapsOnlyTheEdgeItMoves) {
  CFormAlias* box = Put(Box(13, 17, 50, 33));
  box->selected = true;
  doc->elements.current = box;
  view.snap = true;
  Drag({63, 33}, {75, 39});  // right-middle handle
  EXPECT_EQ(box->x, 13);
  EXPECT_EQ(box->x + box->width, 80);
  EXPECT_EQ(box->y, 17);
  EXPECT_EQ(box->height, 33);
  EXPECT_EQ(view.messages[view.messages.size() - 2], "Breite 67 (+17)     Höhe 33 (+0)");
}

TEST_F(SelectOpTest, CornerKeepsTheAspectRatioUnlessShiftIsHeld) {
  CFormAlias* box = Put(Box(100, 100, 100, 50));
  box->selected = true;
  Drag({200, 150}, {220, 152});
  EXPECT_EQ(box->width, 120);
  EXPECT_EQ(box->height, 60);
  doc->Undo();
  box->selected = true;
  view.shift = true;
  Drag({200, 150}, {220, 152}, MK_SHIFT);
  EXPECT_EQ(box->width, 120);
  EXPECT_EQ(box->height, 52);
}

TEST_F(SelectOpTest, ShiftLocksABodyDragToTheLongerAxis) {
  CFormAlias* box = Put(Box(100, 100, 50, 50));
  view.shift = true;
  const struct { CPoint by; CPoint expected; } cases[] = {
      {{30, 10}, {130, 100}}, {{10, 30}, {100, 130}}, {{20, 20}, {100, 120}}};
  for (const auto& c : cases) {
    Drag({120, 120}, CPoint(120, 120) + c.by, MK_SHIFT);
    EXPECT_EQ(CPoint(box->x, box->y), c.expected) << c.by.x << "," << c.by.y;
    doc->Undo();
  }
}

TEST_F(SelectOpTest, TextCornerScalesTheFontAndIsNeverSnapped) {
  auto t = std::make_unique<CFormText>(CPoint{103, 97}, "Abcdef");
  t->font.lfHeight = PointsToFontHeight(12);
  CFormText* text = Put(std::move(t));
  {
    FakeDeviceContext dc;
    text->Measure(dc, view.mapper);
  }
  text->selected = true;
  doc->elements.current = text;
  view.snap = true;
  const CRect b = text->GetBounds();
  const CPoint corner = b.BottomRight();
  tool->ButtonDown(view, corner, 0);
  tool->MouseMove(view, corner + CPoint(b.Width() / 3, b.Height() / 3), 0);
  EXPECT_EQ(view.messages.back(), "Schriftgrad 16 pt (+4)");
  tool->ButtonUp(view, corner + CPoint(b.Width() / 3, b.Height() / 3), 0);
  EXPECT_DOUBLE_EQ(FontHeightToPoints(text->font.lfHeight), 16);
  EXPECT_EQ(CPoint(text->x, text->y), CPoint(103, 97));  // no snapping of the anchor
  EXPECT_EQ(doc->history.UndoName(), "Verschieben");
}

TEST_F(SelectOpTest, LineEndPointDragsAloneAndReportsLength) {
  CFormLine* line = Put(std::make_unique<CFormLine>(CPoint{100, 100}, CPoint{200, 100}));
  view.snap = true;
  Drag({199, 101}, {203, 131});  // unselected line: the end point still counts
  EXPECT_EQ(line->from, CPoint(100, 100));
  EXPECT_EQ(line->to, CPoint(200, 130));
  EXPECT_EQ(view.messages[view.messages.size() - 2], "Endpunkt  X +0  Y +30     Länge 104");
}

TEST_F(SelectOpTest, ShiftClickDeselectsOnReleaseButShiftDragKeepsTheSelection) {
  CFormAlias* a = Put(Box(100, 100, 50, 50));
  CFormAlias* b = Put(Box(300, 100, 50, 50));
  Click({120, 120});
  Click({320, 120}, MK_SHIFT);
  EXPECT_TRUE(a->selected && b->selected);
  Drag({120, 120}, {140, 120}, MK_SHIFT);
  EXPECT_TRUE(a->selected && b->selected);
  EXPECT_EQ(a->x, 120);
  EXPECT_EQ(b->x, 320);
  Click({130, 120}, MK_SHIFT);
  EXPECT_FALSE(a->selected);
  EXPECT_TRUE(b->selected);
}

TEST_F(SelectOpTest, RubberBandSelectsWholeElementsAndAddsWithShift) {
  CFormAlias* a = Put(Box(100, 100, 20, 20));
  CFormAlias* b = Put(Box(200, 100, 20, 20));
  Drag({90, 90}, {130, 130});
  EXPECT_TRUE(a->selected);
  EXPECT_FALSE(b->selected);
  EXPECT_GE(view.repaints, 1);
  // Every frame was drawn twice: the picture is as it was.
  const auto frames = view.Drawn("FocusRect");
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(frames[2].rect, CRect(90, 90, 131, 131));
  Drag({190, 90}, {210, 130}, MK_SHIFT);  // covers b only partly
  EXPECT_TRUE(a->selected);
  EXPECT_FALSE(b->selected);
  Drag({190, 90}, {230, 130}, MK_SHIFT);
  EXPECT_TRUE(a->selected && b->selected);
}

class SelectOpColumns : public SelectOpTest {
 protected:
  void SetUp() override {
    SelectOpTest::SetUp();
    auto t = std::make_unique<CFormTable>(CPoint{100, 100});
    t->width = 200;
    for (int i = 0; i < 4; ++i) {
      CFormTableEntry e;
      e.name = "[Name]";
      e.widthPercent = 25;
      t->AppendColumn(e);
    }
    table = Put(std::move(t));
    Click({200, 180});  // select the table by its body
  }
  CPoint Label(int column) const { return {100 + 50 * column + 4, 110}; }
  CFormTable* table = nullptr;
};

TEST_F(SelectOpColumns, ClickControlShiftAndDragAcrossColumns) {
  ASSERT_TRUE(table->selected);
  EXPECT_EQ(tool->QueryCursor(view, Label(1)), ToolCursor::column);
  Click(Label(1));
  EXPECT_EQ(doc->selectedColumns, (std::vector<int>{1}));
  Click(Label(3), MK_CONTROL);
  EXPECT_EQ(doc->selectedColumns, (std::vector<int>{1, 3}));
  Click(Label(0), MK_SHIFT);
  EXPECT_EQ(doc->selectedColumns, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(doc->anchorColumn, 3);
  // A plain drag from column 0 to the right of the table: columns 0 to 3.
  Click(Label(2));
  Drag(Label(0), {400, 110});
  EXPECT_EQ(doc->selectedColumns, (std::vector<int>{0, 1, 2, 3}));
  // With Control the columns selected before stay.
  Click(Label(3));
  Drag(Label(0), Label(1), MK_CONTROL);
  EXPECT_EQ(doc->selectedColumns, (std::vector<int>{0, 1, 3}));
  EXPECT_TRUE(table->selected);
}

TEST_F(SelectOpColumns, EscapeClearsColumnsFirstThenElements) {
  Click(Label(2));
  ASSERT_FALSE(doc->selectedColumns.empty());
  tool->KeyDown(view, kEscape, 0);
  EXPECT_TRUE(doc->selectedColumns.empty());
  EXPECT_TRUE(table->selected);
  tool->KeyDown(view, kEscape, 0);
  EXPECT_FALSE(table->selected);
}

TEST_F(SelectOpColumns, ClickOnTheTableBodyClearsTheColumns) {
  Click(Label(2));
  Click({200, 180});
  EXPECT_TRUE(doc->selectedColumns.empty());
  EXPECT_TRUE(table->selected);
}

TEST_F(SelectOpTest, ArrowKeysNudgeInOneUndoStep) {
  CFormAlias* box = Put(Box(100, 100, 20, 20));
  Click({110, 110});
  const std::size_t before = Undos();
  for (int i = 0; i < 3; ++i) tool->KeyDown(view, kLeft, 0);
  EXPECT_EQ(box->x, 97);
  EXPECT_EQ(Undos(), before + 1);
  doc->Undo();
  EXPECT_EQ(box->x, 100);
  view.shift = true;
  tool->KeyDown(view, kRight, 0);
  tool->KeyDown(view, kDown, 0);
  EXPECT_EQ(CPoint(box->x, box->y), CPoint(110, 110));
}

TEST_F(SelectOpTest, CursorsFollowTheHitPart) {
  CFormAlias* box = Put(Box(100, 100, 100, 50));
  Put(std::make_unique<CFormLine>(CPoint{300, 300}, CPoint{400, 300}));
  EXPECT_EQ(tool->QueryCursor(view, {10, 10}), ToolCursor::none);
  EXPECT_EQ(tool->QueryCursor(view, {101, 101}), ToolCursor::move);  // unselected: no handles
  box->selected = true;
  const struct { CPoint at; ToolCursor cursor; } cases[] = {
      {{100, 100}, ToolCursor::sizeNWSE}, {{200, 100}, ToolCursor::sizeNESW}, {{200, 150}, ToolCursor::sizeNWSE},
      {{100, 150}, ToolCursor::sizeNESW}, {{150, 100}, ToolCursor::sizeNS},   {{200, 125}, ToolCursor::sizeWE},
      {{150, 125}, ToolCursor::move},     {{350, 301}, ToolCursor::move},     {{301, 300}, ToolCursor::cross}};
  for (const auto& c : cases) EXPECT_EQ(tool->QueryCursor(view, c.at), c.cursor) << c.at.x << "," << c.at.y;
}

// ---- shortcuts pressed while the mouse button is down ---------------------------------------------

TEST_F(SelectOpTest, UndoDuringADragRemovesTheElementAndTheDragEndsQuietly) {
  CFormAlias* box = Put(Box(100, 100, 50, 50));
  tool->ButtonDown(view, {120, 120}, 0);
  tool->MouseMove(view, {140, 120}, 0);
  ASSERT_TRUE(doc->IsDragging());
  doc->Undo();  // takes the new box out again
  EXPECT_FALSE(doc->IsDragging());
  EXPECT_FALSE(doc->elements.Contains(box));
  tool->MouseMove(view, {160, 120}, 0);
  tool->ButtonUp(view, {160, 120}, 0);
  EXPECT_EQ(doc->history.UndoCount(), 0u);
  ASSERT_TRUE(doc->Redo());
  EXPECT_EQ(box->x, 100);  // back as it was added, not as it was dragged
  EXPECT_FALSE(view.captured);
}

TEST_F(SelectOpTest, UndoOfAnEarlierMoveDuringADragKeepsTheHistoryTrue) {
  CFormAlias* box = Put(Box(100, 100, 50, 50));
  Drag({120, 120}, {140, 120});  // x 120
  tool->ButtonDown(view, {140, 120}, 0);
  tool->MouseMove(view, {180, 120}, 0);
  doc->Undo();
  EXPECT_EQ(box->x, 100);
  tool->MouseMove(view, {190, 120}, 0);
  tool->ButtonUp(view, {190, 120}, 0);
  EXPECT_EQ(box->x, 100);
  ASSERT_TRUE(doc->Redo());
  EXPECT_EQ(box->x, 120);
}

TEST_F(SelectOpTest, DeletePasteAndEscapeDuringADrag) {
  CFormAlias* box = Put(Box(100, 100, 50, 50));
  CFormAlias* other = Put(Box(300, 100, 50, 50));
  // Delete: the element leaves at its place before the drag.
  tool->ButtonDown(view, {120, 120}, 0);
  tool->MouseMove(view, {140, 120}, 0);
  doc->DeleteSelection();
  tool->MouseMove(view, {150, 120}, 0);
  tool->ButtonUp(view, {150, 120}, 0);
  EXPECT_EQ(doc->history.UndoName(), "Löschen");
  doc->Undo();
  EXPECT_EQ(box->x, 100);

  // Paste: the pasted copy is selected, the drag of the original is given up.
  Click({320, 120});
  ASSERT_TRUE(doc->CopySelection());
  tool->ButtonDown(view, {120, 120}, 0);
  tool->MouseMove(view, {140, 120}, 0);
  doc->Paste();
  tool->MouseMove(view, {150, 120}, 0);
  tool->ButtonUp(view, {150, 120}, 0);
  EXPECT_EQ(box->x, 100);
  EXPECT_EQ(other->x, 300);
  EXPECT_EQ(doc->history.UndoName(), "Einfügen");
  EXPECT_EQ(doc->elements.CountSelected(), 1);

  // Escape: the selection goes, the move made so far is kept as one step.
  Click({120, 120});
  tool->ButtonDown(view, {120, 120}, 0);
  tool->MouseMove(view, {140, 120}, 0);
  tool->KeyDown(view, kEscape, 0);
  tool->MouseMove(view, {150, 120}, 0);
  tool->ButtonUp(view, {150, 120}, 0);
  EXPECT_EQ(box->x, 120);
  EXPECT_EQ(doc->history.UndoName(), "Verschieben");
  doc->Undo();
  EXPECT_EQ(box->x, 100);
}

TEST_F(SelectOpTest, NewLayoutDuringAGestureLeavesTheToolIdle) {
  Put(Box(100, 100, 50, 50));
  tool->ButtonDown(view, {120, 120}, MK_SHIFT);
  tool->MouseMove(view, {140, 120}, 0);
  doc->OnNewDocument();
  EXPECT_EQ(tool->state(), CSelectOp::State::idle);
  tool->MouseMove(view, {150, 120}, 0);
  tool->ButtonUp(view, {150, 120}, 0);
  EXPECT_EQ(doc->elements.GetCount(), 0);
  EXPECT_FALSE(view.captured);
}

// ---- the arithmetic -----------------------------------------------------------------------------

TEST(Gestures, PointTextsUseACommaAndDropAWholeNumbersFraction) {
  const struct { double v; bool sign; const char* text; } cases[] = {
      {12.0, false, "12"}, {12.5, false, "12,5"}, {-1.5, true, "-1,5"}, {2.0, true, "+2"}, {0, true, "+0"}};
  for (const auto& c : cases) EXPECT_EQ(FormatPoints(c.v, c.sign), c.text);
  EXPECT_EQ(FontSizeStatus(16, 12), "Schriftgrad 16 pt (+4)");
  EXPECT_EQ(FontSizeStatus(10.5, 12), "Schriftgrad 10,5 pt (-1,5)");
}

TEST(Gestures, SnapRoundsHalvesUp) {
  EXPECT_EQ(SnapToGridValue(15), 20);
  EXPECT_EQ(SnapToGridValue(14), 10);
  EXPECT_EQ(SnapToGridValue(-15), -10);
  EXPECT_EQ(SnapToGridValue(-16), -20);
}

}  // namespace
