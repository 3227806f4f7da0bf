// The exclusive-or feedback a tool draws during a drag, in page units through the view's mapper:
// a frame, a line and a dotted focus frame. Drawn twice it must leave the picture as it was.
#pragma once

#include "model/PageMapper.h"
#include "platform/DeviceContext.h"

inline constexpr COLORREF kXorFeedbackColour = RGB(0x5C, 0x5C, 0x5C);

inline void DrawXorFeedback(DeviceContext& dc, const CPageMapper& m) {
  dc.SetRop(RasterOp::xorPen);
  dc.SetPen(Pen::Solid(0, kXorFeedbackColour));
  dc.SetBrush(Brush::Null());
  dc.Rectangle(CRect(m.ToDevice(90, 90), m.ToDevice(200, 150)));
  dc.Line(m.ToDevice(50, 50), m.ToDevice(50, 300));
  dc.FocusRect(CRect(m.ToDevice(60, 60), m.ToDevice(160, 130)));
}
