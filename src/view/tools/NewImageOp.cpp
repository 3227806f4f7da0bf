#include "view/tools/NewImageOp.h"

#include <string>

#include "model/FormImage.h"

std::unique_ptr<CFormElement> CNewImageOp::MakeElement(CPoint p) const { return std::make_unique<CFormImage>(p, std::string()); }
