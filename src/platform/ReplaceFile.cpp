#include "platform/ReplaceFile.h"

#include <atomic>
#include <chrono>
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

}  // namespace

void WriteReplacingFile(const std::filesystem::path& path,
                        const std::function<void(ByteStream&)>& write,
                        const WriteStreamFactory& open) {
  const std::filesystem::path temp = TemporaryBeside(path);
  std::error_code ec;
  try {
    {
      std::unique_ptr<ByteStream> stream =
          open ? open(temp) : std::make_unique<FileStream>(temp, FileStream::Mode::write);
      write(*stream);
      stream->Flush();
      if (auto* file = dynamic_cast<FileStream*>(stream.get())) file->Close();
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) throw FileErrorFor(ec.value(), path);
  } catch (...) {
    std::filesystem::remove(temp, ec);
    throw;
  }
}
