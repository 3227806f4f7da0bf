// What the property pane shows for a selection and how its edits reach the document.
#include <gtest/gtest.h>

#include "document/ReportDoc.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "model/Fonts.h"
#include "properties/PaneContent.h"
#include "support/FakeServices.h"
#include "support/LayoutFixtures.h"

namespace {

std::vector<std::string> Names(const PropertyList& list) {
  std::vector<std::string> names;
  for (const auto& row : list) names.push_back(row->name);
  return names;
}

class PaneTest : public ::testing::Test {
 protected:
  PaneTest() { scope_.With(&settings_).With(&images_); }

  template <class T>
  T* Put(std::unique_ptr<T> e) {
    T* raw = Add(doc.elements, std::move(e));
    return raw;
  }
  CFormText* Text(int x, int alignment) {
    auto t = std::make_unique<CFormText>(CPoint{x, 10}, "Hallo");
    t->alignment = alignment;
    return Put(std::move(t));
  }
  CFormTable* Table(std::vector<int> widths) {
    auto t = std::make_unique<CFormTable>(CPoint{0, 0});
    for (int w : widths) {
      CFormTableEntry c;
      c.widthPercent = w;
      t->AppendColumn(c);
    }
    return Put(std::move(t));
  }
  // Applies a typed value to the named row of the current content, as the pane does.
  bool Edit(const std::string& rowName, const std::string& typed) {
    const PaneContent content = CollectPaneContent(doc);
    const CProperty* row = content.rows.FindRow(rowName);
    EXPECT_NE(row, nullptr) << rowName;
    if (!row) return false;
    double number = 0;
    std::string text;
    if (!ReadRowValue(*row, typed, number, text)) return false;
    return ApplyPaneEdit(doc, content.mode, *row, number, text);
  }

  FakeSettings settings_;
  FakeImages images_;
  ScopedServices scope_;
  CReportDoc doc;
};

}  // namespace

TEST(PaneValues, TypedNumbersIntegersAndChoices) {
  const CNumericProperty numeric("n", 1);
  const CIntegerProperty integer("i", 1);
  const CComboProperty combo("c", 0, {{"Links", 0}, {"Rechts", 2}});
  const CStringProperty string("s", "");
  const struct {
    const CProperty* row;
    const char* typed;
    bool valid;
    double number;
    const char* text;
  } cases[] = {
      {&numeric, "12,5", true, 12.5, "12,5"},
      {&numeric, "12.5", true, 12.5, "12.5"},
      {&numeric, " 7 ", true, 7, "7"},
      {&numeric, "+3", true, 3, "+3"},
      {&numeric, "-0", true, 0, "-0"},
      {&numeric, "1e9", true, 1e9, "1e9"},
      {&numeric, "12.5.1", false, 0, "12.5.1"},
      {&numeric, "7x", false, 0, "7x"},
      {&numeric, "", false, 0, ""},
      {&numeric, "   ", false, 0, ""},
      {&numeric, "nan", false, 0, "nan"},
      {&numeric, "inf", false, 0, "inf"},
      {&numeric, "1e999", false, 0, "1e999"},
      {&numeric, "+-3", false, 0, "+-3"},
      {&integer, " 7 ", true, 7, "7"},
      {&integer, "\t-42\r\n", true, -42, "-42"},
      {&integer, "-0", true, 0, "-0"},
      {&integer, "7x", false, 0, "7x"},
      {&integer, "7,5", false, 0, "7,5"},
      {&integer, "1e9", false, 0, "1e9"},
      {&integer, "99999999999", false, 0, "99999999999"},
      {&integer, "2147483647", true, 2147483647.0, "2147483647"},
      {&integer, "nan", false, 0, "nan"},
      {&integer, "", false, 0, ""},
      {&combo, "Rechts", true, 2, "Rechts"},
      {&combo, " Links ", true, 0, "Links"},
      {&combo, "rechts", false, 0, "rechts"},
      {&string, "  Wort  ", true, 0, "Wort"},
      {&string, "€ und ✓", true, 0, "€ und ?"},  // what a layout file cannot hold becomes '?'
  };
  for (const auto& c : cases) {
    double number = -1;
    std::string text;
    EXPECT_EQ(ReadRowValue(*c.row, c.typed, number, text), c.valid) << c.typed;
    if (c.valid) {
      EXPECT_EQ(number, c.number) << c.typed;
    }
    EXPECT_EQ(text, c.text) << c.typed;
  }
}

