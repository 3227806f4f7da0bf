// Scale between page units (0.42 mm) and the pixels of one output surface.
#pragma once

#include "platform/Types.h"

constexpr int kPortraitWidth = 500;
constexpr int kPortraitHeight = 705;

struct CPageMapper {
  double deviceWidth = kPortraitWidth;    // whole page width in device pixels
  double deviceHeight = kPortraitHeight;  // whole page height in device pixels
  int availableWidth = kPortraitWidth;    // area the page was last fitted into
  int availableHeight = kPortraitHeight;
  int pageWidth = kPortraitWidth;  // page size in page units: 500 x 705 or 705 x 500
  int pageHeight = kPortraitHeight;

  // A mapper for a page of the given size fitted into width x height pixels.
  static CPageMapper ForPage(int pageWidth, int pageHeight, int width, int height);

  // Fits the page into the area keeping its aspect ratio; it touches the area on one side.
  void Fit(int width, int height);
  CPoint ToDevice(int x, int y) const;
  CPoint ToDevice(CPoint p) const { return ToDevice(p.x, p.y); }
  void ToDeviceInPlace(int& x, int& y) const;
  CPoint ToPage(int x, int y) const;
};

// The mapper undo actions hand to MoveBy, which no element uses for anything.
inline CPageMapper UnusedMapper() { return CPageMapper::ForPage(kPortraitWidth, kPortraitHeight, 1, 1); }
