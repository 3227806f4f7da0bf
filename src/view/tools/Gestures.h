// The arithmetic of the selection tool's mouse gestures: grid snapping, the direction lock, the
// aspect ratio of corner drags and the texts the status line shows while dragging.
#pragma once

#include <string>

#include "platform/Types.h"

class CFormElement;

constexpr int kSnapGrid = 10;  // page units

// The nearest grid value; halves round up.
int SnapToGridValue(int v);

// What the selection tool knows about the press that started a drag.
struct DragPress {
  CPoint point;        // where the button went down
  int part = 0;        // 0 body, 1..8 handles, -1 a line end point
  CRect bounds;        // the pressed element's bounds at the press
  bool isText = false;
  CPoint reference;    // left/top at the press, or the dragged line end point
};

// The pointer position that puts the dragged edges or the reference point on the grid. A text's
// corner scales its font and is never snapped.
CPoint SnapPoint(const DragPress& press, CPoint p);
// With Shift a body or end-point drag moves only along the axis with the larger movement; a tie
// moves vertically.
CPoint LockDirection(CPoint pressPoint, CPoint p);
// A corner drag that keeps the width-to-height ratio of the press bounds; bounds without area
// leave the point as it is.
CPoint KeepAspectRatio(const DragPress& press, CPoint p);

// The font size in points a text shows in its "Schriftgrad (pt)" row; 0 for other elements.
double TextFontSize(CFormElement& element);

// "%.1f" (or "%+.1f") with a trailing ",0" dropped and a decimal comma: 12, -1,5, +2.
std::string FormatPoints(double value, bool withSign);
// "Schriftgrad 16 pt (+4)"
std::string FontSizeStatus(double size, double pressSize);
// "Endpunkt  X +3  Y -2     Länge 40"
std::string EndPointStatus(CPoint displacement, CPoint lineVector);
// "Breite 120 (+20)     Höhe 60 (+10)"
std::string ResizeStatus(const CRect& now, const CRect& press);
// "Verschiebung  X +7  Y +0"
std::string MoveStatus(const CRect& now, const CRect& press);