TEST_F(PaneTest, LayoutModeShowsThePageRows) {
  const PaneContent content = CollectPaneContent(doc);
  EXPECT_EQ(content.mode, PaneMode::layout);
  EXPECT_EQ(content.caption, "Layout");
  EXPECT_EQ(Names(content.rows), (std::vector<std::string>{"Format", "Doppelseitiger Druck", "Hilfsbilder"}));
  EXPECT_EQ(content.rows[0].GetText(), "Hochformat");
  EXPECT_EQ(content.rows[1].GetText(), "Druckervorgabe");
  EXPECT_EQ(content.rows[2].GetText(), "Ein");
}

TEST_F(PaneTest, LayoutEditsOrientationUndoablyAndHelperImagesNot) {
  EXPECT_TRUE(Edit("Format", "Querformat"));
  EXPECT_FALSE(doc.elements.portrait);
  EXPECT_TRUE(Edit("Doppelseitiger Druck", "Doppelseitig, kurze Kante"));
  EXPECT_EQ(doc.elements.duplexMode, 3);
  EXPECT_FALSE(Edit("Format", "Querformat"));  // unchanged: no step
  EXPECT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.elements.portrait);
  EXPECT_EQ(doc.elements.duplexMode, 0);

  EXPECT_TRUE(Edit("Hilfsbilder", "Aus"));
  EXPECT_FALSE(doc.elements.showHelperImages);
  EXPECT_EQ(settings_.values["Ansicht/Hilfsbilder"], "0");
  EXPECT_FALSE(doc.Undo());  // a view setting, not a step
  EXPECT_FALSE(doc.elements.showHelperImages);
  EXPECT_FALSE(Edit("Format", "Quer"));  // no such choice
}

TEST_F(PaneTest, ElementCaptions) {
  CFormText* text = Text(0, 0);
  auto line = std::make_unique<CFormLine>(CPoint{0, 0}, CPoint{5, 5});
  CFormLine* l = Put(std::move(line));
  CFormImage* image = Put(std::make_unique<CFormImage>());
  CFormAlias* alias = Put(Box(1));
  CFormTable* table = Table({10});
  const std::pair<CFormElement*, const char*> cases[] = {
      {text, "Text"}, {l, "Linie"}, {image, "Bild"}, {table, "Tabelle"}, {alias, "Platzhalter"}};
  for (const auto& [e, caption] : cases) {
    doc.ClearSelection();
    doc.SelectElement(e);
    const PaneContent content = CollectPaneContent(doc);
    EXPECT_EQ(content.mode, PaneMode::element);
    EXPECT_EQ(content.caption, caption);
  }
  EXPECT_EQ(GetElementTypeName(CFormElement()), "Element");
  // A line and an image share no row.
  doc.ClearSelection();
  doc.SelectElement(l);
  doc.SelectElement(image);
  const PaneContent both = CollectPaneContent(doc);
  EXPECT_EQ(both.caption, "2 Elemente");
  EXPECT_TRUE(both.rows.empty());
}

