// The four creation tools against a fake view and scripted dialogs.
#include <gtest/gtest.h>

#include "document/ReportDoc.h"
#include "model/ElementDialogs.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "support/FakeServices.h"
#include "support/FakeToolView.h"
#include "support/LayoutFixtures.h"
#include "view/tools/EditingTools.h"

namespace {

class ScriptedDialogs : public ElementDialogService {
 public:
  bool RunTextDialog(TextDialogValues& v) override { shownText = v.text; ++runs; return ok; }
  bool RunLineDialog(LineDialogValues&) override { ++runs; return ok; }
  bool RunImageDialog(ImageDialogValues&) override { ++runs; return ok; }
  bool RunTableDialog(CFormTable&) override { ++runs; return ok; }
  bool ok = true;
  int runs = 0;
  std::string shownText;
};

class CreationTools : public ::testing::Test {
 protected:
  void SetUp() override {
    scope.With<SettingsStore>(&settings).With<ElementDialogService>(&dialogs);
    doc = std::make_unique<CReportDoc>();
    InstallEditingTools(*doc);
  }
  void Click(CPoint at) {
    doc->CurrentTool()->ButtonDown(view, at, 0);
    doc->CurrentTool()->ButtonUp(view, at, 0);
  }
  FakeSettings settings;
  ScriptedDialogs dialogs;
  ScopedServices scope;
  std::unique_ptr<CReportDoc> doc;
  FakeToolView view;
};

TEST_F(CreationTools, ChoosingAToolClearsElementsAndColumns) {
  for (auto slot : {CReportDoc::newTextToolSlot, CReportDoc::newLineToolSlot, CReportDoc::newImageToolSlot,
                    CReportDoc::newTableToolSlot}) {
    auto t = std::make_unique<CFormTable>(CPoint{0, 0});
    t->AppendColumn(CFormTableEntry());
    CFormTable* table = t.get();
    doc->AddElement(std::move(t));
    doc->SelectElement(table);
    doc->SelectColumn(table, 0, 0);
    ASSERT_EQ(doc->columnTable, table);
    doc->SelectTool(slot);
    EXPECT_EQ(doc->elements.CountSelected(), 0);
    EXPECT_EQ(doc->columnTable, nullptr);
    EXPECT_TRUE(doc->selectedColumns.empty());
    doc->SelectTool(CReportDoc::selectToolSlot);
  }
}

TEST_F(CreationTools, TextIsPlacedAfterItsDialogAndTheSelectionToolReturns) {
  doc->SelectTool(CReportDoc::newTextToolSlot);
  Click({120, 80});
  EXPECT_EQ(dialogs.shownText, "Text");
  ASSERT_EQ(doc->elements.GetCount(), 1);
  auto* text = static_cast<CFormText*>(doc->elements.At(0));
  ASSERT_TRUE(text->Is<CFormText>());
  EXPECT_EQ(CPoint(text->x, text->y), CPoint(120, 80));
  EXPECT_EQ(text->font.lfHeight, -160);
  EXPECT_STREQ(text->font.lfFaceName, "Arial");
  EXPECT_EQ(doc->history.UndoName(), "Einfügen");
  EXPECT_TRUE(doc->IsCurrentTool(CReportDoc::selectToolSlot));
  doc->Undo();
  EXPECT_EQ(doc->elements.GetCount(), 0);
}

TEST_F(CreationTools, ImageAndTableSizesAndACancelledDialog) {
  doc->SelectTool(CReportDoc::newImageToolSlot);
  Click({10, 20});
  doc->SelectTool(CReportDoc::newTableToolSlot);
  Click({30, 40});
  ASSERT_EQ(doc->elements.GetCount(), 2);
  EXPECT_EQ(doc->elements.At(0)->GetBounds(), CRect(10, 20, 60, 70));
  EXPECT_EQ(doc->elements.At(1)->GetBounds(), CRect(30, 40, 130, 140));
  EXPECT_FALSE(static_cast<CFormImage*>(doc->elements.At(0))->helper);
  EXPECT_TRUE(static_cast<CFormTable*>(doc->elements.At(1))->columns.empty());

  doc->OnNewDocument();
  dialogs.ok = false;
  doc->SelectTool(CReportDoc::newImageToolSlot);
  Click({10, 20});
  EXPECT_EQ(doc->elements.GetCount(), 0);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_FALSE(doc->history.CanUndo());
  EXPECT_TRUE(doc->IsCurrentTool(CReportDoc::selectToolSlot));
}

TEST_F(CreationTools, LineNeedsMoreThanOneUnitAndTheToolStays) {
  view.snap = true;  // the line tool never snaps
  doc->SelectTool(CReportDoc::newLineToolSlot);
  COperator* line = doc->CurrentTool();
  line->ButtonDown(view, {100, 100}, 0);
  line->MouseMove(view, {101, 101}, 0);
  line->ButtonUp(view, {101, 101}, 0);
  EXPECT_EQ(doc->elements.GetCount(), 0);
  EXPECT_FALSE(view.captured);

  view.drawn.clear();
  line->ButtonDown(view, {100, 100}, 0);
  line->MouseMove(view, {150, 133}, 0);
  line->MouseMove(view, {102, 100}, 0);
  line->ButtonUp(view, {102, 100}, 0);
  ASSERT_EQ(doc->elements.GetCount(), 1);
  const auto* made = static_cast<CFormLine*>(doc->elements.At(0));
  EXPECT_EQ(made->from, CPoint(100, 100));
  EXPECT_EQ(made->to, CPoint(102, 100));
  EXPECT_TRUE(doc->IsCurrentTool(CReportDoc::newLineToolSlot));
  EXPECT_EQ(dialogs.runs, 0);
  // Every preview was drawn twice, in exclusive-or grey, so nothing is left on the screen.
  const auto lines = view.Drawn("Line");
  ASSERT_EQ(lines.size(), 6u);
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    EXPECT_EQ(lines[i].rect, lines[i + 1].rect);
    EXPECT_EQ(lines[i].state.rop, RasterOp::xorPen);
    EXPECT_EQ(lines[i].state.pen.color, RGB(92, 92, 92));
  }
  EXPECT_EQ(lines[2].rect, CRect(100, 100, 150, 133));
}

}  // namespace
