#include "platform/qt/QtDeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QTransform>

#include "platform/Dib.h"
#include "platform/qt/TextCache.h"

namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// What an exclusive-or with `c` flips in a 32-bit pixel: the colour bits, never the alpha byte.
std::uint32_t XorValue(COLORREF c) { return ToQColor(c).rgb() & 0x00FFFFFFu; }

// GDI draws styled pens only one pixel wide; wider pens are always solid.
bool IsCosmetic(const Pen& pen) { return pen.width <= 1; }

// The dash lengths of GDI's cosmetic styled pens, in pixels.
QPen MakeQPen(const Pen& pen) {
  QPen p(ToQColor(pen.color));
  if (IsCosmetic(pen)) {
    p.setWidth(0);
    // A flat cap makes Qt's cosmetic lines stop before their end point, as GDI's do.
    p.setCapStyle(Qt::FlatCap);
    if (pen.style == Pen::Style::dash) p.setDashPattern({18, 6});
    if (pen.style == Pen::Style::dot) p.setDashPattern({3, 3});
  } else {
    p.setWidth(pen.width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
  }
  return p;
}

bool IsStyled(const Pen& pen) {
  return IsCosmetic(pen) && (pen.style == Pen::Style::dash || pen.style == Pen::Style::dot);
}

// Line breaks measure nothing and draw nothing, as in GDI's single-line text output. A tab is one
// character like any other, not a jump to a tab stop: tab stops lie at fixed device pixels, so a
// text's width would no longer scale with the zoom or the printer's resolution. The fonts we draw
// with have no tab glyph; it takes a space's advance.
QString LineText(std::string_view utf8) {
  QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  s.remove(QLatin1Char('\r'));
  s.remove(QLatin1Char('\n'));
  s.replace(QLatin1Char('\t'), QLatin1Char(' '));
  return s;
}

QFontMetrics MetricsOf(const QFont& font, const QPaintDevice* device) {
  return device ? QFontMetrics(font, device) : QFontMetrics(font);
}

// ---- packed device-independent bitmaps -----------------------------------------------------------

struct Dib {
  QImage image;  // rows in memory order
  bool bottomUp = false;
};

// Wraps or converts the bitmap's rows into an image; the header is checked by ReadDibFormat.
std::optional<Dib> DecodeDib(const std::uint8_t* header, std::size_t headerSize,
                             const std::uint8_t* bits, std::size_t bitsSize) {
  if (!bits) return std::nullopt;
  const std::optional<DibFormat> f = ReadDibFormat(header, headerSize, bitsSize);
  if (!f) return std::nullopt;

  const int iw = f->width;
  const int ih = f->height;
  const std::int64_t stride = f->stride;
  Dib dib;
  dib.bottomUp = f->bottomUp;
  auto row = [&](int y) { return bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride); };
  // Rows that Qt can read as they lie are wrapped without a copy when aligned as QImage wants.
  auto wrapOrCopy = [&](QImage::Format format) {
    if (reinterpret_cast<std::uintptr_t>(bits) % 4 == 0) return QImage(bits, iw, ih, stride, format);
    QImage copy(iw, ih, format);
    if (copy.isNull() || copy.bytesPerLine() != stride) return QImage();
    for (int y = 0; y < ih; ++y) std::memcpy(copy.scanLine(y), row(y), static_cast<std::size_t>(stride));
    return copy;
  };
  // 16- and 32-bit pixels are read through their colour masks (fixed ones for BI_RGB).
  auto throughMasks = [&](int bytesPerPixel) {
    QImage image(iw, ih, QImage::Format_RGB32);
    if (image.isNull()) return image;
    for (int y = 0; y < ih; ++y) {
      const std::uint8_t* s = row(y);
      auto* d = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < iw; ++x, s += bytesPerPixel) {
        const std::uint32_t pixel = bytesPerPixel == 2 ? DibU16(s) : DibU32(s);
        d[x] = qRgb(DibChannel(pixel, f->redMask), DibChannel(pixel, f->greenMask), DibChannel(pixel, f->blueMask));
      }
    }
    return image;
  };
  switch (f->bitCount) {
    case 1: dib.image = wrapOrCopy(QImage::Format_Mono); break;
    case 8: dib.image = wrapOrCopy(QImage::Format_Indexed8); break;
    case 24: dib.image = wrapOrCopy(QImage::Format_BGR888); break;
    case 16: dib.image = throughMasks(2); break;
    case 32: dib.image = throughMasks(4); break;
    case 4: {
      dib.image = QImage(iw, ih, QImage::Format_Indexed8);
      if (dib.image.isNull()) return std::nullopt;
      for (int y = 0; y < ih; ++y) {
        const std::uint8_t* s = row(y);
        std::uint8_t* d = dib.image.scanLine(y);
        for (int x = 0; x < iw; ++x) d[x] = (x % 2 == 0) ? (s[x / 2] >> 4) : (s[x / 2] & 0x0F);
      }
      break;
    }
  }
  if (dib.image.isNull()) return std::nullopt;
  if (f->bitCount <= 8) {
    // Indices past the stored table show black.
    QList<QRgb> table(1 << f->bitCount, qRgb(0, 0, 0));
    const std::uint8_t* q = header + f->tableOffset;
    for (std::uint32_t i = 0; i < f->tableEntries; ++i, q += 4) table[i] = qRgb(q[2], q[1], q[0]);
    dib.image.setColorTable(table);
  }
  return dib;
}

}  // namespace

