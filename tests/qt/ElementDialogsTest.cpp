// The element dialogs driven as a user drives them: fields typed into, buttons clicked, list rows
// double-clicked, and the dialogs run modally from the document through the dialog service.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/ReportApp.h"
#include "document/ReportDoc.h"
#include "model/Fonts.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "placeholders/Catalogue.h"
#include "properties/qt/DialogSupport.h"
#include "properties/qt/ImageDialog.h"
#include "properties/qt/LineDialog.h"
#include "properties/qt/QtElementDialogs.h"
#include "properties/qt/TableDialog.h"
#include "properties/qt/TextDialog.h"
#include "support/FakeServices.h"
#include "view/ViewGeometry.h"
#include "view/qt/ReportView.h"

namespace {

// Colour, font and file choosers that answer as the test says and count their calls.
class ScriptedChoosers : public DialogChoosers {
 public:
  bool ChooseColor(QWidget*, COLORREF& color) override {
    ++colorCalls;
    if (!confirm) return false;
    color = nextColor;
    return true;
  }
  bool ChooseFont(QWidget*, LOGFONTA& font, double& points) override {
    ++fontCalls;
    offeredPoints = points;
    offeredFace = FaceName(font);
    if (!confirm) return false;
    SetFaceName(font, nextFace);
    font.lfWeight = nextWeight;
    font.lfItalic = nextItalic;
    points = nextPoints;
    return true;
  }
  QString ChooseImageFile(QWidget*, const QString& current) override {
    offeredFile = current;
    return confirm ? nextFile : QString();
  }
  bool confirm = true;
  COLORREF nextColor = RGB(1, 2, 3);
  std::string nextFace = "Courier New";
  int nextWeight = 700;
  std::uint8_t nextItalic = 1;
  double nextPoints = 12.3;
  QString nextFile;
  int colorCalls = 0;
  int fontCalls = 0;
  double offeredPoints = 0;
  std::string offeredFace;
  QString offeredFile;
};

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildCatalogue();
    scope.With<SettingsStore>(&settings).With<MessageService>(&messages).With<ImageDecoder>(&images);
  }
  void TearDown() override { FreeCatalogue(); }

  // Answers the next modal dialog once it is showing.
  static void WhenDialogShows(std::function<void(QDialog*)> act) {
    QTimer::singleShot(0, [act] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      act(dialog);
    });
  }
  static void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
  }
  static QStringList Column(QTreeWidget* list, int column) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(column);
    return out;
  }
  static void DoubleClick(QTreeWidget* list, QTreeWidgetItem* item) {
    list->scrollToItem(item);
    // In the first column: the rows of a wide list reach beyond the visible part.
    const QRect r = list->visualItemRect(item);
    const QPoint at(r.left() + 20, r.center().y());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }
  static void ClickRow(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    list->scrollToItem(item);
    const QRect r = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 20, r.center().y()));
  }

  FakeSettings settings;
  FakeMessages messages;
  FakeImages images;
  ScriptedChoosers choosers;
  ScopedServices scope;
};

// ---- text ----------------------------------------------------------------------------------------

TEST_F(Dialogs, FontSummaryReadsLikeTheFontDialog) {
  LOGFONTA font = DefaultTextFont();
  const struct {
    int weight;
    std::uint8_t italic;
    double points;
    const char* expected;
  } cases[] = {
      {700, 1, 10.0, "Arial, 10 pt, Fett, Kursiv"},
      {400, 0, 10.5, "Arial, 10,5 pt"},
      {600, 0, 19.0, "Arial, 19 pt"},  // only exactly 700 is bold
      {400, 1, 9.5, "Arial, 9,5 pt, Kursiv"},
  };
  for (const auto& c : cases) {
    font.lfWeight = c.weight;
    font.lfItalic = c.italic;
    EXPECT_EQ(FontSummary(font, c.points), QString::fromUtf8(c.expected));
    TextDialogValues v;
    v.font = font;
    v.pointSize = c.points;
    CFormTextDlg dialog(v, choosers);
    EXPECT_EQ(dialog.fontSummaryField()->text(), QString::fromUtf8(c.expected));
  }
}

