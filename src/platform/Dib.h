// The layout of a packed device-independent bitmap (a BITMAPINFOHEADER or a later version of it,
// then colour table or colour masks, rows elsewhere), read without trusting any header field.
// Drawing code turns the rows into pixels from this; the image element asks it whether a stored
// picture can be drawn at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

struct DibFormat {
  int width = 0;
  int height = 0;         // rows, always positive
  bool bottomUp = false;  // the first row in memory is the bottom one
  int bitCount = 0;       // 1, 4, 8, 16, 24 or 32
  std::int64_t stride = 0;
  // Colour table (bit counts up to 8): entries stored in the header and where they start.
  std::uint32_t tableEntries = 0;
  std::size_t tableOffset = 0;
  // Where each colour lies in a 16- or 32-bit pixel; BI_RGB pictures get the fixed layouts
  // (5-5-5 and 8-8-8).
  std::uint32_t redMask = 0;
  std::uint32_t greenMask = 0;
  std::uint32_t blueMask = 0;
};

enum class DibProblem {
  none,
  malformed,    // the header contradicts itself or the buffers it came with
  unsupported,  // a sound header of a kind not drawn here (run-length, JPEG or PNG inside)
};

// Largest picture drawn; a damaged file must not make us convert gigabytes. It also bounds each
// side, so no separate side limit is needed.
inline constexpr std::int64_t kMaxDibPixels = std::int64_t{1} << 28;

// The format when the rows can be drawn: `headerSize` bytes of header (with any table or masks)
// and `bitsSize` bytes of rows. Otherwise nothing, with the reason in `problem` when given.
std::optional<DibFormat> ReadDibFormat(const std::uint8_t* header, std::size_t headerSize,
                                       std::size_t bitsSize, DibProblem* problem = nullptr);

// Little-endian fields of a bitmap header or pixel row.
inline std::uint16_t DibU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t DibU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One channel of a 16- or 32-bit pixel scaled to 0..255 through its mask.
std::uint8_t DibChannel(std::uint32_t pixel, std::uint32_t mask);
