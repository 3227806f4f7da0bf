// Recovery copies: while a layout has unsaved changes, the editor keeps a copy of it in the
// per-user data folder, so a flat battery or a killed program loses at most the last minute of
// work. Each running editor writes under its own instance name; a copy whose editor is no longer
// running is offered back at the next start.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "document/ReportDoc.h"

// What is known of one recovery copy, from its side record.
struct RecoveryRecord {
  std::string instance;            // the writing editor's instance name
  std::filesystem::path copy;      // the layout copy
  std::string originalPath;        // UTF-8; empty for a layout never saved ("Unbenannt")
  std::int64_t savedAt = 0;        // seconds since 1970 (UTC) when the copy was written
  std::string programVersion;
  bool recordReadable = true;      // false: the side record is missing or damaged
};

// The folder of recovery copies: "<instance>.rep" with the side record "<instance>.info" beside.
class RecoveryFolder {
 public:
  explicit RecoveryFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}
  const std::filesystem::path& Path() const { return folder_; }

  // Writes the copy and its side record, each to a temporary file first and then renamed into
  // place, so a copy is always whole. Creates the folder when missing. False on any failure.
  bool Write(const std::string& instance, const std::vector<std::uint8_t>& layout,
             const RecoveryRecord& record);
  void Remove(const std::string& instance);
  bool Exists(const std::string& instance) const;
  // Every copy in the folder, oldest first.
  std::vector<RecoveryRecord> List() const;

  std::filesystem::path CopyPath(const std::string& instance) const;
  std::filesystem::path RecordPath(const std::string& instance) const;

 private:
  std::filesystem::path folder_;
};

// Writes the recovery copy of a document after a quiet period: every change (an undo step done,
// undone or redone) restarts the countdown; when it runs out the copy is written once, and not
// again until the next change. A layout without unsaved changes has no copy. The clock and the
// timer are supplied by the caller (the editor's event loop; tests use a fake clock).
class CAutoSaver : public DocumentObserver {
 public:
  using Clock = std::chrono::steady_clock;
  struct Hooks {
    std::function<Clock::time_point()> now;
    std::function<std::int64_t()> wallClock;                    // seconds since 1970
    std::function<void(std::chrono::milliseconds)> arm;         // call Timeout() after this
  };

  // `idle` of zero turns autosaving off (nothing is written, nothing is armed).
  CAutoSaver(CReportDoc& doc, RecoveryFolder& folder, std::string instance,
             std::chrono::seconds idle, std::string programVersion, Hooks hooks);
  ~CAutoSaver() override;
  CAutoSaver(const CAutoSaver&) = delete;
  CAutoSaver& operator=(const CAutoSaver&) = delete;

  void OnUpdate(CReportDoc& doc, int hint) override;
  // The armed time has passed: writes the copy when it is due, or arms again for the rest.
  void Timeout();
  // The document was saved or replaced: a layout without unsaved changes keeps no copy.
  void Refresh();
  // Writes the copy now (a restored layout must not wait for its first change).
  bool WriteNow();
  // Removes this editor's copy (normal exit, changes thrown away).
  void Discard();

  const std::string& Instance() const { return instance_; }
  bool Pending() const { return pending_; }
  // The original path recorded in copies; a restored layout keeps the path it came from.
  void SetOriginalPath(std::string path) {
    originalPath_ = std::move(path);
    hasOriginalOverride_ = true;
  }

 private:
  void NoteState();

  CReportDoc& doc_;
  RecoveryFolder& folder_;
  std::string instance_;
  std::chrono::seconds idle_;
  std::string programVersion_;
  Hooks hooks_;
  bool pending_ = false;
  Clock::time_point due_{};
  int lastSerial_ = 0;
  bool lastModified_ = false;
  std::string originalPath_;
  bool hasOriginalOverride_ = false;
};
