// The tool that places a table of 100 x 100 units without columns, then opens its dialog.
#pragma once

#include "view/tools/NewElementOp.h"

class CNewTableOp : public CNewElementOp {
 public:
  using CNewElementOp::CNewElementOp;

 protected:
  std::unique_ptr<CFormElement> MakeElement(CPoint point) const override;
};