TEST_F(PaneTest, TwoTextsWithDifferentAlignmentsChangeInOneStep) {
  CFormText* a = Text(10, 0);
  CFormText* b = Text(20, 1);
  doc.SelectElement(a);
  doc.SelectElement(b);
  const PaneContent content = CollectPaneContent(doc);
  EXPECT_TRUE(content.rows.FindRow("Ausrichtung")->mixed);
  EXPECT_TRUE(content.rows.FindRow("X")->mixed);
  EXPECT_FALSE(content.rows.FindRow("Text")->mixed);

  const std::size_t steps = doc.history.UndoCount();
  EXPECT_TRUE(Edit("Ausrichtung", "Rechts"));
  EXPECT_EQ(a->alignment, 2);
  EXPECT_EQ(b->alignment, 2);
  EXPECT_EQ(doc.history.UndoCount(), steps + 1);
  EXPECT_EQ(doc.history.UndoName(), "Eigenschaft Ausrichtung");
  EXPECT_TRUE(doc.Undo());
  EXPECT_EQ(a->alignment, 0);
  EXPECT_EQ(b->alignment, 1);
}

TEST_F(PaneTest, EditsThatChangeNothingRecordNoStep) {
  CFormText* t = Text(10, 0);
  doc.SelectElement(t);
  const std::size_t steps = doc.history.UndoCount();
  EXPECT_FALSE(Edit("X", "10"));
  EXPECT_FALSE(Edit("Schriftgrad (pt)", "-0"));  // sizes of 0 and below are ignored
  EXPECT_FALSE(Edit("Schriftgrad (pt)", "19,2"));  // rounds to the same half point
  EXPECT_FALSE(Edit("X", "7x"));
  EXPECT_FALSE(Edit("Text", "  Hallo "));
  EXPECT_EQ(doc.history.UndoCount(), steps);
  EXPECT_FALSE(doc.IsModified());

  EXPECT_TRUE(Edit("X", "99999"));
  EXPECT_EQ(t->x, 99999);
  EXPECT_TRUE(Edit("Schriftgrad (pt)", "12,5"));
  EXPECT_EQ(t->font.lfHeight, PointsToFontHeight(12.5));
  EXPECT_TRUE(Edit("Text", "  Wort  "));
  EXPECT_EQ(t->text, "Wort");
  EXPECT_EQ(doc.history.UndoName(), "Eigenschaft Text");
}

TEST_F(PaneTest, AnImageFileThatDoesNotLoadRecordsNoStep) {
  images_.Add("/ok.png", 640, 480);
  auto img = std::make_unique<CFormImage>();
  img->width = 200;
  img->height = 10;
  CFormImage* image = Put(std::move(img));
  doc.SelectElement(image);
  EXPECT_FALSE(Edit("Datei", "/fehlt.png"));
  EXPECT_TRUE(Edit("Datei", " /ok.png "));
  EXPECT_EQ(image->fileName, "/ok.png");
  EXPECT_EQ(image->height, 150);
}

TEST_F(PaneTest, ATableAndATextShareOnlyTheirPosition) {
  CFormTable* table = Table({40, 40});
  CFormText* text = Text(0, 0);
  doc.SelectElement(table);
  doc.SelectElement(text);
  EXPECT_EQ(Names(CollectPaneContent(doc).rows), (std::vector<std::string>{"X", "Y"}));
}

TEST_F(PaneTest, TablesWithDifferentColumnCountsShareTheCommonColumns) {
  CFormTable* two = Table({40, 40});
  CFormTable* three = Table({40, 40, 30});
  doc.SelectElement(two);
  doc.SelectElement(three);
  const PaneContent content = CollectPaneContent(doc);
  EXPECT_EQ(content.rows.size(), 7u + 2 * 8);  // element rows and the rows of columns 1 and 2
  EXPECT_NE(content.rows.FindRow("Spalte 2/Farbe"), nullptr);
  EXPECT_EQ(content.rows.FindRow("Spalte 3/Name"), nullptr);
  EXPECT_TRUE(content.rows.FindRow("Spaltenbreiten gesamt (%)")->mixed);
  EXPECT_TRUE(content.rows.FindRow("Spaltenbreiten gesamt (%)")->readOnly);
  // An edit of a shared column row reaches both tables in one step.
  EXPECT_TRUE(Edit("Spalte 2/Breite (%)", "150"));
  EXPECT_EQ(two->ColumnAt(1)->widthPercent, 100);
  EXPECT_EQ(three->ColumnAt(1)->widthPercent, 100);
  EXPECT_EQ(doc.history.UndoName(), "Eigenschaft Spalte 2/Breite (%)");
  EXPECT_FALSE(Edit("Spaltenbreiten gesamt (%)", "5"));
}