// ---- construction ----------------------------------------------------------------------------------

QtDeviceContext::QtDeviceContext(QPaintDevice* device)
    : ownedPainter_(std::make_unique<QPainter>()), painter_(ownedPainter_.get()), device_(device) {
  if (device_) painter_->begin(device_);
  Init();
}

QtDeviceContext::QtDeviceContext(QPainter* painter) : painter_(painter) {
  if (painter_ && painter_->isActive()) {
    painter_->save();
    device_ = painter_->device();
    if (painter_->hasClipping()) baseClip_ = painter_->clipRegion();
  }
  Init();
}

QtDeviceContext::~QtDeviceContext() {
  if (!IsActive()) return;
  if (ownedPainter_) {
    painter_->end();
  } else {
    painter_->restore();
  }
}

bool QtDeviceContext::IsActive() const { return painter_ && painter_->isActive(); }

LOGFONTA QtDeviceContext::DefaultFont() {
  // A plain sans-serif with the 16-pixel cell of the system font a fresh GDI context holds.
  LOGFONTA f;
  f.lfHeight = 16;
  f.lfWeight = 400;
  SetFaceName(f, "Arial");
  return f;
}

void QtDeviceContext::Init() {
  state_ = State{};
  state_.qpen = MakeQPen(state_.pen);
  state_.logFont = DefaultFont();
  if (!device_ && painter_ && painter_->isActive()) device_ = painter_->device();
  printing_ = device_ && (device_->devType() == QInternal::Printer ||
                          dynamic_cast<QPagedPaintDevice*>(device_) != nullptr);
  state_.font = text_cache::FontFor(state_.logFont, device_);
  if (!IsActive()) return;
  if (device_ && device_->devType() == QInternal::Image) imageBits_ = static_cast<QImage*>(device_)->constBits();
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  // Without this the PDF engine stores pictures as JPEG.
  if (printing_ || painter_->paintEngine()->type() == QPaintEngine::Pdf)
    painter_->setRenderHint(QPainter::LosslessImageRendering, true);
  // Opaque backgrounds are painted explicitly where GDI paints them.
  painter_->setBackgroundMode(Qt::TransparentMode);
  ApplyRop();
  ApplyClip();
}

