#include "platform/Archive.h"

#include <cstring>

#include "platform/LargePages.h"
#include "platform/TextCodec.h"

Archive::Archive(ByteStream& stream, Mode mode, const ClassRegistry* registry)
    : stream_(stream), mode_(mode), registry_(registry) {}

void Archive::Fail(ArchiveException::Cause cause, const char* what) {
  throw ArchiveException(cause, what);
}

// ---- storing -----------------------------------------------------------------------------------

void Archive::WriteBytes(const void* data, std::size_t n) {
  if (n) stream_.Write(data, n);
}

void Archive::WriteByte(std::uint8_t v) { WriteBytes(&v, 1); }

void Archive::WriteWord(std::uint16_t v) {
  const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
  WriteBytes(b, 2);
}

void Archive::WriteDword(std::uint32_t v) {
  const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                             static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  WriteBytes(b, 4);
}

void Archive::WriteInt(std::int32_t v) { WriteDword(static_cast<std::uint32_t>(v)); }

void Archive::WritePoint(CPoint p) {
  WriteInt(p.x);
  WriteInt(p.y);
}

void Archive::WriteCount(std::uint32_t n) {
  if (n < 0xFFFF) {
    WriteWord(static_cast<std::uint16_t>(n));
  } else {
    WriteWord(0xFFFF);
    WriteDword(n);
  }
}

void Archive::WriteStringLength(std::uint32_t n) {
  if (n < 255) {
    WriteByte(static_cast<std::uint8_t>(n));
  } else if (n < 0xFFFE) {
    WriteByte(0xFF);
    WriteWord(static_cast<std::uint16_t>(n));
  } else {
    WriteByte(0xFF);
    WriteWord(0xFFFF);
    WriteDword(n);
  }
}

void Archive::WriteAnsiString(std::string_view bytes) {
  WriteStringLength(static_cast<std::uint32_t>(bytes.size()));
  WriteBytes(bytes.data(), bytes.size());
}

void Archive::WriteString(std::string_view utf8) { WriteAnsiString(codec::Utf8ToCp1252(utf8)); }

void Archive::WriteObject(SerialObject& object) {
  const ClassInfo& info = object.GetRuntimeClass();
  const auto found = storedClasses_.find(&info);
  if (found != storedClasses_.end()) {
    const std::uint32_t index = found->second;
    if (index < kBigObjectTag) {
      WriteWord(static_cast<std::uint16_t>(kClassTag | index));
    } else {
      WriteWord(kBigObjectTag);
      WriteDword(kBigClassTag | index);
    }
  } else {
    storedClasses_.emplace(&info, mapCount_++);
    const std::size_t len = std::strlen(info.name);
    WriteWord(kNewClassTag);
    WriteWord(info.schema);
    WriteWord(static_cast<std::uint16_t>(len));
    WriteBytes(info.name, len);
  }
  ++mapCount_;  // the object takes an index too, although it is never referenced again
  object.Serialize(*this);
}

// ---- loading -----------------------------------------------------------------------------------

void Archive::Require(std::uint64_t n) const {
  if (stream_.Remaining() < n) Fail(ArchiveException::Cause::endOfFile, "unerwartetes Dateiende");
}

void Archive::ReadBytes(void* data, std::size_t n) {
  if (n == 0) return;
  if (stream_.Read(data, n) != n)
    Fail(ArchiveException::Cause::endOfFile, "unerwartetes Dateiende");
}

void Archive::ReadBytesInto(std::vector<std::uint8_t>& to, std::size_t n) {
  if (n == 0) return;
  if (const std::uint8_t* p = stream_.ReadInPlace(n)) {
    // One pass over the bytes: no zero-filling of the new room before the copy.
    if (n >= kLargeBufferBytes && to.capacity() - to.size() >= n) PrepareLargeBuffer(to.data() + to.size(), n);
    to.insert(to.end(), p, p + n);
    return;
  }
  const std::size_t old = to.size();
  to.resize(old + n);
  ReadBytes(to.data() + old, n);
}

