#include "model/FormAlias.h"

#include "platform/Archive.h"

const ClassInfo CFormAlias::classInfo{"CFormAlias", 1, &CFormElement::classInfo,
                                      &CreateSerialObject<CFormAlias>};

void CFormAlias::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    ar.WritePoint({x, y});
    ar.WriteString(name);
    ar.WritePoint({width, height});
  } else {
    const CPoint p = ar.ReadPoint();
    x = p.x;
    y = p.y;
    name = ar.ReadString();
    const CPoint s = ar.ReadPoint();
    width = s.x;
    height = s.y;
  }
}

std::unique_ptr<CFormElement> CFormAlias::Clone() const { return CloneOf(*this); }

void CFormAlias::CopyFrom(const CFormElement& other) {
  const auto& o = static_cast<const CFormAlias&>(other);
  CopyGeometry(o);
  name = o.name;
}

void CFormAlias::Draw(DeviceContext& dc, const CPageMapper& mapper) {
  ScopedSave save(dc);
  dc.SetPen(Pen::Solid(0, RGB(7, 0, 0)));
  dc.SetBrush(Brush::Null());
  dc.Rectangle(CRect(mapper.ToDevice(x, y), mapper.ToDevice(x + width, y + height)));
}

void CFormAlias::DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour) {
  ScopedSave save(dc);
  dc.SetPen(Pen::Solid(0, colour));
  dc.SetBrush(Brush::Null());
  const CPoint a = mapper.ToDevice(x, y);
  const CPoint b = mapper.ToDevice(x + width, y + height);
  dc.Rectangle(CRect(a, b));
  DrawHandles(dc, a.x, a.y, b.x, b.y, true);
}

void CFormAlias::Print(DeviceContext& dc, int, const CPageMapper& mapper, const CFormEnv&) {
  Draw(dc, mapper);
}
