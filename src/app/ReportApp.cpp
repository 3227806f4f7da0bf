#include "app/ReportApp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/MainFrame.h"
#include "app/RecoveryManager.h"
#include "document/ReportDoc.h"
#include "placeholders/Catalogue.h"
#include "placeholders/TranslationFile.h"
#include "view/qt/ReportPrinting.h"
#include "view/qt/ReportView.h"
#include "view/tools/EditingTools.h"

std::optional<CommandLineInfo> CommandLineInfo::Parse(const QStringList& arguments) {
  CommandLineInfo info;
  if (arguments.isEmpty()) return info;
  const QString first = arguments.front();
  const auto isSwitch = [&first](const char* name) {
    return first.compare(QString("/") + name, Qt::CaseInsensitive) == 0 ||
           first.compare(QString("-") + name, Qt::CaseInsensitive) == 0;
  };
  if (isSwitch("p")) {
    if (arguments.size() != 2) return std::nullopt;
    info.action = Action::print;
    info.file = arguments.at(1);
    return info;
  }
  if (isSwitch("pt")) {
    // Driver and port may follow the printer's name; the printer is found by its name alone.
    if (arguments.size() < 3 || arguments.size() > 5) return std::nullopt;
    info.action = Action::printTo;
    info.file = arguments.at(1);
    info.printer = arguments.at(2);
    return info;
  }
  info.file = first;
  return info;
}

CReportApp::CReportApp(const QString& settingsFile)
    : settings_(settingsFile.isEmpty() ? std::make_unique<QtSettingsStore>()
                                       : std::make_unique<QtSettingsStore>(settingsFile)) {}

CReportApp::~CReportApp() { ExitInstance(); }

QIcon CReportApp::ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QString(":/icons/veltrok-%1.png").arg(size), QSize(size, size));
  return icon;
}

void CReportApp::InstallQtGerman() {
  auto translator = std::make_unique<QTranslator>();
  // Qt's own folder first; beside the program where Qt is shipped with it.
  const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                               QCoreApplication::applicationDirPath() + "/translations"};
  for (const QString& folder : folders) {
    if (translator->load("qtbase_de", folder) && QCoreApplication::installTranslator(translator.get())) {
      qtGerman_ = std::move(translator);
      return;
    }
  }
}

bool CReportApp::InitInstance(const QStringList& arguments) {
  InstallQtGerman();
  QApplication::setWindowIcon(ProgramIcon());
  // Lets the desktop match the windows to the installed desktop entry (and its icon).
  QGuiApplication::setDesktopFileName("veltrok");
  Services& s = services();
  s.Install(settings_.get());
  s.Install(&messages_);
  s.Install(&clipboard_);
  s.Install(&images_);
  s.Install(&folders_);
  s.Install(&wait_);
  s.Install(&fonts_);
  s.Install(&dialogs_);

  // Pages the print preview starts with.
  previewPages_ = s.Settings().GetInt("Settings", "PreviewPages", 0);
  BuildCatalogue();
  LoadTranslations();
  doc_ = std::make_unique<CReportDoc>();
  InstallEditingTools(*doc_);
  frame_ = std::make_unique<CMainFrame>(*doc_);
  messages_.SetParent(frame_.get());
  dialogs_.SetParent(frame_.get());
  frame_->RestorePlacement();
  recovery_ = std::make_unique<CRecoveryManager>(*doc_, *frame_);

  // No argument: a new layout; a file name: that file; a print switch: print it and end.
  const std::optional<CommandLineInfo> line = CommandLineInfo::Parse(arguments.mid(1));
  if (!line) {
    s.Messages().Show("Aufruf: veltrok [DATEI.rep | /p DATEI.rep | /pt DATEI.rep DRUCKER]",
                      MessageIcon::stop, MessageButtons::ok);
    exitCode_ = 2;
    return false;
  }
  if (line->file.isEmpty()) {
    doc_->OnNewDocument();
    frame_->view()->OnInitialUpdate();
    frame_->UpdateTitle();
  } else if (!frame_->OpenLayout(line->file)) {
    exitCode_ = 1;
    return false;
  }
  if (line->action != CommandLineInfo::Action::open) {
    // Printed without showing the window; the program ends either way.
    frame_->view()->OnInitialUpdate();
    exitCode_ = frame_->printing()->PrintDirect(line->printer) ? 0 : 1;
    return false;
  }
  exitCode_ = 0;
  frame_->show();
  frame_->view()->OnInitialUpdate();
  // Layouts left unsaved by an editor that stopped unexpectedly are offered once the window is up.
  recovery_->OfferRecovery();
  return true;
}

void CReportApp::ExitInstance() {
  if (exited_) return;
  exited_ = true;
  if (recovery_) recovery_->Shutdown();
  recovery_.reset();
  frame_.reset();
  doc_.reset();
  FreeCatalogue();
  if (qtGerman_) QCoreApplication::removeTranslator(qtGerman_.get());
  qtGerman_.reset();
  services().Reset();
}
