// The Veltrok layout editor.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/ReportApp.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Orvik");
  QApplication::setApplicationName("Veltrok");
  // The standard colour, font, file and message dialogs speak German like the rest of the program.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::German, QLocale::Germany), "qtbase", "_",
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);
  CReportApp report;
  if (!report.InitInstance(QApplication::arguments())) return 1;
  const int code = QApplication::exec();
  report.ExitInstance();
  return code;
}