QFont QtDeviceContext::MakeQFont(const LOGFONTA& lf, const QPaintDevice* device) {
  QFont font;
  std::string face = FaceName(lf);
  if (face.empty()) face = "Arial";
  font.setFamily(QString::fromStdString(face));
  switch (lf.lfPitchAndFamily & 0xF0) {
    case 0x10: font.setStyleHint(QFont::Serif); break;
    case 0x20: font.setStyleHint(QFont::SansSerif); break;
    case 0x30: font.setStyleHint(QFont::Monospace); break;
    case 0x40: font.setStyleHint(QFont::Cursive); break;
    case 0x50: font.setStyleHint(QFont::Decorative); break;
    default: break;
  }
  const int weight = lf.lfWeight <= 0 ? 400 : std::min(lf.lfWeight, 1000);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(lf.lfItalic != 0);
  font.setUnderline(lf.lfUnderline != 0);
  font.setStrikeOut(lf.lfStrikeOut != 0);
  // GDI measures whole-pixel advances without kerning.
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferFullHinting);
  constexpr std::uint8_t kNonAntialiasedQuality = 3;
  if (lf.lfQuality == kNonAntialiasedQuality) font.setStyleStrategy(QFont::NoAntialias);

  // Qt's font metrics wrap around above about 16384 pixels; larger fonts are drawn at this size.
  constexpr std::int64_t kMaxPixels = 16000;
  std::int64_t pixels = 0;
  if (lf.lfHeight < 0) {
    pixels = -static_cast<std::int64_t>(lf.lfHeight);
  } else {
    // A positive height is the cell height (ascent + descent); scale by the face's proportion.
    const std::int64_t cell = lf.lfHeight == 0 ? 16 : lf.lfHeight;
    constexpr int kProbe = 256;
    QFont probe = font;
    probe.setPixelSize(kProbe);
    const QFontMetricsF fm = device ? QFontMetricsF(probe, device) : QFontMetricsF(probe);
    const double ratio = (fm.ascent() + fm.descent()) / kProbe;
    pixels = ratio > 0 ? static_cast<std::int64_t>(static_cast<double>(cell) / ratio + 0.5) : cell;
  }
  font.setPixelSize(static_cast<int>(std::clamp<std::int64_t>(pixels, 1, kMaxPixels)));

  if (lf.lfWidth != 0) {
    const int average = MetricsOf(font, device).averageCharWidth();
    if (average > 0) {
      const std::int64_t width = lf.lfWidth < 0 ? -static_cast<std::int64_t>(lf.lfWidth) : lf.lfWidth;
      font.setStretch(static_cast<int>(std::clamp<std::int64_t>((width * 100 + average / 2) / average, 1, 4000)));
    }
  }
  return font;
}

// ---- state -------------------------------------------------------------------------------------------

int QtDeviceContext::Save() {
  saved_.push_back(state_);
  return static_cast<int>(saved_.size());
}

void QtDeviceContext::Restore(int saved) {
  // As RestoreDC: a positive level as returned by Save, or a negative count back from the top.
  const int depth = static_cast<int>(saved_.size());
  const int level = saved < 0 ? depth + 1 + saved : saved;
  if (level < 1 || level > depth) return;
  state_ = saved_[static_cast<std::size_t>(level - 1)];
  saved_.resize(static_cast<std::size_t>(level - 1));
  if (!IsActive()) return;
  ApplyRop();
  ApplyClip();
}

void QtDeviceContext::SetPen(const Pen& pen) {
  state_.pen = pen;
  state_.qpen = MakeQPen(pen);
}
void QtDeviceContext::SetBrush(const Brush& brush) { state_.brush = brush; }

void QtDeviceContext::SetFont(const LOGFONTA& font) {
  if (font == state_.logFont) return;
  state_.logFont = font;
  state_.font = text_cache::FontFor(font, device_, textCache_);
}

void QtDeviceContext::SetTextColor(COLORREF color) { state_.textColor = color; }
void QtDeviceContext::SetTransparentText(bool transparent) { state_.transparent = transparent; }
void QtDeviceContext::SetTextAlign(unsigned flags) { state_.align = flags; }

void QtDeviceContext::SetRop(RasterOp op) {
  state_.rop = op;
  if (IsActive()) ApplyRop();
}

void QtDeviceContext::IntersectClip(const CRect& rect) {
  const CRect r = rect.Normalized();
  const QRect q(r.left, r.top, r.Width(), r.Height());
  state_.clip = state_.clip ? state_.clip->intersected(q) : q;
  if (IsActive()) ApplyClip();
}

void QtDeviceContext::RemoveClip() {
  state_.clip.reset();
  if (IsActive()) ApplyClip();
}

bool QtDeviceContext::HasRasterOps() const {
  return painter_->paintEngine() && painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
}

