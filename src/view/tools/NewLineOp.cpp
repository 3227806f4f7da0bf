#include "view/tools/NewLineOp.h"

#include <cstdlib>

#include "document/ReportDoc.h"
#include "model/FormLine.h"
#include "view/ToolView.h"

namespace {
constexpr COLORREF kPreviewColour = RGB(92, 92, 92);
}  // namespace

void CNewLineOp::Activate() {
  drawing = false;
  document->ClearSelection();
}

void CNewLineOp::DrawPreview(ToolView& view) const {
  const auto dc = view.ClientDC();
  ScopedSave save(*dc);
  dc->SetPen(Pen::Solid(0, kPreviewColour));
  dc->SetRop(RasterOp::xorPen);
  dc->Line(view.ScreenMapper().ToDevice(lineStart), view.ScreenMapper().ToDevice(lineEnd));
}

void CNewLineOp::ButtonDown(ToolView& view, CPoint p, unsigned) {
  lineStart = lineEnd = p;
  drawing = true;
  view.CaptureMouse();
  DrawPreview(view);
}

void CNewLineOp::MouseMove(ToolView& view, CPoint p, unsigned) {
  if (!drawing) return;
  DrawPreview(view);
  lineEnd = p;
  DrawPreview(view);
}

void CNewLineOp::ButtonUp(ToolView& view, CPoint p, unsigned) {
  if (view.HasCapture()) view.ReleaseMouse();
  if (!drawing) return;
  DrawPreview(view);
  drawing = false;
  if (std::abs(static_cast<long long>(lineStart.x) - p.x) <= 1 && std::abs(static_cast<long long>(lineStart.y) - p.y) <= 1)
    return;
  document->AddElement(std::make_unique<CFormLine>(lineStart, p));
}
