// Printing, print preview and printer setup of the editor, beside the editor view: the layout's
// page settings go to the application's printer, the page is fitted to the printable area and
// printed with the sample data. Printing is always exactly one page and never changes the layout.
#pragma once

#include <QObject>
#include <QPrinter>
#include <QString>
#include <memory>
#include <optional>

#include "model/PageMapper.h"
#include "view/SampleData.h"

class QPagedPaintDevice;
class QWidget;
class CFormElementPtrList;
class CReportDoc;
class CReportView;

// The sheet edge Qt's printer is to turn the paper about for the layout's duplex mode; empty for
// mode 0, which leaves the printer's own setting.
std::optional<QPrinter::DuplexMode> QtDuplexFor(int duplexMode, bool portrait);

// Orientation and one copy from the layout; the duplex mode too unless it is 0 (the printer's
// own choice stays).
void ApplyPageSettings(QPrinter& printer, const CFormElementPtrList& list);

// Prints page 1 of the layout into the device, fitted to its printable area; `printMapper`
// receives the fit. False when the device could not be painted on.
bool PrintLayoutTo(QPagedPaintDevice& device, CFormElementPtrList& list, const CPageMapper& pageUnits,
                   CPageMapper& printMapper, const LocalTimeSource& clock = SystemLocalTime);

// Writes the layout as a one-page A4 PDF in its orientation at 1200 dpi, with real text and
// pictures stored losslessly. Nothing is left at `path` when it fails.
bool WriteLayoutPdf(CFormElementPtrList& list, const QString& path,
                    const LocalTimeSource& clock = SystemLocalTime);

class CReportPrinting : public QObject {
  Q_OBJECT
 public:
  CReportPrinting(CReportDoc& doc, CReportView& view, QWidget* dialogParent);
  ~CReportPrinting() override;

  // "&Drucken...": the print dialog, then the page.
  void Print();
  // Straight to the printer without a dialog: the current one, or the named printer (an unknown
  // name is reported and nothing is printed). False when nothing was printed.
  bool PrintDirect(const QString& printerName = {});
  // "Seitenansicht".
  void Preview();
  // "Druckereinrichtung...": paper, orientation and margins of the application's printer.
  void PrinterSetup();

  // The application's printer settings, kept from job to job.
  QPrinter& Printer() { return *printer_; }
  // The fit of the last print job.
  const CPageMapper& PrintMapper() const { return printMapper_; }
  // Where the date and time codes are read from; tests fix it.
  LocalTimeSource clock = SystemLocalTime;

 protected:
  // The dialogs, as hooks so that tests can answer them.
  virtual bool RunPrintDialog();
  virtual void RunPreviewDialog();
  virtual void RunPageSetupDialog();

  // The framework's print steps.
  void OnPreparePrinting();
  bool OnPrint(QPrinter& printer);

 private:
  CReportDoc& doc_;
  CReportView& view_;
  QWidget* parent_;
  std::unique_ptr<QPrinter> printer_;
  CPageMapper printMapper_;
};