TEST_F(PaneTest, ColumnModeIntersectsTheSelectedColumns) {
  CFormTable* table = Table({40, 40, 30});
  table->ColumnAt(0)->name = "[Name]";
  table->ColumnAt(2)->name = "[Name]";
  doc.SelectElement(table);
  doc.SetSelectedColumns(table, {1}, 1);
  PaneContent one = CollectPaneContent(doc);
  EXPECT_EQ(one.mode, PaneMode::column);
  EXPECT_EQ(one.caption, "Tabelle, Spalte 2");
  EXPECT_EQ(Names(one.rows), (std::vector<std::string>{"Name", "Breite (%)", "Ausrichtung", "Schriftart",
                                                       "Schriftgrad (pt)", "Schriftschnitt", "Kursiv",
                                                       "Farbe", "Spaltenbreiten gesamt (%)"}));
  EXPECT_EQ(one.rows.FindRow("Spaltenbreiten gesamt (%)")->GetText(), "110");

  doc.SetSelectedColumns(table, {0, 2}, 0);
  const PaneContent two = CollectPaneContent(doc);
  EXPECT_EQ(two.caption, "Tabelle, 2 Spalten");
  EXPECT_FALSE(two.rows.FindRow("Name")->mixed);
  EXPECT_TRUE(two.rows.FindRow("Breite (%)")->mixed);

  EXPECT_TRUE(Edit("Breite (%)", "-5"));
  EXPECT_EQ(table->ColumnAt(0)->widthPercent, 0);
  EXPECT_EQ(table->ColumnAt(1)->widthPercent, 40);
  EXPECT_EQ(table->ColumnAt(2)->widthPercent, 0);
  EXPECT_EQ(doc.history.UndoName(), "Eigenschaft Breite (%)");
  EXPECT_TRUE(Edit("Schriftgrad (pt)", "20"));
  EXPECT_EQ(table->maxFontHeight, -PointsToFontHeight(20));
  EXPECT_FALSE(Edit("Spaltenbreiten gesamt (%)", "50"));  // read-only
  EXPECT_TRUE(doc.Undo());
  EXPECT_EQ(table->maxFontHeight, 80);
}

TEST_F(PaneTest, ColumnEditWithoutAColumnSelectionIsDropped) {
  CFormTable* table = Table({40});
  doc.SelectElement(table);
  doc.SetSelectedColumns(table, {0}, 0);
  const PaneContent content = CollectPaneContent(doc);
  doc.ClearColumnSelection();
  const CProperty& row = *content.rows.FindRow("Breite (%)");
  EXPECT_FALSE(ApplyPaneEdit(doc, PaneMode::column, row, 5, ""));
  EXPECT_EQ(table->ColumnAt(0)->widthPercent, 40);
}

TEST(PaneGroups, SubGroupCaptionsNameTheColumn) {
  PropertyList rows;
  rows.Emplace<CSuggestProperty>("Spalte 1/Name", "[Name]", std::vector<std::string>{});
  rows.Emplace<CSuggestProperty>("Spalte 2/Name", "", std::vector<std::string>{});
  rows.Emplace<CSuggestProperty>("Spalte 3/Name", "[Rang]", std::vector<std::string>{}).mixed = true;
  EXPECT_EQ(SubGroupCaption(rows, "Spalte 1"), "Spalte 1 ([Name])");
  EXPECT_EQ(SubGroupCaption(rows, "Spalte 2"), "Spalte 2");
  EXPECT_EQ(SubGroupCaption(rows, "Spalte 3"), "Spalte 3");
  EXPECT_EQ(SubGroupCaption(rows, "Spalte 4"), "Spalte 4");
}
