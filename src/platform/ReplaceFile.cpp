#include "platform/ReplaceFile.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/Errors.h"

namespace {

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

void WriteReplacingFile(const std::filesystem::path& path,
                        const std::function<void(ByteStream&)>& write,
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
      write(*stream);
      stream->Flush();
      if (auto* file = dynamic_cast<FileStream*>(stream.get())) file->Close();
    }
    // The new file takes the old one's permission bits (a private file stays private).
    if (replacing) {
      std::filesystem::permissions(temp, existing.permissions() & std::filesystem::perms::mask, ec);
      if (ec) throw FileErrorFor(ec.value(), target);
    }
    std::filesystem::rename(temp, target, ec);
    if (ec) throw FileErrorFor(ec.value(), target);
  } catch (...) {
    if (tempMade) std::filesystem::remove(temp, ec);
    throw;
  }
}
