#include "view/tools/NewElementOp.h"

#include "document/ReportDoc.h"

void CNewElementOp::Activate() { document->ClearSelection(); }

void CNewElementOp::ButtonUp(ToolView&, CPoint p, unsigned) {
  std::unique_ptr<CFormElement> element = MakeElement(p);
  const bool confirmed = element->EditInDialog();
  if (confirmed) document->AddElement(std::move(element));
  document->SelectTool(CReportDoc::selectToolSlot);
  // A cancelled dialog changed nothing the views would hear of; the tool marks must follow.
  if (!confirmed) document->UpdateAllViews(0);
}
