#include "model/FormLine.h"

#include <algorithm>
#include <cmath>

#include "model/ElementDialogs.h"
#include "model/FileFormat.h"
#include "platform/Archive.h"
#include "platform/Services.h"

const ClassInfo CFormLine::classInfo{"CFormLine", 1, &CFormElement::classInfo,
                                     &CreateSerialObject<CFormLine>};

void CFormLine::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    ar.WritePoint(from);
    ar.WritePoint(to);
    ar.WriteDword(color);
  } else {
    from = ar.ReadPoint();
    to = ar.ReadPoint();
    color = ar.formatVersion >= kVersionColours ? ar.ReadDword() : 0;
  }
}

std::unique_ptr<CFormElement> CFormLine::Clone() const { return CloneOf(*this); }

void CFormLine::CopyFrom(const CFormElement& other) {
  const auto& o = static_cast<const CFormLine&>(other);
  from = o.from;
  to = o.to;
  color = o.color;
}

bool CFormLine::HitTest(DeviceContext*, const CPageMapper&, int px, int py) {
  const double dx = static_cast<double>(to.x) - from.x;
  const double dy = static_cast<double>(to.y) - from.y;
  const double len = static_cast<float>(std::sqrt(dx * dx + dy * dy));
  if (!(len > 0.0001)) return false;
  const double ux = static_cast<double>(px) - from.x;
  const double uy = static_cast<double>(py) - from.y;
  const double along = (dy / len) * uy + (dx / len) * ux;
  double distance = 0;
  if (along < 4) {
    hitPart = 1;
    distance = std::sqrt(ux * ux + uy * uy);
  } else if (along > len - 4) {
    hitPart = 2;
    const double ex = static_cast<double>(px) - to.x;
    const double ey = static_cast<double>(py) - to.y;
    distance = std::sqrt(ex * ex + ey * ey);
  } else {
    hitPart = 0;
    distance = std::fabs((dx / len) * uy - (dy / len) * ux);
  }
  return distance < 5;
}

CRect CFormLine::GetBounds() const { return CRect(from, to).Normalized(); }

void CFormLine::DrawTrackLine(DeviceContext& dc, const CPageMapper& mapper) const {
  ScopedSave save(dc);
  dc.SetPen(Pen::Solid(0, kTrackColour));
  dc.SetRop(RasterOp::xorPen);
  dc.Line(mapper.ToDevice(from), mapper.ToDevice(to));
}

void CFormLine::BeginTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint p) {
  trackPoint = p;
  DrawTrackLine(dc, mapper);
}

void CFormLine::Track(DeviceContext& dc, const CPageMapper& mapper, CPoint p) {
  DrawTrackLine(dc, mapper);
  const CPoint d = p - trackPoint;
  if (hitPart == 0 || hitPart == 1) from += d;
  if (hitPart == 0 || hitPart == 2) to += d;
  trackPoint = p;
  DrawTrackLine(dc, mapper);
}

void CFormLine::EndTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint) {
  DrawTrackLine(dc, mapper);
}

void CFormLine::MoveBy(DeviceContext*, const CPageMapper&, CPoint delta) {
  from += delta;
  to += delta;
}

void CFormLine::Draw(DeviceContext& dc, const CPageMapper& mapper) {
  ScopedSave save(dc);
  dc.SetPen(Pen::Solid(0, color));
  dc.Line(mapper.ToDevice(from), mapper.ToDevice(to));
}

void CFormLine::DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour) {
  ScopedSave save(dc);
  dc.SetPen(Pen::Solid(0, colour));
  const CPoint a = mapper.ToDevice(from);
  const CPoint b = mapper.ToDevice(to);
  dc.Line(a, b);
  dc.SetBrush(Brush::StockBlack());
  dc.Rectangle(CRect(a.x - 3, a.y - 3, a.x + 4, a.y + 4));
  dc.Rectangle(CRect(b.x - 3, b.y - 3, b.x + 4, b.y + 4));
}

int CFormLine::GetTop() const { return std::min(from.y, to.y); }
void CFormLine::SetTop(int v) { from.y = to.y = v; }
int CFormLine::GetLeft() const { return std::min(from.x, to.x); }
void CFormLine::SetLeft(int v) { from.x = to.x = v; }

void CFormLine::Print(DeviceContext& dc, int, const CPageMapper& mapper, const CFormEnv&) {
  Draw(dc, mapper);
}

bool CFormLine::EditInDialog() {
  ElementDialogService& dialogs = ElementDialogs();
  LineDialogValues v{from, to, color};
  if (!dialogs.RunLineDialog(v)) return false;
  from = v.from;
  to = v.to;
  color = v.color;
  return true;
}
