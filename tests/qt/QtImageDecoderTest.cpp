#include "platform/qt/QtImageDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QByteArray>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class QtImageDecoderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  fs::path PathOf(const std::string& name) const { return fs::path(dir_.path().toStdString()) / name; }
  fs::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    const fs::path p = PathOf(name);
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return p;
  }
  fs::path Save(const std::string& name, const QImage& image, const char* format) const {
    const fs::path p = PathOf(name);
    EXPECT_TRUE(image.save(QString::fromStdString(p.string()), format)) << name;
    return p;
  }

  QtImageDecoder decoder_;

 private:
  QTemporaryDir dir_;
};

// B, G, R of the decoded pixel (x, y).
QRgb PixelAt(const DecodedImage& img, int x, int y) {
  const std::uint8_t* p = img.bgr.data() + (static_cast<std::size_t>(y) * img.width + x) * 3;
  return qRgb(p[2], p[1], p[0]);
}

void ExpectNear(QRgb actual, QRgb expected, int tolerance, const std::string& where) {
  EXPECT_NEAR(qRed(actual), qRed(expected), tolerance) << where;
  EXPECT_NEAR(qGreen(actual), qGreen(expected), tolerance) << where;
  EXPECT_NEAR(qBlue(actual), qBlue(expected), tolerance) << where;
}

void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  Put16(b, static_cast<std::uint16_t>(v));
  Put16(b, static_cast<std::uint16_t>(v >> 16));
}
void Put32BigEndian(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
}

// A 24-bit BMP whose header claims w x h; the rows are only written when asked for.
std::vector<std::uint8_t> BmpFile(std::int32_t w, std::int32_t h, bool withRows) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) / 4 * 4;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(h < 0 ? -h : h);
  std::vector<std::uint8_t> b = {'B', 'M'};
  Put32(b, 54 + imageSize);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(w));
  Put32(b, static_cast<std::uint32_t>(h));
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);
  Put32(b, imageSize);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  if (withRows) b.resize(b.size() + imageSize, 0x40);
  return b;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t n) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) {
    c ^= data[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return c ^ 0xFFFFFFFFu;
}

void PutChunk(std::vector<std::uint8_t>& b, const char* type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> chunk(type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  Put32BigEndian(b, static_cast<std::uint32_t>(data.size()));
  b.insert(b.end(), chunk.begin(), chunk.end());
  Put32BigEndian(b, Crc32(chunk.data(), chunk.size()));
}

// A black-and-white PNG claiming w x h; with rows it is a complete picture, small on disk and
// in Qt's one-bit image however large it claims to be.
std::vector<std::uint8_t> PngFile(std::uint32_t w, std::uint32_t h, bool withRows) {
  std::vector<std::uint8_t> b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  Put32BigEndian(header, w);
  Put32BigEndian(header, h);
  header.insert(header.end(), {1, 0, 0, 0, 0});  // 1 bit grey, no interlacing
  PutChunk(b, "IHDR", header);
  if (withRows) {
    const QByteArray raw(static_cast<qsizetype>((1 + (w + 7) / 8) * static_cast<std::uint64_t>(h)), '\0');
    const QByteArray packed = qCompress(raw).mid(4);  // a zlib stream after Qt's length prefix
    PutChunk(b, "IDAT", std::vector<std::uint8_t>(packed.begin(), packed.end()));
  }
  PutChunk(b, "IEND", {});
  return b;
}

// A GIF with a four-colour table. The pixel codes are sent with a clear code before every pair,
// so the code width stays at three bits and no real compression is needed.
std::vector<std::uint8_t> GifFile(int w, int h, const std::vector<std::uint8_t>& indices,
                                  const std::vector<QRgb>& palette, int transparentIndex) {
  std::vector<std::uint8_t> b = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(b, static_cast<std::uint16_t>(w));
  Put16(b, static_cast<std::uint16_t>(h));
  b.insert(b.end(), {0x91, 0, 0});
  for (QRgb c : palette) {
    b.push_back(static_cast<std::uint8_t>(qRed(c)));
    b.push_back(static_cast<std::uint8_t>(qGreen(c)));
    b.push_back(static_cast<std::uint8_t>(qBlue(c)));
  }
  if (transparentIndex >= 0)
    b.insert(b.end(), {0x21, 0xF9, 0x04, 0x01, 0, 0, static_cast<std::uint8_t>(transparentIndex), 0});
  b.push_back(0x2C);
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, static_cast<std::uint16_t>(w));
  Put16(b, static_cast<std::uint16_t>(h));
  b.push_back(0);
  b.push_back(2);  // minimum code size

  std::vector<std::uint8_t> data;
  std::uint32_t acc = 0;
  int bitCount = 0;
  auto sendCode = [&](unsigned code) {
    acc |= code << bitCount;
    bitCount += 3;
    while (bitCount >= 8) {
      data.push_back(static_cast<std::uint8_t>(acc));
      acc >>= 8;
      bitCount -= 8;
    }
  };
  constexpr unsigned kClear = 4;
  constexpr unsigned kEnd = 5;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i % 2 == 0) sendCode(kClear);
    sendCode(indices[i]);
  }
  sendCode(kEnd);
  if (bitCount > 0) data.push_back(static_cast<std::uint8_t>(acc));
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - at);
    b.push_back(static_cast<std::uint8_t>(n));
    b.insert(b.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
             data.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  b.push_back(0);
  b.push_back(0x3B);
  return b;
}

