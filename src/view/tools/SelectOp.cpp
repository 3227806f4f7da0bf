#include "view/tools/SelectOp.h"

#include <algorithm>
#include <cstdlib>

#include "document/ReportDoc.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "view/ToolView.h"

namespace {
constexpr int kKeyEscape = 27;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
}  // namespace

CFormTable* CSelectOp::SingleSelectedTable() const {
  if (document->elements.CountSelected() != 1) return nullptr;
  std::vector<CFormElement*> selected;
  document->elements.GetSelected(selected);
  return selected[0]->Is<CFormTable>() ? static_cast<CFormTable*>(selected[0]) : nullptr;
}

bool CSelectOp::BeyondDragDistance(const ToolView& view, CPoint p) const {
  const CPoint a = view.ScreenMapper().ToDevice(press.point);
  const CPoint b = view.ScreenMapper().ToDevice(p);
  const int limit = view.DragThreshold();
  return std::abs(static_cast<long long>(b.x) - a.x) >= limit || std::abs(static_cast<long long>(b.y) - a.y) >= limit;
}

// ---- press ---------------------------------------------------------------------------------------

void CSelectOp::ButtonDown(ToolView& view, CPoint p, unsigned keyFlags) {
  Reset();
  press.point = p;
  pressFlags = keyFlags;
  view.CaptureMouse();
  CFormElement* hit = nullptr;
  {
    const auto dc = view.ClientDC();
    if (CFormTable* table = SingleSelectedTable()) {
      const int column = table->HitTestColumn(*dc, view.ScreenMapper(), p.x, p.y);
      if (column >= 0) {
        pressColumn = column;
        pressTable = table;
        state_ = State::pressedOnColumn;
        return;
      }
    }
    hit = document->elements.FindAt(dc.get(), view.ScreenMapper(), p.x, p.y);
    if (hit) {
      PressElement(hit, *dc, view, keyFlags);
      return;
    }
  }
  PressPage(view);
}

void CSelectOp::PressElement(CFormElement* e, DeviceContext& dc, const ToolView& view, unsigned keyFlags) {
  const int hitPart = e->hitPart;  // selecting hit-tests again; keep what this press found
  if (!e->selected)
    document->SelectAt(&dc, view.ScreenMapper(), press.point.x, press.point.y, keyFlags);
  else if (keyFlags & MK_SHIFT)
    deselectOnRelease = e;
  else
    document->SelectElement(e);
  e->hitPart = hitPart;
  state_ = State::pressedOnElement;
  press.part = hitPart;
  press.bounds = e->GetBounds();
  press.isText = e->Is<CFormText>();
  press.reference = {e->GetLeft(), e->GetTop()};
  pressedElement = e;
  pressFontSize = TextFontSize(*e);
  if (e->Is<CFormLine>()) {
    const auto* line = static_cast<const CFormLine*>(e);
    secondEnd = hitPart == 2;
    if (hitPart == 1 || hitPart == 2) press.part = -1;
    press.reference = secondEnd ? line->to : line->from;
  }
}

void CSelectOp::PressPage(ToolView& view) {
  if (!(pressFlags & MK_SHIFT)) document->ClearSelection();
  // The rubber band is drawn with exclusive-or: it must start on an up-to-date picture.
  view.RepaintNow();
  state_ = State::pressedOnPage;
}

// ---- move ----------------------------------------------------------------------------------------

void CSelectOp::MouseMove(ToolView& view, CPoint p, unsigned) {
  switch (state_) {
    case State::idle: return;
    case State::pressedOnElement:
    case State::pressedOnPage:
    case State::pressedOnColumn:
      if (!BeyondDragDistance(view, p)) return;
      break;
    default: break;
  }
  switch (state_) {
    case State::pressedOnElement:
    case State::dragging: DragElements(view, p); break;
    case State::pressedOnPage:
    case State::rubberBand: TrackRubberBand(view, p); break;
    case State::pressedOnColumn:
    case State::selectingColumns: TrackColumns(view, p); break;
    case State::idle: break;
  }
}

