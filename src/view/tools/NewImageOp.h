// The tool that places an empty picture frame of 50 x 50 units, then opens its dialog.
#pragma once

#include "view/tools/NewElementOp.h"

class CNewImageOp : public CNewElementOp {
 public:
  using CNewElementOp::CNewElementOp;

 protected:
  std::unique_ptr<CFormElement> MakeElement(CPoint point) const override;
};