const std::vector<std::vector<QRgb>> kPicture = {
    {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)},
    {qRgb(0, 0, 0), qRgb(10, 20, 30), qRgb(200, 100, 50), qRgb(0, 128, 255)}};

QImage PictureImage() {
  QImage img(4, 2, QImage::Format_RGB32);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) img.setPixel(x, y, kPicture[y][x]);
  return img;
}

struct LosslessCase {
  const char* name;
  friend void PrintTo(const LosslessCase& c, std::ostream* os) { *os << c.name; }
  const char* fileName;
  const char* format;
};

class LosslessFormat : public QtImageDecoderTest, public ::testing::WithParamInterface<LosslessCase> {};

TEST_P(LosslessFormat, DecodesEveryPixelTopRowFirst) {
  const fs::path file = Save(GetParam().fileName, PictureImage(), GetParam().format);
  const auto img = decoder_.Load(file);
  ASSERT_TRUE(img.has_value());
  ASSERT_EQ(img->width, 4);
  ASSERT_EQ(img->height, 2);
  ASSERT_EQ(img->bgr.size(), 4u * 2u * 3u);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(*img, x, y), kPicture[y][x]) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(QtImageDecoder, LosslessFormat,
                         ::testing::Values(LosslessCase{"png", "picture.png", "PNG"},
                                           LosslessCase{"bmp", "picture.bmp", "BMP"},
                                           // The content decides, not the file name.
                                           LosslessCase{"pngNamedBmp", "picture.bmp", "PNG"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(QtImageDecoderTest, DecodesJpegCloseToItsColours) {
  QImage img(32, 16, QImage::Format_RGB32);
  img.fill(qRgb(255, 0, 0));
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) img.setPixel(x, y, qRgb(0, 0, 255));
  const auto decoded = decoder_.Load(Save("picture.jpg", img, "JPEG"));
  ASSERT_TRUE(decoded.has_value());
  ASSERT_EQ(decoded->width, 32);
  ASSERT_EQ(decoded->height, 16);
  ExpectNear(PixelAt(*decoded, 4, 8), qRgb(255, 0, 0), 40, "red half");
  ExpectNear(PixelAt(*decoded, 27, 8), qRgb(0, 0, 255), 40, "blue half");
}

TEST_F(QtImageDecoderTest, DecodesGifAndComposesItsTransparentColourOntoWhite) {
  const std::vector<QRgb> palette = {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 0, 0), qRgb(0, 255, 0)};
  const std::vector<std::uint8_t> indices = {0, 1, 2, 3, 2, 1, 0, 3};
  const auto img = decoder_.Load(Write("picture.gif", GifFile(4, 2, indices, palette, 2)));
  ASSERT_TRUE(img.has_value());
  ASSERT_EQ(img->width, 4);
  ASSERT_EQ(img->height, 2);
  for (int i = 0; i < 8; ++i) {
    const QRgb expected = indices[i] == 2 ? qRgb(255, 255, 255) : palette[indices[i]];
    EXPECT_EQ(PixelAt(*img, i % 4, i / 4), expected) << i;
  }
}

TEST_F(QtImageDecoderTest, TransparentPngPartsBecomeWhite) {
  QImage img(3, 1, QImage::Format_ARGB32);
  img.setPixel(0, 0, qRgba(0, 0, 0, 0));
  img.setPixel(1, 0, qRgba(255, 0, 0, 128));
  img.setPixel(2, 0, qRgba(0, 0, 255, 255));
  const auto decoded = decoder_.Load(Save("alpha.png", img, "PNG"));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(PixelAt(*decoded, 0, 0), qRgb(255, 255, 255));
  ExpectNear(PixelAt(*decoded, 1, 0), qRgb(255, 127, 127), 1, "half transparent red");
  EXPECT_EQ(PixelAt(*decoded, 2, 0), qRgb(0, 0, 255));
}

TEST_F(QtImageDecoderTest, MissingBrokenAndForeignFilesGiveNothing) {
  EXPECT_FALSE(decoder_.Load(PathOf("missing.png")).has_value());
  EXPECT_FALSE(decoder_.Load(fs::path()).has_value());
  EXPECT_FALSE(decoder_.Load(Write("text.png", {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'})).has_value());
  EXPECT_FALSE(decoder_.Load(Write("empty.bmp", {})).has_value());
  // A PNG cut off inside its header.
  std::vector<std::uint8_t> png = PngFile(4, 4, true);
  png.resize(20);
  EXPECT_FALSE(decoder_.Load(Write("cut.png", png)).has_value());
  // A valid header with its pixel rows missing.
  EXPECT_FALSE(decoder_.Load(Write("norows.bmp", BmpFile(64, 64, false))).has_value());
  // Qt reads more formats than the layouts accept.
  EXPECT_FALSE(decoder_.Load(Save("picture.ppm", PictureImage(), "PPM")).has_value());
  EXPECT_FALSE(decoder_.Load(PathOf("")).has_value());  // the folder itself
}

struct DeclaredSize {
  const char* name;
  friend void PrintTo(const DeclaredSize& c, std::ostream* os) { *os << c.name; }
  std::int32_t width;
  std::int32_t height;
};

class OversizedPicture : public QtImageDecoderTest, public ::testing::WithParamInterface<DeclaredSize> {};

TEST_P(OversizedPicture, IsRefused) {
  const DeclaredSize& c = GetParam();
  // Complete pictures where the file stays small, so only the size limit can refuse them.
  const long long pixels = static_cast<long long>(c.width) * c.height;
  const bool complete = pixels <= 60'000'000;
  EXPECT_FALSE(decoder_.Load(Write("huge.bmp", BmpFile(c.width, c.height, complete && pixels < 100'000))).has_value());
  if (c.width > 0 && c.height > 0) {
    const auto png = PngFile(static_cast<std::uint32_t>(c.width), static_cast<std::uint32_t>(c.height), complete);
    EXPECT_FALSE(decoder_.Load(Write("huge.png", png)).has_value());
  }
}

INSTANTIATE_TEST_SUITE_P(QtImageDecoder, OversizedPicture,
                         ::testing::Values(DeclaredSize{"sixtyThousandSquare", 60000, 60000},
                                           DeclaredSize{"tooManyPixels", 7072, 7072},
                                           DeclaredSize{"noWidth", 0, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

// Long thin pictures are small: only the pixel count limits them, not a side.
TEST_F(QtImageDecoderTest, AcceptsLongThinPictures) {
  const struct {
    int width;
    int height;
  } sizes[] = {{20001, 4}, {4, 20001}, {70000, 2}};
  for (const auto& c : sizes) {
    const auto bmp = decoder_.Load(Write("lang.bmp", BmpFile(c.width, c.height, true)));
    ASSERT_TRUE(bmp.has_value()) << c.width << "x" << c.height;
    EXPECT_EQ(bmp->width, c.width);
    EXPECT_EQ(bmp->height, c.height);
    EXPECT_EQ(PixelAt(*bmp, c.width - 1, c.height - 1), qRgb(0x40, 0x40, 0x40));
    const auto png = decoder_.Load(Write("lang.png", PngFile(static_cast<std::uint32_t>(c.width),
                                                             static_cast<std::uint32_t>(c.height), true)));
    ASSERT_TRUE(png.has_value()) << c.width << "x" << c.height;
    EXPECT_EQ(png->width, c.width);
  }
}

}  // namespace
