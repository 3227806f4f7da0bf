#include "document/LayoutFile.h"

#include <atomic>
#include <chrono>
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
  const std::filesystem::path temp = TemporaryBeside(path);
  std::error_code ec;
  try {
    {
      std::unique_ptr<ByteStream> stream =
          open ? open(temp) : std::make_unique<FileStream>(temp, FileStream::Mode::write);
      Archive ar(*stream, Archive::Mode::store);
      list.Serialize(ar);
      ar.Flush();
      if (auto* file = dynamic_cast<FileStream*>(stream.get())) file->Close();
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) throw FileException(FileException::Cause::generic, path.string(), ec.message());
    return true;
  } catch (const std::exception&) {
    std::filesystem::remove(temp, ec);
    Tell(kSaveFailedMessage);
    return false;
  }
}
