#include "cli/Png.h"

#ifdef VELTROK_CLI_WITH_QT

#include <QImage>
#include <QString>

#include "cli/GuiSession.h"
#include "model/FormElementPtrList.h"
#include "platform/qt/QtDeviceContext.h"
#include "view/PlaceholderMarks.h"

bool WriteLayoutPng(CFormElementPtrList& list, const std::filesystem::path& out, int width, bool marks) {
  const auto app = EnsureGuiApplication();
  const int pageW = list.portrait ? kPortraitWidth : kPortraitHeight;
  const int pageH = list.portrait ? kPortraitHeight : kPortraitWidth;
  const CPageMapper mapper = CPageMapper::ForPage(pageW, pageH, width, width * pageH / pageW + 1);
  const CPoint size = mapper.ToDevice(pageW, pageH);
  QImage image(size.x, size.y, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QtDeviceContext dc(&image);
    list.DrawAll(dc, mapper);
    if (marks) DrawPlaceholderMarks(dc, FindPlaceholderMarks(dc, mapper, list));
  }
  return image.save(QString::fromStdU16String(out.u16string()), "PNG");
}

#else

bool WriteLayoutPng(CFormElementPtrList&, const std::filesystem::path&, int, bool) { return false; }

#endif
