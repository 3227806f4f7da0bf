// Builds layout streams byte by byte from the format tables, independent of the archive code
// under test, so that the tests compare against the format and not against themselves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Bytes {
 public:
  Bytes& u8(std::uint8_t v) { data.push_back(v); return *this; }
  Bytes& u16(std::uint16_t v) { u8(v & 0xFF); return u8(v >> 8); }
  Bytes& u32(std::uint32_t v) { u16(v & 0xFFFF); return u16(v >> 16); }
  Bytes& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
  Bytes& point(int x, int y) { i32(x); return i32(y); }
  Bytes& raw(std::string_view s) { data.insert(data.end(), s.begin(), s.end()); return *this; }
  Bytes& raw(const std::vector<std::uint8_t>& v) { data.insert(data.end(), v.begin(), v.end()); return *this; }
  // A string with the short prefix (length below 255), bytes given as Windows-1252.
  Bytes& str(std::string_view cp1252);
  // New-class tag with schema 1 and the class name.
  Bytes& newClass(std::string_view name) { u16(0xFFFF); u16(1); u16(static_cast<std::uint16_t>(name.size())); return raw(name); }
  Bytes& classRef(std::uint16_t index) { return u16(static_cast<std::uint16_t>(0x8000 | index)); }
  // A font record in the field-wise form (version 4712 and later).
  Bytes& font(int height, int weight, std::string_view face, std::uint8_t outPrecision = 4,
              std::uint8_t clipPrecision = 32, std::uint8_t italic = 0);
  // A font as the raw 60-byte record (before 4712).
  Bytes& rawFont(int height, int weight, std::string_view face);

  std::vector<std::uint8_t> data;
};
