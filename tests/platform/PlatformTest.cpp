// Text codec, archive primitives and the stored window placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <unistd.h>

#include "platform/Archive.h"
#include "platform/LargePages.h"
#include "platform/TextCodec.h"
#include "platform/WindowPlacement.h"
#include "support/Bytes.h"

namespace {

TEST(TextCodec, EveryWindows1252ByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = codec::Cp1252ToUtf8(all);
  EXPECT_EQ(codec::Utf8ToCp1252(utf8), all);
  EXPECT_EQ(codec::Cp1252ToUtf8("\x80\xE4\x9F"), "€äŸ");
  EXPECT_EQ(codec::Cp1252ToUtf8("\x81"), "\xC2\x81");  // undefined byte keeps its C1 value
}

TEST(TextCodec, ReductionAndMalformedInput) {
  EXPECT_EQ(codec::ReduceToCp1252("Zürich → Kiel ✓ 😀"), "Zürich ? Kiel ? ?");
  EXPECT_EQ(codec::Utf8ToCp1252("a\xFF" "b\xC3"), "a?b?");   // stray and cut-off bytes
  EXPECT_EQ(codec::Utf8ToCp1252("\xC0\xAF"), "??");          // overlong form
  EXPECT_EQ(codec::Utf16ToUtf8(u"\xD83D\xDE00 \xD800x"), "😀 \xEF\xBF\xBDx");
  EXPECT_EQ(codec::Utf8ToUtf16("ä😀"), std::u16string(u"ä\xD83D\xDE00"));
}

TEST(Archive, CountsAndStringPrefixesAtTheirBoundaries) {
  struct Case {
    std::uint32_t count;
    std::vector<std::uint8_t> bytes;
  } counts[] = {
      {0, Bytes().u16(0).data},
      {0xFFFE, Bytes().u16(0xFFFE).data},
      {0xFFFF, Bytes().u16(0xFFFF).u32(0xFFFF).data},
      {70000, Bytes().u16(0xFFFF).u32(70000).data},
  };
  for (const Case& c : counts) {
    MemoryStream out;
    Archive w(out, Archive::Mode::store);
    w.WriteCount(c.count);
    EXPECT_EQ(out.Data(), c.bytes) << c.count;
    MemoryStream in(c.bytes);
    Archive r(in, Archive::Mode::load);
    EXPECT_EQ(r.ReadCount(), c.count);
  }
  // Wide marker with a long UTF-16 length.
  Bytes wide;
  wide.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(300);
  for (int i = 0; i < 300; ++i) wide.u16(u'é');
  MemoryStream in(wide.data);
  Archive r(in, Archive::Mode::load);
  EXPECT_EQ(r.ReadString(), [] { std::string s; for (int i = 0; i < 300; ++i) s += "é"; return s; }());
  EXPECT_EQ(r.Remaining(), 0u);
  // After the marker, a word of 0xFFFE is an ordinary length of 65534 characters.
  Bytes marker;
  marker.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFE);
  for (int i = 0; i < 0xFFFE; ++i) marker.u16(u'a');
  MemoryStream in2(marker.data);
  Archive r2(in2, Archive::Mode::load);
  EXPECT_EQ(r2.ReadString().size(), 0xFFFEu);
}

// Blocks read onto the end of a buffer come out the same from every kind of stream: from memory
// (handed out in place) and from a file (copied through the buffer); a short read fails.
TEST(Archive, BytesReadIntoABufferFromEveryStream) {
  std::vector<std::uint8_t> block(1000);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 7);
  const auto path = std::filesystem::temp_directory_path() / ("veltrok-block-" + std::to_string(::getpid()));
  {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
  }
  MemoryStream memory(block);
  ByteViewStream view(block.data(), block.size());
  FileStream file(path, FileStream::Mode::read);
  for (ByteStream* stream : std::initializer_list<ByteStream*>{&memory, &view, &file}) {
    Archive ar(*stream, Archive::Mode::load);
    std::vector<std::uint8_t> got = {0xAB};
    ar.ReadBytesInto(got, 600);
    ar.ReadBytesInto(got, 0);
    ar.ReadBytesInto(got, 390);
    ASSERT_EQ(got.size(), 991u);
    EXPECT_EQ(got[0], 0xAB);
    EXPECT_TRUE(std::equal(got.begin() + 1, got.end(), block.begin()));
    EXPECT_EQ(ar.Remaining(), 10u);
    EXPECT_THROW(ar.ReadBytesInto(got, 11), ArchiveException);
  }
  std::filesystem::remove(path);
  EXPECT_THROW(view.Write(block.data(), 1), FileException);
}

