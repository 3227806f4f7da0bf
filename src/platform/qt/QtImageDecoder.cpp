#include "platform/qt/QtImageDecoder.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QString>

namespace {

bool Acceptable(const QSize& size) {
  const long long w = size.width();
  const long long h = size.height();
  return w >= 1 && h >= 1 && w * h <= QtImageDecoder::kMaxPixels;
}

QString ToQString(const std::filesystem::path& path) {
#ifdef _WIN32
  return QString::fromStdWString(path.native());
#else
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

bool IsSupportedFormat(const QByteArray& format) {
  const QByteArray f = format.toLower();
  return f == "bmp" || f == "dib" || f == "png" || f == "gif" || f == "jpeg" || f == "jpg";
}

}  // namespace

std::optional<DecodedImage> QtImageDecoder::Load(const std::filesystem::path& path) {
  if (path.empty()) return std::nullopt;
  // Large enough for the biggest accepted picture in 32 bits; a second guard should a reader
  // report no size before decoding.
  QImageReader::setAllocationLimit(512);  // 50 Mpx of 16-bit PNG decode at 8 bytes each
  QImageReader reader(ToQString(path));
  // The content decides, as with the platform's own picture loader, not the file name.
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(false);
  if (!reader.canRead() || !IsSupportedFormat(reader.format())) return std::nullopt;
  const QSize declared = reader.size();
  if (declared.isValid() && !Acceptable(declared)) return std::nullopt;

  QImage image;
  if (!reader.read(&image) || image.isNull() || !Acceptable(image.size())) return std::nullopt;
  // Premultiplied pixels composed onto opaque white are simply colour + (255 - alpha).
  image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return std::nullopt;

  DecodedImage out;
  out.width = image.width();
  out.height = image.height();
  out.bgr.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * 3);
  std::uint8_t* d = out.bgr.data();
  for (int y = 0; y < out.height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < out.width; ++x) {
      const QRgb c = row[x];
      const int white = 255 - qAlpha(c);
      *d++ = static_cast<std::uint8_t>(qBlue(c) + white);
      *d++ = static_cast<std::uint8_t>(qGreen(c) + white);
      *d++ = static_cast<std::uint8_t>(qRed(c) + white);
    }
  }
  return out;
}
