#include "support/Bytes.h"

Bytes& Bytes::str(std::string_view s) {
  if (s.size() < 255) {
    u8(static_cast<std::uint8_t>(s.size()));
  } else if (s.size() < 0xFFFE) {
    u8(0xFF);
    u16(static_cast<std::uint16_t>(s.size()));
  } else {
    u8(0xFF);
    u16(0xFFFF);
    u32(static_cast<std::uint32_t>(s.size()));
  }
  return raw(s);
}

Bytes& Bytes::font(int height, int weight, std::string_view face, std::uint8_t outPrecision,
                   std::uint8_t clipPrecision, std::uint8_t italic) {
  i32(height).i32(0).i32(0).i32(0).i32(weight);
  u8(italic).u8(0).u8(0).u8(0).u8(outPrecision).u8(clipPrecision).u8(0).u8(0);
  return str(face);
}

Bytes& Bytes::rawFont(int height, int weight, std::string_view face) {
  i32(height).i32(0).i32(0).i32(0).i32(weight);
  u8(0).u8(0).u8(0).u8(0).u8(4).u8(32).u8(0).u8(0);
  std::string name(face.substr(0, 32));
  name.resize(32, '\0');
  return raw(name);
}
