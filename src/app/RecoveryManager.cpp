#include "app/RecoveryManager.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>

#include "app/MainFrame.h"
#include "app/RecoveryDialog.h"
#include "document/LayoutFile.h"
#include "document/ReportDoc.h"
#include "platform/Paths.h"
#include "platform/Services.h"

namespace {

constexpr const char* kProgramVersion = "2.0";

std::unique_ptr<QLockFile> LockFor(const RecoveryFolder& folder, const std::string& instance) {
  auto lock = std::make_unique<QLockFile>(
      QString::fromStdString(PathToUtf8(folder.Path() / (instance + ".lock"))));
  // Never judge a lock by its age: an editor may run for days. Only a lock whose process has
  // gone counts as left behind.
  lock->setStaleLockTime(0);
  return lock;
}

// Whether the copy reads as a layout; read in memory, so no message box appears for it.
bool Readable(const RecoveryRecord& r) {
  std::ifstream in(r.copy, std::ios::binary);
  if (!in) return false;
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  try {
    CFormElementPtrList list;
    LayoutFromBytes(bytes, list);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

QString CRecoveryManager::DefaultFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         "/Orvik/Veltrok/Wiederherstellung";
}

CRecoveryManager::CRecoveryManager(CReportDoc& doc, CMainFrame& frame, const QString& folder)
    : doc_(doc), frame_(frame),
      folder_(PathFromUtf8((folder.isEmpty() ? DefaultFolder() : folder).toStdString())) {
  // The instance name: the process and its start, so two editors never share a copy, not even
  // when a process number comes round again.
  const std::string instance = std::to_string(QCoreApplication::applicationPid()) + "-" +
                               std::to_string(QDateTime::currentMSecsSinceEpoch());
  QDir().mkpath(QString::fromStdString(PathToUtf8(folder_.Path())));
  lock_ = LockFor(folder_, instance);
  lock_->tryLock(0);

  int seconds = services().Settings().GetInt(kSection, kSecondsEntry, kDefaultSeconds);
  seconds = std::clamp(seconds, 0, 24 * 3600);
  timer_.setSingleShot(true);
  CAutoSaver::Hooks hooks{
      [] { return CAutoSaver::Clock::now(); },
      [] { return static_cast<std::int64_t>(QDateTime::currentSecsSinceEpoch()); },
      [this](std::chrono::milliseconds ms) { timer_.start(static_cast<int>(ms.count())); }};
  saver_ = std::make_unique<CAutoSaver>(doc_, folder_, instance, std::chrono::seconds(seconds),
                                        kProgramVersion, std::move(hooks));
  connect(&timer_, &QTimer::timeout, this, [this] { saver_->Timeout(); });
  connect(&frame_, &CMainFrame::layoutSaved, this, [this] { saver_->Refresh(); });
}

CRecoveryManager::~CRecoveryManager() = default;

void CRecoveryManager::OfferRecovery() {
  // Copies of other editors whose lock we can take: their editor is no longer running. The locks
  // are held while the user decides, so a second editor starting now does not offer them too.
  std::map<std::string, std::unique_ptr<QLockFile>> held;
  std::vector<CRecoveryDialog::Entry> entries;
  for (const RecoveryRecord& r : folder_.List()) {
    if (r.instance == saver_->Instance()) continue;
    auto lock = LockFor(folder_, r.instance);
    if (!lock->tryLock(0)) continue;
    held[r.instance] = std::move(lock);
    entries.push_back({r, !Readable(r)});
  }
  // Lock files of editors that stopped with nothing unsaved: nothing to offer, only to tidy.
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder_.Path(), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string stem = PathToUtf8(it->path().stem());
    if (it->path().extension() != ".lock" || stem == saver_->Instance() || held.count(stem) ||
        folder_.Exists(stem))
      continue;
    auto lock = LockFor(folder_, stem);
    if (lock->tryLock(0)) lock->unlock();
  }
  if (entries.empty()) return;

  CRecoveryDialog dialog(entries, &frame_);
  const bool restore = dialog.exec() == QDialog::Accepted;
  for (int index : dialog.discarded()) folder_.Remove(entries[static_cast<std::size_t>(index)].record.instance);
  if (restore && dialog.chosen() >= 0) {
    const RecoveryRecord& r = entries[static_cast<std::size_t>(dialog.chosen())].record;
    if (frame_.RestoreLayout(QString::fromStdString(PathToUtf8(r.copy)),
                             QString::fromStdString(r.originalPath))) {
      // The layout now lives in this editor: its copy is written under this editor's name
      // before the old one goes, so there is no moment without one.
      saver_->SetOriginalPath(r.originalPath);
      if (saver_->WriteNow()) folder_.Remove(r.instance);
    }
  }
  // Unlocking removes the lock files; copies kept for later are offered again at the next start.
  for (auto& [instance, lock] : held) lock->unlock();
}

void CRecoveryManager::Shutdown() {
  timer_.stop();
  saver_->Discard();
  lock_->unlock();
}
