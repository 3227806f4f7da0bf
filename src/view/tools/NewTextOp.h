// The tool that places a text "Text" in the default font, left aligned, black, then opens its dialog.
#pragma once

#include "view/tools/NewElementOp.h"

class CNewTextOp : public CNewElementOp {
 public:
  using CNewElementOp::CNewElementOp;

 protected:
  std::unique_ptr<CFormElement> MakeElement(CPoint point) const override;
};
