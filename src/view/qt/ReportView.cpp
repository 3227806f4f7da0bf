#include "view/qt/ReportView.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <QApplication>
#include <QtMath>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include "model/FormTable.h"
#include "platform/Services.h"
#include "platform/qt/QtDeviceContext.h"
#include "view/StatusTexts.h"
#include "view/ViewGeometry.h"

namespace {

constexpr const char* kViewSection = "Ansicht";
constexpr const char* kGridEntry = "Raster";

constexpr COLORREF kGridColour = RGB(200, 200, 200);
constexpr COLORREF kPageFrameColour = RGB(0, 0, 255);
constexpr COLORREF kColumnTint = RGB(204, 228, 255);
constexpr COLORREF kColumnFrameColour = RGB(0, 120, 215);

// Mouse-message key flags the tools understand.
constexpr unsigned kLeftButtonFlag = 1;
constexpr unsigned kRightButtonFlag = 2;
constexpr unsigned kMiddleButtonFlag = 0x10;
// Key-message flag: the key was already down (auto-repeat).
constexpr unsigned kKeyWasDownFlag = 0x4000;

COLORREF ToColorRef(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// Paints into `image` with page point (0, 0) at the given pixel.
std::unique_ptr<QtDeviceContext> PageContext(QImage* image, CPoint offset) {
  auto dc = std::make_unique<QtDeviceContext>(image);
  if (dc->IsActive()) dc->Painter()->translate(offset.x, offset.y);
  return dc;
}

int BarExtent(const QScrollBar* bar, Qt::Orientation orientation) {
  // Overlay bars take no room from the page.
  if (bar->style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, bar)) return 0;
  const QSize hint = bar->sizeHint();
  return orientation == Qt::Vertical ? hint.width() : hint.height();
}

}  // namespace

CReportView::CReportView(CReportDoc& doc, StatusTexts* status, QWidget* parent)
    : QAbstractScrollArea(parent),
      doc_(doc),
      status_(status),
      screenMapper_(CPageMapper::ForPage(kPortraitWidth, kPortraitHeight, 1, 1)) {
  snapToGrid = services().Settings().GetInt(kViewSection, kGridEntry, 1) != 0;
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The picture covers every pixel; nothing needs erasing first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  viewport()->setMouseTracking(true);
  // The wheel zooms wherever it is turned, also over the scroll bars.
  horizontalScrollBar()->installEventFilter(this);
  verticalScrollBar()->installEventFilter(this);
  doc_.AddObserver(this);
}

CReportView::~CReportView() {
  doc_.RemoveObserver(this);
  if (HasCapture()) viewport()->releaseMouse();
}

// ---- framework side ----------------------------------------------------------------------------

void CReportView::OnInitialUpdate() {
  zoom_ = kMinZoom;
  const CSize units = PageUnits(doc_.elements.portrait);
  pageWidth_ = units.cx;
  pageHeight_ = units.cy;
  screenMapper_.pageWidth = pageWidth_;
  screenMapper_.pageHeight = pageHeight_;
  screenMapper_.Fit(screenMapper_.availableWidth, screenMapper_.availableHeight);
  Relayout(std::nullopt);
}

void CReportView::OnUpdate(CReportDoc&, int) {
  CheckOrientation();
  Redraw();
}

void CReportView::CheckOrientation() {
  const bool portrait = doc_.elements.portrait;
  if (portrait == IsPortrait(pageWidth_, pageHeight_)) return;
  const CSize units = PageUnits(portrait);
  pageWidth_ = units.cx;
  pageHeight_ = units.cy;
  screenMapper_ = ReorientedMapper(screenMapper_, portrait);
  Relayout(std::nullopt);
}