CPoint CSelectOp::ConstrainedPoint(const ToolView& view, CPoint p) const {
  if (view.SnapToGrid() && !view.IsAltDown()) p = SnapPoint(press, p);
  const bool shift = view.IsShiftDown();
  if (press.part <= 0 && shift) return LockDirection(press.point, p);
  if (press.part >= 1 && press.part <= 4 && !shift) return KeepAspectRatio(press, p);
  return p;
}

void CSelectOp::StartDrag(DeviceContext& dc, const ToolView& view) {
  state_ = State::dragging;
  // An undo or a paste since the press may have taken the element away: then there is nothing to
  // drag, and the rest of the gesture is ignored.
  if (!document->elements.Contains(pressedElement) || !pressedElement->selected) return;
  // Elements selected by earlier presses still carry the part those presses found; they move
  // along as a whole.
  std::vector<CFormElement*> selected;
  document->elements.GetSelected(selected);
  for (CFormElement* e : selected)
    if (e != pressedElement) e->hitPart = 0;
  document->BeginDrag(dc, view.ScreenMapper(), press.point);
}

void CSelectOp::DragElements(ToolView& view, CPoint p) {
  p = ConstrainedPoint(view, p);
  const auto dc = view.ClientDC();
  if (state_ == State::pressedOnElement) StartDrag(*dc, view);
  if (!document->IsDragging()) return;
  document->elements.TrackAll(*dc, view.ScreenMapper(), p);
  ShowDragStatus(view);
}

void CSelectOp::ShowDragStatus(ToolView& view) const {
  CFormElement& e = *pressedElement;
  if (press.isText && press.part >= 1 && press.part <= 4) {
    view.ShowStatusMessage(FontSizeStatus(TextFontSize(e), pressFontSize));
  } else if (press.part == -1) {
    const auto& line = static_cast<const CFormLine&>(e);
    const CPoint end = secondEnd ? line.to : line.from;
    view.ShowStatusMessage(EndPointStatus(end - press.reference, line.to - line.from));
  } else if (press.part >= 1) {
    view.ShowStatusMessage(ResizeStatus(e.GetBounds(), press.bounds));
  } else {
    view.ShowStatusMessage(MoveStatus(e.GetBounds(), press.bounds));
  }
}

// ---- rubber band ---------------------------------------------------------------------------------

void CSelectOp::DrawRubberBand(ToolView& view) const {
  const auto dc = view.ClientDC();
  const CPageMapper& m = view.ScreenMapper();
  CRect r = CRect(m.ToDevice(press.point), m.ToDevice(currentPoint)).Normalized();
  r.right += 1;
  r.bottom += 1;
  dc->FocusRect(r);
}

void CSelectOp::TrackRubberBand(ToolView& view, CPoint p) {
  if (state_ == State::rubberBand) DrawRubberBand(view);  // erases the previous frame
  currentPoint = p;
  state_ = State::rubberBand;
  DrawRubberBand(view);
}

void CSelectOp::FinishRubberBand(ToolView& view) {
  DrawRubberBand(view);
  document->SelectInRect(CRect(press.point, currentPoint), (pressFlags & MK_SHIFT) != 0);
}

// ---- table columns -------------------------------------------------------------------------------

