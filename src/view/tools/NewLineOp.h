// The line tool: the line is drawn out with the mouse, with an exclusive-or preview, and stays
// the current tool so that several lines can be drawn one after another.
#pragma once

#include "document/Operator.h"

class CNewLineOp : public COperator {
 public:
  using COperator::COperator;
  void Activate() override;
  void ButtonDown(ToolView& view, CPoint point, unsigned keyFlags) override;
  void MouseMove(ToolView& view, CPoint point, unsigned keyFlags) override;
  void ButtonUp(ToolView& view, CPoint point, unsigned keyFlags) override;

  bool drawing = false;
  CPoint lineStart;
  CPoint lineEnd;

 private:
  // Drawn twice at the same place it leaves the screen as it was.
  void DrawPreview(ToolView& view) const;
};
