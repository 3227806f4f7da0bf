#include "platform/LogFont.h"

#include <cstring>

#include "platform/TextCodec.h"

namespace {
void PutInt(std::uint8_t* p, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  p[0] = static_cast<std::uint8_t>(u);
  p[1] = static_cast<std::uint8_t>(u >> 8);
  p[2] = static_cast<std::uint8_t>(u >> 16);
  p[3] = static_cast<std::uint8_t>(u >> 24);
}
std::int32_t GetInt(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) |
                                   (static_cast<std::uint32_t>(p[1]) << 8) |
                                   (static_cast<std::uint32_t>(p[2]) << 16) |
                                   (static_cast<std::uint32_t>(p[3]) << 24));
}
}  // namespace

std::string FaceNameBytes(const LOGFONTA& font) {
  std::size_t n = 0;
  while (n < sizeof font.lfFaceName && font.lfFaceName[n] != '\0') ++n;
  return std::string(font.lfFaceName, n);
}

void SetFaceNameBytes(LOGFONTA& font, std::string_view bytes) {
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  const std::size_t n = std::min<std::size_t>(bytes.size(), kFaceNameMax);
  std::memcpy(font.lfFaceName, bytes.data(), n);
}

std::string FaceName(const LOGFONTA& font) { return codec::Cp1252ToUtf8(FaceNameBytes(font)); }

void SetFaceName(LOGFONTA& font, std::string_view utf8) {
  SetFaceNameBytes(font, codec::Utf8ToCp1252(utf8));
}

void LogFontToBytes(const LOGFONTA& f, std::uint8_t out[kLogFontSize]) {
  PutInt(out + 0, f.lfHeight);
  PutInt(out + 4, f.lfWidth);
  PutInt(out + 8, f.lfEscapement);
  PutInt(out + 12, f.lfOrientation);
  PutInt(out + 16, f.lfWeight);
  out[20] = f.lfItalic;
  out[21] = f.lfUnderline;
  out[22] = f.lfStrikeOut;
  out[23] = f.lfCharSet;
  out[24] = f.lfOutPrecision;
  out[25] = f.lfClipPrecision;
  out[26] = f.lfQuality;
  out[27] = f.lfPitchAndFamily;
  std::memcpy(out + 28, f.lfFaceName, 32);
}

LOGFONTA LogFontFromBytes(const std::uint8_t in[kLogFontSize]) {
  LOGFONTA f;
  f.lfHeight = GetInt(in + 0);
  f.lfWidth = GetInt(in + 4);
  f.lfEscapement = GetInt(in + 8);
  f.lfOrientation = GetInt(in + 12);
  f.lfWeight = GetInt(in + 16);
  f.lfItalic = in[20];
  f.lfUnderline = in[21];
  f.lfStrikeOut = in[22];
  f.lfCharSet = in[23];
  f.lfOutPrecision = in[24];
  f.lfClipPrecision = in[25];
  f.lfQuality = in[26];
  f.lfPitchAndFamily = in[27];
  std::memcpy(f.lfFaceName, in + 28, 32);
  return f;
}
