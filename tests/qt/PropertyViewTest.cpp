// The property pane on the offscreen platform: grid contents, edits through the cell editors,
// rebuilds that keep the user's place, and keys typed into a cell.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/MainFrame.h"
#include "app/ReportApp.h"
#include "document/ReportDoc.h"
#include "model/Fonts.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "properties/qt/PropertyGrid.h"
#include "properties/qt/PropertyView.h"
#include "support/FakeServices.h"
#include "support/LayoutFixtures.h"
#include "view/qt/ReportView.h"

namespace {

class FakeFonts : public FontList {
 public:
  std::vector<std::string> Families() override {
    ++calls;
    return {"Verdana", "@Arial", "arial", "Arial", "Courier New", "Arial"};
  }
  int calls = 0;
};

// Committing a cell and the rebuild it causes are both queued, one after the other.
void Settle() {
  for (int i = 0; i < 4; ++i) QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // closed cell editors
}

// The grid item of the row with this name (the full name, "Spalte 2/Farbe" for a column row).
QTreeWidgetItem* RowItem(CPropertyView& view, const std::string& name) {
  for (std::size_t i = 0; i < view.rows().size(); ++i)
    if (view.rows()[i].name == name) return view.grid()->FindItemByData(static_cast<int>(i));
  return nullptr;
}

// Opens the cell editor of a row and returns it.
template <class Editor>
Editor* OpenEditor(CPropertyView& view, const std::string& name) {
  QTreeWidgetItem* item = RowItem(view, name);
  EXPECT_NE(item, nullptr) << name;
  if (!item) return nullptr;
  view.grid()->setCurrentItem(item, 1);
  view.grid()->editItem(item, 1);
  auto* editor = view.grid()->viewport()->findChild<Editor*>();
  EXPECT_NE(editor, nullptr) << name;
  return editor;
}

class Pane : public ::testing::Test {
 protected:
  Pane() {
    scope.With(&settings).With(&fonts);
    view = std::make_unique<CPropertyView>(doc);
    view->resize(320, 600);
    Settle();
  }
  ~Pane() override { view.reset(); }

  CPropertyGrid& grid() { return *view->grid(); }

  QTreeWidgetItem* Item(const std::string& name) { return RowItem(*view, name); }
  QTreeWidgetItem* Group(const QString& caption) {
    for (QTreeWidgetItemIterator it(&grid()); *it; ++it)
      if (CPropertyGrid::IsGroup(*it) && (*it)->text(0) == caption) return *it;
    return nullptr;
  }
  template <class Editor>
  Editor* Open(const std::string& name) {
    return OpenEditor<Editor>(*view, name);
  }
  // Types a value into a text row and commits it as leaving the cell does.
  void Type(const std::string& name, const QString& value) {
    auto* line = Open<QLineEdit>(name);
    if (!line) return;
    line->setText(value);
    QTest::keyClick(line, Qt::Key_Return);
    Settle();
  }
  CFormText* Text(int x, int alignment) {
    auto t = std::make_unique<CFormText>(CPoint{x, 10}, "Hallo");
    t->alignment = alignment;
    return Add(doc.elements, std::move(t));
  }
  CFormTable* Table(int columns) {
    auto t = std::make_unique<CFormTable>(CPoint{0, 0});
    for (int i = 0; i < columns; ++i) {
      CFormTableEntry c;
      c.widthPercent = 30;
      t->AppendColumn(c);
    }
    return Add(doc.elements, std::move(t));
  }

  FakeSettings settings;
  FakeFonts fonts;
  ScopedServices scope;
  CReportDoc doc;
  std::unique_ptr<CPropertyView> view;
};

}  // namespace

