// The device context on a QPainter: screen backing images, printers, PDF files and pictures.
// It reproduces the GDI pixel rules the elements were designed around (outlines that leave out the
// right and bottom edge, lines without their end pixel, XOR that restores exactly when repeated),
// so drag feedback and printouts look the same as on the original platform.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QFont>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QRegion>

#include "platform/DeviceContext.h"
#include "platform/qt/TextCache.h"

class QPainter;
class QPaintDevice;

class QtDeviceContext final : public DeviceContext {
 public:
  // Creates and owns a painter on `device` (a QImage, QPrinter, QPdfWriter, ...).
  explicit QtDeviceContext(QPaintDevice* device);
  // Draws with a painter the caller has begun; the painter gets its own state back when the
  // context is destroyed. Coordinates are the painter's current logical coordinates.
  explicit QtDeviceContext(QPainter* painter);
  ~QtDeviceContext() override;
  QtDeviceContext(const QtDeviceContext&) = delete;
  QtDeviceContext& operator=(const QtDeviceContext&) = delete;

  // False when the painter could not begin on the device; every call then does nothing.
  bool IsActive() const;
  // Exclusive-or outlines, and plain horizontal and vertical lines such as the grid, are written
  // straight into a screen picture's pixels, which gives the same image as the painter in a fraction
  // of the time. Off, everything goes through the painter (to compare both ways).
  void SetDirectPixels(bool enabled) { directPixels_ = enabled; }
  // Fonts, text measurements and, on a screen picture, the shaped glyphs of texts are kept from one
  // redraw to the next (same pixels, a fraction of the time). Off, everything is worked out anew
  // and the painter shapes every text itself (to compare both ways).
  void SetTextCache(bool enabled) { textCache_ = enabled; }
  // How many texts were drawn from kept glyphs so far.
  int TextsFromKeptGlyphs() const { return textsFromKeptGlyphs_; }
  // How many lines of glyphs were blended into the picture here from masks kept for the letters.
  int RunsFromKeptLetters() const { return runsFromKeptLetters_; }
  QPainter* Painter() const { return painter_; }

  int Save() override;
  void Restore(int saved) override;
  void SetPen(const Pen& pen) override;
  Pen GetPen() const override { return state_.pen; }
  void SetBrush(const Brush& brush) override;
  Brush GetBrush() const override { return state_.brush; }
  void SetFont(const LOGFONTA& font) override;
  LOGFONTA GetFont() const override { return state_.logFont; }
  void SetTextColor(COLORREF color) override;
  COLORREF GetTextColor() const override { return state_.textColor; }
  void SetTransparentText(bool transparent) override;
  void SetTextAlign(unsigned flags) override;
  unsigned GetTextAlign() const override { return state_.align; }
  void SetRop(RasterOp op) override;
  void IntersectClip(const CRect& rect) override;
  void RemoveClip() override;

  CSize TextExtent(std::string_view utf8) override;
  TextMetrics Metrics() override;

  void Rectangle(const CRect& rect) override;
  void Line(CPoint from, CPoint to) override;
  void Ellipse(const CRect& rect) override;
  void FillSolid(const CRect& rect, COLORREF color) override;
  void FocusRect(const CRect& rect) override;
  void Text(CPoint at, std::string_view utf8) override;
  void StretchDib(const CRect& dest, const std::uint8_t* header, std::size_t headerSize,
                  const std::uint8_t* bits, std::size_t bitsSize) override;

  bool IsPrinting() const override { return printing_; }
  // Devices other than pictures in memory (printers, previews, PDF files) receive pictures in
  // bands of at most this many pixels (plus one row).
  static constexpr int kPrintBandPixels = 1 << 20;
  int PixelsPerInchY() const override;

  // The font a fresh context starts with.
  static LOGFONTA DefaultFont();
  // The Qt font that stands in for a GDI font record, measured on `device` (may be null).
  static QFont MakeQFont(const LOGFONTA& font, const QPaintDevice* device);

 private:
  struct State {
    Pen pen;
    QPen qpen;  // the pen as the painter takes it
    Brush brush;
    LOGFONTA logFont;
    QFont font;
    COLORREF textColor = 0;
    COLORREF backColor = 0xFFFFFF;
    bool transparent = false;
    unsigned align = TA_LEFT | TA_TOP;
    RasterOp rop = RasterOp::copy;
    std::optional<QRect> clip;  // in the painter's coordinates; none = no clipping of ours
  };

  void Init();
  // Draws a text on the screen from glyphs shaped before, as drawText would.
  void DrawShapedText(CPoint at, const QList<text_cache::ShapedRun>& runs, const QRect& cell, int baseline);
  void ApplyRop();
  void ApplyClip();
  bool HasRasterOps() const;

  // The pixels drawing may write directly: those of a 32-bit screen picture the painter draws on
  // unrotated and unscaled, within its clipping, at a whole-pixel offset. Each call either flips the
  // pixels with `value` (exclusive-or) or sets them to it.
  enum class PixelOp { flip, set };
  struct DirectPixels {
    std::uint32_t* bits = nullptr;
    qsizetype stride = 0;  // in pixels
    QPoint offset;         // painter coordinates to image pixels
    QRect clip;            // in image pixels
    void Span(int x0, int x1, int y, std::uint32_t value, PixelOp op = PixelOp::flip) const;  // x0..x1-1 on row y
    void Column(int x, int y0, int y1, std::uint32_t value, PixelOp op = PixelOp::flip) const;  // y0..y1-1 in column x
    void Fill(const QRect& r, std::uint32_t value) const;  // flips
    void Letters(const std::vector<text_cache::PlacedLetter>& letters, QPoint start, QRgb color) const;
  };
  std::optional<DirectPixels> WritablePixels() const;

  std::unique_ptr<QPainter> ownedPainter_;
  QPainter* painter_ = nullptr;
  QPaintDevice* device_ = nullptr;
  bool printing_ = false;
  bool directPixels_ = true;
  bool textCache_ = true;
  int textsFromKeptGlyphs_ = 0;
  int runsFromKeptLetters_ = 0;
  const uchar* imageBits_ = nullptr;  // the pixels the painter began on, when it draws on a picture
  std::optional<QRegion> baseClip_;  // the clipping the caller's painter came with
  State state_;
  std::vector<State> saved_;
};
