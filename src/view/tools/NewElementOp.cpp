#include "view/tools/NewElementOp.h"

#include "document/ReportDoc.h"

void CNewElementOp::Activate() { document->ClearSelection(); }

void CNewElementOp::ButtonUp(ToolView&, CPoint p, unsigned) {
  std::unique_ptr<CFormElement> element = MakeElement(p);
  const bool confirmed = element->EditInDialog();
  // Back to the selection tool before the views hear of the result, so that the tool marks of
  // menu and toolbar follow at once.
  document->SelectTool(CReportDoc::selectToolSlot);
  if (confirmed)
    document->AddElement(std::move(element));
  else
    document->UpdateAllViews(0);
}
