#include "view/tools/Gestures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/Fonts.h"
#include "model/FormText.h"

namespace {

std::string Printf(const char* format, auto... args) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

bool MovesLeft(int part) { return part == 1 || part == 4 || part == 8; }
bool MovesRight(int part) { return part == 2 || part == 3 || part == 6; }
bool MovesTop(int part) { return part == 1 || part == 2 || part == 5; }
bool MovesBottom(int part) { return part == 3 || part == 4 || part == 7; }

}  // namespace

int SnapToGridValue(int v) {
  return static_cast<int>(std::floor(static_cast<double>(v) / kSnapGrid + 0.5)) * kSnapGrid;
}

CPoint SnapPoint(const DragPress& press, CPoint p) {
  if (press.isText && press.part >= 1 && press.part <= 4) return p;
  CPoint d = p - press.point;
  if (press.part >= 1) {
    const CRect& b = press.bounds;
    if (MovesLeft(press.part)) d.x = SnapToGridValue(b.left + d.x) - b.left;
    if (MovesRight(press.part)) d.x = SnapToGridValue(b.right + d.x) - b.right;
    if (MovesTop(press.part)) d.y = SnapToGridValue(b.top + d.y) - b.top;
    if (MovesBottom(press.part)) d.y = SnapToGridValue(b.bottom + d.y) - b.bottom;
    return press.point + d;
  }
  return {press.point.x + SnapToGridValue(d.x + press.reference.x) - press.reference.x,
          press.point.y + SnapToGridValue(d.y + press.reference.y) - press.reference.y};
}

CPoint LockDirection(CPoint pressPoint, CPoint p) {
  if (std::abs(static_cast<long long>(p.x) - pressPoint.x) > std::abs(static_cast<long long>(p.y) - pressPoint.y))
    p.y = pressPoint.y;
  else
    p.x = pressPoint.x;
  return p;
}

CPoint KeepAspectRatio(const DragPress& press, CPoint p) {
  const double w = press.bounds.right - press.bounds.left;
  const double h = press.bounds.bottom - press.bounds.top;
  if (w <= 0 || h <= 0 || press.part < 1 || press.part > 4) return p;
  const int sx = press.part == 2 || press.part == 3 ? 1 : -1;
  const int sy = press.part == 3 || press.part == 4 ? 1 : -1;
  double W = w + sx * static_cast<double>(p.x - press.point.x);
  double H = h + sy * static_cast<double>(p.y - press.point.y);
  if (std::fabs(W / w) > std::fabs(H / h))
    H = W * h / w;
  else
    W = H * w / h;
  return {press.point.x + sx * static_cast<int>(std::floor(W - w + 0.5)),
          press.point.y + sy * static_cast<int>(std::floor(H - h + 0.5))};
}

double TextFontSize(CFormElement& element) {
  if (!element.Is<CFormText>()) return 0;
  return FontHeightToPoints(static_cast<CFormText&>(element).font.lfHeight);
}

std::string FormatPoints(double value, bool withSign) {
  std::string s = Printf(withSign ? "%+.1f" : "%.1f", value);
  if (s.size() >= 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

std::string FontSizeStatus(double size, double pressSize) {
  return "Schriftgrad " + FormatPoints(size, false) + " pt (" + FormatPoints(size - pressSize, true) + ")";
}

std::string EndPointStatus(CPoint displacement, CPoint lineVector) {
  const double dx = lineVector.x;
  const double dy = lineVector.y;
  const long long length = static_cast<long long>(std::floor(std::sqrt(dx * dx + dy * dy) + 0.5));
  return Printf("Endpunkt  X %+d  Y %+d     L\xC3\xA4nge %lld", displacement.x, displacement.y, length);
}

std::string ResizeStatus(const CRect& now, const CRect& press) {
  return Printf("Breite %d (%+d)     H\xC3\xB6he %d (%+d)", now.Width(), now.Width() - press.Width(),
                now.Height(), now.Height() - press.Height());
}

std::string MoveStatus(const CRect& now, const CRect& press) {
  return Printf("Verschiebung  X %+d  Y %+d", now.left - press.left, now.top - press.top);
}
