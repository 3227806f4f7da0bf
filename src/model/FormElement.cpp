#include "model/FormElement.h"

#include <cstdlib>

#include "platform/Archive.h"

const ClassInfo CFormElement::classInfo{"CFormElement", 1, nullptr,
                                        &CreateSerialObject<CFormElement>};

void CFormElement::Serialize(Archive&) {}
std::unique_ptr<CFormElement> CFormElement::Clone() const { return std::make_unique<CFormElement>(); }
void CFormElement::CopyFrom(const CFormElement&) {}
bool CFormElement::HitTest(DeviceContext*, const CPageMapper&, int, int) { return false; }
CRect CFormElement::GetBounds() const { return {}; }
void CFormElement::BeginTrack(DeviceContext&, const CPageMapper&, CPoint) {}
void CFormElement::Track(DeviceContext&, const CPageMapper&, CPoint) {}
void CFormElement::EndTrack(DeviceContext&, const CPageMapper&, CPoint) {}
void CFormElement::MoveBy(DeviceContext*, const CPageMapper&, CPoint) {}
void CFormElement::Draw(DeviceContext&, const CPageMapper&) {}
void CFormElement::DrawSelected(DeviceContext&, const CPageMapper&, COLORREF) {}
int CFormElement::GetTop() const { return 0; }
void CFormElement::SetTop(int) {}
int CFormElement::GetLeft() const { return 0; }
void CFormElement::SetLeft(int) {}
int CFormElement::GetPageCount(DeviceContext&, const CPageMapper&, const CFormEnv&) { return 1; }
void CFormElement::Print(DeviceContext&, int, const CPageMapper&, const CFormEnv&) {}
bool CFormElement::EditInDialog() { return false; }

// ---- rectangle geometry ------------------------------------------------------------------------

CRect RectBounds(CPoint position, CPoint size) {
  return CRect(position.x, position.y, position.x + size.x, position.y + size.y).Normalized();
}

CPoint HandlePosition(int handle, CPoint p, CPoint s) {
  switch (handle) {
    case 1: return {p.x, p.y};
    case 2: return {p.x + s.x, p.y};
    case 3: return {p.x + s.x, p.y + s.y};
    case 4: return {p.x, p.y + s.y};
    case 5: return {p.x + s.x / 2, p.y};
    case 6: return {p.x + s.x, p.y + s.y / 2};
    case 7: return {p.x + s.x / 2, p.y + s.y};
    case 8: return {p.x, p.y + s.y / 2};
    default: return p;
  }
}

int FindHandle(CPoint point, CPoint position, CPoint size) {
  for (int n = 1; n <= 8; ++n) {
    const CPoint h = HandlePosition(n, position, size);
    if (std::abs(static_cast<long long>(point.x) - h.x) <= kHandleReach &&
        std::abs(static_cast<long long>(point.y) - h.y) <= kHandleReach)
      return n;
  }
  return 0;
}

void ApplyHandleDelta(int part, CPoint d, CPoint& p, CPoint& s) {
  switch (part) {
    case 0: p.x += d.x; p.y += d.y; break;
    case 1: p.x += d.x; s.x -= d.x; p.y += d.y; s.y -= d.y; break;
    case 2: s.x += d.x; p.y += d.y; s.y -= d.y; break;
    case 3: s.x += d.x; s.y += d.y; break;
    case 4: p.x += d.x; s.x -= d.x; s.y += d.y; break;
    case 5: p.y += d.y; s.y -= d.y; break;
    case 6: s.x += d.x; break;
    case 7: s.y += d.y; break;
    case 8: p.x += d.x; s.x -= d.x; break;
    default: break;
  }
}

void DrawTrackRect(DeviceContext& dc, const CPageMapper& mapper, CPoint position, CPoint size) {
  ScopedSave save(dc);
  dc.SetPen(Pen::Solid(0, kTrackColour));
  dc.SetRop(RasterOp::xorPen);
  const CPoint tl = mapper.ToDevice(position);
  const CPoint sz = mapper.ToDevice(size);
  dc.Rectangle(CRect(tl.x, tl.y, tl.x + sz.x, tl.y + sz.y));
}

void DrawHandles(DeviceContext& dc, int left, int top, int right, int bottom, bool withMiddles) {
  ScopedSave save(dc);
  dc.SetBrush(Brush::StockBlack());
  const auto square = [&dc](int hx, int hy) { dc.Rectangle(CRect(hx - 3, hy - 3, hx + 4, hy + 4)); };
  square(left, top);
  square(right, top);
  square(right, bottom);
  square(left, bottom);
  if (withMiddles) {
    square((left + right) / 2, top);
    square(right, (top + bottom) / 2);
    square((left + right) / 2, bottom);
    square(left, (top + bottom) / 2);
  }
}

// ---- rectangular elements ----------------------------------------------------------------------

bool CFormRectElement::HitTest(DeviceContext*, const CPageMapper&, int px, int py) {
  if (selected) {
    const int n = FindHandle({px, py}, {x, y}, {width, height});
    if (n != 0) {
      hitPart = n;
      return true;
    }
  }
  // Strictly inside with the stored size: a rectangle turned inside out reacts only to handles.
  const long long right = static_cast<long long>(x) + width;
  const long long bottom = static_cast<long long>(y) + height;
  if (x < px && px < right && y < py && py < bottom) {
    hitPart = 0;
    return true;
  }
  return false;
}

void CFormRectElement::BeginTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint p) {
  trackPoint = p;
  DrawTrackRect(dc, mapper, {x, y}, {width, height});
}

void CFormRectElement::Track(DeviceContext& dc, const CPageMapper& mapper, CPoint p) {
  DrawTrackRect(dc, mapper, {x, y}, {width, height});
  CPoint position{x, y};
  CPoint size{width, height};
  ApplyHandleDelta(hitPart, p - trackPoint, position, size);
  x = position.x;
  y = position.y;
  width = size.x;
  height = size.y;
  trackPoint = p;
  DrawTrackRect(dc, mapper, {x, y}, {width, height});
}

void CFormRectElement::EndTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint) {
  DrawTrackRect(dc, mapper, {x, y}, {width, height});
}

void CFormRectElement::MoveBy(DeviceContext*, const CPageMapper&, CPoint delta) {
  x += delta.x;
  y += delta.y;
}
