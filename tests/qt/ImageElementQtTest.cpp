// Picture elements loading real files through the Qt decoder.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "model/FormImage.h"
#include "platform/Paths.h"
#include "platform/qt/QtImageDecoder.h"
#include "support/FakeServices.h"

namespace {

TEST(ImageElementQt, LoadsRealFilesWithAspectAndWhiteTransparency) {
  QtImageDecoder decoder;
  ScopedServices scope;
  scope.With<ImageDecoder>(&decoder);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());

  QImage wide(400, 100, QImage::Format_ARGB32);
  wide.fill(Qt::transparent);
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 100; ++y) wide.setPixelColor(x, y, QColor(255, 0, 0));
  const QString widePath = dir.filePath("breit.png");
  ASSERT_TRUE(wide.save(widePath));

  CFormImage img({10, 20}, PathToUtf8(widePath.toStdU16String()));
  ASSERT_TRUE(img.HasPicture());
  EXPECT_EQ(img.width, 100);
  EXPECT_EQ(img.height, 25);
  EXPECT_EQ(img.PixelSize(), CSize(400, 100));
  // Bottom-up rows of B, G, R: the first row in the buffer is the picture's last row.
  const auto& dib = *img.dib;
  const std::size_t stride = 400 * 3;
  const std::size_t row0 = 40;
  EXPECT_EQ(dib[row0 + 0], 0);    // left half red: B
  EXPECT_EQ(dib[row0 + 2], 255);  // R
  const std::size_t right = row0 + 399 * 3;
  EXPECT_EQ(dib[right], 255);  // transparent became white
  EXPECT_EQ(dib[right + 1], 255);
  EXPECT_EQ(dib[right + 2], 255);
  EXPECT_EQ(dib.size(), 40 + stride * 100);

  QImage tall(100, 400, QImage::Format_RGB32);
  tall.fill(Qt::blue);
  const QString tallPath = dir.filePath("hoch.bmp");
  ASSERT_TRUE(tall.save(tallPath));
  CFormImage high({0, 0}, PathToUtf8(tallPath.toStdU16String()));
  EXPECT_EQ(high.width, 25);
  EXPECT_EQ(high.height, 100);

  // Missing and broken files: 50 x 50 without picture.
  CFormImage missing({0, 0}, PathToUtf8(dir.filePath("fehlt.png").toStdU16String()));
  EXPECT_FALSE(missing.HasPicture());
  EXPECT_EQ(missing.width, 50);
  EXPECT_EQ(missing.height, 50);
  const QString broken = dir.filePath("kaputt.png");
  {
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x89PNG\r\n\x1a\n garbage");
  }
  CFormImage bad({0, 0}, PathToUtf8(broken.toStdU16String()));
  EXPECT_FALSE(bad.HasPicture());
  EXPECT_EQ(bad.width, 50);
}

}  // namespace
