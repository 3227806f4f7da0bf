#include "document/Recovery.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

#include "document/LayoutFile.h"
#include "platform/ByteStream.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/ReplaceFile.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kRecordHeader = "Veltrok-Wiederherstellung 1";

// Writes the bytes beside the target and renames them into place, so the target is either the
// old file or the whole new one.
bool WriteWhole(const fs::path& path, const void* data, std::size_t size) {
  try {
    WriteReplacingFile(path, [data, size](ByteStream& out) { out.Write(data, size); });
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// One "key=value" per line; line breaks inside a value cannot occur in paths we write, but a
// damaged record must not confuse the reader, so they are escaped anyway.
std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char n = s[++i];
      out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool ReadRecord(const fs::path& path, RecoveryRecord& record) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec || size > 64 * 1024) return false;  // a side record is a few lines
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!std::getline(in, line) || line != kRecordHeader) return false;
  bool haveTime = false;
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = Unescape(line.substr(eq + 1));
    if (key == "original") {
      record.originalPath = value;
    } else if (key == "time") {
      try {
        std::size_t used = 0;
        record.savedAt = std::stoll(value, &used);
        haveTime = used == value.size();
      } catch (const std::exception&) {
        return false;
      }
    } else if (key == "version") {
      record.programVersion = value;
    }
  }
  return haveTime;
}

}  // namespace

fs::path RecoveryFolder::CopyPath(const std::string& instance) const { return folder_ / (instance + ".rep"); }
fs::path RecoveryFolder::RecordPath(const std::string& instance) const { return folder_ / (instance + ".info"); }

bool RecoveryFolder::Write(const std::string& instance, const std::vector<std::uint8_t>& layout,
                           const RecoveryRecord& record) {
  std::error_code ec;
  fs::create_directories(folder_, ec);
  std::ostringstream text;
  text << kRecordHeader << '\n'
       << "original=" << Escape(record.originalPath) << '\n'
       << "time=" << record.savedAt << '\n'
       << "version=" << Escape(record.programVersion) << '\n';
  const std::string info = text.str();
  // The layout first: a record always describes a copy that is there.
  return WriteWhole(CopyPath(instance), layout.data(), layout.size()) &&
         WriteWhole(RecordPath(instance), info.data(), info.size());
}

void RecoveryFolder::Remove(const std::string& instance) {
  std::error_code ec;
  fs::remove(CopyPath(instance), ec);
  fs::remove(RecordPath(instance), ec);
}

bool RecoveryFolder::Exists(const std::string& instance) const {
  std::error_code ec;
  return fs::exists(CopyPath(instance), ec);
}

std::vector<RecoveryRecord> RecoveryFolder::List() const {
  std::vector<RecoveryRecord> out;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& p = it->path();
    if (p.extension() != ".rep" || !it->is_regular_file(ec)) continue;
    RecoveryRecord r;
    r.instance = PathToUtf8(p.stem());
    r.copy = p;
    r.recordReadable = ReadRecord(RecordPath(r.instance), r);
    if (!r.recordReadable) {
      r.originalPath.clear();
      r.programVersion.clear();
      const auto written = fs::last_write_time(p, ec);
      r.savedAt = ec ? 0
                     : std::chrono::duration_cast<std::chrono::seconds>(
                           fs::file_time_type::clock::to_sys(written).time_since_epoch())
                           .count();
    }
    out.push_back(std::move(r));
  }
  std::sort(out.begin(), out.end(), [](const RecoveryRecord& a, const RecoveryRecord& b) {
    return a.savedAt != b.savedAt ? a.savedAt < b.savedAt : a.instance < b.instance;
  });
  return out;
}

// ---- the autosaver -----------------------------------------------------------------------------

CAutoSaver::CAutoSaver(CReportDoc& doc, RecoveryFolder& folder, std::string instance,
                       std::chrono::seconds idle, std::string programVersion, Hooks hooks)
    : doc_(doc), folder_(folder), instance_(std::move(instance)), idle_(idle),
      programVersion_(std::move(programVersion)), hooks_(std::move(hooks)) {
  lastSerial_ = doc_.history.CurrentSerial();
  lastModified_ = doc_.IsModified();
  doc_.AddObserver(this);
}

CAutoSaver::~CAutoSaver() { doc_.RemoveObserver(this); }

void CAutoSaver::OnUpdate(CReportDoc&, int) { NoteState(); }

void CAutoSaver::NoteState() {
  const int serial = doc_.history.CurrentSerial();
  const bool modified = doc_.IsModified();
  const bool changed = serial != lastSerial_ || modified != lastModified_;
  lastSerial_ = serial;
  lastModified_ = modified;
  if (!modified) {
    // Saved, new or freshly opened: nothing unsaved to keep.
    pending_ = false;
    hasOriginalOverride_ = false;
    Discard();
    return;
  }
  if (!changed || idle_.count() <= 0) return;
  pending_ = true;
  due_ = hooks_.now() + idle_;
  hooks_.arm(std::chrono::duration_cast<std::chrono::milliseconds>(idle_));
}

void CAutoSaver::Timeout() {
  if (!pending_) return;
  const Clock::time_point now = hooks_.now();
  if (now < due_) {
    hooks_.arm(std::chrono::duration_cast<std::chrono::milliseconds>(due_ - now) + std::chrono::milliseconds(1));
    return;
  }
  if (!doc_.IsModified()) {
    pending_ = false;
    Discard();
    return;
  }
  // A failed write (disk full, folder not writable) is tried again after the next change; the
  // user's own file is never touched either way.
  WriteNow();
  pending_ = false;
}

void CAutoSaver::Refresh() { NoteState(); }

bool CAutoSaver::WriteNow() {
  RecoveryRecord record;
  record.originalPath = hasOriginalOverride_ || doc_.PathName().empty() ? originalPath_ : PathToUtf8(doc_.PathName());
  record.savedAt = hooks_.wallClock();
  record.programVersion = programVersion_;
  return folder_.Write(instance_, LayoutToBytes(doc_.elements), record);
}

void CAutoSaver::Discard() { folder_.Remove(instance_); }