TEST_F(Dialogs, TextDialogOffersTextPlaceholdersAndDoubleClickReplacesTheText) {
  for (CCode& c : placeholderCatalogue())
    if (c.code == "[Name]") c.translation = "Teilnehmer";
  TextDialogValues v;
  v.text = "Ergebnis";
  v.font = DefaultTextFont();
  v.pointSize = 19;
  CFormTextDlg dialog(v, choosers);
  dialog.show();
  QTreeWidget* list = dialog.specialTexts();
  EXPECT_EQ(list->topLevelItemCount(), 84);
  const QStringList texts = Column(list, 0);
  QStringList sorted = texts;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(texts, sorted);
  EXPECT_TRUE(texts.contains("[Datum]"));
  EXPECT_FALSE(texts.contains("[Leer]"));
  EXPECT_TRUE(texts.contains("Teilnehmer"));  // translations, never the codes
  EXPECT_FALSE(texts.contains("[Name]"));
  EXPECT_EQ(list->headerItem()->text(0), "Text");
  EXPECT_EQ(list->headerItem()->text(1), QString::fromUtf8("Erklärung"));

  QTreeWidgetItem* item = list->findItems("[Titel]", Qt::MatchExactly).value(0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(1), "Der Titel der Regatta");
  Type(dialog.textField(), "angefangen");
  DoubleClick(list, item);
  EXPECT_EQ(dialog.textField()->text(), "[Titel]");
  DoubleClick(list, list->findItems("Teilnehmer", Qt::MatchExactly).value(0));
  EXPECT_EQ(dialog.textField()->text(), "Teilnehmer");

  dialog.alignmentList()->setCurrentIndex(2);
  QTest::mouseClick(dialog.colorButton(), Qt::LeftButton);
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.values().text, "Teilnehmer");
  EXPECT_EQ(dialog.values().alignment, 2);
  EXPECT_EQ(dialog.values().color, RGB(1, 2, 3));
  EXPECT_FALSE(dialog.values().fontChosen);
}

TEST_F(Dialogs, ChosenFontRoundsToHalfPointsAndReplacesTheHeight) {
  CFormText text(CPoint{10, 10}, "Text");
  text.font.lfHeight = PointsToFontHeight(10.5);
  QtElementDialogs service(&choosers);
  scope.With<ElementDialogService>(&service);
  WhenDialogShows([](QDialog* d) {
    auto* dialog = qobject_cast<CFormTextDlg*>(d);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->fontSummaryField()->text(), "Arial, 10,5 pt");
    QTest::mouseClick(dialog->fontButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->fontSummaryField()->text(), "Courier New, 12,5 pt, Fett, Kursiv");
    dialog->accept();
  });
  ASSERT_TRUE(text.EditInDialog());
  EXPECT_DOUBLE_EQ(choosers.offeredPoints, 10.5);
  EXPECT_EQ(choosers.offeredFace, "Arial");
  EXPECT_EQ(FaceName(text.font), "Courier New");
  EXPECT_EQ(text.font.lfWeight, 700);
  EXPECT_EQ(text.font.lfHeight, PointsToFontHeight(12.5));
}

