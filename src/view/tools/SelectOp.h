// The selection tool: selects elements by click and rubber band, moves and resizes the selection
// with grid snapping, direction lock and aspect ratio, selects table columns, nudges with the
// arrow keys, chooses the cursor and reports the gesture on the status line. Each gesture has its
// own small helper; the handlers only dispatch on the state.
#pragma once

#include <vector>

#include "document/Operator.h"
#include "view/tools/Gestures.h"

class CFormElement;
class CFormTable;
class DeviceContext;

class CSelectOp : public COperator {
 public:
  enum class State { idle, pressedOnElement, dragging, pressedOnPage, rubberBand, pressedOnColumn, selectingColumns };

  explicit CSelectOp(CReportDoc* doc) : COperator(doc) {}

  // A tool switch or a new layout ends whatever gesture was under way.
  void Activate() override { Reset(); }
  void Deactivate() override { Reset(); }
  void ButtonDown(ToolView& view, CPoint point, unsigned keyFlags) override;
  void ButtonUp(ToolView& view, CPoint point, unsigned keyFlags) override;
  void MouseMove(ToolView& view, CPoint point, unsigned keyFlags) override;
  void KeyDown(ToolView& view, int virtualKey, unsigned keyMessageFlags) override;
  ToolCursor QueryCursor(ToolView& view, CPoint point) override;

  State state() const { return state_; }

 private:
  // The single selected element when it is a table, else null.
  CFormTable* SingleSelectedTable() const;
  bool BeyondDragDistance(const ToolView& view, CPoint p) const;
  void PressElement(CFormElement* element, DeviceContext& dc, const ToolView& view, unsigned keyFlags);
  void PressPage(ToolView& view);

  void DragElements(ToolView& view, CPoint p);
  CPoint ConstrainedPoint(const ToolView& view, CPoint p) const;
  void StartDrag(DeviceContext& dc, const ToolView& view);
  void ShowDragStatus(ToolView& view) const;

  void TrackRubberBand(ToolView& view, CPoint p);
  void DrawRubberBand(ToolView& view) const;
  void FinishRubberBand(ToolView& view);

  void TrackColumns(ToolView& view, CPoint p);

  void ReleaseOnElement();
  void Reset();

  State state_ = State::idle;
  CPoint currentPoint;
  unsigned pressFlags = 0;
  DragPress press;  // press point, part, press bounds, whether a text, reference point
  bool secondEnd = false;
  CFormElement* pressedElement = nullptr;
  double pressFontSize = 0;
  CFormElement* deselectOnRelease = nullptr;
  CFormTable* pressTable = nullptr;
  int pressColumn = -1;
  std::vector<int> baseColumns;
};