std::optional<QtDeviceContext::DirectPixels> QtDeviceContext::WritablePixels() const {
  if (!directPixels_ || !imageBits_ || baseClip_ || !IsActive()) return std::nullopt;
  if (painter_->paintEngine()->type() != QPaintEngine::Raster) return std::nullopt;
  auto* image = static_cast<QImage*>(device_);
  // A picture that shares its pixels with a copy made while drawing would be copied on write; the
  // painter knows how to handle that.
  if (image->format() != QImage::Format_RGB32 || !image->isDetached() || image->constBits() != imageBits_)
    return std::nullopt;
  if (painter_->hasClipping() != state_.clip.has_value()) return std::nullopt;
  // Blended or smoothed lines are not whole pixels.
  if (painter_->opacity() != 1.0 || painter_->testRenderHint(QPainter::Antialiasing)) return std::nullopt;
  const QTransform t = painter_->deviceTransform();
  if (t.type() > QTransform::TxTranslate) return std::nullopt;
  constexpr double kLimit = 1 << 30;
  if (t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()) || std::abs(t.dx()) > kLimit ||
      std::abs(t.dy()) > kLimit)
    return std::nullopt;
  DirectPixels px;
  // Writing through the const pointer is safe: the image is detached and is what the painter uses.
  px.bits = reinterpret_cast<std::uint32_t*>(const_cast<uchar*>(image->constBits()));
  px.stride = image->bytesPerLine() / 4;
  px.offset = QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
  px.clip = image->rect();
  if (state_.clip) px.clip &= state_.clip->translated(px.offset);
  return px;
}

void QtDeviceContext::DirectPixels::Span(int x0, int x1, int y, std::uint32_t value, PixelOp op) const {
  const std::int64_t row = static_cast<std::int64_t>(y) + offset.y();
  if (row < clip.top() || row > clip.bottom()) return;
  const std::int64_t from = std::max<std::int64_t>(static_cast<std::int64_t>(x0) + offset.x(), clip.left());
  const std::int64_t to = std::min<std::int64_t>(static_cast<std::int64_t>(x1) + offset.x(), clip.right() + 1);
  std::uint32_t* line = bits + row * stride;
  if (op == PixelOp::set) {
    for (std::int64_t x = from; x < to; ++x) line[x] = value;
  } else {
    for (std::int64_t x = from; x < to; ++x) line[x] ^= value;
  }
}

void QtDeviceContext::DirectPixels::Column(int x, int y0, int y1, std::uint32_t value, PixelOp op) const {
  const std::int64_t col = static_cast<std::int64_t>(x) + offset.x();
  if (col < clip.left() || col > clip.right()) return;
  const std::int64_t from = std::max<std::int64_t>(static_cast<std::int64_t>(y0) + offset.y(), clip.top());
  const std::int64_t to = std::min<std::int64_t>(static_cast<std::int64_t>(y1) + offset.y(), clip.bottom() + 1);
  if (op == PixelOp::set) {
    for (std::int64_t y = from; y < to; ++y) bits[y * stride + col] = value;
  } else {
    for (std::int64_t y = from; y < to; ++y) bits[y * stride + col] ^= value;
  }
}

void QtDeviceContext::DirectPixels::Fill(const QRect& r, std::uint32_t value) const {
  const std::int64_t top = std::max<std::int64_t>(static_cast<std::int64_t>(r.top()) + offset.y(), clip.top());
  const std::int64_t bottom =
      std::min<std::int64_t>(static_cast<std::int64_t>(r.top()) + r.height() + offset.y(), clip.bottom() + 1);
  for (std::int64_t y = top; y < bottom; ++y)
    Span(r.left(), r.left() + r.width(), static_cast<int>(y - offset.y()), value);
}

void QtDeviceContext::DirectPixels::Letters(const std::vector<text_cache::PlacedLetter>& letters, QPoint start,
                                           QRgb color) const {
  text_cache::BlendLetters(letters, start + offset, color, bits, stride, clip);
}

void QtDeviceContext::ApplyRop() {
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  // Printers and PDF files have no raster operations; they only ever get copy drawing anyway.
  if (HasRasterOps()) {
    if (state_.rop == RasterOp::xorPen) mode = QPainter::RasterOp_SourceXorDestination;
    if (state_.rop == RasterOp::maskPen) mode = QPainter::RasterOp_SourceAndDestination;
  }
  painter_->setCompositionMode(mode);
}

void QtDeviceContext::ApplyClip() {
  if (!state_.clip) {
    if (baseClip_) {
      painter_->setClipRegion(*baseClip_);
    } else {
      painter_->setClipping(false);
    }
    return;
  }
  if (baseClip_) {
    const QRegion region = baseClip_->intersected(*state_.clip);
    // An empty region would read as "no clipping"; an empty rectangle clips everything.
    if (region.isEmpty()) {
      painter_->setClipRect(QRect(0, 0, 0, 0));
    } else {
      painter_->setClipRegion(region);
    }
  } else {
    painter_->setClipRect(*state_.clip);
  }
}

