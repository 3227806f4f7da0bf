#include "model/PageMapper.h"

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

CPoint CPageMapper::ToDevice(int x, int y) const {
  return {static_cast<int>(x * deviceWidth / pageWidth), static_cast<int>(y * deviceHeight / pageHeight)};
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
  return {static_cast<int>(static_cast<double>(px) / deviceWidth),
          static_cast<int>(static_cast<double>(py) / deviceHeight)};
}