std::uint8_t Archive::ReadByte() {
  std::uint8_t b;
  ReadBytes(&b, 1);
  return b;
}

std::uint16_t Archive::ReadWord() {
  std::uint8_t b[2];
  ReadBytes(b, 2);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t Archive::ReadDword() {
  std::uint8_t b[4];
  ReadBytes(b, 4);
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::int32_t Archive::ReadInt() { return static_cast<std::int32_t>(ReadDword()); }

CPoint Archive::ReadPoint() {
  // One 8-byte block: a point is never half read.
  std::uint8_t b[8];
  ReadBytes(b, 8);
  const auto le = [](const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) |
                                     (static_cast<std::uint32_t>(p[1]) << 8) |
                                     (static_cast<std::uint32_t>(p[2]) << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
  };
  return {le(b), le(b + 4)};
}

std::uint32_t Archive::ReadCount() {
  const std::uint16_t w = ReadWord();
  if (w != 0xFFFF) return w;
  return ReadDword();
}

std::uint32_t Archive::ReadStringLength(bool& wide) {
  wide = false;
  const std::uint8_t b = ReadByte();
  if (b < 0xFF) return b;
  std::uint16_t w = ReadWord();
  if (w == 0xFFFE) {
    // Wide-string marker: the real length prefix follows and counts UTF-16 characters.
    wide = true;
    const std::uint8_t b2 = ReadByte();
    if (b2 < 0xFF) return b2;
    w = ReadWord();  // after the marker 0xFFFE is an ordinary length
  }
  if (w < 0xFFFF) return w;
  return ReadDword();
}

std::string Archive::ReadAnsiString() {
  bool wide = false;
  const std::uint32_t n = ReadStringLength(wide);
  if (wide) {
    Require(std::uint64_t{n} * 2);
    std::u16string text(n, u'\0');
    for (std::uint32_t i = 0; i < n; ++i) text[i] = static_cast<char16_t>(ReadWord());
    return codec::Utf8ToCp1252(codec::Utf16ToUtf8(text));
  }
  Require(n);
  std::string bytes(n, '\0');
  ReadBytes(bytes.data(), n);
  return bytes;
}

std::string Archive::ReadString() { return codec::Cp1252ToUtf8(ReadAnsiString()); }

std::unique_ptr<SerialObject> Archive::ReadObject(const ClassInfo& required) {
  const std::uint16_t tag = ReadWord();
  std::uint32_t objTag = 0;
  if (tag == kBigObjectTag) {
    objTag = ReadDword();
  } else {
    objTag = (static_cast<std::uint32_t>(tag & kClassTag) << 16) | (tag & ~kClassTag);
  }

  const ClassInfo* info = nullptr;
  if (tag == kNewClassTag) {
    ReadWord();  // schema: the element classes accept every schema number
    const std::uint16_t len = ReadWord();
    if (len >= 64) Fail(ArchiveException::Cause::badClass, "Klassenname zu lang");
    std::string name(len, '\0');
    ReadBytes(name.data(), len);
    info = registry_ ? registry_->Find(name) : nullptr;
    if (!info || !info->create) Fail(ArchiveException::Cause::badClass, "unbekannte Klasse");
    loaded_.push_back(info);
  } else if (!(objTag & kBigClassTag)) {
    // A null object or a reference to an object read before.
    Fail(ArchiveException::Cause::badIndex, "unerwarteter Objektverweis");
  } else {
    const std::uint32_t index = objTag & ~kBigClassTag;
    if (index == 0 || index >= loaded_.size())
      Fail(ArchiveException::Cause::badIndex, "ungültiger Klassenindex");
    info = loaded_[index];
    if (!info) Fail(ArchiveException::Cause::badClass, "Index verweist auf keine Klasse");
  }
  if (!info->IsDerivedFrom(required)) Fail(ArchiveException::Cause::badClass, "falsche Klasse");

  std::unique_ptr<SerialObject> object = info->create();
  loaded_.push_back(nullptr);  // the object's own index
  object->Serialize(*this);
  return object;
}
