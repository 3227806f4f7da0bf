// The drawing surface the elements draw on: screen, printer, PDF or a picture. It follows the
// GDI model: the context holds a current pen, brush and font; drawing calls use them. Every
// element drawing leaves the context as it found it (see ScopedSave).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/LogFont.h"
#include "platform/Types.h"

struct Pen {
  enum class Style { solid, dash, dot, null };
  Style style = Style::solid;
  int width = 0;  // 0 = one device pixel, whatever the resolution
  COLORREF color = 0;
  friend bool operator==(const Pen&, const Pen&) = default;

  static Pen Solid(int width, COLORREF color) { return {Style::solid, width, color}; }
  static Pen Null() { return {Style::null, 0, 0}; }
  static Pen StockBlack() { return Solid(0, 0); }
};

struct Brush {
  bool null = false;
  COLORREF color = RGB(255, 255, 255);
  friend bool operator==(const Brush&, const Brush&) = default;

  static Brush Solid(COLORREF c) { return {false, c}; }
  static Brush Null() { return {true, 0}; }
  static Brush StockBlack() { return Solid(0); }
  static Brush StockWhite() { return Solid(RGB(255, 255, 255)); }
};

struct TextMetrics {
  int height = 0;  // tmHeight: ascent + descent
  int ascent = 0;
  int descent = 0;
  friend bool operator==(const TextMetrics&, const TextMetrics&) = default;
};

enum class RasterOp { copy, xorPen, maskPen };

// Text alignment flags (values as in GDI).
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

class DeviceContext {
 public:
  virtual ~DeviceContext() = default;

  // ---- state
  virtual int Save() = 0;  // returns a token for Restore
  virtual void Restore(int saved) = 0;
  virtual void SetPen(const Pen& pen) = 0;
  virtual Pen GetPen() const = 0;
  virtual void SetBrush(const Brush& brush) = 0;
  virtual Brush GetBrush() const = 0;
  // lfHeight is already in device pixels (negative = character height).
  virtual void SetFont(const LOGFONTA& font) = 0;
  virtual LOGFONTA GetFont() const = 0;
  virtual void SetTextColor(COLORREF color) = 0;
  virtual COLORREF GetTextColor() const = 0;
  virtual void SetTransparentText(bool transparent) = 0;
  virtual void SetTextAlign(unsigned flags) = 0;
  virtual unsigned GetTextAlign() const = 0;
  virtual void SetRop(RasterOp op) = 0;
  virtual void IntersectClip(const CRect& rect) = 0;
  virtual void RemoveClip() = 0;

  // ---- measuring (with the current font)
  virtual CSize TextExtent(std::string_view utf8) = 0;
  virtual TextMetrics Metrics() = 0;

  // ---- drawing
  virtual void Rectangle(const CRect& rect) = 0;  // outline with the pen, inside with the brush
  virtual void Line(CPoint from, CPoint to) = 0;  // the end pixel is left out
  virtual void Ellipse(const CRect& rect) = 0;
  virtual void FillSolid(const CRect& rect, COLORREF color) = 0;
  virtual void FocusRect(const CRect& rect) = 0;  // dotted frame, drawn in XOR
  virtual void Text(CPoint at, std::string_view utf8) = 0;  // one line at the reference point
  // A packed device-independent bitmap (BITMAPINFOHEADER, colour table, rows at `bits`),
  // stretched onto `dest` with nearest-pixel sampling.
  virtual void StretchDib(const CRect& dest, const std::uint8_t* header, std::size_t headerSize,
                          const std::uint8_t* bits, std::size_t bitsSize) = 0;

  virtual bool IsPrinting() const = 0;
  virtual int PixelsPerInchY() const = 0;
};

// Saves the context on construction and restores it on destruction, so a drawing routine always
// hands the context back as it found it.
class ScopedSave {
 public:
  explicit ScopedSave(DeviceContext& dc) : dc_(dc), token_(dc.Save()) {}
  ~ScopedSave() { dc_.Restore(token_); }
  ScopedSave(const ScopedSave&) = delete;
  ScopedSave& operator=(const ScopedSave&) = delete;

 private:
  DeviceContext& dc_;
  int token_;
};
