// The editor view on a real document: the picture it keeps of its viewport, zooming and placement,
// orientation changes, input handed to the current tool, and exclusive-or feedback.
#include "view/qt/ReportView.h"

#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "model/ElementDialogs.h"
#include "model/FormAlias.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "support/LayoutFixtures.h"
#include "support/FakeDeviceContext.h"
#include "support/FakeServices.h"
#include "support/XorFeedback.h"
#include "view/StatusTexts.h"
#include "view/ViewGeometry.h"

namespace {

QRgb ToRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
COLORREF FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

class RecordingStatus : public StatusTexts {
 public:
  void SetCoordinateText(std::string_view t) override { coordinates.emplace_back(t); }
  void SetZoomText(std::string_view t) override { zooms.emplace_back(t); }
  void ShowStatusMessage(std::string_view t) override { messages.emplace_back(t); }
  std::vector<std::string> coordinates;
  std::vector<std::string> zooms;
  std::vector<std::string> messages;
};

struct ToolCall {
  std::string what;
  CPoint point;
  int key = 0;
  unsigned flags = 0;
  std::string coordinateText;  // what the status bar showed when the tool was called
};

class RecordingTool : public COperator {
 public:
  RecordingTool(CReportDoc* doc, RecordingStatus* status) : COperator(doc), status_(status) {}
  void ButtonDown(ToolView&, CPoint p, unsigned f) override { Record("down", p, 0, f); }
  void ButtonUp(ToolView&, CPoint p, unsigned f) override { Record("up", p, 0, f); }
  void MouseMove(ToolView&, CPoint p, unsigned f) override { Record("move", p, 0, f); }
  void KeyDown(ToolView&, int key, unsigned f) override { Record("key", {}, key, f); }
  ToolCursor QueryCursor(ToolView&, CPoint p) override {
    Record("cursor", p, 0, 0);
    return cursor;
  }
  std::vector<ToolCall> Calls(const std::string& what) const {
    std::vector<ToolCall> out;
    for (const ToolCall& c : calls)
      if (c.what == what) out.push_back(c);
    return out;
  }
  std::vector<ToolCall> calls;
  ToolCursor cursor = ToolCursor::none;

