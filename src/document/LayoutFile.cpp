#include "document/LayoutFile.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <system_error>

#include "model/FormElementPtrList.h"
#include "platform/Archive.h"
#include "platform/Services.h"

namespace {

void Tell(const char* text) {
  services().Messages().Show(text, MessageIcon::exclamation, MessageButtons::ok);
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::filesystem::path temp = path;
  temp += ".~" + std::to_string(stamp % 1000000) + "-" + std::to_string(counter++) + ".tmp";
  return temp;
}

// The file a save replaces. A symbolic link is followed to the file it names, so that the link
// stays a link and the file behind it gets the new content.
std::filesystem::path SaveTarget(const std::filesystem::path& path) {
  constexpr int kMaxLinks = 40;
  std::filesystem::path target = path;
  std::error_code ec;
  for (int hop = 0; hop < kMaxLinks && std::filesystem::is_symlink(target, ec); ++hop) {
    const std::filesystem::path link = std::filesystem::read_symlink(target, ec);
    if (ec) break;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return target;
}

// An existing file is replaced only when the user could have written it in place: it is not
// marked read-only, and it opens for writing (which leaves its content alone).
void CheckReplaceable(const std::filesystem::path& target, std::filesystem::perms mode) {
  using std::filesystem::perms;
  const bool readOnly = (mode & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
  const bool writable = !readOnly && std::fstream(target, std::ios::in | std::ios::out | std::ios::binary).is_open();
  if (!writable)
    throw FileException(FileException::Cause::accessDenied, target.string(),
                        "Zugriff auf " + target.filename().string() + " verweigert.");
}

}  // namespace

std::vector<std::uint8_t> LayoutToBytes(CFormElementPtrList& list) {
  MemoryStream stream;
  Archive ar(stream, Archive::Mode::store);
  list.Serialize(ar);
  return stream.TakeData();
}

void LayoutFromBytes(const std::vector<std::uint8_t>& bytes, CFormElementPtrList& list) {
  MemoryStream stream(bytes);
  Archive ar(stream, Archive::Mode::load, &ElementClasses());
  list.Serialize(ar);
}

LoadResult LoadLayoutFile(const std::filesystem::path& path, CFormElementPtrList& list) {
  LoadResult result;
  list.DeleteAll();
  list.current = nullptr;
  try {
    FileStream stream(path, FileStream::Mode::read);
    Archive ar(stream, Archive::Mode::load, &ElementClasses());
    try {
      list.Serialize(ar);
    } catch (...) {
      result.version = ar.formatVersion;
      throw;
    }
    result.version = ar.formatVersion;
    result.outcome = LoadOutcome::loaded;
    return result;
  } catch (const UserAbortException&) {
    result.outcome = LoadOutcome::abandoned;
  } catch (const ArchiveException& e) {
    // Damaged structure reads as an unexpected format; any other archive error (a bad picture
    // header) as a failed open, as the document framework reports them.
    Tell(e.cause == ArchiveException::Cause::generic ? kOpenFailedMessage : kBadFormatMessage);
  } catch (const FileException&) {
    Tell(kOpenFailedMessage);
  } catch (const std::bad_alloc&) {
    Tell(kOpenFailedMessage);
  }
  list.DeleteAll();
  list.current = nullptr;
  return result;
}

bool SaveLayoutFile(const std::filesystem::path& path, CFormElementPtrList& list,
                    const WriteStreamFactory& open) {
  const std::filesystem::path target = SaveTarget(path);
  const std::filesystem::path temp = TemporaryBeside(target);
  std::error_code ec;
  bool tempMade = false;
  try {
    const std::filesystem::file_status existing = std::filesystem::status(target, ec);
    const bool replacing = std::filesystem::exists(existing);
    if (replacing) CheckReplaceable(target, existing.permissions());
    {
      tempMade = true;
      std::unique_ptr<ByteStream> stream =
          open ? open(temp) : std::make_unique<FileStream>(temp, FileStream::Mode::write);
      Archive ar(*stream, Archive::Mode::store);
      list.Serialize(ar);
      ar.Flush();
      if (auto* file = dynamic_cast<FileStream*>(stream.get())) file->Close();
    }
    // The new file takes the old one's permission bits (a private layout stays private).
    if (replacing) {
      std::filesystem::permissions(temp, existing.permissions() & std::filesystem::perms::mask, ec);
      if (ec) throw FileException(FileException::Cause::generic, target.string(), ec.message());
    }
    std::filesystem::rename(temp, target, ec);
    if (ec) throw FileException(FileException::Cause::generic, target.string(), ec.message());
    return true;
  } catch (const std::exception&) {
    if (tempMade) std::filesystem::remove(temp, ec);
    Tell(kSaveFailedMessage);
    return false;
  }
}