TEST_F(Dialogs, StandardFontChooserKeepsTheFaceNameWhenTheFaceIsLeftAlone) {
  LOGFONTA font = DefaultTextFont();
  font.lfItalic = 1;
  double points = 10.5;
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->accept();
  });
  ASSERT_TRUE(StandardChoosers().ChooseFont(nullptr, font, points));
  // "Arial" is shown as the face that stands in for it and must not come back as that face.
  EXPECT_EQ(FaceName(font), "Arial");
  EXPECT_DOUBLE_EQ(points, 10.5);
  EXPECT_EQ(font.lfItalic, 1);
  EXPECT_EQ(font.lfWeight, 400);

  // What the user does pick is taken.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    QFont other("Liberation Serif");
    other.setPointSize(14);
    other.setBold(true);
    dialog->setCurrentFont(other);
    dialog->accept();
  });
  ASSERT_TRUE(StandardChoosers().ChooseFont(nullptr, font, points));
  EXPECT_EQ(FaceName(font), "Liberation Serif");
  EXPECT_DOUBLE_EQ(points, 14);
  EXPECT_EQ(font.lfWeight, 700);
}

TEST_F(Dialogs, TextWithLineBreaksSurvivesTheDialogUntouched) {
  TextDialogValues v;
  v.text = "Ergebnis\r\nliste";
  v.font = DefaultTextFont();
  CFormTextDlg dialog(v, choosers);
  dialog.accept();
  EXPECT_EQ(dialog.values().text, "Ergebnis\r\nliste");
}

// The widgets that Tab reaches, in the order it reaches them.
std::vector<QWidget*> TabChain(QDialog* dialog) {
  std::vector<QWidget*> chain;
  for (QWidget* w = dialog->nextInFocusChain(); w && w != dialog; w = w->nextInFocusChain())
    if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisibleTo(dialog)) chain.push_back(w);
  return chain;
}

// True when `expected` appear in the chain in this order (other widgets may lie between).
bool InTabOrder(QDialog* dialog, std::initializer_list<QWidget*> expected) {
  const std::vector<QWidget*> chain = TabChain(dialog);
  auto at = chain.begin();
  for (QWidget* w : expected) {
    at = std::find(at, chain.end(), w);
    if (at == chain.end()) return false;
  }
  return true;
}

TEST_F(Dialogs, TabGoesThroughTheFieldsTopDown) {
  TextDialogValues tv;
  CFormTextDlg text(tv, choosers);
  text.show();
  EXPECT_TRUE(InTabOrder(&text, {text.textField(), text.fontButton(), text.alignmentList(),
                                 text.colorButton(), text.specialTexts()}));
  EXPECT_FALSE(InTabOrder(&text, {text.fontSummaryField()}));  // read only: Tab skips it
  LineDialogValues lv;
  CFormLineDlg line(lv, choosers);
  line.show();
  EXPECT_TRUE(InTabOrder(&line, {line.startX(), line.startY(), line.endX(), line.endY(), line.colorButton()}));
  ImageDialogValues iv;
  iv.pixelWidth = iv.pixelHeight = 10;
  CFormImageDlg image(iv, choosers);
  image.show();
  EXPECT_TRUE(InTabOrder(&image, {image.fileField(), image.browseButton(), image.displayWidthField(),
                                  image.displayHeightField(), image.widthPercentField(),
                                  image.heightPercentField(), image.helperBox()}));
  CFormTable table(CPoint{0, 0});
  table.AppendColumn(CFormTableEntry());
  table.AppendColumn(CFormTableEntry());
  CFormTableDlg tableDialog(table, choosers);
  tableDialog.show();
  EXPECT_TRUE(InTabOrder(&tableDialog, {tableDialog.columnList(), tableDialog.newButton(),
                                        tableDialog.deleteButton(), tableDialog.backButton(),
                                        tableDialog.widthField(), tableDialog.alignmentList(),
                                        tableDialog.fontButton(), tableDialog.colorButton(),
                                        tableDialog.twoColourBox(), tableDialog.frameBox()}));
}

// ---- editing through the document --------------------------------------------------------------

