#include "cli/Pdf.h"

#ifdef VELTROK_CLI_WITH_QT

#include <QString>

#include "cli/GuiSession.h"
#include "view/qt/ReportPrinting.h"

bool WriteLayoutPdfFile(CFormElementPtrList& list, const std::filesystem::path& out) {
  const auto app = EnsureGuiApplication();
  return WriteLayoutPdf(list, QString::fromStdU16String(out.u16string()));
}

#else

bool WriteLayoutPdfFile(CFormElementPtrList&, const std::filesystem::path&) { return false; }

#endif