void CReportView::OnDraw(DeviceContext& dc) {
  const CPoint offset = DrawingOffset(ScrollPosition(), pageOrigin_);
  const QSize client = DeviceViewportSize();
  const CRect visible(-offset.x, -offset.y, -offset.x + client.width(), -offset.y + client.height());
  const CPoint pageEnd = screenMapper_.ToDevice(pageWidth_, pageHeight_);
  const auto toDevice = [this](int x, int y) { return screenMapper_.ToDevice(x, y); };

  // The desk around the page, then the sheet itself; the desk only where the sheet leaves it free,
  // so that no pixel is filled twice.
  const CRect sheet(CPoint(0, 0), pageEnd);
  const COLORREF desk = ToColorRef(palette().color(QPalette::Button));
  const CRect bands[] = {{visible.left, visible.top, visible.right, sheet.top},
                         {visible.left, sheet.bottom, visible.right, visible.bottom},
                         {visible.left, sheet.top, sheet.left, sheet.bottom},
                         {sheet.right, sheet.top, visible.right, sheet.bottom}};
  for (const CRect& band : bands) {
    const CRect r(std::max(band.left, visible.left), std::max(band.top, visible.top),
                  std::min(band.right, visible.right), std::min(band.bottom, visible.bottom));
    if (!r.IsRectEmpty()) dc.FillSolid(r, desk);
  }
  dc.FillSolid(sheet, ToColorRef(palette().color(QPalette::Base)));

  {
    ScopedSave save(dc);
    // The grid shows whether or not positions snap to it.
    dc.SetPen(Pen::Solid(0, kGridColour));
    for (int x = 0; x < pageWidth_; x += kGridStep) dc.Line(toDevice(x, 0), toDevice(x, pageHeight_));
    for (int y = 0; y < pageHeight_; y += kGridStep) dc.Line(toDevice(0, y), toDevice(pageWidth_, y));

    dc.SetPen(Pen{Pen::Style::dash, 0, kPageFrameColour});
    const CPoint corners[] = {toDevice(0, 0), toDevice(pageWidth_, 0), toDevice(pageWidth_, pageHeight_),
                              toDevice(0, pageHeight_)};
    for (int i = 0; i < 4; ++i) dc.Line(corners[i], corners[(i + 1) % 4]);
  }

  {
    ScopedSave save(dc);
    dc.SetPen(Pen::StockBlack());
    dc.SetBrush(Brush::StockWhite());
    doc_.elements.DrawAll(dc, screenMapper_);
  }
  // Marks follow every edit: each change redraws, and the check of one element is quick.
  marks_ = FindPlaceholderMarks(dc, screenMapper_, doc_.elements);
  DrawPlaceholderMarks(dc, marks_, std::max(1, qRound(Ratio())));

  if (doc_.columnTable && !doc_.selectedColumns.empty()) {
    std::vector<CRect> bodies;
    std::vector<CRect> templates;
    doc_.columnTable->GetColumnRects(dc, screenMapper_, bodies, templates);
    ScopedSave save(dc);
    // Tinted so that the column's content shows through.
    dc.SetBrush(Brush::Solid(kColumnTint));
    dc.SetPen(Pen::Null());
    dc.SetRop(RasterOp::maskPen);
    for (int index : doc_.selectedColumns) {
      if (index < 0 || index >= static_cast<int>(bodies.size())) continue;
      CRect r = bodies[static_cast<std::size_t>(index)].Normalized();
      // A fill without outline stops one pixel short of the right and bottom edge.
      r.right += 1;
      r.bottom += 1;
      dc.Rectangle(r);
    }
    dc.SetPen(Pen::Solid(2, kColumnFrameColour));
    dc.SetBrush(Brush::Null());
    dc.SetRop(RasterOp::copy);
    for (int index : doc_.selectedColumns) {
      if (index < 0 || index >= static_cast<int>(templates.size())) continue;
      CRect r = templates[static_cast<std::size_t>(index)].Normalized();
      r.InflateRect(2);
      dc.Rectangle(r);
    }
  }
}

void CReportView::Redraw() {
  const QSize size = DeviceViewportSize();
  if (backing_.size() != size && !backing_.paintingActive())
    backing_ = size.isEmpty() ? QImage() : QImage(size, QImage::Format_RGB32);
  if (backing_.isNull()) return;
  const CPoint offset = DrawingOffset(ScrollPosition(), pageOrigin_);
  if (backing_.paintingActive()) {
    // A tool is drawing on the picture right now (the document told us of a change it made):
    // paint aside and put the pixels in place, so that its context stays valid on the new picture.
    QImage fresh(backing_.size(), backing_.format());
    {
      const auto dc = PageContext(&fresh, offset);
      OnDraw(*dc);
    }
    std::memcpy(backing_.bits(), fresh.constBits(), static_cast<std::size_t>(fresh.sizeInBytes()));
  } else {
    const auto dc = PageContext(&backing_, offset);
    OnDraw(*dc);
  }
  viewport()->update();
}

