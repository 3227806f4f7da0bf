#include "cli/Png.h"

#ifdef VELTROK_CLI_WITH_QT

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdlib>
#include <memory>

#include "model/FormElementPtrList.h"
#include "platform/qt/QtDeviceContext.h"

bool WriteLayoutPng(CFormElementPtrList& list, const std::filesystem::path& out, int width) {
  // Fonts need a GUI application; no display is needed for drawing into a picture.
  std::unique_ptr<QGuiApplication> app;
  if (!QGuiApplication::instance()) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "veltrok-cli";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  const int pageW = list.portrait ? kPortraitWidth : kPortraitHeight;
  const int pageH = list.portrait ? kPortraitHeight : kPortraitWidth;
  const CPageMapper mapper = CPageMapper::ForPage(pageW, pageH, width, width * pageH / pageW + 1);
  const CPoint size = mapper.ToDevice(pageW, pageH);
  QImage image(size.x, size.y, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QtDeviceContext dc(&image);
    list.DrawAll(dc, mapper);
  }
  return image.save(QString::fromStdU16String(out.u16string()), "PNG");
}

#else

bool WriteLayoutPng(CFormElementPtrList&, const std::filesystem::path&, int) { return false; }

#endif
