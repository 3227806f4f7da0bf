// A straight line between two points, one device pixel wide.
#pragma once

#include "model/FormElement.h"

class CFormLine : public CFormElement {
 public:
  static const ClassInfo classInfo;
  const ClassInfo& GetRuntimeClass() const override { return classInfo; }

  CFormLine() = default;
  CFormLine(CPoint from, CPoint to) : from(from), to(to) {}

  void Serialize(Archive& ar) override;
  std::unique_ptr<CFormElement> Clone() const override;
  void CopyFrom(const CFormElement& other) override;
  bool HitTest(DeviceContext* dc, const CPageMapper& mapper, int x, int y) override;
  CRect GetBounds() const override;
  void BeginTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint point) override;
  void Track(DeviceContext& dc, const CPageMapper& mapper, CPoint point) override;
  void EndTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint point) override;
  void MoveBy(DeviceContext* dc, const CPageMapper& mapper, CPoint delta) override;
  void Draw(DeviceContext& dc, const CPageMapper& mapper) override;
  void DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour) override;
  int GetTop() const override;
  void SetTop(int y) override;
  int GetLeft() const override;
  void SetLeft(int x) override;
  void Print(DeviceContext& dc, int page, const CPageMapper& mapper, const CFormEnv& data) override;
  bool EditInDialog() override;
  PropertyList FillProperties() const override;
  void ApplyProperty(std::string_view name, double number, std::string_view text) override;

  CPoint from;
  CPoint to;
  COLORREF color = 0;

 private:
  void DrawTrackLine(DeviceContext& dc, const CPageMapper& mapper) const;
};