TEST_F(Pane, ShowsTheLayoutWhenNothingIsSelected) {
  EXPECT_EQ(grid().headerItem()->text(0), "Eigenschaft");
  EXPECT_EQ(grid().headerItem()->text(1), "Wert");
  ASSERT_EQ(grid().topLevelItemCount(), 1);
  QTreeWidgetItem* root = grid().topLevelItem(0);
  EXPECT_EQ(root->text(0), "Layout");
  EXPECT_TRUE(root->isExpanded());
  ASSERT_EQ(root->childCount(), 3);
  EXPECT_EQ(root->child(0)->text(0), "Format");
  EXPECT_EQ(root->child(0)->text(1), "Hochformat");
  EXPECT_EQ(CPropertyGrid::Options(root->child(1)),
            (QStringList{"Druckervorgabe", "Einseitig", "Doppelseitig, lange Kante", "Doppelseitig, kurze Kante"}));
  EXPECT_FALSE(CPropertyGrid::IsEditable(root->child(1)));
  EXPECT_EQ(root->child(2)->text(1), "Ein");
}

TEST_F(Pane, ChoosingLandscapeIsOneUndoableStep) {
  auto* combo = Open<QComboBox>("Format");
  ASSERT_NE(combo, nullptr);
  EXPECT_FALSE(combo->isEditable());
  EXPECT_EQ(combo->currentText(), "Hochformat");
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  Settle();
  EXPECT_FALSE(doc.elements.portrait);
  EXPECT_EQ(Item("Format")->text(1), "Querformat");
  EXPECT_TRUE(doc.Undo());
  Settle();
  EXPECT_EQ(Item("Format")->text(1), "Hochformat");
}

TEST_F(Pane, TwoTextsWithDifferentAlignmentsBecomeRightAlignedInOneStep) {
  CFormText* a = Text(10, 0);
  CFormText* b = Text(20, 1);
  b->color = RGB(255, 0, 0);
  doc.SelectElement(a);
  doc.SelectElement(b);
  Settle();
  EXPECT_EQ(grid().topLevelItem(0)->text(0), "2 Elemente");
  EXPECT_EQ(Item("Ausrichtung")->text(1), "");
  EXPECT_EQ(Item("Text")->text(1), "Hallo");
  // A mixed colour shows the first element's colour.
  EXPECT_EQ(CPropertyGrid::Colour(Item("Farbe")), QColor(0, 0, 0));

  auto* combo = Open<QComboBox>("Ausrichtung");
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->currentIndex(), -1);
  const int right = combo->findText("Rechts");
  combo->setCurrentIndex(right);
  emit combo->activated(right);
  Settle();
  EXPECT_EQ(a->alignment, 2);
  EXPECT_EQ(b->alignment, 2);
  EXPECT_EQ(doc.history.UndoCount(), 1u);
  EXPECT_EQ(doc.history.UndoName(), "Eigenschaft Ausrichtung");
  EXPECT_EQ(Item("Ausrichtung")->text(1), "Rechts");
}

TEST_F(Pane, TypedValuesAreReadWithCommaAndTrimmedOrPutBack) {
  CFormText* t = Text(10, 0);
  doc.SelectElement(t);
  Settle();
  Type("Schriftgrad (pt)", "12,5");
  EXPECT_EQ(t->font.lfHeight, PointsToFontHeight(12.5));
  EXPECT_EQ(Item("Schriftgrad (pt)")->text(1), "12.5");
  Type("X", " 7 ");
  EXPECT_EQ(t->x, 7);
  const std::size_t steps = doc.history.UndoCount();
  for (const char* bad : {"7x", "", "1e9", "nan", "inf", "99999999999"}) {
    Type("X", bad);
    EXPECT_EQ(t->x, 7) << bad;
    EXPECT_EQ(Item("X")->text(1), "7") << bad;  // the shown value is back
  }
  for (const char* bad : {"12.5.1", "abc", "", "-0", "nan", "inf"}) {
    Type("Schriftgrad (pt)", bad);
    EXPECT_EQ(Item("Schriftgrad (pt)")->text(1), "12.5") << bad;
  }
  EXPECT_EQ(doc.history.UndoCount(), steps);

  // Typing on a current row starts editing its value, replacing what was there.
  grid().setCurrentItem(Item("Y"), 0);
  QTest::keyClick(&grid(), '4');
  auto* typed = grid().viewport()->findChild<QLineEdit*>();
  ASSERT_NE(typed, nullptr);
  QTest::keyClick(typed, '2');  // the open editor has the focus now
  EXPECT_EQ(typed->text(), "42");
  QTest::keyClick(typed, Qt::Key_Return);
  Settle();
  EXPECT_EQ(t->y, 42);

  Type("Text", "  Wort  ");
  EXPECT_EQ(t->text, "Wort");

  // A text of several lines keeps its line breaks through the one-line cell.
  t->text = "Zeile 1\r\nZeile 2";
  doc.UpdateAllViews(0);
  Settle();
  auto* line = Open<QLineEdit>("Text");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->text(), "Zeile 1\r\nZeile 2");
  line->end(false);
  line->insert("!");
  QTest::keyClick(line, Qt::Key_Return);
  Settle();
  EXPECT_EQ(t->text, "Zeile 1\r\nZeile 2!");
}