// ---- measuring -----------------------------------------------------------------------------------------

CSize QtDeviceContext::TextExtent(std::string_view utf8) {
  const text_cache::LineMetrics m = text_cache::MetricsOf(state_.font, device_, textCache_);
  return {text_cache::WidthOf(state_.font, device_, LineText(utf8), textCache_), m.ascent + m.descent};
}

TextMetrics QtDeviceContext::Metrics() {
  const text_cache::LineMetrics m = text_cache::MetricsOf(state_.font, device_, textCache_);
  return {m.ascent + m.descent, m.ascent, m.descent};
}

// ---- drawing ---------------------------------------------------------------------------------------------

void QtDeviceContext::Rectangle(const CRect& rect) {
  if (!IsActive()) return;
  const CRect r = rect.Normalized();
  const int w = r.Width();
  const int h = r.Height();
  if (w <= 0 || h <= 0) return;
  const Pen& pen = state_.pen;
  const Brush& brush = state_.brush;

  // Drag feedback: the same pixels as below, flipped in place.
  if (state_.rop == RasterOp::xorPen && (pen.style == Pen::Style::null || (pen.style == Pen::Style::solid && IsCosmetic(pen)))) {
    // An outline cut by the left or right edge of the picture or the clipping stays with the
    // painter, which leaves out one of its corners there; cut at the top or bottom, or wholly
    // outside, it is the same either way.
    const std::optional<DirectPixels> px = WritablePixels();
    const std::int64_t left = static_cast<std::int64_t>(r.left) + (px ? px->offset.x() : 0);
    const std::int64_t top = static_cast<std::int64_t>(r.top) + (px ? px->offset.y() : 0);
    const bool outside = px && (left > px->clip.right() || left + w <= px->clip.left() ||
                                top > px->clip.bottom() || top + h <= px->clip.top());
    if (outside) return;
    if (px && left >= px->clip.left() && left + w - 1 <= px->clip.right()) {
      if (pen.style == Pen::Style::null) {
        if (!brush.null && w > 1 && h > 1) px->Fill(QRect(r.left, r.top, w - 1, h - 1), XorValue(brush.color));
        return;
      }
      if (!brush.null && w > 2 && h > 2) px->Fill(QRect(r.left + 1, r.top + 1, w - 2, h - 2), XorValue(brush.color));
      const std::uint32_t v = XorValue(pen.color);
      if (w <= 2 || h <= 2) {
        // One or two pixels across, every pixel is outline.
        if (w <= 2) {
          for (int x = r.left; x < r.left + w; ++x) px->Column(x, r.top, r.top + h, v);
        } else {
          for (int y = r.top; y < r.top + h; ++y) px->Span(r.left, r.left + w, y, v);
        }
        return;
      }
      px->Span(r.left, r.left + w, r.top, v);
      px->Span(r.left, r.left + w, r.top + h - 1, v);
      px->Column(r.left, r.top + 1, r.top + h - 1, v);
      px->Column(r.left + w - 1, r.top + 1, r.top + h - 1, v);
      return;
    }
  }

  if (pen.style == Pen::Style::null) {
    // Without an outline GDI fills one pixel less to the right and bottom.
    if (!brush.null && w > 1 && h > 1)
      painter_->fillRect(QRect(r.left, r.top, w - 1, h - 1), ToQColor(brush.color));
    return;
  }

  if (!IsCosmetic(pen)) {
    if (!brush.null && w > 2 && h > 2)
      painter_->fillRect(QRect(r.left + 1, r.top + 1, w - 2, h - 2), ToQColor(brush.color));
    painter_->setPen(state_.qpen);
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(QRectF(r.left + 0.5, r.top + 0.5, w - 1, h - 1));
    return;
  }

  // Fill and outline never share a pixel, so XOR drawing inverts each exactly once.
  if (!brush.null && w > 2 && h > 2)
    painter_->fillRect(QRect(r.left + 1, r.top + 1, w - 2, h - 2), ToQColor(brush.color));
  if (w == 2 || h == 2) {
    // Two pixels across: the outline is two parallel lines; drawRect would hit a corner twice.
    if (w == 2) {
      Line(CPoint(r.left, r.top), CPoint(r.left, r.bottom));
      Line(CPoint(r.left + 1, r.top), CPoint(r.left + 1, r.bottom));
    } else {
      Line(CPoint(r.left, r.top), CPoint(r.right, r.top));
      Line(CPoint(r.left, r.top + 1), CPoint(r.right, r.top + 1));
    }
    return;
  }
  if (w == 1 || h == 1) {
    // A one-pixel rectangle is a single line; drawRect would paint it twice.
    Line(CPoint(r.left, r.top), w == 1 ? CPoint(r.left, r.bottom) : CPoint(r.right, r.top));
    return;
  }
  painter_->setBrush(Qt::NoBrush);
  if (IsStyled(pen) && !state_.transparent && state_.rop == RasterOp::copy) {
    // An opaque background shows in the gaps of dashed and dotted pens.
    painter_->setPen(MakeQPen(Pen::Solid(0, state_.backColor)));
    painter_->drawRect(QRect(r.left, r.top, w - 1, h - 1));
  }
  painter_->setPen(state_.qpen);
  painter_->drawRect(QRect(r.left, r.top, w - 1, h - 1));
}

