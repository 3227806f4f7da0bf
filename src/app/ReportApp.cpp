#include "app/ReportApp.h"

#include "app/MainFrame.h"
#include "app/RecoveryManager.h"
#include "document/ReportDoc.h"
#include "placeholders/Catalogue.h"
#include "view/qt/ReportView.h"

CReportApp::CReportApp(const QString& settingsFile)
    : settings_(settingsFile.isEmpty() ? std::make_unique<QtSettingsStore>()
                                       : std::make_unique<QtSettingsStore>(settingsFile)) {}

CReportApp::~CReportApp() { ExitInstance(); }

bool CReportApp::InitInstance(const QStringList& arguments) {
  Services& s = services();
  s.Install(settings_.get());
  s.Install(&messages_);
  s.Install(&clipboard_);
  s.Install(&images_);
  s.Install(&folders_);
  s.Install(&wait_);
  s.Install(&fonts_);

  // Pages the print preview starts with; printing comes with its own work.
  previewPages_ = s.Settings().GetInt("Settings", "PreviewPages", 0);
  BuildCatalogue();
  doc_ = std::make_unique<CReportDoc>();
  frame_ = std::make_unique<CMainFrame>(*doc_);
  messages_.SetParent(frame_.get());
  frame_->RestorePlacement();
  recovery_ = std::make_unique<CRecoveryManager>(*doc_, *frame_);

  // No argument: a new layout; one argument: that file.
  const QStringList files = arguments.mid(1);
  if (files.isEmpty()) {
    doc_->OnNewDocument();
    frame_->view()->OnInitialUpdate();
    frame_->UpdateTitle();
  } else if (!frame_->OpenLayout(files.front())) {
    return false;
  }
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
  services().Reset();
}