TEST_F(Pane, RowsOfEachKindGetTheirEditors) {
  CFormText* t = Text(10, 0);
  t->color = RGB(0, 128, 255);
  doc.SelectElement(t);
  Settle();
  // Colour: a swatch and the numbers; the drop-down ends with the colour dialog.
  QTreeWidgetItem* colour = Item("Farbe");
  EXPECT_EQ(colour->text(1), "0; 128; 255");
  EXPECT_FALSE(colour->icon(1).isNull());
  auto* colours = Open<QComboBox>("Farbe");
  ASSERT_NE(colours, nullptr);
  EXPECT_EQ(colours->itemText(colours->count() - 1), "Weitere Farben...");
  EXPECT_EQ(colours->currentText(), "0; 128; 255");
  const int red = colours->findText("255; 0; 0");
  ASSERT_GE(red, 0);
  colours->setCurrentIndex(red);
  emit colours->activated(red);
  Settle();
  EXPECT_EQ(t->color, RGB(255, 0, 0));
  // A typed colour that is no colour is put back.
  colours = Open<QComboBox>("Farbe");
  colours->setEditText("rot");
  QTest::keyClick(colours, Qt::Key_Return);
  Settle();
  EXPECT_EQ(t->color, RGB(255, 0, 0));
  EXPECT_EQ(Item("Farbe")->text(1), "255; 0; 0");

  // "Weitere Farben..." closes the cell and opens the colour dialog; its choice is the edit.
  colours = Open<QComboBox>("Farbe");
  ASSERT_NE(colours, nullptr);
  bool dialogSeen = false;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialogSeen = !grid().viewport()->findChild<QComboBox*>();  // the cell editor is gone
    answer.stop();
    dialog->setCurrentColor(QColor(1, 2, 3));
    dialog->accept();
  });
  answer.start(10);
  emit colours->activated(colours->count() - 1);
  Settle();
  answer.stop();
  EXPECT_TRUE(dialogSeen);
  EXPECT_EQ(t->color, RGB(1, 2, 3));
  EXPECT_EQ(doc.history.UndoName(), "Eigenschaft Farbe");

  // Font names: free typing with the installed families, '@' variants and doubles left out.
  auto* font = Open<QComboBox>("Schriftart");
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(font->isEditable());
  QStringList names;
  for (int i = 0; i < font->count(); ++i) names << font->itemText(i);
  EXPECT_EQ(names, (QStringList{"arial", "Arial", "Courier New", "Verdana"}));
  font->setEditText("Courier New");
  QTest::keyClick(font, Qt::Key_Return);
  Settle();
  EXPECT_EQ(FaceName(t->font), "Courier New");
  view->RebuildGrid();
  EXPECT_EQ(fonts.calls, 1);  // the families are read once
}

TEST_F(Pane, ImageRowsHaveAFileEditorWithTheImageFilter) {
  FakeImages images;
  images.Add("/neu.png", 640, 480);
  scope.With(&images);
  auto img = std::make_unique<CFormImage>();
  img->width = 200;
  CFormImage* image = Add(doc.elements, std::move(img));
  doc.SelectElement(image);
  Settle();
  QTreeWidgetItem* file = Item("Datei");
  EXPECT_EQ(CPropertyGrid::Kind(file), CPropertyGrid::RowKind::file);
  EXPECT_EQ(CPropertyGrid::NameFilters(CPropertyGrid::Filter(file)),
            (QStringList{"Bilder (*.bmp *.jpg *.jpeg *.png *.gif)", "Alle Dateien (*)"}));
  auto* line = Open<QLineEdit>("Datei");
  ASSERT_NE(line, nullptr);
  EXPECT_NE(line->parentWidget()->findChild<QToolButton*>(), nullptr);
  line->setText("/neu.png");
  QTest::keyClick(line, Qt::Key_Return);
  Settle();
  EXPECT_EQ(image->fileName, "/neu.png");
  EXPECT_EQ(image->height, 150);
}

