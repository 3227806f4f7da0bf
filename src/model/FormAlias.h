// A named rectangle that comes from layout files and the clipboard; the tools never create one.
#pragma once

#include <string>

#include "model/FormElement.h"

class CFormAlias : public CFormRectElement {
 public:
  static const ClassInfo classInfo;
  const ClassInfo& GetRuntimeClass() const override { return classInfo; }

  void Serialize(Archive& ar) override;
  std::unique_ptr<CFormElement> Clone() const override;
  void CopyFrom(const CFormElement& other) override;
  void Draw(DeviceContext& dc, const CPageMapper& mapper) override;
  void DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour) override;
  void Print(DeviceContext& dc, int page, const CPageMapper& mapper, const CFormEnv& data) override;
  PropertyList FillProperties() const override;
  void ApplyProperty(std::string_view name, double number, std::string_view text) override;

  std::string name;  // stored and copied, shown nowhere
};