void QtDeviceContext::Line(CPoint from, CPoint to) {
  if (!IsActive() || state_.pen.style == Pen::Style::null || from == to) return;
  const Pen& pen = state_.pen;
  if (!IsCosmetic(pen)) {
    painter_->setPen(state_.qpen);
    painter_->drawLine(QPointF(from.x + 0.5, from.y + 0.5), QPointF(to.x + 0.5, to.y + 0.5));
    return;
  }
  // Qt draws a flat-capped cosmetic line from its lower to its higher end and leaves out the
  // higher end; horizontal and vertical lines are turned so that the pixel left out is `to`.
  QPoint a(from.x, from.y);
  QPoint b(to.x, to.y);
  if (from.y == to.y && to.x < from.x) {
    a = QPoint(to.x + 1, from.y);
    b = QPoint(from.x + 1, from.y);
  } else if (from.x == to.x && to.y < from.y) {
    a = QPoint(from.x, to.y + 1);
    b = QPoint(from.x, from.y + 1);
  }
  // Drag feedback, the grid and frames: the pixels are written straight into a screen picture.
  const bool plain = state_.rop == RasterOp::xorPen || state_.rop == RasterOp::copy;
  if (plain && pen.style == Pen::Style::solid && (a.x() == b.x() || a.y() == b.y())) {
    if (const std::optional<DirectPixels> px = WritablePixels()) {
      const bool flip = state_.rop == RasterOp::xorPen;
      const std::uint32_t value = flip ? XorValue(pen.color) : ToQColor(pen.color).rgb();
      const PixelOp op = flip ? PixelOp::flip : PixelOp::set;
      if (a.y() == b.y()) {
        px->Span(a.x(), b.x(), a.y(), value, op);
      } else {
        px->Column(a.x(), a.y(), b.y(), value, op);
      }
      return;
    }
  }
  if (IsStyled(pen) && !state_.transparent && state_.rop == RasterOp::copy) {
    painter_->setPen(MakeQPen(Pen::Solid(0, state_.backColor)));
    painter_->drawLine(a, b);
  }
  painter_->setPen(state_.qpen);
  painter_->drawLine(a, b);
}

void QtDeviceContext::Ellipse(const CRect& rect) {
  if (!IsActive()) return;
  const CRect r = rect.Normalized();
  const int w = r.Width();
  const int h = r.Height();
  if (w <= 1 || h <= 1) return;
  const Pen& pen = state_.pen;
  if (pen.style == Pen::Style::null) {
    painter_->setPen(Qt::NoPen);
  } else {
    painter_->setPen(state_.qpen);
  }
  painter_->setBrush(state_.brush.null ? QBrush(Qt::NoBrush) : QBrush(ToQColor(state_.brush.color)));
  if (pen.style != Pen::Style::null && !IsCosmetic(pen)) {
    painter_->drawEllipse(QRectF(r.left + 0.5, r.top + 0.5, w - 1, h - 1));
  } else {
    painter_->drawEllipse(QRect(r.left, r.top, w - 1, h - 1));
  }
  painter_->setBrush(Qt::NoBrush);
}

void QtDeviceContext::FillSolid(const CRect& rect, COLORREF color) {
  if (!IsActive()) return;
  const CRect r = rect.Normalized();
  if (r.IsRectEmpty()) return;
  // A solid fill ignores the raster operation, as GDI's opaque rectangle does.
  const auto mode = painter_->compositionMode();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(color));
  painter_->setCompositionMode(mode);
}