TEST_F(Dialogs, DoubleClickEditingMakesOneStepOnOkAndNoneOnCancel) {
  QtElementDialogs service(&choosers);
  scope.With<ElementDialogService>(&service);
  CReportDoc doc;
  doc.OnNewDocument();
  doc.AddElement(std::make_unique<CFormLine>());
  auto* line = static_cast<CFormLine*>(doc.elements.At(0));
  line->from = {10, 20};
  line->to = {30, 40};
  doc.SelectElement(line);
  const std::size_t steps = doc.history.UndoCount();

  // Cancel after typing: nothing changes, no step.
  WhenDialogShows([](QDialog* d) {
    auto* dialog = qobject_cast<CFormLineDlg*>(d);
    ASSERT_NE(dialog, nullptr);
    Type(dialog->startX(), "99");
    dialog->reject();
  });
  doc.EditSelectedElement();
  EXPECT_EQ(doc.history.UndoCount(), steps);
  EXPECT_EQ(line->from, (CPoint{10, 20}));

  // OK without changes: still one "Eigenschaften" step.
  WhenDialogShows([](QDialog* d) { d->accept(); });
  doc.EditSelectedElement();
  EXPECT_EQ(doc.history.UndoCount(), steps + 1);
  EXPECT_EQ(doc.history.UndoName(), "Eigenschaften");

  // A bad coordinate is refused with the message; corrected, OK takes all four and the colour.
  WhenDialogShows([this](QDialog* d) {
    auto* dialog = qobject_cast<CFormLineDlg*>(d);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->endY()->text(), "40");
    Type(dialog->startX(), "1x");
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Geben Sie eine ganze Zahl ein."});
    EXPECT_EQ(dialog->focusWidget(), dialog->startX());
    Type(dialog->startX(), "-5");
    Type(dialog->endY(), " 400 ");
    QTest::mouseClick(dialog->colorButton(), Qt::LeftButton);
    dialog->accept();
  });
  doc.EditSelectedElement();
  ASSERT_EQ(doc.history.UndoCount(), steps + 2);
  line = static_cast<CFormLine*>(doc.elements.At(0));
  EXPECT_EQ(line->from, (CPoint{-5, 20}));
  EXPECT_EQ(line->to, (CPoint{30, 400}));
  EXPECT_EQ(line->color, RGB(1, 2, 3));
  doc.Undo();
  EXPECT_EQ(static_cast<CFormLine*>(doc.elements.At(0))->from, (CPoint{10, 20}));
}

// ---- image -----------------------------------------------------------------------------------------

TEST_F(Dialogs, ImageSizesAndPercentagesFollowEachOtherWhileTyping) {
  ImageDialogValues v;
  v.fileName = "/bilder/logo.png";
  v.pixelWidth = 400;
  v.pixelHeight = 300;
  v.displayWidth = 200;
  v.displayHeight = 150;
  CFormImageDlg dialog(v, choosers);
  dialog.show();
  EXPECT_EQ(dialog.pixelWidthField()->text(), "400");
  EXPECT_EQ(dialog.pixelHeightField()->text(), "300");
  EXPECT_TRUE(dialog.pixelWidthField()->isReadOnly());
  EXPECT_EQ(dialog.widthPercentField()->text(), "50,00");
  EXPECT_EQ(dialog.heightPercentField()->text(), "50,00");

  Type(dialog.widthPercentField(), "25");
  EXPECT_EQ(dialog.widthPercentField()->text(), "25");  // not rewritten while typing
  EXPECT_EQ(dialog.displayWidthField()->text(), "100");
  EXPECT_EQ(dialog.displayHeightField()->text(), "150");

  Type(dialog.heightPercentField(), "33,3");
  EXPECT_EQ(dialog.displayHeightField()->text(), "100");  // 300 × 0.333 = 99.9
  Type(dialog.displayWidthField(), "300");
  EXPECT_EQ(dialog.displayWidthField()->text(), "300");
  EXPECT_EQ(dialog.widthPercentField()->text(), "75,00");
  EXPECT_EQ(dialog.heightPercentField()->text(), "33,33");

  // The file chooser starts at the current path and replaces it; the bitmap size stays.
  choosers.nextFile = "/bilder/neu.bmp";
  QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
  EXPECT_EQ(choosers.offeredFile, "/bilder/logo.png");
  EXPECT_EQ(dialog.fileField()->text(), "/bilder/neu.bmp");
  EXPECT_EQ(dialog.pixelWidthField()->text(), "400");

  QTest::mouseClick(dialog.helperBox(), Qt::LeftButton);
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.values().fileName, "/bilder/neu.bmp");
  EXPECT_EQ(dialog.values().displayWidth, 300);
  EXPECT_EQ(dialog.values().displayHeight, 100);
  EXPECT_TRUE(dialog.values().helper);
}

