#include "view/tools/NewTextOp.h"

#include <string>

#include "model/FormText.h"

std::unique_ptr<CFormElement> CNewTextOp::MakeElement(CPoint p) const { return std::make_unique<CFormText>(p, "Text"); }
