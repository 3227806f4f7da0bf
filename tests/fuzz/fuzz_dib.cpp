// Picture drawing on arbitrary bitmap headers and pixel bytes: the decoder must stay inside the
// bytes it is given, whatever sizes, depths, masks or palettes the header claims.
#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <cstdlib>

#include "platform/qt/QtDeviceContext.h"

// A device context measures its default font, which needs the application object.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  // The first two bytes split the rest into header and pixels; two more choose the target size,
  // so stretching, shrinking and mirroring are all reached.
  const std::size_t split = (data[0] | (data[1] << 8)) % (size - 4 + 1);
  const int dw = static_cast<std::int8_t>(data[2]);
  const int dh = static_cast<std::int8_t>(data[3]);
  const std::uint8_t* rest = data + 4;
  const std::size_t restSize = size - 4;
  QImage target(48, 48, QImage::Format_RGB32);
  target.fill(Qt::white);
  {
    QtDeviceContext dc(&target);
    dc.StretchDib(CRect(4, 4, 4 + dw, 4 + dh), rest, split, rest + split, restSize - split);
  }
  return 0;
}
