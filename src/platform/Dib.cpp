#include "platform/Dib.h"

#include <algorithm>
#include <bit>

namespace {

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kMasksSize = 12;  // red, green and blue mask after a plain info header
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

std::optional<DibFormat> Fail(DibProblem* problem, DibProblem why) {
  if (problem) *problem = why;
  return std::nullopt;
}

}  // namespace

std::optional<DibFormat> ReadDibFormat(const std::uint8_t* header, std::size_t headerSize,
                                       std::size_t bitsSize, DibProblem* problem) {
  if (problem) *problem = DibProblem::none;
  if (!header || headerSize < kInfoHeaderSize) return Fail(problem, DibProblem::malformed);
  const std::uint32_t biSize = DibU32(header);
  if (biSize < kInfoHeaderSize || biSize > headerSize) return Fail(problem, DibProblem::malformed);
  const auto biWidth = static_cast<std::int32_t>(DibU32(header + 4));
  const auto biHeight = static_cast<std::int32_t>(DibU32(header + 8));
  const std::uint16_t planes = DibU16(header + 12);
  const std::uint16_t bpp = DibU16(header + 14);
  const std::uint32_t compression = DibU32(header + 16);
  const std::uint32_t clrUsed = DibU32(header + 32);
  if (biWidth < 1 || biHeight == 0 || planes != 1) return Fail(problem, DibProblem::malformed);
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    return Fail(problem, DibProblem::malformed);
  const bool bitfields = compression == kBiBitfields && (bpp == 16 || bpp == 32);
  if (compression != kBiRgb && !bitfields) return Fail(problem, DibProblem::unsupported);

  const std::int64_t w = biWidth;
  const std::int64_t h = biHeight < 0 ? -static_cast<std::int64_t>(biHeight) : biHeight;
  if (w * h > kMaxDibPixels) return Fail(problem, DibProblem::malformed);
  DibFormat f;
  f.width = static_cast<int>(w);
  f.height = static_cast<int>(h);
  f.bottomUp = biHeight > 0;
  f.bitCount = bpp;
  f.stride = (w * bpp + 31) / 32 * 4;
  if (static_cast<std::uint64_t>(f.stride * h) > bitsSize) return Fail(problem, DibProblem::malformed);

  if (bpp <= 8) {
    const std::uint32_t entries = 1u << bpp;
    f.tableEntries = clrUsed == 0 ? entries : std::min(clrUsed, entries);
    f.tableOffset = biSize;
    if (biSize + std::uint64_t{f.tableEntries} * 4 > headerSize) return Fail(problem, DibProblem::malformed);
  } else if (bitfields) {
    // Later header versions carry the masks inside; a plain info header has them behind it.
    const std::size_t at = kInfoHeaderSize;
    if (biSize == kInfoHeaderSize && kInfoHeaderSize + kMasksSize > headerSize)
      return Fail(problem, DibProblem::malformed);
    if (biSize != kInfoHeaderSize && biSize < kInfoHeaderSize + kMasksSize)
      return Fail(problem, DibProblem::malformed);
    f.redMask = DibU32(header + at);
    f.greenMask = DibU32(header + at + 4);
    f.blueMask = DibU32(header + at + 8);
  } else if (bpp == 16) {
    f.redMask = 0x7C00;
    f.greenMask = 0x03E0;
    f.blueMask = 0x001F;
  } else if (bpp == 32) {
    f.redMask = 0x00FF0000;
    f.greenMask = 0x0000FF00;
    f.blueMask = 0x000000FF;
  }
  return f;
}

std::uint8_t DibChannel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  // Only the lowest run of set bits counts; a mask with gaps has no meaning beyond it.
  const std::uint32_t field = mask >> shift;
  const int bits = std::countr_one(field);
  const std::uint32_t value = (pixel >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
  if (bits >= 8) return static_cast<std::uint8_t>(value >> (bits - 8));
  const std::uint32_t top = (1u << bits) - 1;
  return static_cast<std::uint8_t>((value * 255 + top / 2) / top);
}
