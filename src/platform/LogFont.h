// The 60-byte Windows font record that layout files store for texts and table columns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct LOGFONTA {
  std::int32_t lfHeight = 0;
  std::int32_t lfWidth = 0;
  std::int32_t lfEscapement = 0;
  std::int32_t lfOrientation = 0;
  std::int32_t lfWeight = 0;
  std::uint8_t lfItalic = 0;
  std::uint8_t lfUnderline = 0;
  std::uint8_t lfStrikeOut = 0;
  std::uint8_t lfCharSet = 0;
  std::uint8_t lfOutPrecision = 0;
  std::uint8_t lfClipPrecision = 0;
  std::uint8_t lfQuality = 0;
  std::uint8_t lfPitchAndFamily = 0;
  // Windows-1252 bytes, NUL-terminated within the 32 bytes. Use the helpers below.
  char lfFaceName[32] = {};

  friend bool operator==(const LOGFONTA&, const LOGFONTA&) = default;
};
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA must keep the 60-byte layout of the file record");

constexpr std::size_t kLogFontSize = 60;
constexpr int kFaceNameMax = 31;  // bytes of face name that fit before the terminator

// The face name's raw Windows-1252 bytes (up to the terminator).
std::string FaceNameBytes(const LOGFONTA& font);
// Sets the face name from raw Windows-1252 bytes, cut to 31 bytes.
void SetFaceNameBytes(LOGFONTA& font, std::string_view bytes);
// The face name as UTF-8, and setting it from UTF-8 (reduced to Windows-1252, cut to 31 bytes).
std::string FaceName(const LOGFONTA& font);
void SetFaceName(LOGFONTA& font, std::string_view utf8);

// The record as it lies in memory on Windows (little-endian), and back.
void LogFontToBytes(const LOGFONTA& font, std::uint8_t out[kLogFontSize]);
LOGFONTA LogFontFromBytes(const std::uint8_t in[kLogFontSize]);