void CReportView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  if (backing_.size() != DeviceViewportSize()) {
    // Not yet drawn at this size; the resize that follows brings the picture. Moving to a screen
    // of another pixel density brings no resize: lay the page out again for it.
    painter.fillRect(event->rect(), palette().color(QPalette::Button));
    if (!densityCheckPending_) {
      densityCheckPending_ = true;
      QMetaObject::invokeMethod(this, [this] {
        densityCheckPending_ = false;
        if (backing_.size() != DeviceViewportSize()) FollowClientSize();
      }, Qt::QueuedConnection);
    }
    return;
  }
  // The picture holds device pixels; at the screen's ratio each lands on exactly one of them.
  const qreal ratio = Ratio();
  const QRectF target(event->rect());
  const QRectF source(target.x() * ratio, target.y() * ratio, target.width() * ratio, target.height() * ratio);
  painter.drawImage(target, backing_, source);
}

// ---- placement ---------------------------------------------------------------------------------

CPoint CReportView::ScrollPosition() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

qreal CReportView::Ratio() const { return viewport()->devicePixelRatioF(); }

int CReportView::ToDevice(int logical) const { return qCeil(logical * Ratio() - 1e-9); }

QSize CReportView::DeviceViewportSize() const {
  const QSize logical = viewport()->size();
  return {ToDevice(logical.width()), ToDevice(logical.height())};
}

QPoint CReportView::DevicePixelAt(QPointF logical) const {
  const qreal ratio = Ratio();
  return {qFloor(logical.x() * ratio), qFloor(logical.y() * ratio)};
}

CSize CReportView::TrueClientSize() const {
  const QRect r = contentsRect();
  return {ToDevice(r.width()), ToDevice(r.height())};
}

QPoint CReportView::ClientCentre() const {
  const QSize size = DeviceViewportSize();
  return {size.width() / 2, size.height() / 2};
}

CPoint CReportView::WindowToPagePoint(QPoint window) const {
  return WindowToPage(screenMapper_, CPoint(window.x(), window.y()), ScrollPosition(), pageOrigin_);
}

