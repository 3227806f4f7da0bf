#include "view/tools/NewTableOp.h"

#include <string>

#include "model/FormTable.h"

std::unique_ptr<CFormElement> CNewTableOp::MakeElement(CPoint p) const { return std::make_unique<CFormTable>(p); }