TEST_F(Dialogs, ImagePercentagesReadLeniently) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"50,00", 50}, {"12.5", 12.5}, {" 7,25 %", 7.25}, {"1,2,3", 1.2}, {"", 0},
               {"abc", 0}, {"-10", -10}, {"1e400", 1}, {",5", 0.5}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(CFormImageDlg::ParsePercent(c.text), c.value) << c.text;
}

TEST_F(Dialogs, ImageWithoutBitmapOffersNoPercentagesAndRefusesBadSizes) {
  ImageDialogValues v;
  v.displayWidth = 50;
  v.displayHeight = 50;
  CFormImageDlg dialog(v, choosers);
  dialog.show();
  EXPECT_FALSE(dialog.widthPercentField()->isEnabled());
  EXPECT_FALSE(dialog.heightPercentField()->isEnabled());
  Type(dialog.displayHeightField(), "viel");
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Geben Sie eine ganze Zahl ein."});
  EXPECT_EQ(dialog.displayWidthField()->text(), "50");
}

TEST_F(Dialogs, ImageElementTakesTheDialogsSizeAndWarnsAboutUnreadablePictures) {
  images.Add("/bilder/a.png", 400, 300);
  CFormImage image(CPoint{0, 0}, "/bilder/a.png");
  ASSERT_TRUE(image.HasPicture());
  QtElementDialogs service(&choosers);
  scope.With<ElementDialogService>(&service);

  WhenDialogShows([](QDialog* d) {
    auto* dialog = qobject_cast<CFormImageDlg*>(d);
    ASSERT_NE(dialog, nullptr);
    Type(dialog->widthPercentField(), "10");
    dialog->accept();
  });
  ASSERT_TRUE(image.EditInDialog());
  EXPECT_EQ(image.width, 40);

  WhenDialogShows([](QDialog* d) {
    auto* dialog = qobject_cast<CFormImageDlg*>(d);
    ASSERT_NE(dialog, nullptr);
    Type(dialog->fileField(), "/bilder/fehlt.png");
    Type(dialog->displayWidthField(), "70");
    dialog->accept();
  });
  ASSERT_TRUE(image.EditInDialog());
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Das Bild konnte nicht geladen werden."});
  EXPECT_EQ(image.fileName, "/bilder/a.png");
  EXPECT_EQ(image.width, 70);
}

// ---- table -----------------------------------------------------------------------------------------

CFormTableEntry MakeColumn(const std::string& name, int width, int alignment) {
  CFormTableEntry c;
  c.name = name;
  c.widthPercent = width;
  c.alignment = alignment;
  return c;
}