void CReportView::Relayout(std::optional<QPoint> anchor) {
  ViewLayoutInput in;
  in.client = TrueClientSize();
  in.zoom = zoom_;
  in.pageWidth = pageWidth_;
  in.pageHeight = pageHeight_;
  if (anchor) in.anchor = CPoint(anchor->x(), anchor->y());
  in.scroll = ScrollPosition();
  in.pageOrigin = pageOrigin_;
  in.mapper = screenMapper_;
  const std::optional<ViewLayout> layout = ComputeViewLayout(in);
  if (!layout) return;

  screenMapper_ = layout->mapper;
  pageOrigin_ = layout->pageOrigin;

  QScrollBar* hbar = horizontalScrollBar();
  QScrollBar* vbar = verticalScrollBar();
  const CSize visible = VisibleClientSize(layout->surface, in.client, ToDevice(BarExtent(vbar, Qt::Vertical)),
                                          ToDevice(BarExtent(hbar, Qt::Horizontal)));
  // Bars shown or hidden here resize the viewport at once; the guard keeps that from starting
  // another relayout.
  inRelayout_ = true;
  setHorizontalScrollBarPolicy(layout->surface.cx > visible.cx ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(layout->surface.cy > visible.cy ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  hbar->setRange(0, std::max(0, layout->surface.cx - visible.cx));
  vbar->setRange(0, std::max(0, layout->surface.cy - visible.cy));
  hbar->setPageStep(layout->pageStep.cx);
  vbar->setPageStep(layout->pageStep.cy);
  // An arrow click moves the same distance on the screen at any pixel density.
  hbar->setSingleStep(ToDevice(layout->lineStep.cx));
  vbar->setSingleStep(ToDevice(layout->lineStep.cy));
  hbar->setValue(layout->scroll.x);
  vbar->setValue(layout->scroll.y);
  inRelayout_ = false;
  laidOutFor_ = in.client;

  if (status_) status_->SetZoomText(ZoomText(zoom_));
  Redraw();
}

void CReportView::resizeEvent(QResizeEvent*) {
  if (inRelayout_) return;
  FollowClientSize();
}

void CReportView::FollowClientSize() {
  const CSize client = TrueClientSize();
  // Only a change of the window itself moves the page; bars coming and going do not.
  if (client.cx >= 2 && client.cy >= 2 && client != laidOutFor_) {
    Relayout(IsZoomed(zoom_) ? std::optional<QPoint>(ClientCentre()) : std::nullopt);
    return;
  }
  Redraw();
}

void CReportView::scrollContentsBy(int, int) {
  if (!inRelayout_) Redraw();
}

// ---- zoom --------------------------------------------------------------------------------------

void CReportView::ZoomTo(double proposed, std::optional<QPoint> anchor) {
  const std::optional<double> target = ZoomTarget(zoom_, proposed);
  if (!target) return;
  zoom_ = *target;
  Relayout(IsZoomed(zoom_) ? anchor : std::nullopt);
}

void CReportView::ZoomBy(double factor, QPoint anchor) { ZoomTo(zoom_ * factor, anchor); }
void CReportView::ZoomIn() { ZoomTo(ZoomedIn(zoom_), ClientCentre()); }
void CReportView::ZoomOut() { ZoomTo(ZoomedOut(zoom_), ClientCentre()); }

void CReportView::WholePage() { ZoomTo(kMinZoom, std::nullopt); }

bool CReportView::CanZoomIn() const { return ::CanZoomIn(zoom_); }
bool CReportView::CanZoomOut() const { return ::CanZoomOut(zoom_); }
bool CReportView::CanShowWholePage() const { return ::CanShowWholePage(zoom_); }
bool CReportView::IsPortraitPage() const { return IsPortrait(pageWidth_, pageHeight_); }

void CReportView::ToggleSnapToGrid() {
  snapToGrid = !snapToGrid;
  services().Settings().WriteInt(kViewSection, kGridEntry, snapToGrid ? 1 : 0);
}

namespace {
// The turn of the ordinary wheel. With Alt held some platforms report it as a sideways turn; no
// modifier changes its meaning here, while a real sideways wheel does not zoom.
int VerticalWheelDelta(const QWheelEvent& event) {
  const QPoint delta = event.angleDelta();
  if (delta.y() == 0 && (event.modifiers() & Qt::AltModifier)) return delta.x();
  return delta.y();
}
}  // namespace

void CReportView::wheelEvent(QWheelEvent* event) {
  const QPoint pointer = event->position().toPoint();
  const QPoint anchor = viewport()->rect().contains(pointer) ? DevicePixelAt(event->position()) : ClientCentre();
  ZoomBy(WheelZoomFactor(VerticalWheelDelta(*event)), anchor);
  // Handled whatever happened: the wheel never scrolls.
  event->accept();
}

bool CReportView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel &&
      (watched == horizontalScrollBar() || watched == verticalScrollBar())) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    ZoomBy(WheelZoomFactor(VerticalWheelDelta(*wheel)), ClientCentre());
    wheel->accept();
    return true;
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

// ---- input -------------------------------------------------------------------------------------

unsigned CReportView::MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const {
  unsigned flags = 0;
  if (buttons & Qt::LeftButton) flags |= kLeftButtonFlag;
  if (buttons & Qt::RightButton) flags |= kRightButtonFlag;
  if (buttons & Qt::MiddleButton) flags |= kMiddleButtonFlag;
  if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
  return flags;
}

void CReportView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const CPoint page = WindowToPagePoint(DevicePixelAt(event->position()));
  doc_.CurrentTool()->ButtonDown(*this, page, MouseKeyFlags(event->buttons(), event->modifiers()));
  viewport()->update();
}

void CReportView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const CPoint page = WindowToPagePoint(DevicePixelAt(event->position()));
  doc_.CurrentTool()->ButtonUp(*this, page, MouseKeyFlags(event->buttons(), event->modifiers()));
  viewport()->update();
}

void CReportView::mouseMoveEvent(QMouseEvent* event) {
  const CPoint page = WindowToPagePoint(DevicePixelAt(event->position()));
  // While a gesture holds the mouse the cursor it started with stays.
  if (!HasCapture()) SetToolCursor(page);
  if (status_) status_->SetCoordinateText(CoordinateText(page));
  doc_.CurrentTool()->MouseMove(*this, page, MouseKeyFlags(event->buttons(), event->modifiers()));
  if (event->buttons() == Qt::NoButton) ShowMarkHint(page);
  viewport()->update();
}

void CReportView::ShowMarkHint(CPoint page) {
  const PlaceholderMark* mark = MarkAt(marks_, screenMapper_.ToDevice(page.x, page.y));
  if (mark) {
    ShowStatusMessage(PlaceholderHint(mark->finding));
    markHintShown_ = true;
  } else if (markHintShown_) {
    ShowStatusMessage("Bereit");
    markHintShown_ = false;
  }
}

