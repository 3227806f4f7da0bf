// The editor view at device pixel ratio 2: the page is drawn at the screen's full resolution,
// fills the same part of the window as at ratio 1, and the tools' pixels are device pixels.
#include "view/qt/ReportView.h"

#include <memory>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPixmap>

#include <gtest/gtest.h>

#include "model/FormText.h"
#include "platform/LogFont.h"
#include "support/FakeServices.h"
#include "support/LayoutFixtures.h"
#include "support/XorFeedback.h"
#include "view/ViewGeometry.h"

namespace {

void Settle() { QCoreApplication::processEvents(); }

class PressRecorder : public COperator {
 public:
  using COperator::COperator;
  void ButtonDown(ToolView&, CPoint p, unsigned) override { presses.push_back(p); }
  std::vector<CPoint> presses;
};

class HighDpiView : public ::testing::Test {
 protected:
  void SetUp() override {
    scope.With<SettingsStore>(&settings);
    doc = std::make_unique<CReportDoc>();
    view = std::make_unique<CReportView>(*doc, nullptr);
    view->resize(500, 400);
    view->show();
    Settle();
    view->OnInitialUpdate();
    Settle();
    ASSERT_DOUBLE_EQ(view->viewport()->devicePixelRatioF(), 2.0) << "QT_SCALE_FACTOR=2 did not apply";
  }
  void TearDown() override {
    view.reset();
    doc.reset();
  }
  // What the screen shows, in device pixels.
  QImage Shown() const { return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QPoint DevicePixelOf(CPoint page) const {
    const CPoint w = PageToWindow(view->ScreenMapper(), page, view->ScrollPosition(), view->PageOrigin());
    return {w.x, w.y};
  }

  FakeSettings settings;
  ScopedServices scope;
  std::unique_ptr<CReportDoc> doc;
  std::unique_ptr<CReportView> view;
};

TEST_F(HighDpiView, PictureHasDevicePixelsAndThePageFillsTheSameArea) {
  ASSERT_EQ(view->viewport()->size(), QSize(500, 400));
  EXPECT_EQ(view->BackingImage().size(), QSize(1000, 800));
  // The same page a 1000 x 800 window shows at ratio 1: 539 x 760 pixels, centred.
  EXPECT_EQ(view->ScreenMapper().ToDevice(500, 705), CPoint(539, 760));
  EXPECT_EQ(view->PageOrigin(), CPoint(230, 20));
  // What the screen shows is the picture, pixel for device pixel.
  const QImage shown = Shown();
  ASSERT_EQ(shown.size(), QSize(1000, 800));
  EXPECT_EQ(shown, view->BackingImage());
}

TEST_F(HighDpiView, GridLinesAreOneDevicePixelWide) {
  const QImage img = Shown();
  const QRgb grid = qRgb(200, 200, 200);
  const QRgb sheet = view->palette().color(QPalette::Base).rgb();
  const QPoint line = DevicePixelOf({100, 205});  // on the grid line x = 100, between two lines of y
  EXPECT_EQ(img.pixel(line), grid);
  EXPECT_EQ(img.pixel(line + QPoint(1, 0)), sheet);
  EXPECT_EQ(img.pixel(line - QPoint(1, 0)), sheet);
}

// Text drawn at full resolution has detail finer than two device pixels; a picture made at
// half size and doubled has none.
TEST_F(HighDpiView, TextIsNotDoubled) {
  auto text = std::make_unique<CFormText>(CPoint{50, 50}, "Ergebnisliste Kieler Woche");
  text->font.lfHeight = -200;
  doc->AddElement(std::move(text));
  doc->ClearSelection();
  const CRect box = doc->elements.At(0)->GetBounds();
  const QPoint a = DevicePixelOf(box.TopLeft());
  const QPoint b = DevicePixelOf(box.BottomRight());
  const QImage img = Shown();
  int inked = 0;
  int unevenBlocks = 0;
  for (int y = a.y() & ~1; y + 1 < b.y(); y += 2)
    for (int x = a.x() & ~1; x + 1 < b.x(); x += 2) {
      const QRgb p = img.pixel(x, y);
      if (qGray(p) < 128) ++inked;
      if (img.pixel(x + 1, y) != p || img.pixel(x, y + 1) != p || img.pixel(x + 1, y + 1) != p) ++unevenBlocks;
    }
  ASSERT_GT(inked, 20);
  EXPECT_GT(unevenBlocks, inked / 4);
}

TEST_F(HighDpiView, XorOutlinesStillEraseExactly) {
  doc->AddElement(Box(100, 100, 80, 40));
  view->ZoomBy(1.7, DevicePixelOf({120, 120}));
  ASSERT_TRUE(view->BackingImage().rect().contains(DevicePixelOf({90, 120})));
  const QImage before = view->BackingImage().copy();
  const CPageMapper& m = view->ScreenMapper();
  const auto feedback = [&](DeviceContext& dc) {
    DrawXorFeedback(dc, m);
    dc.Rectangle(CRect(m.ToDevice(95, 95), m.ToDevice(95, 95) + CPoint(2, 2)));  // two pixels across
  };
  feedback(*view->ClientDC());
  const QImage once = view->BackingImage().copy();
  EXPECT_NE(once, before);
  // The outline is one device pixel: the pixel inside it is untouched.
  const QPoint corner = DevicePixelOf({90, 120});
  EXPECT_EQ(once.pixel(corner), before.pixel(corner) ^ 0x5C5C5Cu);
  EXPECT_EQ(once.pixel(corner + QPoint(1, 0)), before.pixel(corner + QPoint(1, 0)));
  feedback(*view->ClientDC());
  EXPECT_EQ(view->BackingImage(), before);
}

TEST_F(HighDpiView, MouseLandsOnThePagePointUnderIt) {
  auto tool = std::make_unique<PressRecorder>(doc.get());
  PressRecorder* recorder = tool.get();
  doc->InstallTool(CReportDoc::selectToolSlot, std::move(tool));
  doc->SelectTool(CReportDoc::selectToolSlot);
  const QPointF at(180.75, 150.25);  // logical
  QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view->viewport(), &press);
  ASSERT_EQ(recorder->presses.size(), 1u);
  EXPECT_EQ(view->DevicePixelAt(at), QPoint(361, 300));
  EXPECT_EQ(recorder->presses[0], view->WindowToPagePoint(QPoint(361, 300)));
  // The page point drawn under that device pixel is the one the press reports.
  const QPoint drawn = DevicePixelOf(recorder->presses[0]);
  EXPECT_LE(std::abs(drawn.x() - 361), 1);
  EXPECT_LE(std::abs(drawn.y() - 300), 1);
  // Tools count the drag distance in the same device pixels.
  EXPECT_GE(view->DragThreshold(), 12);
}

}  // namespace