void CSelectOp::TrackColumns(ToolView& view, CPoint p) {
  if (!document->elements.Contains(pressTable)) return;  // taken away during the gesture
  if (state_ == State::pressedOnColumn) {
    baseColumns.clear();
    if ((pressFlags & MK_CONTROL) && document->columnTable == pressTable) baseColumns = document->selectedColumns;
    state_ = State::selectingColumns;
  }
  std::vector<CRect> bodies;
  std::vector<CRect> templates;
  {
    const auto dc = view.ClientDC();
    pressTable->GetColumnRects(*dc, view.ScreenMapper(), bodies, templates);
  }
  if (bodies.empty()) return;
  const int x = view.ScreenMapper().ToDevice(p).x;
  int column = static_cast<int>(bodies.size()) - 1;
  if (x < bodies.front().Normalized().left) column = 0;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    const CRect r = bodies[i].Normalized();
    if (r.left <= x && x < r.right) {
      column = static_cast<int>(i);
      break;
    }
  }
  std::vector<int> columns = baseColumns;
  for (int i = std::min(pressColumn, column); i <= std::max(pressColumn, column); ++i) columns.push_back(i);
  document->SetSelectedColumns(pressTable, columns, pressColumn);
}

// ---- release -------------------------------------------------------------------------------------

void CSelectOp::ReleaseOnElement() {
  if (deselectOnRelease) {
    if (document->elements.Contains(deselectOnRelease)) document->DeselectElement(deselectOnRelease);
  } else if (document->columnTable && !document->selectedColumns.empty()) {
    document->ClearColumnSelection();
    document->UpdateAllViews(0);
  }
}

void CSelectOp::ButtonUp(ToolView& view, CPoint p, unsigned) {
  switch (state_) {
    case State::pressedOnElement: ReleaseOnElement(); break;
    case State::dragging:
      if (document->IsDragging()) {
        const auto dc = view.ClientDC();
        document->CommitDrag(*dc, view.ScreenMapper(), p);
      }
      break;
    case State::rubberBand: FinishRubberBand(view); break;
    case State::pressedOnColumn:
      if (document->elements.Contains(pressTable)) document->SelectColumn(pressTable, pressColumn, pressFlags);
      break;
    case State::pressedOnPage:
    case State::selectingColumns:
    case State::idle: break;
  }
  if (pressedElement) view.ShowStatusMessage("");
  Reset();
  if (view.HasCapture()) view.ReleaseMouse();
}

void CSelectOp::Reset() {
  state_ = State::idle;
  pressColumn = -1;
  pressTable = nullptr;
  pressedElement = nullptr;
  deselectOnRelease = nullptr;
  baseColumns.clear();
  pressFontSize = 0;
  secondEnd = false;
  press = DragPress{};
}

// ---- keys ----------------------------------------------------------------------------------------

void CSelectOp::KeyDown(ToolView& view, int key, unsigned) {
  if (key == kKeyEscape) {
    if (document->columnTable && !document->selectedColumns.empty()) {
      document->ClearColumnSelection();
      document->UpdateAllViews(0);
    } else {
      document->ClearSelection();
    }
    return;
  }
  const int step = view.IsShiftDown() ? 10 : 1;
  switch (key) {
    case kKeyLeft: document->MoveSelection({-step, 0}); break;
    case kKeyRight: document->MoveSelection({step, 0}); break;
    case kKeyUp: document->MoveSelection({0, -step}); break;
    case kKeyDown: document->MoveSelection({0, step}); break;
    default: break;
  }
}

// ---- cursor --------------------------------------------------------------------------------------

ToolCursor CSelectOp::QueryCursor(ToolView& view, CPoint p) {
  const auto dc = view.ClientDC();
  if (CFormTable* table = SingleSelectedTable())
    if (table->HitTestColumn(*dc, view.ScreenMapper(), p.x, p.y) >= 0) return ToolCursor::column;
  CFormElement* e = document->elements.FindAt(dc.get(), view.ScreenMapper(), p.x, p.y);
  if (!e) return ToolCursor::none;
  if (e->Is<CFormLine>()) return e->hitPart == 0 ? ToolCursor::move : ToolCursor::cross;
  switch (e->hitPart) {
    case 1:
    case 3: return ToolCursor::sizeNWSE;
    case 2:
    case 4: return ToolCursor::sizeNESW;
    case 5:
    case 7: return ToolCursor::sizeNS;
    case 6:
    case 8: return ToolCursor::sizeWE;
    default: return ToolCursor::move;
  }
}
