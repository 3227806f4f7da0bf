// What every redraw of the editor asks again of the same texts in the same fonts, worked out once:
// the Qt font for a GDI font record, its line metrics, text widths and the shaped glyphs of a line.
// Shaping a line (finding its glyphs, fallback fonts and advances) costs more than drawing it, and
// a layout shows the same few hundred texts at the same zoom redraw after redraw.
//
// Each call with `remember` false works the answer out anew and keeps nothing (to compare both
// ways). Answers are kept for the application's main thread only and are forgotten when the
// installed fonts or the application font change.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QtGui/qrgb.h>

#include "platform/LogFont.h"

class QPaintDevice;
class QPainter;

namespace text_cache {

// QtDeviceContext::MakeQFont(font, device).
QFont FontFor(const LOGFONTA& font, const QPaintDevice* device, bool remember = true);

struct LineMetrics {
  int ascent = 0;
  int descent = 0;
};
// QFontMetrics(font, device) ascent and descent.
LineMetrics MetricsOf(const QFont& font, const QPaintDevice* device, bool remember = true);

// QFontMetrics(font, device).horizontalAdvance(text).
int WidthOf(const QFont& font, const QPaintDevice* device, const QString& text, bool remember = true);

// The font `painter` draws with after setFont(font): resolved for its device. Kept per device
// resolution; meant for painters of our own on pictures, whose default font is always the
// application's.
QFont PainterFont(const QFont& font, QPainter& painter, bool remember = true);

// How one letter covers the pixels of a picture when the painter draws it: 0 leaves a pixel as it
// is, 255 paints it in the text colour, values between blend. Taken from the painter itself.
struct LetterMask {
  QPoint from;  // the top left pixel, from the pixel the pen position lies in
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // row by row; `width` is padded with nothing to groups of 8
};
// A letter of a line: its mask and where the mask's top left pixel lies, relative to the whole
// pixel the line starts at.
struct PlacedLetter {
  std::shared_ptr<const LetterMask> mask;
  QPoint at;
};

// Glyphs of one font, and the box their ink lies in. `letters` is what the painter makes of the
// glyphs on a 32-bit picture it draws on unscaled, at a whole-pixel offset, letter by letter in the
// order it draws them; null where the painter must draw them (letters it fills as outlines, or
// coloured ones).
struct ShapedRun {
  QGlyphRun glyphs;
  QRectF ink;
  std::shared_ptr<const std::vector<PlacedLetter>> letters;
};
// The glyphs QPainter::drawText(QPointF(0, 0), text) draws with a painter on `device` holding
// `font` (the painter's own, resolved for the device) and `direction` (left-to-right or automatic):
// positions relative to the left end of the baseline, one run per font used. `complete` is false
// when the text does not lie on one line (a line or paragraph separator in it); drawText must draw
// it then.
struct ShapedText {
  bool complete = false;
  QList<ShapedRun> runs;
};
ShapedText GlyphsOf(const QFont& font, const QPaintDevice* device, Qt::LayoutDirection direction, const QString& text,
                    bool remember = true);

// Blends `mask` in the opaque colour `color` into a 32-bit picture (RGB32 or premultiplied ARGB32:
// `bits` its first row, `stride` pixels apart) with the mask's top left at `at`, only within
// `clip`: the very arithmetic of the painter's own letter drawing, eight or four pixels at a time.
void BlendLetter(const LetterMask& mask, QPoint at, QRgb color, std::uint32_t* bits, qsizetype stride,
                 const QRect& clip);
// The letters of a line in their order, each at `start` + its place: as one BlendLetter after the
// other.
void BlendLetters(const std::vector<PlacedLetter>& letters, QPoint start, QRgb color, std::uint32_t* bits,
                  qsizetype stride, const QRect& clip);

// Forgets everything.
void Clear();

// Has Qt keep the rendered letters of fonts up to 256 pixels high for reuse, as it does for fonts up
// to 64 pixels. Larger ones it fills as outlines on every redraw, which on a dense screen at 200 %
// is every text of the page and costs more than ten times as much. The letters' edges come from the
// font rasteriser then, as they do for small fonts. Call before the application object exists;
// a QT_MAX_CACHED_GLYPH_SIZE the user has set is left alone.
void CacheLargeGlyphs();

}  // namespace text_cache