TEST_F(Dialogs, TableColumnsMoveForwardAndBackWithTheButtonsEnabledAsTheyCan) {
  CFormTable table(CPoint{0, 0});
  table.AppendColumn(MakeColumn("[Rang]", 10, 2));
  table.AppendColumn(MakeColumn("[Name]", 50, 0));
  table.AppendColumn(MakeColumn("[Punkte]", 20, 1));
  CFormTableDlg dialog(table, choosers);
  dialog.show();
  QTreeWidget* list = dialog.columnList();
  EXPECT_EQ(Column(list, 0), (QStringList{"[Rang]", "[Name]", "[Punkte]"}));
  EXPECT_EQ(Column(list, 1), (QStringList{"10", "50", "20"}));
  EXPECT_EQ(Column(list, 2), (QStringList{"rechts", "links", "zentriert"}));

  // Row 0 starts selected: nothing to move it forward over.
  EXPECT_TRUE(list->topLevelItem(0)->isSelected());
  EXPECT_EQ(dialog.nameList()->currentText(), "[Rang]");
  // The drop-down opens on the column's own entry.
  EXPECT_EQ(dialog.nameList()->currentIndex(), dialog.nameList()->findText("[Rang]"));
  EXPECT_FALSE(dialog.forwardButton()->isEnabled());
  EXPECT_TRUE(dialog.backButton()->isEnabled());
  ClickRow(list, 2);
  EXPECT_EQ(dialog.widthField()->text(), "20");
  EXPECT_EQ(dialog.alignmentList()->currentText(), "zentriert");
  EXPECT_TRUE(dialog.forwardButton()->isEnabled());
  EXPECT_FALSE(dialog.backButton()->isEnabled());

  ClickRow(list, 1);
  QTest::mouseClick(dialog.forwardButton(), Qt::LeftButton);
  EXPECT_EQ(Column(list, 0), (QStringList{"[Name]", "[Rang]", "[Punkte]"}));
  EXPECT_TRUE(list->topLevelItem(0)->isSelected());
  EXPECT_EQ(dialog.nameList()->currentText(), "[Name]");
  EXPECT_FALSE(dialog.forwardButton()->isEnabled());
  QTest::mouseClick(dialog.backButton(), Qt::LeftButton);
  QTest::mouseClick(dialog.backButton(), Qt::LeftButton);
  EXPECT_EQ(Column(list, 0), (QStringList{"[Rang]", "[Punkte]", "[Name]"}));
  EXPECT_TRUE(list->topLevelItem(2)->isSelected());
  EXPECT_FALSE(dialog.backButton()->isEnabled());
  EXPECT_EQ(table.columns.back().name, "[Name]");
  EXPECT_EQ(table.columns.back().widthPercent, 50);

  // Deleting leaves no row selected and the column controls disabled.
  QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
  EXPECT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(table.columns.size(), 2u);
  EXPECT_TRUE(list->selectedItems().isEmpty());
  for (QWidget* w : std::initializer_list<QWidget*>{dialog.deleteButton(), dialog.forwardButton(),
                                                    dialog.backButton(), dialog.nameList(),
                                                    dialog.widthField(), dialog.alignmentList()})
    EXPECT_FALSE(w->isEnabled()) << w->metaObject()->className();
  EXPECT_TRUE(dialog.fontButton()->isEnabled());
  QTest::mouseClick(dialog.colorButton(), Qt::LeftButton);
  EXPECT_EQ(choosers.colorCalls, 0);  // no column to colour
}

