// The editor view: the one page of the open layout at a zoom factor, with grid, page frame,
// elements and table-column marks. Mouse and key input is converted to page units and handed to
// the document's current tool.
//
// The view keeps a picture of its viewport. Every redraw paints that picture; the tools' client
// device context draws on the same picture, so exclusive-or feedback drawn twice restores it
// exactly, and the screen only ever shows the picture. A drag therefore never causes a full
// redraw.
//
// The picture, the page mapper, the scroll positions and every pixel the tools see are device
// pixels: on a screen with two device pixels per logical one the page is drawn at full
// resolution, and at zoom 1.0 it still fills the same part of the window.
#pragma once

#include <memory>
#include <optional>

#include <QAbstractScrollArea>
#include <QCursor>
#include <QImage>
#include <QPoint>

#include "document/ReportDoc.h"
#include "model/PageMapper.h"
#include "view/PlaceholderMarks.h"
#include "view/ToolView.h"

class StatusTexts;

class CReportView : public QAbstractScrollArea, public ToolView, public DocumentObserver {
  Q_OBJECT

 public:
  CReportView(CReportDoc& doc, StatusTexts* status, QWidget* parent = nullptr);
  ~CReportView() override;

  // ---- framework side
  // A new or opened layout: whole page, page units from the layout's orientation.
  void OnInitialUpdate();
  void OnUpdate(CReportDoc& doc, int hint) override;
  // Paints desk, page, grid, page frame, elements and column marks on `dc`, whose device origin
  // lies at the page's top-left corner.
  void OnDraw(DeviceContext& dc);

  // ---- commands of the main window
  void ZoomIn();
  void ZoomOut();
  void WholePage();
  void ToggleSnapToGrid();
  bool CanZoomIn() const;
  bool CanZoomOut() const;
  bool CanShowWholePage() const;
  bool IsPortraitPage() const;

  // ---- placement
  // Fits and places the page and repaints; with an anchor (viewport pixel) the page point under
  // it stays there.
  void Relayout(std::optional<QPoint> anchor);
  void ZoomBy(double factor, QPoint anchor);

  double zoom() const { return zoom_; }
  CPoint PageOrigin() const { return pageOrigin_; }
  CPoint ScrollPosition() const;
  int PageWidth() const { return pageWidth_; }
  int PageHeight() const { return pageHeight_; }
  // The page point under a viewport device pixel.
  CPoint WindowToPagePoint(QPoint window) const;
  // The viewport device pixel under a point in the widget's own (logical) coordinates.
  QPoint DevicePixelAt(QPointF logical) const;
  // The picture the screen shows, in device pixels.
  const QImage& BackingImage() const { return backing_; }
  CReportDoc& Document() const { return doc_; }

  // ---- what the tools ask
  std::unique_ptr<DeviceContext> ClientDC() override;
  const CPageMapper& ScreenMapper() const override { return screenMapper_; }
  bool SnapToGrid() const override { return snapToGrid; }
  void CaptureMouse() override;
  void ReleaseMouse() override;
  bool HasCapture() const override;
  bool IsShiftDown() const override;
  bool IsControlDown() const override;
  bool IsAltDown() const override;
  int DragThreshold() const override;
  void RepaintNow() override;
  void ShowStatusMessage(std::string_view text) override;

  // Windows virtual-key code of a Qt key, 0 when the tools know no such key.
  static int VirtualKeyOf(int qtKey);

  bool snapToGrid = true;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 public:
  const std::vector<PlaceholderMark>& PlaceholderMarks() const { return marks_; }

 private:
  void ShowMarkHint(CPoint page);
  void ZoomTo(double proposed, std::optional<QPoint> anchor);
  void CheckOrientation();
  // Repaints the picture from the document and shows it.
  void Redraw();
  void SetToolCursor(CPoint page);
  // Lays the page out again when the client area changed, otherwise repaints.
  void FollowClientSize();
  // Device pixels per logical pixel, and logical lengths in device pixels.
  qreal Ratio() const;
  int ToDevice(int logical) const;
  QSize DeviceViewportSize() const;
  QPoint ClientCentre() const;
  CSize TrueClientSize() const;
  unsigned MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;
  const QCursor& ColumnCursor();

  CReportDoc& doc_;
  StatusTexts* status_;
  bool inRelayout_ = false;
  bool densityCheckPending_ = false;
  CPoint pageOrigin_;
  double zoom_ = 1.0;
  int pageWidth_ = kPortraitWidth;
  int pageHeight_ = kPortraitHeight;
  CPageMapper screenMapper_;
  CSize laidOutFor_;  // client size of the last relayout
  QImage backing_;
  std::optional<QCursor> columnCursor_;
  // Unknown placeholder codes as last drawn; the pointer is looked up here, not re-checked.
  std::vector<PlaceholderMark> marks_;
  bool markHintShown_ = false;
};