void QtDeviceContext::FocusRect(const CRect& rect) {
  if (!IsActive() || !HasRasterOps()) return;
  const CRect r = rect.Normalized();
  if (r.IsRectEmpty()) return;
  // Every other frame pixel is inverted; each pixel is listed once so that a second call
  // restores the image.
  const std::optional<DirectPixels> px = WritablePixels();
  QPolygon dots;
  auto add = [&](int x, int y) {
    if (((x + y) & 1) != 0) return;
    if (px) {
      px->Span(x, x + 1, y, 0x00FFFFFFu);
    } else {
      dots << QPoint(x, y);
    }
  };
  const int right = r.right - 1;
  const int bottom = r.bottom - 1;
  for (int x = r.left; x <= right; ++x) add(x, r.top);
  if (bottom > r.top)
    for (int x = r.left; x <= right; ++x) add(x, bottom);
  for (int y = r.top + 1; y < bottom; ++y) {
    add(r.left, y);
    if (right > r.left) add(right, y);
  }
  if (dots.isEmpty()) return;
  const auto mode = painter_->compositionMode();
  painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter_->setPen(QPen(Qt::white, 0));
  painter_->drawPoints(dots);
  painter_->setCompositionMode(mode);
}

void QtDeviceContext::Text(CPoint at, std::string_view utf8) {
  if (!IsActive()) return;
  const QString text = LineText(utf8);
  if (text.isEmpty()) return;
  const text_cache::LineMetrics metrics = text_cache::MetricsOf(state_.font, device_, textCache_);
  const unsigned horizontal = state_.align & TA_CENTER;
  // Left-aligned text without background needs no width.
  const bool needsWidth = horizontal != TA_LEFT || !state_.transparent;
  const int width = needsWidth ? text_cache::WidthOf(state_.font, device_, text, textCache_) : 0;
  const int ascent = metrics.ascent;
  const int descent = metrics.descent;

  int dx = 0;
  if (horizontal == TA_CENTER) {
    dx = -(width / 2);
  } else if (horizontal == TA_RIGHT) {
    dx = -width;
  }
  int baseline = ascent;  // TA_TOP
  const unsigned vertical = state_.align & TA_BASELINE;
  if (vertical == TA_BASELINE) {
    baseline = 0;
  } else if (vertical == TA_BOTTOM) {
    baseline = -descent;
  }

  // Escapement is counter-clockwise in tenths of a degree; y grows downwards here.
  const bool rotated = state_.logFont.lfEscapement != 0;
  // On the screen the glyphs shaped for an earlier redraw are drawn again: the same pixels as
  // drawText, which shapes the line anew every time. Printers and PDF files get the text itself
  // (a PDF keeps it searchable); turned lines, underlines and scaled painters (pictures of more
  // than one pixel per unit) stay with drawText too.
  const bool reuseGlyphs = textCache_ && ownedPainter_ && !rotated && !printing_ && !state_.font.underline() &&
                           !state_.font.strikeOut() && painter_->layoutDirection() != Qt::RightToLeft &&
                           painter_->paintEngine()->type() == QPaintEngine::Raster &&
                           painter_->deviceTransform().type() <= QTransform::TxTranslate;
  if (reuseGlyphs) {
    const text_cache::ShapedText shaped = text_cache::GlyphsOf(text_cache::PainterFont(state_.font, *painter_),
                                                               device_, painter_->layoutDirection(), text);
    if (shaped.complete) {
      DrawShapedText(at, shaped.runs, QRect(dx, baseline - ascent, width, ascent + descent), baseline);
      ++textsFromKeptGlyphs_;
      return;
    }
  }

  painter_->save();
  painter_->translate(at.x, at.y);
  if (rotated) painter_->rotate(-state_.logFont.lfEscapement / 10.0);
  if (!state_.transparent)
    painter_->fillRect(QRect(dx, baseline - ascent, width, ascent + descent), ToQColor(state_.backColor));
  painter_->setFont(state_.font);
  painter_->setPen(QPen(ToQColor(state_.textColor)));
  painter_->setBrush(Qt::NoBrush);
  painter_->drawText(QPoint(dx, baseline), text);
  painter_->restore();
}

