#include "model/PageMapper.h"

#include <cstdint>

CPageMapper CPageMapper::ForPage(int pageW, int pageH, int width, int height) {
  CPageMapper m;
  m.pageWidth = pageW;
  m.pageHeight = pageH;
  m.Fit(width, height);
  return m;
}

void CPageMapper::Fit(int width, int height) {
  availableWidth = width;
  availableHeight = height;
  deviceWidth = width;
  deviceHeight = static_cast<double>(pageHeight) * width / pageWidth;
  if (deviceHeight > height) {
    deviceHeight = height;
    deviceWidth = static_cast<double>(height) * pageWidth / pageHeight;
  }
}

namespace {
// Truncates towards zero; values beyond the int range (absurd coordinates at high zoom) stop at
// its ends instead of being undefined.
int ToInt(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int>(v);
}
}  // namespace

CPoint CPageMapper::ToDevice(int x, int y) const {
  return {ToInt(x * deviceWidth / pageWidth), ToInt(y * deviceHeight / pageHeight)};
}

void CPageMapper::ToDeviceInPlace(int& x, int& y) const {
  const CPoint p = ToDevice(x, y);
  x = p.x;
  y = p.y;
}

CPoint CPageMapper::ToPage(int x, int y) const {
  // The integer product first (in 64 bits so large extents cannot overflow), then the division.
  const long long px = static_cast<long long>(x) * pageWidth;
  const long long py = static_cast<long long>(y) * pageHeight;
  return {ToInt(static_cast<double>(px) / deviceWidth), ToInt(static_cast<double>(py) / deviceHeight)};
}
