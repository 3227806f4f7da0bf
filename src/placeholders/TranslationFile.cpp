#include "placeholders/TranslationFile.h"

#include <cstdint>
#include <new>
#include <system_error>
#include <vector>

#include "placeholders/Catalogue.h"
#include "platform/Archive.h"
#include "platform/Paths.h"
#include "platform/Services.h"

namespace {

constexpr std::int32_t kFileMark = 1234;
// Three empty strings (one length byte each) and the flags: no record is shorter.
constexpr std::uint64_t kSmallestRecord = 3 + 4;
// The platform's messages are cut to this length in the warning.
constexpr std::size_t kMaxReasonLength = 255;

// Cuts UTF-8 text to at most `n` bytes without splitting a character.
std::string CutUtf8(std::string text, std::size_t n) {
  if (text.size() <= n) return text;
  std::size_t end = n;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

std::vector<CCode> ReadRecords(Archive& ar) {
  ar.ReadInt();  // the mark; files with another value are read all the same
  const std::int32_t count = ar.ReadInt();
  // A count the rest of the file cannot hold is damage: refuse it before making room for it.
  if (count < 0 || static_cast<std::uint64_t>(count) > ar.Remaining() / kSmallestRecord)
    Archive::Fail(ArchiveException::Cause::endOfFile, "zu viele Einträge");
  std::vector<CCode> records;
  records.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    CCode record;
    record.code = ar.ReadString();
    record.translation = ar.ReadString();
    record.description = ar.ReadString();
    record.flags = ar.ReadInt();
    records.push_back(std::move(record));
  }
  return records;
}

void Apply(const std::vector<CCode>& records) {
  std::vector<CCode>& catalogue = placeholderCatalogue();
  for (const CCode& record : records) {
    for (CCode& entry : catalogue) {
      if (entry.code != record.code) continue;
      entry.translation = record.translation;
      entry.description = record.description;
      entry.flags = record.flags;
      break;
    }
  }
}

}  // namespace

std::filesystem::path UserTranslationFile() {
  const std::filesystem::path folder = services().Folders().AppDataFolder();
  if (folder.empty()) return {};
  return folder / "Orvik" / "Veltrok" / kTranslationFileName;
}

std::filesystem::path DefaultTranslationFile() {
  const std::filesystem::path folder = services().Folders().ProgramFolder();
  if (folder.empty()) return {};
  return folder / kTranslationFileName;
}

void LoadTranslations() {
  const std::filesystem::path user = UserTranslationFile();
  if (!user.empty() && ReadTranslationFile(user)) return;
  const std::filesystem::path fallback = DefaultTranslationFile();
  if (!fallback.empty()) ReadTranslationFile(fallback);
}

bool ReadTranslationFile(const std::filesystem::path& path) {
  std::vector<CCode> records;
  try {
    FileStream stream(path, FileStream::Mode::read);
    Archive ar(stream, Archive::Mode::load);
    records = ReadRecords(ar);
  } catch (const ArchiveException&) {
    return false;
  } catch (const FileException&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  Apply(records);
  return true;
}

bool SaveTranslations(std::string& errorText, const WriteStreamFactory& open) {
  const std::filesystem::path path = UserTranslationFile();
  if (path.empty()) {
    errorText = "Der Ordner für Anwendungsdaten wurde nicht gefunden.";
    return false;
  }
  const std::filesystem::path folder = path.parent_path();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec && !std::filesystem::is_directory(folder)) {
    errorText = "Der Ordner " + PathToUtf8(folder) + " konnte nicht angelegt werden (Fehler " +
                std::to_string(ec.value()) + ").";
    return false;
  }
  try {
    WriteReplacingFile(
        path,
        [](ByteStream& stream) {
          Archive ar(stream, Archive::Mode::store);
          const std::vector<CCode>& catalogue = placeholderCatalogue();
          ar.WriteInt(kFileMark);
          ar.WriteInt(static_cast<std::int32_t>(catalogue.size()));
          for (const CCode& entry : catalogue) {
            ar.WriteString(entry.code);
            ar.WriteString(entry.translation);
            ar.WriteString(entry.description);
            ar.WriteInt(entry.flags);
          }
        },
        open);
  } catch (const std::exception& e) {
    errorText = CutUtf8(e.what(), kMaxReasonLength);
    return false;
  }
  return true;
}