TEST(Archive, LargeBlockReadIntoAReservedBufferKeepsEveryByte) {
  // A picture as big as a scan: its buffer is made ready for large pages before the copy. Neither
  // the bytes already in the buffer nor the ones read may suffer from that.
  std::vector<std::uint8_t> block(kLargeBufferBytes + (3u << 20) + 5);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 131 + (i >> 12));
  MemoryStream memory(block);
  Archive ar(memory, Archive::Mode::load);
  std::vector<std::uint8_t> got = {0xAB, 0xCD};
  got.reserve(got.size() + block.size());
  ar.ReadBytesInto(got, block.size());
  ASSERT_EQ(got.size(), block.size() + 2);
  EXPECT_EQ(got[0], 0xAB);
  EXPECT_EQ(got[1], 0xCD);
  EXPECT_TRUE(std::equal(got.begin() + 2, got.end(), block.begin()));
  // Asked again over bytes already written, nothing changes.
  PrepareLargeBuffer(got.data(), got.size());
  EXPECT_TRUE(std::equal(got.begin() + 2, got.end(), block.begin()));
}

TEST(MemoryStream, LargeBlockBetweenSmallWritesKeepsEveryByte) {
  // A layout saved to memory (clipboard, recovery copy) with a scan in it: the room for the
  // picture is made in one step; what came before and what follows must stay in place.
  std::vector<std::uint8_t> block(kLargeBufferBytes + (3u << 20) + 5);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 131 + (i >> 12));
  MemoryStream memory;
  const std::uint8_t before[] = {1, 2, 3};
  memory.Write(before, sizeof before);
  memory.Write(block.data(), block.size());
  for (std::uint8_t b = 0; b < 100; ++b) memory.Write(&b, 1);
  memory.Write(block.data(), block.size());
  const std::vector<std::uint8_t>& got = memory.Data();
  ASSERT_EQ(got.size(), sizeof before + 2 * block.size() + 100);
  EXPECT_TRUE(std::equal(before, before + sizeof before, got.begin()));
  EXPECT_TRUE(std::equal(block.begin(), block.end(), got.begin() + sizeof before));
  for (std::size_t b = 0; b < 100; ++b) EXPECT_EQ(got[sizeof before + block.size() + b], b);
  EXPECT_TRUE(std::equal(block.begin(), block.end(), got.end() - static_cast<std::ptrdiff_t>(block.size())));
}

TEST(WindowPlacement, FormatAndStrictParse) {
  WindowPlacement p;
  p.showCmd = WindowPlacement::kShowMaximized;
  p.normalPosition = CRect(10, 20, 810, 620);
  EXPECT_EQ(p.Format(), "0,3,-1,-1,-1,-1,10,20,810,620");
  EXPECT_EQ(WindowPlacement::Parse(p.Format()), p);
  EXPECT_FALSE(WindowPlacement::Parse(""));
  EXPECT_FALSE(WindowPlacement::Parse("0,1,-1,-1,-1,-1,10,20,810"));
  EXPECT_FALSE(WindowPlacement::Parse("Fenster"));
}


TEST(WindowPlacement, RectangleOffEveryScreenComesBackOntoTheNearest) {
  const CRect laptop(0, 0, 1600, 1000);
  const CRect right(1600, 0, 3520, 1080);
  const struct {
    CRect stored;
    std::vector<CRect> screens;
    CRect placed;
  } cases[] = {
      // Stored on a second monitor that is gone: onto the remaining one, moved as little as possible.
      {{3000, 2000, 4000, 2800}, {laptop}, {600, 200, 1600, 1000}},
      {{-900, 100, -100, 700}, {laptop}, {0, 100, 800, 700}},
      // Larger than the screen: shrunk to its work area.
      {{5000, -3000, 7000, -500}, {laptop}, {0, 0, 1600, 1000}},
      // Well on a screen, or across two: untouched.
      {{100, 100, 900, 700}, {laptop}, {100, 100, 900, 700}},
      {{1200, 100, 2400, 700}, {laptop, right}, {1200, 100, 2400, 700}},
      {{-500, -20, 300, 600}, {laptop}, {-500, -20, 300, 600}},
      // Only a sliver left on a screen: pulled fully onto it.
      {{1590, 500, 2390, 1100}, {laptop}, {800, 400, 1600, 1000}},
      // Off both screens: the closer one takes it.
      {{4000, 100, 4800, 700}, {laptop, right}, {2720, 100, 3520, 700}},
      // No screens known: as stored.
      {{3000, 2000, 4000, 2800}, {}, {3000, 2000, 4000, 2800}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlaceOnScreens(c.stored, c.screens), c.placed)
        << c.stored.left << "," << c.stored.top << "," << c.stored.right << "," << c.stored.bottom;
}

}  // namespace