void CReportView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // The creation tools place elements with single clicks; only the selection tool edits.
  if (!doc_.IsCurrentTool(CReportDoc::selectToolSlot)) return;
  doc_.EditSelectedElement();
}

int CReportView::VirtualKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: break;
  }
  // Digits and letters carry the same codes in both worlds.
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
  return 0;
}

bool CReportView::event(QEvent* event) {
  // Holding Alt during a drag suspends snapping; it must not open the menu bar as well. Taking the
  // key here keeps it from the window's shortcut handling.
  if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress ||
       event->type() == QEvent::KeyRelease) &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt && HasCapture()) {
    event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

void CReportView::keyPressEvent(QKeyEvent* event) {
  const int key = VirtualKeyOf(event->key());
  // Alt and what is typed with it belong to the menu bar.
  if (key == 0 || event->key() == Qt::Key_Alt || (event->modifiers() & Qt::AltModifier)) {
    event->ignore();
    return;
  }
  doc_.CurrentTool()->KeyDown(*this, key, event->isAutoRepeat() ? kKeyWasDownFlag : 0);
  viewport()->update();
  event->accept();
}

void CReportView::keyReleaseEvent(QKeyEvent* event) { event->ignore(); }

// ---- cursor ------------------------------------------------------------------------------------

const QCursor& CReportView::ColumnCursor() {
  if (!columnCursor_) {
    const ColumnCursorBitmap bits = ColumnCursorPixels();
    QImage image(kColumnCursorSize, kColumnCursorSize, QImage::Format_ARGB32);
    for (int r = 0; r < kColumnCursorSize; ++r)
      for (int c = 0; c < kColumnCursorSize; ++c) {
        const CursorPixel p = bits[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
        image.setPixel(c, r, p == CursorPixel::black   ? qRgba(0, 0, 0, 255)
                             : p == CursorPixel::white ? qRgba(255, 255, 255, 255)
                                                       : qRgba(0, 0, 0, 0));
      }
    columnCursor_.emplace(QPixmap::fromImage(image), kColumnCursorHotSpot.x, kColumnCursorHotSpot.y);
  }
  return *columnCursor_;
}

void CReportView::SetToolCursor(CPoint page) {
  const ToolCursor cursor = doc_.CurrentTool()->QueryCursor(*this, page);
  switch (cursor) {
    case ToolCursor::none:
    case ToolCursor::arrow: viewport()->setCursor(Qt::ArrowCursor); break;
    case ToolCursor::cross: viewport()->setCursor(Qt::CrossCursor); break;
    case ToolCursor::move: viewport()->setCursor(Qt::SizeAllCursor); break;
    case ToolCursor::sizeNWSE: viewport()->setCursor(Qt::SizeFDiagCursor); break;
    case ToolCursor::sizeNESW: viewport()->setCursor(Qt::SizeBDiagCursor); break;
    case ToolCursor::sizeWE: viewport()->setCursor(Qt::SizeHorCursor); break;
    case ToolCursor::sizeNS: viewport()->setCursor(Qt::SizeVerCursor); break;
    case ToolCursor::column: viewport()->setCursor(ColumnCursor()); break;
  }
}

// ---- what the tools ask ------------------------------------------------------------------------

std::unique_ptr<DeviceContext> CReportView::ClientDC() {
  if (backing_.size() != DeviceViewportSize() && !backing_.paintingActive()) Redraw();
  auto dc = PageContext(&backing_, DrawingOffset(ScrollPosition(), pageOrigin_));
  dc->SetBrush(Brush::StockWhite());
  return dc;
}

void CReportView::CaptureMouse() { viewport()->grabMouse(); }

void CReportView::ReleaseMouse() {
  if (HasCapture()) viewport()->releaseMouse();
}

bool CReportView::HasCapture() const { return QWidget::mouseGrabber() == viewport(); }

// The key state as of the event being handled, as the tools expect it.
bool CReportView::IsShiftDown() const { return QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier); }
bool CReportView::IsControlDown() const {
  return QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
}
bool CReportView::IsAltDown() const { return QGuiApplication::keyboardModifiers().testFlag(Qt::AltModifier); }

int CReportView::DragThreshold() const {
  // The same distance under the finger on every screen, counted in the pixels the tools see.
  return ToDevice(std::max(QApplication::startDragDistance(), 6));
}

void CReportView::RepaintNow() { Redraw(); }

void CReportView::ShowStatusMessage(std::string_view text) {
  if (status_) status_->ShowStatusMessage(text);
}
