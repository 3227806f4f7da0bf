// A device context with fixed, simple font metrics that records every call, for exact tests of
// the measuring and drawing arithmetic.
//
// Metrics, with h = |lfHeight| of the selected font (device pixels):
//   every character is h / 2 pixels wide (integer division), CR and LF are 0 wide;
//   TextExtent height = h; Metrics: height = h, ascent = h - h / 5, descent = h / 5.
#pragma once

#include <string>
#include <vector>

#include "platform/DeviceContext.h"

class FakeDeviceContext : public DeviceContext {
 public:
  struct State {
    Pen pen;
    Brush brush = Brush::StockWhite();
    LOGFONTA font;
    COLORREF textColor = 0;
    bool transparent = false;
    unsigned align = TA_LEFT | TA_TOP;
    RasterOp rop = RasterOp::copy;
    std::vector<CRect> clips;
  };

  int Save() override;
  void Restore(int saved) override;
  void SetPen(const Pen& pen) override { state.pen = pen; }
  Pen GetPen() const override { return state.pen; }
  void SetBrush(const Brush& brush) override { state.brush = brush; }
  Brush GetBrush() const override { return state.brush; }
  void SetFont(const LOGFONTA& font) override { state.font = font; }
  LOGFONTA GetFont() const override { return state.font; }
  void SetTextColor(COLORREF c) override { state.textColor = c; }
  COLORREF GetTextColor() const override { return state.textColor; }
  void SetTransparentText(bool t) override { state.transparent = t; }
  void SetTextAlign(unsigned flags) override { state.align = flags; }
  unsigned GetTextAlign() const override { return state.align; }
  void SetRop(RasterOp op) override { state.rop = op; }
  void IntersectClip(const CRect& r) override { state.clips.push_back(r); }
  void RemoveClip() override { state.clips.clear(); }

  CSize TextExtent(std::string_view utf8) override;
  TextMetrics Metrics() override;

  void Rectangle(const CRect& r) override;
  void Line(CPoint from, CPoint to) override;
  void Ellipse(const CRect& r) override;
  void FillSolid(const CRect& r, COLORREF c) override;
  void FocusRect(const CRect& r) override;
  void Text(CPoint at, std::string_view utf8) override;
  void StretchDib(const CRect& dest, const std::uint8_t* header, std::size_t headerSize,
                  const std::uint8_t* bits, std::size_t bitsSize) override;
  bool IsPrinting() const override { return printing; }
  int PixelsPerInchY() const override { return 96; }

  // One recorded drawing call with the state it was drawn in.
  struct Call {
    std::string op;  // "Rectangle", "Line", "Ellipse", "FillSolid", "FocusRect", "Text", "StretchDib"
    CRect rect;      // the rectangle, or the line's two points, or (x, y, 0, 0) for text
    std::string text;
    State state;
  };
  std::vector<Call> calls;
  std::vector<Call> CallsOf(std::string_view op) const;
  int measureCount = 0;

  State state;
  bool printing = false;

 private:
  std::vector<State> saved_;
};