void QtDeviceContext::DrawShapedText(CPoint at, const QList<text_cache::ShapedRun>& runs, const QRect& cell,
                                     int baseline) {
  // Moved to the reference point as drawText is: letters filled as outlines come out the same only
  // from the same coordinates.
  const QTransform world = painter_->worldTransform();
  // Letters blended straight into the picture from their kept masks: what the painter does with
  // them, without finding each letter in its store again.
  std::optional<DirectPixels> px;
  if (painter_->compositionMode() == QPainter::CompositionMode_SourceOver &&
      painter_->testRenderHint(QPainter::TextAntialiasing))
    px = WritablePixels();
  // Where the line starts, in whole pixels; a text placed at the very edge of the coordinate range
  // stays with the painter.
  const std::int64_t startX = static_cast<std::int64_t>(at.x) + cell.left();
  const std::int64_t startY = static_cast<std::int64_t>(at.y) + baseline;
  constexpr std::int64_t kReach = std::int64_t{1} << 29;
  if (std::abs(startX) > kReach || std::abs(startY) > kReach) px.reset();
  const QPoint start(static_cast<int>(startX), static_cast<int>(startY));
  const QRgb color = ToQColor(state_.textColor).rgb();
  painter_->translate(at.x, at.y);
  if (!state_.transparent) painter_->fillRect(cell, ToQColor(state_.backColor));
  painter_->setPen(QPen(ToQColor(state_.textColor)));
  const QPointF origin(cell.left(), baseline);
  // Runs far off the picture are left out: on a zoomed page most texts are. The margin of a line
  // height keeps every pixel of the antialiased edges and of overhanging letters.
  const QTransform toImage = painter_->deviceTransform();
  // Some devices count their size in pixels, others in logical units: the larger reading is taken.
  const qreal ratio = std::max<qreal>(1, device_->devicePixelRatio());
  const QRectF picture(0, 0, device_->width() * ratio, device_->height() * ratio);
  const qreal margin = cell.height() + 2;
  for (const text_cache::ShapedRun& run : runs) {
    const QRectF ink = run.ink.translated(origin).adjusted(-margin, -margin, margin, margin);
    if (!toImage.mapRect(ink).intersects(picture)) continue;
    if (px && run.letters) {
      px->Letters(*run.letters, start, color);
      ++runsFromKeptLetters_;
    } else {
      painter_->drawGlyphRun(origin, run.glyphs);
    }
  }
  painter_->setWorldTransform(world);
}

void QtDeviceContext::StretchDib(const CRect& dest, const std::uint8_t* header,
                                 std::size_t headerSize, const std::uint8_t* bits,
                                 std::size_t bitsSize) {
  if (!IsActive()) return;
  const std::int64_t dw = static_cast<std::int64_t>(dest.right) - dest.left;
  const std::int64_t dh = static_cast<std::int64_t>(dest.bottom) - dest.top;
  if (dw == 0 || dh == 0) return;
  std::optional<Dib> dib = DecodeDib(header, headerSize, bits, bitsSize);
  if (!dib) return;
  const QImage image = std::move(dib->image);
  if (image.isNull()) return;

  // Maps the image onto the destination; a negative width or height mirrors, as StretchDIBits
  // does, and bottom-up rows are turned by the same means.
  const double sx = static_cast<double>(dw) / image.width();
  const double sy = static_cast<double>(dh) / image.height();
  const QTransform toDest = dib->bottomUp
                                ? QTransform(sx, 0, 0, -sy, dest.left, static_cast<double>(dest.bottom))
                                : QTransform(sx, 0, 0, sy, dest.left, dest.top);
  painter_->save();
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_->setTransform(toDest, true);
  if (painter_->paintEngine() && painter_->paintEngine()->type() == QPaintEngine::Raster) {
    painter_->drawImage(QPointF(0, 0), image);
  } else {
    // Printers, previews and PDF files keep or convert the pixels they are given. They get the
    // picture in bands of pixels of their own, so that a huge picture never needs a second copy
    // of its full size. Each band reaches one row into the next, which is drawn over it: no
    // seam can show between them.
    const int bandRows = std::max(1, kPrintBandPixels / image.width());
    for (int top = 0; top < image.height(); top += bandRows) {
      const int rows = std::min(bandRows + 1, image.height() - top);
      const QImage band = image.copy(0, top, image.width(), rows).convertToFormat(QImage::Format_RGB32);
      if (band.isNull()) break;
      painter_->drawImage(QPointF(0, top), band);
    }
  }
  painter_->restore();
}

int QtDeviceContext::PixelsPerInchY() const { return device_ ? device_->logicalDpiY() : 96; }