TEST_F(Pane, TableColumnsInGroupsThatKeepTheirStateAcrossRebuilds) {
  CFormTable* table = Table(3);
  table->ColumnAt(1)->name = "[Name]";
  doc.SelectElement(table);
  Settle();
  QTreeWidgetItem* root = grid().topLevelItem(0);
  EXPECT_EQ(root->text(0), "Tabelle");
  ASSERT_NE(Group("Spalte 2 ([Name])"), nullptr);
  ASSERT_NE(Group("Spalte 1"), nullptr);
  EXPECT_FALSE(Group("Spalte 1")->isExpanded());  // column groups start closed
  EXPECT_TRUE(Item("Spaltenbreiten gesamt (%)")->isDisabled());
  EXPECT_EQ(Item("Spaltenbreiten gesamt (%)")->text(1), "90");
  EXPECT_EQ(Item("Spalte 2/Name")->text(0), "Name");

  Group("Spalte 3")->setExpanded(true);
  grid().setCurrentItem(Item("Spalte 3/Breite (%)"));
  doc.UpdateAllViews(0);
  Settle();
  EXPECT_TRUE(Group("Spalte 3")->isExpanded());
  EXPECT_FALSE(Group("Spalte 1")->isExpanded());
  ASSERT_NE(grid().currentItem(), nullptr);
  EXPECT_EQ(grid().currentItem(), Item("Spalte 3/Breite (%)"));

  // After an edit the same row is selected again.
  Type("Spalte 3/Breite (%)", "150");
  EXPECT_EQ(table->ColumnAt(2)->widthPercent, 100);
  EXPECT_EQ(grid().currentItem(), Item("Spalte 3/Breite (%)"));
  EXPECT_TRUE(Group("Spalte 3")->isExpanded());

  // A collapsed root stays collapsed for the next selection; the opened column group too.
  grid().topLevelItem(0)->setExpanded(false);
  CFormTable* other = Table(4);
  doc.ClearSelection();
  doc.SelectElement(other);
  Settle();
  EXPECT_FALSE(grid().topLevelItem(0)->isExpanded());
  EXPECT_TRUE(Group("Spalte 3")->isExpanded());
  EXPECT_FALSE(Group("Spalte 4")->isExpanded());
}

TEST_F(Pane, ColumnModeShowsTheSelectedColumns) {
  CFormTable* table = Table(3);
  table->ColumnAt(0)->widthPercent = 50;
  doc.SelectElement(table);
  doc.SetSelectedColumns(table, {0, 2}, 0);
  Settle();
  EXPECT_EQ(view->mode(), PaneMode::column);
  EXPECT_EQ(grid().topLevelItem(0)->text(0), "Tabelle, 2 Spalten");
  EXPECT_EQ(Item("Breite (%)")->text(1), "");
  EXPECT_TRUE(Item("Spaltenbreiten gesamt (%)")->isDisabled());
  Type("Breite (%)", "20");
  EXPECT_EQ(table->ColumnAt(0)->widthPercent, 20);
  EXPECT_EQ(table->ColumnAt(1)->widthPercent, 30);
  EXPECT_EQ(table->ColumnAt(2)->widthPercent, 20);
  EXPECT_EQ(Item("Spaltenbreiten gesamt (%)")->text(1), "70");
  EXPECT_EQ(doc.history.UndoName(), "Eigenschaft Breite (%)");
}