 private:
  void Record(const char* what, CPoint p, int key, unsigned f) {
    calls.push_back({what, p, key, f, status_->coordinates.empty() ? "" : status_->coordinates.back()});
  }
  RecordingStatus* status_;
};

class CountingDialogs : public ElementDialogService {
 public:
  bool RunTextDialog(TextDialogValues&) override { ++runs; return false; }
  bool RunLineDialog(LineDialogValues&) override { ++lineRuns; return false; }
  bool RunImageDialog(ImageDialogValues&) override { ++runs; return false; }
  bool RunTableDialog(CFormTable&) override { ++runs; return false; }
  int runs = 0;
  int lineRuns = 0;
};

// Reports the context state it is drawn with.
class ProbeElement : public CFormElement {
 public:
  void Draw(DeviceContext& dc, const CPageMapper&) override {
    pen = dc.GetPen();
    brush = dc.GetBrush();
    ++draws;
  }
  Pen pen = Pen::Null();
  Brush brush = Brush::Null();
  int draws = 0;
};

void Settle() { QCoreApplication::processEvents(); }

class ReportViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scope.With<SettingsStore>(&settings).With<ElementDialogService>(&dialogs);
    doc = std::make_unique<CReportDoc>();
  }
  void TearDown() override {
    view.reset();
    doc.reset();
  }

  // A view of the given viewport size, after the layout has been opened.
  void Open(int width = 1000, int height = 800) {
    view = std::make_unique<CReportView>(*doc, &status);
    view->resize(width, height);
    view->show();
    Settle();
    view->OnInitialUpdate();
    Settle();
  }

  QRgb Pixel(QPoint p) const { return view->BackingImage().pixel(p); }
  // The viewport pixel where a page point is drawn.
  QPoint WindowOf(CPoint page) const {
    const CPoint w = PageToWindow(view->ScreenMapper(), page, view->ScrollPosition(), view->PageOrigin());
    return {w.x, w.y};
  }
  // Where the pixel under `window` lies on the page, as a fraction of the page's pixel size.
  std::pair<double, double> Fraction(QPoint window) const {
    const CPoint size = view->ScreenMapper().ToDevice(view->PageWidth(), view->PageHeight());
    const CPoint s = view->ScrollPosition();
    const CPoint o = view->PageOrigin();
    return {static_cast<double>(window.x() + s.x - o.x) / size.x,
            static_cast<double>(window.y() + s.y - o.y) / size.y};
  }
  QRgb Desk() const { return view->palette().color(QPalette::Button).rgb(); }

  void SendMouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(at), QPointF(view->viewport()->mapToGlobal(at)), button, buttons, modifiers);
    QCoreApplication::sendEvent(view->viewport(), &e);
  }
  bool SendWheel(QPoint at, int delta) {
    QWheelEvent e(QPointF(at), QPointF(view->viewport()->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    e.ignore();
    QCoreApplication::sendEvent(view->viewport(), &e);
    return e.isAccepted();
  }
  RecordingTool* InstallRecordingTool() {
    auto tool = std::make_unique<RecordingTool>(doc.get(), &status);
    RecordingTool* raw = tool.get();
    doc->InstallTool(CReportDoc::selectToolSlot, std::move(tool));
    return raw;
  }

  FakeSettings settings;
  CountingDialogs dialogs;
  ScopedServices scope;
  RecordingStatus status;
  std::unique_ptr<CReportDoc> doc;
  std::unique_ptr<CReportView> view;
};

// ---- the picture -------------------------------------------------------------------------------

TEST_F(ReportViewTest, WholePageIsCentredOnTheDeskWithGridAndDashedFrame) {
  Open(1000, 800);
  ASSERT_EQ(view->viewport()->size(), QSize(1000, 800));
  ASSERT_EQ(view->BackingImage().size(), QSize(1000, 800));
  EXPECT_EQ(view->zoom(), 1.0);
  EXPECT_EQ(view->PageOrigin(), CPoint(230, 20));
  EXPECT_EQ(view->ScrollPosition(), CPoint(0, 0));
  EXPECT_EQ(view->ScreenMapper().ToDevice(500, 705), CPoint(539, 760));
  ASSERT_FALSE(status.zooms.empty());
  EXPECT_EQ(status.zooms.back(), "Zoom 100 %");

  // The desk on every side of the page (the frame takes the pixel past the right and bottom edge).
  for (QPoint p : {QPoint(0, 0), QPoint(229, 400), QPoint(770, 400), QPoint(500, 19), QPoint(500, 781),
                   QPoint(999, 799)})
    EXPECT_EQ(Pixel(p), Desk()) << p.x() << ", " << p.y();
  // White paper between the grid lines.
  const QRgb paper = view->palette().color(QPalette::Base).rgb();
  for (CPoint page : {CPoint(5, 5), CPoint(255, 355), CPoint(495, 695), CPoint(125, 601)})
    EXPECT_EQ(Pixel(WindowOf(page)), paper) << page.x << ", " << page.y;
  // Grid lines every ten units, light grey.
  const QRgb grid = qRgb(200, 200, 200);
  for (CPoint page : {CPoint(10, 5), CPoint(250, 355), CPoint(490, 17), CPoint(255, 350), CPoint(3, 700)})
    EXPECT_EQ(Pixel(WindowOf(page)), grid) << page.x << ", " << page.y;

  // The frame is dashed blue: blue and gaps along each edge of the page.
  const QRgb blue = qRgb(0, 0, 255);
  int blueLeft = 0, blueRight = 0, blueTop = 0, gapsLeft = 0;
  for (int y = 20; y < 780; ++y) {
    blueLeft += Pixel({230, y}) == blue;
    gapsLeft += Pixel({230, y}) != blue;
    blueRight += Pixel({230 + 539, y}) == blue;
  }
  for (int x = 230; x < 769; ++x) blueTop += Pixel({x, 20}) == blue;
  EXPECT_GT(blueLeft, 400);
  EXPECT_GT(gapsLeft, 100);
  EXPECT_GT(blueRight, 400);
  EXPECT_GT(blueTop, 300);
}

TEST_F(ReportViewTest, SelectedElementIsRedOthersKeepTheirColour) {
  Open();
  doc->AddElement(Box(100, 100, 60, 60));
  doc->AddElement(Box(300, 400, 60, 60));
  CFormElement* first = doc->elements.At(0);
  CFormElement* second = doc->elements.At(1);
  doc->ClearSelection();
  doc->SelectElement(second);

  // The left edges, a quarter of the way down (away from the handles).
  const QPoint firstEdge = WindowOf({100, 115});
  const QPoint secondEdge = WindowOf({300, 415});
  EXPECT_EQ(Pixel(firstEdge), qRgb(7, 0, 0));
  EXPECT_EQ(Pixel(secondEdge), ToRgb(kCurrentColour));

  doc->SelectElement(first);  // redraws on the document's notice
  EXPECT_EQ(Pixel(firstEdge), ToRgb(kCurrentColour));
  EXPECT_EQ(Pixel(secondEdge), ToRgb(kSelectedColour));
}

TEST_F(ReportViewTest, DrawsInOrderDeskPageGridFrameElementsColumnMarks) {
  Open();
  auto probe = std::make_unique<ProbeElement>();
  ProbeElement* probeRaw = probe.get();
  doc->elements.Append(std::move(probe));
  auto table = std::make_unique<CFormTable>(CPoint{50, 300});
  for (const char* name : {"Name", "Club", "Punkte"}) {
    CFormTableEntry entry;
    entry.name = name;
    entry.widthPercent = 30;
    table->AppendColumn(entry);
  }
  CFormTable* tableRaw = table.get();
  doc->elements.Append(std::move(table));
  doc->columnTable = tableRaw;
  doc->selectedColumns = {0, 2, 7};  // 7 is no column and is skipped

  FakeDeviceContext dc;
  dc.SetPen(Pen::Solid(3, RGB(1, 2, 3)));  // the view sets what it draws with
  const FakeDeviceContext::State before = dc.state;
  view->OnDraw(dc);
  const auto& calls = dc.calls;
  const CPageMapper& m = view->ScreenMapper();

  ASSERT_GE(calls.size(), 3u + 50u + 71u + 4u + 4u);
  std::size_t i = 0;
  // The desk: the whole viewport (page-relative) but the sheet, each pixel once.
  const CRect viewport(-230, -20, 770, 780);
  const CRect sheet(0, 0, 539, 760);
  long long deskArea = 0;
  for (; i < calls.size() && calls[i].state.brush.color == FromQColor(view->palette().color(QPalette::Button)); ++i) {
    EXPECT_EQ(calls[i].op, "FillSolid");
    const CRect& r = calls[i].rect;
    EXPECT_FALSE(r.IsRectEmpty());
    EXPECT_TRUE(r.left >= viewport.left && r.top >= viewport.top && r.right <= viewport.right && r.bottom <= viewport.bottom);
    EXPECT_TRUE(r.right <= sheet.left || r.left >= sheet.right || r.bottom <= sheet.top || r.top >= sheet.bottom);
    for (std::size_t k = 0; k < i; ++k) {
      const CRect& o = calls[k].rect;
      EXPECT_TRUE(r.right <= o.left || r.left >= o.right || r.bottom <= o.top || r.top >= o.bottom);
    }
    deskArea += static_cast<long long>(r.Width()) * r.Height();
  }
  EXPECT_EQ(deskArea, 1000LL * 800 - 539LL * 760);
  EXPECT_EQ(calls[i].op, "FillSolid");
  EXPECT_EQ(calls[i].rect, CRect(0, 0, 539, 760));
  EXPECT_EQ(calls[i].state.brush.color, FromQColor(view->palette().color(QPalette::Base)));
  ++i;
  const Pen gridPen = Pen::Solid(0, RGB(200, 200, 200));
  for (int x = 0; x < 500; x += 10, ++i) {
    EXPECT_EQ(calls[i].op, "Line");
    EXPECT_EQ(calls[i].rect, CRect(m.ToDevice(x, 0), m.ToDevice(x, 705))) << x;
    EXPECT_EQ(calls[i].state.pen, gridPen);
  }
  for (int y = 0; y < 705; y += 10, ++i) {
    EXPECT_EQ(calls[i].rect, CRect(m.ToDevice(0, y), m.ToDevice(500, y))) << y;
    EXPECT_EQ(calls[i].state.pen, gridPen);
  }
  const CPoint corners[] = {{0, 0}, m.ToDevice(500, 0), m.ToDevice(500, 705), m.ToDevice(0, 705), {0, 0}};
  for (int k = 0; k < 4; ++k, ++i) {
    EXPECT_EQ(calls[i].op, "Line");
    EXPECT_EQ(calls[i].rect, CRect(corners[k], corners[k + 1]));
    EXPECT_EQ(calls[i].state.pen, (Pen{Pen::Style::dash, 0, RGB(0, 0, 255)}));
  }

  // The elements see the plain default pen and brush.
  EXPECT_EQ(probeRaw->draws, 1);
  EXPECT_EQ(probeRaw->pen, Pen::StockBlack());
  EXPECT_EQ(probeRaw->brush, Brush::StockWhite());

  // Column marks come last: tints of the selected bodies, then frames around their templates.
  FakeDeviceContext measure;
  std::vector<CRect> bodies, templates;
  tableRaw->GetColumnRects(measure, m, bodies, templates);
  ASSERT_EQ(bodies.size(), 3u);
  const std::size_t marks = calls.size() - 4;
  for (std::size_t k = 0; k < 2; ++k) {
    const CRect body = bodies[k == 0 ? 0 : 2];
    const auto& tint = calls[marks + k];
    EXPECT_EQ(tint.op, "Rectangle");
    EXPECT_EQ(tint.rect, CRect(body.left, body.top, body.right + 1, body.bottom + 1));
    EXPECT_EQ(tint.state.rop, RasterOp::maskPen);
    EXPECT_EQ(tint.state.pen.style, Pen::Style::null);
    EXPECT_EQ(tint.state.brush, Brush::Solid(RGB(204, 228, 255)));

    CRect frame = templates[k == 0 ? 0 : 2].Normalized();
    frame.InflateRect(2);
    const auto& outline = calls[marks + 2 + k];
    EXPECT_EQ(outline.op, "Rectangle");
    EXPECT_EQ(outline.rect, frame);
    EXPECT_EQ(outline.state.rop, RasterOp::copy);
    EXPECT_EQ(outline.state.pen, Pen::Solid(2, RGB(0, 120, 215)));
    EXPECT_TRUE(outline.state.brush.null);
  }
  // The context is handed back as it came.
  EXPECT_EQ(dc.state.pen, before.pen);
  EXPECT_EQ(dc.state.brush, before.brush);
  EXPECT_EQ(dc.state.rop, before.rop);
  doc->columnTable = nullptr;
  doc->selectedColumns.clear();
}

TEST_F(ReportViewTest, SelectedColumnIsTintedSoItsContentShowsThrough) {
  Open();
  auto table = std::make_unique<CFormTable>(CPoint{50, 200});
  for (const char* name : {"Name", "Club"}) {
    CFormTableEntry entry;
    entry.name = name;
    entry.widthPercent = 50;
    table->AppendColumn(entry);
  }
  CFormTable* t = table.get();
  doc->AddElement(std::move(table));
  doc->ClearSelection();
  const QImage plain = view->BackingImage().copy();

  doc->SelectElement(t);
  doc->SelectColumn(t, 1, 0);
  ASSERT_EQ(doc->selectedColumns, std::vector<int>{1});
  std::vector<CRect> bodies, templates;
  {
    auto dc = view->ClientDC();
    t->GetColumnRects(*dc, view->ScreenMapper(), bodies, templates);
  }
  // The picture with the table selected but no column: to compare the tint against.
  doc->ClearColumnSelection();
  view->RepaintNow();
  const QImage selected = view->BackingImage().copy();
  doc->SelectColumn(t, 1, 0);
  const QImage& marked = view->BackingImage();

  const CPoint offset = DrawingOffset(view->ScrollPosition(), view->PageOrigin());
  CRect frame = templates[1].Normalized();
  frame.InflateRect(3);  // the 2-pixel frame and its spread
  const CRect body = bodies[1].Normalized();
  const QRgb tint = qRgb(204, 228, 255);
  int tinted = 0;
  for (int y = body.top; y < body.bottom; ++y)
    for (int x = body.left; x < body.right; ++x) {
      if (frame.PtInRect({x, y})) continue;
      const QPoint p(x + offset.x, y + offset.y);
      EXPECT_EQ(marked.pixel(p), selected.pixel(p) & tint) << x << ", " << y;
      tinted += marked.pixel(p) != selected.pixel(p);
    }
  EXPECT_GT(tinted, body.Width() * body.Height() / 2);
  // The unselected column keeps its look; the template of the selected one is framed.
  const CRect other = bodies[0].Normalized();
  const QPoint inOther((other.left + other.right) / 2 + offset.x, other.bottom - 3 + offset.y);
  EXPECT_EQ(marked.pixel(inOther), selected.pixel(inOther));
  int framePixels = 0;
  for (int y = frame.top; y < frame.bottom; ++y)
    for (int x = frame.left; x < frame.right; ++x)
      framePixels += marked.pixel(x + offset.x, y + offset.y) == qRgb(0, 120, 215);
  EXPECT_GT(framePixels, 2 * (templates[1].Normalized().Height()));
  EXPECT_NE(plain, selected);
}

// ---- zoom --------------------------------------------------------------------------------------

TEST_F(ReportViewTest, WheelZoomsAboutThePointerAndNeverScrolls) {
  Open();
  const QPoint pointer(400, 300);
  const auto before = Fraction(pointer);
  const CPoint pageBefore = view->WindowToPagePoint(pointer);
  EXPECT_TRUE(SendWheel(pointer, 120));
  EXPECT_DOUBLE_EQ(view->zoom(), 1.15);
  EXPECT_EQ(status.zooms.back(), "Zoom 115 %");
  const CPoint size = view->ScreenMapper().ToDevice(500, 705);
  const auto after = Fraction(pointer);
  EXPECT_NEAR(after.first * size.x, before.first * size.x, 1.0);
  EXPECT_NEAR(after.second * size.y, before.second * size.y, 1.0);
  const CPoint pageAfter = view->WindowToPagePoint(pointer);
  EXPECT_LE(std::abs(pageAfter.x - pageBefore.x), 1);
  EXPECT_LE(std::abs(pageAfter.y - pageBefore.y), 1);

  // Further notches about another point, now with the page overflowing and scrolled.
  const QPoint corner(850, 700);
  for (int notch = 0; notch < 3; ++notch) {
    const auto f0 = Fraction(corner);
    ASSERT_TRUE(SendWheel(corner, 120));
    const CPoint s = view->ScreenMapper().ToDevice(500, 705);
    const auto f1 = Fraction(corner);
    EXPECT_NEAR(f1.first * s.x, f0.first * s.x, 1.0) << notch;
    EXPECT_NEAR(f1.second * s.y, f0.second * s.y, 1.0) << notch;
  }
  EXPECT_NE(view->ScrollPosition(), CPoint(0, 0));

  // A pointer outside the viewport zooms about the centre.
  const QPoint centre(view->viewport()->width() / 2, view->viewport()->height() / 2);
  const auto c0 = Fraction(centre);
  ASSERT_TRUE(SendWheel(QPoint(-40, -40), -120));
  const CPoint s = view->ScreenMapper().ToDevice(500, 705);
  const auto c1 = Fraction(centre);
  EXPECT_NEAR(c1.first * s.x, c0.first * s.x, 1.0);
  EXPECT_NEAR(c1.second * s.y, c0.second * s.y, 1.0);

  // A sideways wheel neither zooms nor scrolls, and is still taken.
  const CPoint scroll = view->ScrollPosition();
  const double zoom = view->zoom();
  QWheelEvent sideways(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(120, 0), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
  sideways.ignore();
  QCoreApplication::sendEvent(view->viewport(), &sideways);
  EXPECT_TRUE(sideways.isAccepted());
  EXPECT_EQ(view->zoom(), zoom);
  EXPECT_EQ(view->ScrollPosition(), scroll);

  // Alt turns the ordinary wheel into a sideways report on some platforms: it still zooms.
  QWheelEvent withAlt(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(120, 0), Qt::NoButton,
                      Qt::AltModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(view->viewport(), &withAlt);
  EXPECT_NEAR(view->zoom(), zoom * 1.15, 1e-9);
}

TEST_F(ReportViewTest, ZoomStopsAtTenWithoutRedrawAndWholePageRecentres) {
  Open();
  EXPECT_TRUE(view->CanZoomIn());
  EXPECT_FALSE(view->CanZoomOut());
  EXPECT_FALSE(view->CanShowWholePage());
  view->ZoomIn();
  EXPECT_EQ(view->zoom(), 1.25);
  view->ZoomIn();
  EXPECT_EQ(view->zoom(), 1.5625);
  EXPECT_EQ(status.zooms.back(), "Zoom 156 %");
  EXPECT_TRUE(view->CanZoomOut());
  while (view->CanZoomIn()) view->ZoomIn();
  EXPECT_EQ(view->zoom(), 10.0);
  EXPECT_EQ(status.zooms.back(), "Zoom 1000 %");

  // A mark that only a redraw would remove.
  {
    auto dc = view->ClientDC();
    const CPoint offset = DrawingOffset(view->ScrollPosition(), view->PageOrigin());
    dc->FillSolid(CRect(-offset.x, -offset.y, -offset.x + 5, -offset.y + 5), RGB(1, 2, 3));
  }
  const QImage marked = view->BackingImage().copy();
  ASSERT_EQ(marked.pixel(2, 2), qRgb(1, 2, 3));
  const std::size_t zoomTexts = status.zooms.size();
  view->ZoomIn();
  view->ZoomBy(1.25, QPoint(10, 10));
  EXPECT_TRUE(SendWheel(QPoint(300, 300), 120));
  EXPECT_EQ(view->zoom(), 10.0);
  EXPECT_EQ(view->BackingImage(), marked);
  EXPECT_EQ(status.zooms.size(), zoomTexts);  // no relayout either

  view->WholePage();
  EXPECT_EQ(view->zoom(), 1.0);
  EXPECT_EQ(view->PageOrigin(), CPoint(230, 20));
  EXPECT_EQ(view->ScrollPosition(), CPoint(0, 0));
  EXPECT_EQ(view->viewport()->size(), QSize(1000, 800));  // the scroll bars have gone again
  EXPECT_EQ(view->BackingImage().pixel(2, 2), Desk());
  EXPECT_FALSE(view->CanZoomOut());

  view->ZoomIn();
  view->ZoomOut();
  EXPECT_EQ(view->zoom(), 1.0);
  EXPECT_EQ(view->PageOrigin(), CPoint(230, 20));
  const std::size_t texts = status.zooms.size();
  view->ZoomOut();
  view->WholePage();
  EXPECT_EQ(status.zooms.size(), texts);
}

TEST_F(ReportViewTest, ZoomedPageScrollsWithMarginsAndScrollBars) {
  Open();
  view->ZoomBy(2.0, QPoint(500, 400));
  EXPECT_EQ(view->zoom(), 2.0);
  const QScrollBar* h = view->horizontalScrollBar();
  const QScrollBar* v = view->verticalScrollBar();
  EXPECT_TRUE(h->isVisible());
  EXPECT_TRUE(v->isVisible());
  const QSize client = view->viewport()->size();
  EXPECT_EQ(client, QSize(1000 - v->width(), 800 - h->height()));
  EXPECT_EQ(view->BackingImage().size(), client);
  EXPECT_EQ(h->pageStep(), 900);
  EXPECT_EQ(v->pageStep(), 720);
  EXPECT_EQ(h->singleStep(), 20);

  // Scrolling to the very end shows the margin right of the page, then the desk.
  const CPoint page = view->ScreenMapper().ToDevice(500, 705);
  view->horizontalScrollBar()->setValue(h->maximum());
  const int pageRight = view->PageOrigin().x + page.x - view->ScrollPosition().x;
  EXPECT_EQ(client.width() - pageRight, 25);
  EXPECT_EQ(view->BackingImage().pixel(client.width() - 5, client.height() / 2), Desk());
  EXPECT_NE(view->BackingImage().pixel(pageRight - 5, client.height() / 2), Desk());
}

TEST_F(ReportViewTest, ResizingReplacesTheWholePage) {
  Open();
  view->resize(600, 500);
  Settle();
  ViewLayoutInput in;
  in.client = {600, 500};
  const auto expected = ComputeViewLayout(in);
  ASSERT_TRUE(expected);
  EXPECT_EQ(view->PageOrigin(), expected->pageOrigin);
  EXPECT_EQ(view->ScreenMapper().ToDevice(500, 705), expected->mapper.ToDevice(500, 705));
  EXPECT_EQ(view->BackingImage().size(), QSize(600, 500));
}

TEST_F(ReportViewTest, OrientationChangeSwapsPageUnitsAndKeepsTheZoom) {
  Open();
  view->ZoomIn();
  ASSERT_EQ(view->zoom(), 1.25);
  EXPECT_TRUE(view->IsPortraitPage());
  doc->SetOrientation(false);
  EXPECT_EQ(view->PageWidth(), 705);
  EXPECT_EQ(view->PageHeight(), 500);
  EXPECT_FALSE(view->IsPortraitPage());
  EXPECT_EQ(view->zoom(), 1.25);
  EXPECT_EQ(view->ScreenMapper().pageWidth, 705);
  // Placed afresh, without an anchor.
  ViewLayoutInput in;
  in.client = {1000, 800};
  in.zoom = 1.25;
  in.pageWidth = 705;
  in.pageHeight = 500;
  const auto expected = ComputeViewLayout(in);
  ASSERT_TRUE(expected);
  EXPECT_EQ(view->PageOrigin(), expected->pageOrigin);
  EXPECT_EQ(view->ScrollPosition(), expected->scroll);
  EXPECT_EQ(view->ScreenMapper().ToDevice(705, 500), CPoint(1187, 841));
  // The picture follows: scrolled to the right, the landscape page ends at 705 units.
  view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
  view->verticalScrollBar()->setValue(0);
  const QPoint inside = WindowOf({703, 5});
  const QPoint beyond = WindowOf({705, 5}) + QPoint(3, 0);
  ASSERT_TRUE(view->BackingImage().rect().contains(beyond));
  EXPECT_EQ(view->BackingImage().pixel(inside), view->palette().color(QPalette::Base).rgb());
  EXPECT_EQ(view->BackingImage().pixel(beyond), Desk());

  doc->Undo();
  EXPECT_EQ(view->PageWidth(), 500);
  EXPECT_EQ(view->PageHeight(), 705);
  EXPECT_EQ(view->zoom(), 1.25);
}

TEST_F(ReportViewTest, OpeningALandscapeLayoutStartsAtTheWholeLandscapePage) {
  doc->elements.portrait = false;
  Open();
  EXPECT_EQ(view->PageWidth(), 705);
  EXPECT_EQ(view->PageOrigin(), CPoint(25, 63));
  EXPECT_EQ(view->ScreenMapper().ToDevice(705, 500), CPoint(950, 673));
}

// ---- input -------------------------------------------------------------------------------------

TEST_F(ReportViewTest, ToolGetsPagePointsAndKeyFlags) {
  Open();
  RecordingTool* tool = InstallRecordingTool();
  const QPoint at = WindowOf({250, 350});
  SendMouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
  SendMouse(QEvent::MouseMove, at + QPoint(30, 20), Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
  SendMouse(QEvent::MouseButtonRelease, at + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
  SendMouse(QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, Qt::NoButton);
  SendMouse(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);  // not for the tools

  const auto downs = tool->Calls("down");
  const auto moves = tool->Calls("move");
  const auto ups = tool->Calls("up");
  ASSERT_EQ(downs.size(), 1u);
  ASSERT_EQ(moves.size(), 2u);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_NEAR(downs[0].point.x, 250, 1);
  EXPECT_NEAR(downs[0].point.y, 350, 1);
  EXPECT_EQ(downs[0].point, view->WindowToPagePoint(at));
  EXPECT_EQ(downs[0].flags, 1u | 4u);
  EXPECT_EQ(moves[0].flags, 1u | 8u);
  EXPECT_EQ(ups[0].flags, 0u);
  EXPECT_EQ(ups[0].point, moves[0].point);
  // Pixels are about 1.08 per unit at the whole page.
  EXPECT_NEAR(moves[0].point.x - downs[0].point.x, 30 * 500 / 539.0, 1);
  EXPECT_NEAR(moves[0].point.y - downs[0].point.y, 20 * 705 / 760.0, 1);
  // Over the desk the page coordinates run negative.
  EXPECT_LT(moves[1].point.x, 0);
  EXPECT_LT(moves[1].point.y, 0);
  EXPECT_EQ(moves[1].point, CPoint((10 - 230) * 500 / 539, (10 - 20) * 705 / 760));

  // The coordinate pane is written before the tool sees the move.
  ASSERT_EQ(status.coordinates.size(), 2u);
  EXPECT_EQ(moves[0].coordinateText, CoordinateText(moves[0].point));
  EXPECT_EQ(moves[1].coordinateText, CoordinateText(moves[1].point));
  EXPECT_EQ(status.coordinates.back(), "X -204   Y -9");
}

TEST_F(ReportViewTest, ToolGetsWindowsKeyCodes) {
  Open();
  RecordingTool* tool = InstallRecordingTool();
  struct Case { Qt::Key key; int code; };
  const Case cases[] = {{Qt::Key_Left, 37},   {Qt::Key_Up, 38},      {Qt::Key_Right, 39},
                        {Qt::Key_Down, 40},   {Qt::Key_Delete, 46},  {Qt::Key_Escape, 27},
                        {Qt::Key_Shift, 16},  {Qt::Key_Control, 17}, {Qt::Key_A, 'A'},
                        {Qt::Key_5, '5'},     {Qt::Key_F2, 113},     {Qt::Key_Return, 13}};
  for (const Case& c : cases) {
    tool->calls.clear();
    QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &press);
    const auto keys = tool->Calls("key");
    ASSERT_EQ(keys.size(), 1u) << c.code;
    EXPECT_EQ(keys[0].key, c.code);
    EXPECT_EQ(keys[0].flags, 0u);
  }
  EXPECT_EQ(CReportView::VirtualKeyOf(Qt::Key_Alt), 18);

  // Arrows go to the tool instead of scrolling the zoomed page.
  view->ZoomBy(3.0, QPoint(500, 400));
  const CPoint scroll = view->ScrollPosition();
  tool->calls.clear();
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
  QCoreApplication::sendEvent(view.get(), &repeat);
  ASSERT_EQ(tool->Calls("key").size(), 1u);
  EXPECT_EQ(tool->Calls("key")[0].flags, 0x4000u);  // the key was already down
  EXPECT_EQ(view->ScrollPosition(), scroll);

  // Keys typed with Alt belong to the menu bar.
  tool->calls.clear();
  QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  QCoreApplication::sendEvent(view.get(), &alt);
  QKeyEvent altLeft(QEvent::KeyPress, Qt::Key_Left, Qt::AltModifier);
  QCoreApplication::sendEvent(view.get(), &altLeft);
  EXPECT_TRUE(tool->Calls("key").empty());
}

TEST_F(ReportViewTest, AltIsSwallowedOnlyWhileTheMouseIsCaptured) {
  Open();
  const auto altOverride = [&] {
    QKeyEvent e(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::AltModifier);
    e.ignore();
    QCoreApplication::sendEvent(view.get(), &e);
    return e.isAccepted();
  };
  EXPECT_FALSE(view->HasCapture());
  EXPECT_FALSE(altOverride());
  view->CaptureMouse();
  EXPECT_TRUE(view->HasCapture());
  EXPECT_TRUE(altOverride());
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  release.ignore();
  QCoreApplication::sendEvent(view.get(), &release);
  EXPECT_TRUE(release.isAccepted());
  view->ReleaseMouse();
  EXPECT_FALSE(view->HasCapture());
  EXPECT_FALSE(altOverride());
}

TEST_F(ReportViewTest, CursorComesFromTheToolWhenTheMouseIsFree) {
  Open();
  RecordingTool* tool = InstallRecordingTool();
  struct Case { ToolCursor cursor; Qt::CursorShape shape; };
  const Case cases[] = {{ToolCursor::none, Qt::ArrowCursor},       {ToolCursor::cross, Qt::CrossCursor},
                        {ToolCursor::move, Qt::SizeAllCursor},     {ToolCursor::sizeNWSE, Qt::SizeFDiagCursor},
                        {ToolCursor::sizeNESW, Qt::SizeBDiagCursor}, {ToolCursor::sizeWE, Qt::SizeHorCursor},
                        {ToolCursor::sizeNS, Qt::SizeVerCursor},   {ToolCursor::column, Qt::BitmapCursor}};
  for (const Case& c : cases) {
    tool->cursor = c.cursor;
    SendMouse(QEvent::MouseMove, QPoint(400, 300), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(view->viewport()->cursor().shape(), c.shape) << static_cast<int>(c.cursor);
  }
  EXPECT_EQ(view->viewport()->cursor().hotSpot(), QPoint(15, 23));
  ASSERT_FALSE(tool->Calls("cursor").empty());
  EXPECT_EQ(tool->Calls("cursor").back().point, view->WindowToPagePoint(QPoint(400, 300)));

  // During a gesture the cursor it started with stays.
  view->CaptureMouse();
  tool->calls.clear();
  tool->cursor = ToolCursor::cross;
  SendMouse(QEvent::MouseMove, QPoint(410, 300), Qt::NoButton, Qt::LeftButton);
  EXPECT_TRUE(tool->Calls("cursor").empty());
  EXPECT_EQ(view->viewport()->cursor().shape(), Qt::BitmapCursor);
  view->ReleaseMouse();
}

TEST_F(ReportViewTest, DoubleClickEditsTheSelectedElementOnlyWithTheSelectionTool) {
  Open();
  doc->AddElement(std::make_unique<CFormLine>(CPoint{100, 100}, CPoint{200, 100}));
  doc->ClearSelection();
  doc->SelectElement(doc->elements.At(0));
  doc->SelectTool(CReportDoc::newLineToolSlot);
  SendMouse(QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(dialogs.lineRuns, 0);
  doc->SelectTool(CReportDoc::selectToolSlot);
  SendMouse(QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(dialogs.lineRuns, 1);
  SendMouse(QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
  EXPECT_EQ(dialogs.lineRuns, 1);
  EXPECT_EQ(dialogs.runs, 0);
}

// ---- exclusive-or feedback ---------------------------------------------------------------------

TEST_F(ReportViewTest, XorDrawnTwiceThroughTheClientContextRestoresThePicture) {
  Open();
  doc->AddElement(Box(100, 100, 80, 40));
  view->ZoomBy(2.0, WindowOf({120, 120}));  // scrolled, so the context's offset matters
  ASSERT_NE(view->ScrollPosition(), CPoint(0, 0));
  ASSERT_TRUE(view->BackingImage().rect().contains(WindowOf({90, 120})));
  const QImage before = view->BackingImage().copy();
  const CPageMapper& m = view->ScreenMapper();

  const auto feedback = [&](DeviceContext& dc) { DrawXorFeedback(dc, m); };
  {
    auto dc = view->ClientDC();
    EXPECT_EQ(dc->GetBrush(), Brush::StockWhite());
    feedback(*dc);
  }
  const QImage once = view->BackingImage().copy();
  EXPECT_NE(once, before);
  // The outline lands where the page point is shown on the screen.
  const QPoint corner = WindowOf({90, 120});
  EXPECT_NE(once.pixel(corner), before.pixel(corner));
  EXPECT_EQ(once.pixel(corner), before.pixel(corner) ^ 0x5C5C5Cu);
  {
    auto dc = view->ClientDC();
    feedback(*dc);
  }
  EXPECT_EQ(view->BackingImage(), before);
}

TEST_F(ReportViewTest, DocumentChangeWhileAToolDrawsRedrawsUnderItsContext) {
  Open();
  doc->AddElement(Box(100, 100, 60, 60));
  doc->ClearSelection();
  const QPoint edge = WindowOf({100, 115});
  ASSERT_EQ(view->BackingImage().pixel(edge), qRgb(7, 0, 0));

  auto dc = view->ClientDC();
  doc->SelectElement(doc->elements.At(0));  // the document tells the view while dc is open
  EXPECT_EQ(view->BackingImage().pixel(edge), ToRgb(kCurrentColour));
  // The tool's context still draws on the picture the screen shows.
  const QPoint spot = WindowOf({300, 505});
  const QRgb was = view->BackingImage().pixel(spot);
  const CPoint d = view->ScreenMapper().ToDevice(300, 505);
  dc->FillSolid(CRect(d.x, d.y, d.x + 1, d.y + 1), RGB(9, 9, 9));
  dc.reset();
  EXPECT_NE(was, qRgb(9, 9, 9));
  EXPECT_EQ(view->BackingImage().pixel(spot), qRgb(9, 9, 9));
}

// ---- snap to grid ------------------------------------------------------------------------------

TEST_F(ReportViewTest, SnapToGridComesFromTheSettingsAndIsWrittenAtOnce) {
  settings.values["Ansicht/Raster"] = "0";
  Open();
  EXPECT_FALSE(view->snapToGrid);
  EXPECT_FALSE(view->SnapToGrid());
  const QImage before = view->BackingImage().copy();
  view->ToggleSnapToGrid();
  EXPECT_TRUE(view->snapToGrid);
  EXPECT_EQ(settings.values["Ansicht/Raster"], "1");
  view->ToggleSnapToGrid();
  EXPECT_EQ(settings.values["Ansicht/Raster"], "0");
  view->RepaintNow();
  EXPECT_EQ(view->BackingImage(), before);  // the grid shows either way
}

TEST_F(ReportViewTest, SnapToGridIsOnByDefaultAndMessagesReachTheStatusBar) {
  Open();
  EXPECT_TRUE(view->snapToGrid);
  view->ShowStatusMessage("Verschiebung  X +10  Y -20");
  ASSERT_EQ(status.messages.size(), 1u);
  EXPECT_EQ(status.messages[0], "Verschiebung  X +10  Y -20");
  EXPECT_GE(view->DragThreshold(), 6);

  // Without a status bar nothing is written and nothing fails.
  CReportView silent(*doc, nullptr);
  silent.resize(300, 300);
  silent.OnInitialUpdate();
  silent.ShowStatusMessage("x");
  EXPECT_EQ(silent.zoom(), 1.0);
}

}  // namespace
