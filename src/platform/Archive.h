// The binary stream of layout files, the clipboard and the translation file: little-endian
// primitives, counts, length-prefixed Windows-1252 strings and tagged objects. Strings are UTF-8
// inside the program; the archive converts at this boundary.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ByteStream.h"
#include "platform/ClassRegistry.h"
#include "platform/Errors.h"
#include "platform/Types.h"

class Archive {
 public:
  enum class Mode { load, store };

  // Tags of the object scheme.
  static constexpr std::uint16_t kNullTag = 0;
  static constexpr std::uint16_t kNewClassTag = 0xFFFF;
  static constexpr std::uint16_t kClassTag = 0x8000;
  static constexpr std::uint16_t kBigObjectTag = 0x7FFF;
  static constexpr std::uint32_t kBigClassTag = 0x80000000u;

  // `registry` is needed only to read objects.
  Archive(ByteStream& stream, Mode mode, const ClassRegistry* registry = nullptr);

  bool IsLoading() const { return mode_ == Mode::load; }
  bool IsStoring() const { return mode_ == Mode::store; }

  // The layout format version of this stream, set from the header before any record is read or
  // written; element records consult it.
  int formatVersion = 0;

  // ---- storing
  void WriteByte(std::uint8_t v);
  void WriteWord(std::uint16_t v);
  void WriteInt(std::int32_t v);
  void WriteDword(std::uint32_t v);
  void WritePoint(CPoint p);
  void WriteBytes(const void* data, std::size_t n);
  void WriteCount(std::uint32_t n);
  void WriteStringLength(std::uint32_t n);
  // Text as UTF-8, stored as Windows-1252.
  void WriteString(std::string_view utf8);
  // Bytes that already are Windows-1252 (font face names).
  void WriteAnsiString(std::string_view bytes);
  // Class tag (new or repeated) and then the object's own record.
  void WriteObject(SerialObject& object);

  // ---- loading; every short read throws ArchiveException(endOfFile)
  std::uint8_t ReadByte();
  std::uint16_t ReadWord();
  std::int32_t ReadInt();
  std::uint32_t ReadDword();
  CPoint ReadPoint();
  void ReadBytes(void* data, std::size_t n);
  // Reads n bytes onto the end of `to`.
  void ReadBytesInto(std::vector<std::uint8_t>& to, std::size_t n);
  std::uint32_t ReadCount();
  std::string ReadString();      // UTF-8
  std::string ReadAnsiString();  // raw Windows-1252 bytes
  // Reads a class tag and creates and loads the object. The object must be of class `required`
  // or derived from it. Null objects and references to objects read before are refused: layout
  // streams never contain them, and accepting them would put one object in a list twice.
  std::unique_ptr<SerialObject> ReadObject(const ClassInfo& required);

  std::uint64_t Remaining() const { return stream_.Remaining(); }
  void Flush() { stream_.Flush(); }

  [[noreturn]] static void Fail(ArchiveException::Cause cause, const char* what);

 private:
  // Length of a string: byte, 0xFF + word, 0xFF + 0xFFFF + dword; `wide` reports the 0xFFFE marker.
  std::uint32_t ReadStringLength(bool& wide);
  // Throws end-of-file unless `n` more bytes can be read.
  void Require(std::uint64_t n) const;

  ByteStream& stream_;
  Mode mode_;
  const ClassRegistry* registry_;
  // Store side: index of each class already written; next index to hand out (0 is the null tag).
  std::unordered_map<const ClassInfo*, std::uint32_t> storedClasses_;
  std::uint32_t mapCount_ = 1;
  // Load side: what each index stands for (a class, or null for an object's index).
  std::vector<const ClassInfo*> loaded_{nullptr};
};
