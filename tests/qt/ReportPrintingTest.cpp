// Printing from the editor on the offscreen platform: the page settings reach the printer, the page
// is printed once with the sample data and without helper images, the document stays untouched;
// the preview shows one page; huge pictures reach the printer in bands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <sstream>

#include "app/ReportApp.h"
#include "document/ReportDoc.h"
#include "model/FormImage.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "platform/qt/QtDeviceContext.h"
#include "support/FakeServices.h"
#include "support/LayoutFixtures.h"
#include "support/Tools.h"
#include "view/qt/ReportPrinting.h"
#include "view/qt/ReportView.h"

namespace {

const LocalTimeSource kNinthDecember = [] { return std::optional<LocalTime>(LocalTime{2026, 12, 9, 8, 5}); };

class AnsweringPrinting : public CReportPrinting {
 public:
  using CReportPrinting::CReportPrinting;
  bool RunPrintDialog() override {
    ++dialogs;
    return answer;
  }
  using CReportPrinting::RunPreviewDialog;
  bool answer = true;
  int dialogs = 0;
};

class ReportPrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    scope.With<SettingsStore>(&settings).With<MessageService>(&messages);
    doc = std::make_unique<CReportDoc>();
    doc->elements.Append(ShadedPicture(10, 20, 40, 40, 8, 8, 0x20, true));  // shown on screen, never printed
    doc->elements.Append(ShadedPicture(300, 20, 40, 40, 8, 8, 0xC0));
    doc->elements.Append(std::make_unique<CFormText>(CPoint{100, 100}, "Lauf [Laufnr] von [Titel]"));
    auto* table = Add(doc->elements, std::make_unique<CFormTable>(CPoint{20, 150}));
    table->width = 400;
    table->height = 200;
    CFormTableEntry rank;
    rank.name = "[Rang] [Name]";
    rank.widthPercent = 100;
    table->AppendColumn(rank);
    view = std::make_unique<CReportView>(*doc, nullptr);
    view->resize(800, 600);
    printing = std::make_unique<AnsweringPrinting>(*doc, *view, nullptr);
    printing->clock = kNinthDecember;
    printing->Printer().setOutputFormat(QPrinter::PdfFormat);
    printing->Printer().setOutputFileName(Pdf());
  }
  void TearDown() override {
    printing.reset();
    view.reset();
    doc.reset();
  }
  QString Pdf() const { return dir.filePath("druck.pdf"); }
  // Puts the layout into the given page settings as a freshly opened layout would have them.
  void Settings(bool portrait, int duplexMode) {
    doc->elements.portrait = portrait;
    doc->elements.duplexMode = duplexMode;
    view->OnInitialUpdate();
  }

  QTemporaryDir dir;
  FakeSettings settings;
  FakeMessages messages;
  ScopedServices scope;
  std::unique_ptr<CReportDoc> doc;
  std::unique_ptr<CReportView> view;
  std::unique_ptr<AnsweringPrinting> printing;
};

TEST(PrinterSettings, DuplexModesBindOnTheSameSheetEdgeInBothOrientations) {
  const struct {
    int mode;
    bool portrait;
    std::optional<QPrinter::DuplexMode> qt;
  } cases[] = {
      {0, true, std::nullopt},  {0, false, std::nullopt},
      {1, true, QPrinter::DuplexNone}, {1, false, QPrinter::DuplexNone},
      {2, true, QPrinter::DuplexLongSide}, {2, false, QPrinter::DuplexLongSide},
      {3, true, QPrinter::DuplexShortSide}, {3, false, QPrinter::DuplexShortSide},
  };
  for (const auto& c : cases)
    EXPECT_EQ(QtDuplexFor(c.mode, c.portrait), c.qt) << "mode " << c.mode << (c.portrait ? " portrait" : " landscape");
}

