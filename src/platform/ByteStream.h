// Byte sources and sinks under the archive: a memory block (clipboard, tests) and a file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/Errors.h"

class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Reads up to n bytes; returns how many were read (fewer only at the end of the data).
  virtual std::size_t Read(void* dst, std::size_t n) = 0;
  // Writes all n bytes or throws FileException.
  virtual void Write(const void* src, std::size_t n) = 0;
  // Bytes that can still be read; sizes read from a stream are checked against it before
  // anything is allocated.
  virtual std::uint64_t Remaining() const = 0;
  // Pushes buffered bytes to their destination; throws FileException on failure.
  virtual void Flush() {}
};

class MemoryStream : public ByteStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> data) : data_(std::move(data)) {}
  std::size_t Read(void* dst, std::size_t n) override;
  void Write(const void* src, std::size_t n) override;
  std::uint64_t Remaining() const override { return data_.size() - pos_; }
  const std::vector<std::uint8_t>& Data() const { return data_; }
  std::vector<std::uint8_t> TakeData() { pos_ = 0; return std::move(data_); }

 private:
  std::vector<std::uint8_t> data_;
  std::size_t pos_ = 0;
};

// The file exception with the German reason for a system error number (errno) on `path`.
FileException FileErrorFor(int err, const std::filesystem::path& path);

// A file opened for reading or for writing (created or truncated). Opening failures throw
// FileException with the German reason.
class FileStream : public ByteStream {
 public:
  enum class Mode { read, write };
  FileStream(const std::filesystem::path& path, Mode mode);
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  std::size_t Read(void* dst, std::size_t n) override;
  void Write(const void* src, std::size_t n) override;
  std::uint64_t Remaining() const override;
  void Flush() override;
  // Flushes and closes; throws FileException when the bytes could not be written.
  void Close();

 private:
  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
  std::uint64_t size_ = 0;
  std::uint64_t pos_ = 0;
};