TEST_F(Pane, ABurstOfNotificationsGivesOneRebuild) {
  QSignalSpy rebuilt(view.get(), &CPropertyView::gridRebuilt);
  for (int i = 0; i < 50; ++i) doc.UpdateAllViews(0);
  EXPECT_TRUE(view->rebuildPending());
  EXPECT_EQ(rebuilt.count(), 0);  // never inside the notification
  Settle();
  EXPECT_EQ(rebuilt.count(), 1);
  EXPECT_FALSE(view->rebuildPending());
}

// Keys typed into a cell reach the cell, not the window's shortcuts.
TEST(PaneInFrame, DeleteTypedInACellEditsTheCell) {
  QTemporaryDir dir;
  CReportApp app(dir.filePath("Veltrok.ini"));
  ASSERT_TRUE(app.InitInstance({"veltrok"}));
  CMainFrame* frame = app.mainFrame();
  frame->show();
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  CReportDoc& doc = *app.document();
  auto created = std::make_unique<CFormText>(CPoint{10, 10}, "Hallo");
  CFormText* text = created.get();
  doc.AddElement(std::move(created));  // an undo step that Ctrl+Z in the cell must not take back
  doc.ClearSelection();
  doc.SelectElement(text);
  QApplication::processEvents();

  CPropertyView* pane = frame->propertyView();
  ASSERT_NE(pane, nullptr);
  pane->grid()->setFocus();
  auto* line = OpenEditor<QLineEdit>(*pane, "Text");
  ASSERT_NE(line, nullptr);
  line->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), line);
  line->setCursorPosition(0);
  QTest::keyClick(line, Qt::Key_Delete);
  EXPECT_EQ(line->text(), "allo");
  QTest::keyClick(line, Qt::Key_Z, Qt::ControlModifier);  // undoes the typing, not the layout
  EXPECT_EQ(line->text(), "Hallo");
  line->setCursorPosition(0);
  QTest::keyClick(line, Qt::Key_Right);
  QTest::keyClick(line, Qt::Key_Delete);
  EXPECT_EQ(line->text(), "Hllo");
  EXPECT_EQ(doc.elements.GetCount(), 1);
  EXPECT_TRUE(text->selected);
  QTest::keyClick(line, Qt::Key_Return);
  Settle();
  EXPECT_EQ(text->text, "Hllo");

  // A fixed drop-down takes no text, yet Delete and Ctrl+Z typed there stay out of the layout.
  auto* combo = OpenEditor<QComboBox>(*pane, "Ausrichtung");
  ASSERT_NE(combo, nullptr);
  combo->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), combo);
  QTest::keyClick(combo, Qt::Key_Delete);
  QTest::keyClick(combo, Qt::Key_Z, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(doc.elements.GetCount(), 1);
  EXPECT_EQ(text->text, "Hllo");

  // The same key with the editor view focused deletes the selection: the shortcut itself works.
  frame->view()->setFocus();
  QApplication::processEvents();
  QTest::keyClick(frame->view(), Qt::Key_Delete);
  QApplication::processEvents();
  EXPECT_EQ(doc.elements.GetCount(), 0);
}

TEST(PropertyGridTexts, TypedColoursAndFileFilters) {
  EXPECT_EQ(CPropertyGrid::ParseColour("255; 0; 0"), QColor(255, 0, 0));
  EXPECT_EQ(CPropertyGrid::ParseColour(" 1,2 ,3 "), QColor(1, 2, 3));
  EXPECT_EQ(CPropertyGrid::ParseColour("#0a0b0c"), QColor(10, 11, 12));
  for (const char* bad : {"256; 0; 0", "1; 2", "rot", "", "-1; 0; 0", "1; 2; 3; 4"})
    EXPECT_FALSE(CPropertyGrid::ParseColour(bad).isValid()) << bad;
  EXPECT_EQ(CPropertyGrid::ColourText(QColor(15, 60, 120)), "15; 60; 120");
  EXPECT_EQ(CPropertyGrid::NameFilters("Texte|*.txt|Alle Dateien (*.*)|*.*||"),
            (QStringList{"Texte (*.txt)", "Alle Dateien (*)"}));
  EXPECT_TRUE(CPropertyGrid::NameFilters("").isEmpty());
}
