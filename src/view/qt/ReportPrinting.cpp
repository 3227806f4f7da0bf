#include "view/qt/ReportPrinting.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include "document/ReportDoc.h"
#include "platform/Services.h"
#include "platform/qt/QtDeviceContext.h"
#include "view/PrintPage.h"
#include "view/PrintSettings.h"
#include "view/qt/ReportView.h"

namespace {

// The unprintable border of a typical printer, also given to PDF files so that they print alike.
constexpr double kSheetMarginPoints = 10.0;

QPrinter::DuplexMode ToQt(PhysicalDuplex side) {
  switch (side) {
    case PhysicalDuplex::longSide: return QPrinter::DuplexLongSide;
    case PhysicalDuplex::shortSide: return QPrinter::DuplexShortSide;
    case PhysicalDuplex::none: break;
  }
  return QPrinter::DuplexNone;
}

// Whether a job would go anywhere: a printer, or a file the user named. Without any printer
// installed, Qt's printer falls back to writing a PDF file of no name.
bool HasDestination(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) return !printer.outputFileName().isEmpty();
  return !printer.printerName().isEmpty();
}

void Report(const QString& text) {
  services().Messages().Show(text.toStdString(), MessageIcon::exclamation, MessageButtons::ok);
}

}  // namespace

std::optional<QPrinter::DuplexMode> QtDuplexFor(int duplexMode, bool portrait) {
  const std::optional<PhysicalDuplex> side = PrinterDuplexFor(duplexMode, portrait);
  if (!side) return std::nullopt;
  return ToQt(*side);
}

void ApplyPageSettings(QPrinter& printer, const CFormElementPtrList& list) {
  printer.setCopyCount(1);
  printer.setPageOrientation(list.portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
  if (const auto duplex = QtDuplexFor(list.duplexMode, list.portrait)) printer.setDuplex(*duplex);
}

bool PrintLayoutTo(QPagedPaintDevice& device, CFormElementPtrList& list, const CPageMapper& pageUnits,
                   CPageMapper& printMapper, const LocalTimeSource& clock) {
  QtDeviceContext dc(&device);
  if (!dc.IsActive()) return false;
  // The painter's origin is the top-left corner of the printable area.
  printMapper = PrintMapperFor(pageUnits, device.width(), device.height());
  PrintLayoutPage(list, dc, printMapper, clock);
  return true;
}

bool WriteLayoutPdf(CFormElementPtrList& list, const QString& path, const LocalTimeSource& clock) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  {
    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setCreator("Veltrok");
    writer.setTitle(QFileInfo(path).completeBaseName());
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     list.portrait ? QPageLayout::Portrait : QPageLayout::Landscape,
                                     QMarginsF(kSheetMarginPoints, kSheetMarginPoints, kSheetMarginPoints,
                                               kSheetMarginPoints),
                                     QPageLayout::Point));
    const CSize units = list.portrait ? CSize{kPortraitWidth, kPortraitHeight} : CSize{kPortraitHeight, kPortraitWidth};
    CPageMapper fit;
    if (!PrintLayoutTo(writer, list, CPageMapper::ForPage(units.cx, units.cy, 1, 1), fit, clock)) {
      file.cancelWriting();
      return false;
    }
  }
  return file.commit();
}

// ---- the editor's print commands ---------------------------------------------------------------

CReportPrinting::CReportPrinting(CReportDoc& doc, CReportView& view, QWidget* dialogParent)
    : QObject(dialogParent),
      doc_(doc),
      view_(view),
      parent_(dialogParent),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

CReportPrinting::~CReportPrinting() = default;

void CReportPrinting::OnPreparePrinting() {
  // The application's printer always has settings (without any printer they are those of a PDF
  // file), so there is always something to adjust.
  ApplyPageSettings(*printer_, doc_.elements);
}

bool CReportPrinting::OnPrint(QPrinter& printer) {
  return PrintLayoutTo(printer, doc_.elements, view_.ScreenMapper(), printMapper_, clock);
}

void CReportPrinting::Print() {
  OnPreparePrinting();
  if (!RunPrintDialog()) return;
  if (!OnPrint(*printer_)) Report("Das Layout konnte nicht gedruckt werden.");
}

bool CReportPrinting::PrintDirect(const QString& printerName) {
  if (!printerName.isEmpty()) {
    if (!QPrinterInfo::availablePrinterNames().contains(printerName)) {
      Report(QString("Der Drucker „%1“ wurde nicht gefunden.").arg(printerName));
      return false;
    }
    printer_->setPrinterName(printerName);
  } else if (!HasDestination(*printer_)) {
    Report("Es ist kein Drucker eingerichtet.");
    return false;
  }
  OnPreparePrinting();
  if (!OnPrint(*printer_)) {
    Report("Das Layout konnte nicht gedruckt werden.");
    return false;
  }
  return true;
}

void CReportPrinting::Preview() {
  OnPreparePrinting();
  RunPreviewDialog();
}

void CReportPrinting::PrinterSetup() { RunPageSetupDialog(); }

bool CReportPrinting::RunPrintDialog() {
  QPrintDialog dialog(printer_.get(), parent_);
  // Always exactly one page: there is nothing to choose a range from.
  dialog.setMinMax(1, 1);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  return dialog.exec() == QDialog::Accepted;
}

void CReportPrinting::RunPreviewDialog() {
  QPrintPreviewDialog dialog(printer_.get(), parent_);
  dialog.setWindowTitle("Seitenansicht");
  // Large enough to judge the page, not the small size of an empty dialog.
  if (parent_) dialog.resize(parent_->size() * 9 / 10);
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) { OnPrint(*printer); });
  dialog.exec();
}

void CReportPrinting::RunPageSetupDialog() {
  QPageSetupDialog dialog(printer_.get(), parent_);
  dialog.setWindowTitle("Druckereinrichtung");
  dialog.exec();
}
