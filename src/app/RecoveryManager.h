// The editor's side of recovery copies: the event-loop timer that drives the autosaver, the lock
// that tells other editors this one is still running, and the offer at start-up of copies left
// behind by an editor that is not running any more.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "document/Recovery.h"

class QLockFile;
class CMainFrame;
class CReportDoc;

class CRecoveryManager : public QObject {
  Q_OBJECT
 public:
  // "Settings"/"AutoSaveSeconds": seconds of quiet after a change before the copy is written;
  // 0 turns autosaving off.
  static constexpr const char* kSection = "Settings";
  static constexpr const char* kSecondsEntry = "AutoSaveSeconds";
  static constexpr int kDefaultSeconds = 60;

  // `folder`: where copies live; empty for the per-user data folder.
  CRecoveryManager(CReportDoc& doc, CMainFrame& frame, const QString& folder = {});
  ~CRecoveryManager() override;

  // The per-user folder: $XDG_DATA_HOME/Orvik/Veltrok/Wiederherstellung (Windows: the local
  // application-data folder).
  static QString DefaultFolder();

  // Offers the copies of editors no longer running; returns after the user has chosen.
  void OfferRecovery();
  // Normal end of the program: this editor's copy is removed.
  void Shutdown();

  RecoveryFolder& folder() { return folder_; }
  CAutoSaver& saver() { return *saver_; }
  QTimer& timer() { return timer_; }

 private:
  CReportDoc& doc_;
  CMainFrame& frame_;
  RecoveryFolder folder_;
  std::unique_ptr<QLockFile> lock_;
  QTimer timer_;
  std::unique_ptr<CAutoSaver> saver_;
};