TEST_F(ReportPrintingTest, PrintAppliesThePageSettingsAndPrintsOnePageWithoutHelperImages) {
  Settings(false, 2);
  printing->Printer().setCopyCount(3);
  printing->Printer().setPageOrientation(QPageLayout::Portrait);
  printing->Print();
  EXPECT_EQ(printing->dialogs, 1);
  EXPECT_EQ(printing->Printer().copyCount(), 1);
  EXPECT_EQ(printing->Printer().pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_TRUE(messages.shown.empty());

  // The mapper was fitted to the printable area in the page units shown.
  const CPageMapper& m = printing->PrintMapper();
  EXPECT_EQ(m.pageWidth, 705);
  EXPECT_EQ(m.pageHeight, 500);
  EXPECT_EQ(m.availableWidth, printing->Printer().width());
  EXPECT_EQ(m.availableHeight, printing->Printer().height());
  const CPoint page = m.ToDevice(705, 500);
  EXPECT_TRUE(page.x == m.availableWidth || page.y == m.availableHeight);
  EXPECT_EQ(view->ScreenMapper().availableWidth < 2000, true);  // the screen's fit is untouched

  const std::string file = Pdf().toStdString();
  const std::string info = RunTool("pdfinfo " + file);
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
  const std::string text = RunTool("pdftotext -layout " + file + " -");
  EXPECT_NE(text.find("Lauf 5 von Testregatta"), std::string::npos) << text;
  EXPECT_NE(text.find("1 TestName"), std::string::npos) << text;
  EXPECT_NE(text.find("20 TestName"), std::string::npos) << text;
  EXPECT_EQ(text.find("[Rang]"), std::string::npos) << text;
  // One picture: the helper image stays out even while it is shown on screen.
  ASSERT_TRUE(doc->elements.showHelperImages);
  const std::string images = RunTool("pdfimages -list " + file);
  int pictures = 0;
  std::istringstream lines(images);
  for (std::string line; std::getline(lines, line);)
    if (line.find(" image ") != std::string::npos) ++pictures;
  EXPECT_EQ(pictures, 1) << images;

  // Printing changed nothing of the document.
  EXPECT_FALSE(doc->IsModified());
  EXPECT_FALSE(doc->history.CanUndo());
  EXPECT_EQ(doc->elements.GetCount(), 4);
}

TEST_F(ReportPrintingTest, CancelledDialogPrintsNothingAndPortraitKeepsPortrait) {
  Settings(true, 0);
  printing->answer = false;
  printing->Print();
  EXPECT_EQ(printing->dialogs, 1);
  EXPECT_FALSE(QFile::exists(Pdf()));
  EXPECT_EQ(printing->Printer().pageLayout().orientation(), QPageLayout::Portrait);

  printing->answer = true;
  printing->Print();
  EXPECT_TRUE(QFile::exists(Pdf()));
  EXPECT_EQ(printing->PrintMapper().pageWidth, 500);
}

TEST_F(ReportPrintingTest, DirectPrintNeedsNoDialogAndReportsAnUnknownPrinter) {
  Settings(true, 1);
  EXPECT_TRUE(printing->PrintDirect());
  EXPECT_EQ(printing->dialogs, 0);
  EXPECT_TRUE(QFile::exists(Pdf()));
  QFile::remove(Pdf());

  EXPECT_FALSE(printing->PrintDirect("Nirgendwo"));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Der Drucker „Nirgendwo“ wurde nicht gefunden."});
  EXPECT_FALSE(QFile::exists(Pdf()));

  // Nowhere to print to: no printer installed and no file named.
  printing->Printer().setOutputFileName({});
  printing->Printer().setOutputFormat(QPrinter::PdfFormat);
  EXPECT_FALSE(printing->PrintDirect());
  EXPECT_EQ(messages.shown.back(), "Es ist kein Drucker eingerichtet.");
}

TEST_F(ReportPrintingTest, PreviewShowsExactlyOnePage) {
  Settings(false, 0);
  int pages = -1;
  QString title;
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(w); dialog && dialog->isVisible()) {
        if (auto* preview = dialog->findChild<QPrintPreviewWidget*>()) pages = preview->pageCount();
        title = dialog->windowTitle();
        dialog->reject();
      }
    }
  });
  printing->Preview();
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(title, "Seitenansicht");
  EXPECT_EQ(printing->PrintMapper().pageWidth, 705);
  EXPECT_FALSE(doc->IsModified());
}

// ---- pictures reach printers in bands ----------------------------------------------------------

// A paint engine without raster operations, like a printer's, that notes the pictures it gets.
class RecordingEngine : public QPaintEngine {
 public:
  RecordingEngine() : QPaintEngine(QPaintEngine::PaintEngineFeatures(QPaintEngine::AllFeatures) & ~QPaintEngine::PaintEngineFeatures(QPaintEngine::RasterOpModes)) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawImage(const QRectF& r, const QImage& image, const QRectF&, Qt::ImageConversionFlags) override {
    sizes.push_back(image.size());
    targets.push_back(painter()->transform().mapRect(r));
  }
  Type type() const override { return QPaintEngine::User; }
  std::vector<QSize> sizes;
  std::vector<QRectF> targets;
};

