// What every redraw of the editor asks again of the same texts in the same fonts, worked out once:
// the Qt font for a GDI font record, its line metrics, text widths and the shaped glyphs of a line.
// Shaping a line (finding its glyphs, fallback fonts and advances) costs more than drawing it, and
// a layout shows the same few hundred texts at the same zoom redraw after redraw.
//
// Each call with `remember` false works the answer out anew and keeps nothing (to compare both
// ways). Answers are kept for the application's main thread only and are forgotten when the
// installed fonts or the application font change.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QString>

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

// Glyphs of one font, and the box their ink lies in.
struct ShapedRun {
  QGlyphRun glyphs;
  QRectF ink;
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

// Forgets everything.
void Clear();

// Has Qt keep the rendered letters of fonts up to 256 pixels high for reuse, as it does for fonts up
// to 64 pixels. Larger ones it fills as outlines on every redraw, which on a dense screen at 200 %
// is every text of the page and costs more than ten times as much. The letters' edges come from the
// font rasteriser then, as they do for small fonts. Call before the application object exists;
// a QT_MAX_CACHED_GLYPH_SIZE the user has set is left alone.
void CacheLargeGlyphs();

}  // namespace text_cache
