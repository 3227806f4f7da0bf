// The creation tools that place an element with one click and then open its dialog (text,
// picture, table). After the dialog, confirmed or not, the selection tool is current again.
#pragma once

#include <memory>

#include "document/Operator.h"

class CFormElement;

class CNewElementOp : public COperator {
 public:
  using COperator::COperator;
  void Activate() override;
  void ButtonUp(ToolView& view, CPoint point, unsigned keyFlags) override;

 protected:
  // The new element with its initial values, top-left at the point.
  virtual std::unique_ptr<CFormElement> MakeElement(CPoint point) const = 0;
};
