// The editing tool interface: the editor view converts every mouse and key event to page units
// and hands it to the document's current tool.
#pragma once

#include "platform/Types.h"

class CReportDoc;
class ToolView;  // what a tool may ask of the editor view

enum class ToolCursor { none, arrow, cross, move, sizeNWSE, sizeNESW, sizeWE, sizeNS, column };

class COperator {
 public:
  explicit COperator(CReportDoc* doc) : document(doc) {}
  virtual ~COperator() = default;
  COperator(const COperator&) = delete;
  COperator& operator=(const COperator&) = delete;

  virtual void Activate() {}
  virtual void Deactivate() {}
  virtual void ButtonDown(ToolView& view, CPoint point, unsigned keyFlags) { (void)view; (void)point; (void)keyFlags; }
  virtual void ButtonUp(ToolView& view, CPoint point, unsigned keyFlags) { (void)view; (void)point; (void)keyFlags; }
  virtual void MouseMove(ToolView& view, CPoint point, unsigned keyFlags) { (void)view; (void)point; (void)keyFlags; }
  virtual void KeyDown(ToolView& view, int virtualKey, unsigned keyMessageFlags) { (void)view; (void)virtualKey; (void)keyMessageFlags; }
  // No cursor of its own: the view shows the default arrow.
  virtual ToolCursor QueryCursor(ToolView& view, CPoint point) { (void)view; (void)point; return ToolCursor::none; }

  CReportDoc* document;
};
