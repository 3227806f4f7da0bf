#include "document/LayoutFile.h"

#include "model/FormElementPtrList.h"
#include "platform/Archive.h"
#include "platform/ReplaceFile.h"
#include "platform/Services.h"

namespace {

void Tell(const char* text) {
  services().Messages().Show(text, MessageIcon::exclamation, MessageButtons::ok);
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
  try {
    WriteReplacingFile(
        path,
        [&list](ByteStream& stream) {
          Archive ar(stream, Archive::Mode::store);
          list.Serialize(ar);
        },
        open);
    return true;
  } catch (const std::exception&) {
    Tell(kSaveFailedMessage);
    return false;
  }
}