class RecordingDevice : public QPaintDevice {
 public:
  QPaintEngine* paintEngine() const override { return &engine; }
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return 4000;
      case PdmHeight: return 4000;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return 1200;
      case PdmDepth: return 32;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
      default: return 0;
    }
  }
  mutable RecordingEngine engine;
};

TEST(PrintedPictures, LargePicturesArriveInBandsThatCoverEveryRow) {
  const int w = 3000;
  const int h = 1000;  // three million pixels: three bands
  std::vector<std::uint8_t> dib = BuildDib(w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3, 0x7F));
  RecordingDevice device;
  {
    QtDeviceContext dc(&device);
    ASSERT_TRUE(dc.IsActive());
    dc.StretchDib(CRect(100, 200, 100 + w, 200 + h), dib.data(), 40, dib.data() + 40, dib.size() - 40);
  }
  const auto& sizes = device.engine.sizes;
  ASSERT_GE(sizes.size(), 3u);
  int rows = 0;
  for (const QSize& s : sizes) {
    EXPECT_EQ(s.width(), w);
    EXPECT_LE(static_cast<long long>(s.width()) * (s.height() - 1), QtDeviceContext::kPrintBandPixels);
    rows += s.height() - 1;
  }
  EXPECT_GE(rows + 1, h);  // every row, with one row of overlap between neighbours
  // Together the bands cover exactly the destination.
  QRectF covered;
  for (const QRectF& r : device.engine.targets) covered = covered.united(r);
  EXPECT_EQ(covered.toRect(), QRect(100, 200, w, h));
}

TEST(PrintedPictures, PdfFilesGetBandsOfLosslessPixelsToo) {
  // The PDF writer keeps what it is given and converts it whole: a band at a time keeps a large
  // picture from being copied at full size.
  QTemporaryDir dir;
  CFormElementPtrList list;
  list.Append(ShadedPicture(10, 10, 480, 160, 3000, 1000, 0x55));
  const QString pdf = dir.filePath("bild.pdf");
  ASSERT_TRUE(WriteLayoutPdf(list, pdf, kNinthDecember));
  const std::string images = RunTool("pdfimages -list " + pdf.toStdString());
  std::istringstream lines(images);
  int bands = 0;
  int rows = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.find(" image ") == std::string::npos) continue;
    int page = 0, num = 0, width = 0, height = 0;
    char type[16] = {};
    ASSERT_EQ(std::sscanf(line.c_str(), "%d %d %15s %d %d", &page, &num, type, &width, &height), 5) << line;
    EXPECT_EQ(width, 3000);
    EXPECT_LE(width * (height - 1), QtDeviceContext::kPrintBandPixels);
    EXPECT_EQ(line.find("jpeg"), std::string::npos) << line;
    rows += height - 1;
    ++bands;
  }
  EXPECT_GE(bands, 3) << images;
  EXPECT_GE(rows + 1, 1000);
}

TEST(CommandLine, PrintSwitchesNameTheFileAndThePrinter) {
  using A = CommandLineInfo::Action;
  const struct {
    QStringList args;
    std::optional<A> action;
    QString file, printer;
  } cases[] = {
      {{}, A::open, "", ""},
      {{"liste.rep"}, A::open, "liste.rep", ""},
      {{"/p", "liste.rep"}, A::print, "liste.rep", ""},
      {{"-P", "liste.rep"}, A::print, "liste.rep", ""},
      {{"/pt", "liste.rep", "Büro"}, A::printTo, "liste.rep", "Büro"},
      {{"-pt", "liste.rep", "Büro", "treiber", "port"}, A::printTo, "liste.rep", "Büro"},
      {{"/p"}, std::nullopt, "", ""},
      {{"/p", "a.rep", "b.rep"}, std::nullopt, "", ""},
      {{"/pt", "liste.rep"}, std::nullopt, "", ""},
  };
  for (const auto& c : cases) {
    const auto info = CommandLineInfo::Parse(c.args);
    SCOPED_TRACE(c.args.join(' ').toStdString());
    ASSERT_EQ(info.has_value(), c.action.has_value());
    if (!info) continue;
    EXPECT_EQ(info->action, *c.action);
    EXPECT_EQ(info->file, c.file);
    EXPECT_EQ(info->printer, c.printer);
  }
}

}  // namespace
