#include "view/tools/EditingTools.h"

#include "document/ReportDoc.h"
#include "view/tools/NewImageOp.h"
#include "view/tools/NewLineOp.h"
#include "view/tools/NewTableOp.h"
#include "view/tools/NewTextOp.h"
#include "view/tools/SelectOp.h"

void InstallEditingTools(CReportDoc& doc) {
  doc.InstallTool(CReportDoc::selectToolSlot, std::make_unique<CSelectOp>(&doc));
  doc.InstallTool(CReportDoc::newTextToolSlot, std::make_unique<CNewTextOp>(&doc));
  doc.InstallTool(CReportDoc::newLineToolSlot, std::make_unique<CNewLineOp>(&doc));
  doc.InstallTool(CReportDoc::newImageToolSlot, std::make_unique<CNewImageOp>(&doc));
  doc.InstallTool(CReportDoc::newTableToolSlot, std::make_unique<CNewTableOp>(&doc));
  doc.SelectTool(CReportDoc::selectToolSlot);
}
