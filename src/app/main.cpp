// The Veltrok layout editor.
#include <QApplication>

#include "app/ReportApp.h"
#include "platform/qt/TextCache.h"

int main(int argc, char** argv) {
  text_cache::CacheLargeGlyphs();
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Orvik");
  QApplication::setApplicationName("Veltrok");
  CReportApp report;
  if (!report.InitInstance(QApplication::arguments())) return report.exitCode();
  const int code = QApplication::exec();
  report.ExitInstance();
  return code;
}