TEST_F(Dialogs, TableColumnEditsShowTheNamesDescriptionAndCheckTheWidth) {
  for (CCode& c : placeholderCatalogue())
    if (c.code == "[Name]") c.translation = "Teilnehmer";
  CFormTable table(CPoint{0, 0});
  CFormTableDlg dialog(table, choosers);
  dialog.show();
  EXPECT_EQ(dialog.columnList()->topLevelItemCount(), 0);
  EXPECT_FALSE(dialog.deleteButton()->isEnabled());
  QComboBox* names = dialog.nameList();
  EXPECT_EQ(names->count(), 60);
  EXPECT_GE(names->findText("[Leer]"), 0);
  EXPECT_LT(names->findText("[Datum]"), 0);
  EXPECT_GE(names->findText("Teilnehmer"), 0);

  QTest::mouseClick(dialog.newButton(), Qt::LeftButton);
  ASSERT_EQ(table.columns.size(), 1u);
  EXPECT_EQ(Column(dialog.columnList(), 1), QStringList{"10"});
  EXPECT_EQ(Column(dialog.columnList(), 2), QStringList{"links"});
  EXPECT_EQ(dialog.widthField()->text(), "10");
  EXPECT_TRUE(dialog.focusWidget() == names || dialog.focusWidget() == names->lineEdit());

  // Picking a name from the list takes it and shows its description.
  names->setCurrentIndex(names->findText("Teilnehmer"));
  EXPECT_EQ(table.columns.front().name, "Teilnehmer");
  EXPECT_EQ(dialog.descriptionField()->toPlainText(),
            "Der vollständige Name eines Teilnehmers (Familienname Vorname)");
  // A name of one's own has no description.
  names->lineEdit()->selectAll();
  QTest::keyClicks(names->lineEdit(), "Platz: [Rang]");
  EXPECT_EQ(table.columns.front().name, "Platz: [Rang]");
  EXPECT_EQ(dialog.descriptionField()->toPlainText(), "");
  EXPECT_EQ(Column(dialog.columnList(), 0), QStringList{"Platz: [Rang]"});

  Type(dialog.widthField(), "35");
  EXPECT_EQ(table.columns.front().widthPercent, 35);
  EXPECT_EQ(Column(dialog.columnList(), 1), QStringList{"35"});
  dialog.alignmentList()->setFocus();
  QTest::keyClick(dialog.alignmentList(), Qt::Key_Down);
  EXPECT_EQ(table.columns.front().alignment, 1);

  // Font and colour of the selected column.
  choosers.nextPoints = 11.25;
  QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(choosers.offeredPoints, 9.5);
  EXPECT_EQ(table.columns.front().font.lfHeight, PointsToFontHeight(11.25));
  EXPECT_EQ(FaceName(table.columns.front().font), "Courier New");
  choosers.confirm = false;
  QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
  EXPECT_EQ(table.columns.front().font.lfHeight, PointsToFontHeight(11.25));
  choosers.confirm = true;
  QTest::mouseClick(dialog.colorButton(), Qt::LeftButton);
  EXPECT_EQ(table.columns.front().color, RGB(1, 2, 3));

  // Typing 150: the 15 on the way is taken, the 150 is not, and OK refuses it.
  Type(dialog.widthField(), "150");
  EXPECT_EQ(table.columns.front().widthPercent, 15);
  EXPECT_EQ(Column(dialog.columnList(), 1), QStringList{"15"});
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Geben Sie eine ganze Zahl zwischen 0 und 100 ein."});
  EXPECT_EQ(settings.writes, 0);

  Type(dialog.widthField(), "100");
  dialog.columnList()->setColumnWidth(0, 123);
  QTest::mouseClick(dialog.twoColourBox(), Qt::LeftButton);
  QTest::mouseClick(dialog.frameBox(), Qt::LeftButton);
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(table.columns.front().widthPercent, 100);
  EXPECT_TRUE(table.twoColour);
  EXPECT_TRUE(table.frame);
  EXPECT_EQ(table.maxFontHeight, -PointsToFontHeight(11.25));
  EXPECT_EQ(settings.values["Tabelle/Col0"], "123");
  EXPECT_EQ(settings.values.count("Tabelle/Col1"), 1u);
  EXPECT_EQ(settings.values.count("Tabelle/Col2"), 1u);

  // The widths come back in the next dialog.
  CFormTableDlg again(table, choosers);
  EXPECT_EQ(again.columnList()->columnWidth(0), 123);
}

