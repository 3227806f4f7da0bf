#include "platform/ByteStream.h"

#include <cerrno>
#include <cstring>

#include "platform/Errors.h"
#include "platform/LargePages.h"

// The next n bytes of a block in memory, consumed; null when fewer remain.
static const std::uint8_t* TakeInPlace(const std::uint8_t* data, std::size_t size, std::size_t& pos, std::size_t n) {
  if (n > size - pos) return nullptr;
  const std::uint8_t* p = data + pos;
  pos += n;
  return p;
}

const std::uint8_t* MemoryStream::ReadInPlace(std::size_t n) { return TakeInPlace(data_.data(), data_.size(), pos_, n); }

std::size_t ByteViewStream::Read(void* dst, std::size_t n) {
  const std::size_t k = std::min<std::size_t>(n, size_ - pos_);
  if (k) std::memcpy(dst, data_ + pos_, k);
  pos_ += k;
  return k;
}

void ByteViewStream::Write(const void*, std::size_t) {
  throw FileException(FileException::Cause::accessDenied, {}, "Nur zum Lesen geöffnet");
}

const std::uint8_t* ByteViewStream::ReadInPlace(std::size_t n) { return TakeInPlace(data_, size_, pos_, n); }

std::size_t MemoryStream::Read(void* dst, std::size_t n) {
  const std::size_t k = std::min<std::size_t>(n, data_.size() - pos_);
  if (k) std::memcpy(dst, data_.data() + pos_, k);
  pos_ += k;
  return k;
}

void MemoryStream::Write(const void* src, std::size_t n) {
  const auto* p = static_cast<const std::uint8_t*>(src);
  if (n >= kLargeBufferBytes && data_.capacity() - data_.size() < n) {
    // A picture: room for it and what follows in one step, made ready at once, rather than the
    // buffer doubling its way up to it and copying itself each time.
    const std::size_t needed = data_.size() + n;
    data_.reserve(needed + needed / 4);
    PrepareLargeBuffer(data_.data() + data_.size(), n);
  }
  data_.insert(data_.end(), p, p + n);
}

FileException FileErrorFor(int err, const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  switch (err) {
    case ENOENT:
      return {FileException::Cause::fileNotFound, path.string(), name + " wurde nicht gefunden."};
    case EACCES:
    case EPERM:
    case EROFS:
      return {FileException::Cause::accessDenied, path.string(),
              "Zugriff auf " + name + " verweigert."};
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return {FileException::Cause::diskFull, path.string(),
              "Es ist nicht genügend Speicherplatz vorhanden, um " + name + " zu schreiben."};
    default:
      return {FileException::Cause::generic, path.string(),
              "Beim Zugriff auf " + name + " ist ein unbekannter Fehler aufgetreten."};
  }
}

FileStream::FileStream(const std::filesystem::path& path, Mode mode) : path_(path) {
  file_ = std::fopen(path.string().c_str(), mode == Mode::read ? "rb" : "wb");
  if (!file_) throw FileErrorFor(errno, path);
  if (mode == Mode::read) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
      std::fclose(file_);
      file_ = nullptr;
      throw FileException(FileException::Cause::accessDenied, path.string(),
                          "Zugriff auf " + path.filename().string() + " verweigert.");
    }
    const auto size = std::filesystem::file_size(path, ec);
    size_ = ec ? 0 : size;
  }
}

FileStream::~FileStream() {
  if (file_) std::fclose(file_);
}

std::size_t FileStream::Read(void* dst, std::size_t n) {
  const std::size_t k = std::fread(dst, 1, n, file_);
  pos_ += k;
  return k;
}

void FileStream::Write(const void* src, std::size_t n) {
  if (std::fwrite(src, 1, n, file_) != n) throw FileErrorFor(errno, path_);
  pos_ += n;
}

std::uint64_t FileStream::Remaining() const { return size_ > pos_ ? size_ - pos_ : 0; }

void FileStream::Flush() {
  if (file_ && std::fflush(file_) != 0) throw FileErrorFor(errno, path_);
}

void FileStream::Close() {
  if (!file_) return;
  const int flushed = std::fflush(file_);
  const int err = errno;
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (flushed != 0 || closed != 0) throw FileErrorFor(flushed != 0 ? err : errno, path_);
}