TEST_F(Dialogs, CancelledTableDialogLeavesTheTableAsItWas) {
  CFormTable table(CPoint{5, 5});
  table.AppendColumn(MakeColumn("[Rang]", 10, 0));
  const auto before = table.Clone();
  QtElementDialogs service(&choosers);
  scope.With<ElementDialogService>(&service);
  WhenDialogShows([](QDialog* d) {
    auto* dialog = qobject_cast<CFormTableDlg*>(d);
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->newButton(), Qt::LeftButton);
    Type(dialog->widthField(), "40");
    QTest::mouseClick(dialog->frameBox(), Qt::LeftButton);
    dialog->reject();
  });
  EXPECT_FALSE(table.EditInDialog());
  ASSERT_EQ(table.columns.size(), 1u);
  EXPECT_EQ(table.columns, static_cast<CFormTable&>(*before).columns);
  EXPECT_FALSE(table.frame);
}

// ---- in the running editor ------------------------------------------------------------------------

class EditorDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    app = std::make_unique<CReportApp>(dir.filePath("Veltrok.ini"));
    ASSERT_TRUE(app->InitInstance({"veltrok"}));
    QApplication::processEvents();
  }
  // Presses and releases (or double-clicks) the left button at a page point of the editor.
  void Mouse(CPoint page, std::initializer_list<QEvent::Type> types) {
    CReportView* view = app->mainFrame()->view();
    const CPoint w = PageToWindow(view->ScreenMapper(), page, view->ScrollPosition(), view->PageOrigin());
    const QPointF at(w.x, w.y);
    for (QEvent::Type type : types) {
      QMouseEvent e(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(view->viewport(), &e);
    }
  }
  CReportDoc& doc() { return *app->document(); }

  QTemporaryDir dir;
  std::unique_ptr<CReportApp> app;
};

TEST_F(EditorDialogs, TextToolClickOpensTheTextDialogWithText) {
  // Cancelled: no element and no step.
  ASSERT_TRUE(app->mainFrame()->commands().Trigger(cmd::toolText));
  QString shown;
  QWidget* frame = app->mainFrame();
  QTimer::singleShot(0, [&shown, frame] {
    auto* dialog = qobject_cast<CFormTextDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    shown = dialog->textField()->text();
    EXPECT_EQ(dialog->windowTitle(), "Text");
    EXPECT_EQ(dialog->parentWidget(), frame);
    dialog->reject();
  });
  Mouse({100, 100}, {QEvent::MouseButtonPress, QEvent::MouseButtonRelease});
  EXPECT_EQ(shown, "Text");
  EXPECT_EQ(doc().elements.GetCount(), 0);
  EXPECT_FALSE(doc().history.CanUndo());
  EXPECT_TRUE(doc().IsCurrentTool(CReportDoc::selectToolSlot));

  // Confirmed with a placeholder from the list: one "Einfügen" step.
  ASSERT_TRUE(app->mainFrame()->commands().Trigger(cmd::toolText));
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CFormTextDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->textField()->setText("[Titel]");
    dialog->accept();
  });
  Mouse({100, 100}, {QEvent::MouseButtonPress, QEvent::MouseButtonRelease});
  ASSERT_EQ(doc().elements.GetCount(), 1);
  EXPECT_EQ(static_cast<CFormText*>(doc().elements.At(0))->text, "[Titel]");
  EXPECT_EQ(doc().history.UndoCount(), 1u);
  EXPECT_EQ(doc().history.UndoName(), "Einfügen");
}

TEST_F(EditorDialogs, DoubleClickOnTheSelectedLineOpensItsDialog) {
  doc().AddElement(std::make_unique<CFormLine>(CPoint{100, 100}, CPoint{300, 100}));
  doc().SelectElement(doc().elements.At(0));
  const std::size_t steps = doc().history.UndoCount();
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CFormLineDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->startX()->text(), "100");
    dialog->endX()->setText("250");
    dialog->accept();
  });
  Mouse({200, 100}, {QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease});
  ASSERT_EQ(doc().history.UndoCount(), steps + 1);
  EXPECT_EQ(doc().history.UndoName(), "Eigenschaften");
  EXPECT_EQ(static_cast<CFormLine*>(doc().elements.At(0))->to, (CPoint{250, 100}));
}

}  // namespace
