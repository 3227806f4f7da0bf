#include "platform/qt/TextCache.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>
#include <QTextOption>
#include <QThread>

#include "platform/qt/QtDeviceContext.h"

namespace text_cache {
namespace {

// Enough for every text of a busy page at a few zoom levels. When a table fills up, or more fonts
// than that are in use (each keeps Qt's letters of its size alive), everything starts afresh rather
// than keeping track of what was used last.
constexpr qsizetype kMaxEntries = 8192;
constexpr qsizetype kMaxFonts = 64;
constexpr std::size_t kMaxLetterBytes = std::size_t{32} << 20;

int DpiOf(const QPaintDevice* device) { return device ? device->logicalDpiY() : -1; }

struct FontKey {
  LOGFONTA font;
  int dpi = 0;
  friend bool operator==(const FontKey&, const FontKey&) = default;
};
static_assert(std::has_unique_object_representations_v<LOGFONTA>, "font records are hashed as bytes");
size_t qHash(const FontKey& k, size_t seed = 0) noexcept {
  return ::qHashMulti(seed, QByteArrayView(reinterpret_cast<const char*>(&k.font), sizeof(k.font)), k.dpi);
}

struct MetricsKey {
  QFont font;
  int dpi = 0;
  friend bool operator==(const MetricsKey&, const MetricsKey&) = default;
};
size_t qHash(const MetricsKey& k, size_t seed = 0) noexcept { return ::qHashMulti(seed, k.font, k.dpi); }

struct TextKey {
  QFont font;
  int dpi = 0;
  int direction = 0;  // glyphs only
  QString text;
  friend bool operator==(const TextKey&, const TextKey&) = default;
};
size_t qHash(const TextKey& k, size_t seed = 0) noexcept {
  return ::qHashMulti(seed, k.font, k.dpi, k.direction, k.text);
}

// Whether the painter blends a font's letters as BlendLetter does: found out on its first letter
// with edges (coverage between none and full), the only kind that can tell.
enum class Blending { unknown, same, other };

// One glyph of one font at a position within a pixel, in 64ths: the painter's fixed-point positions
// (it renders fewer variants than that; a few masks are kept twice).
struct LetterKey {
  QRawFont font;
  quint32 glyph = 0;
  int x64 = 0;
  int y64 = 0;
  friend bool operator==(const LetterKey&, const LetterKey&) = default;
};
size_t qHash(const LetterKey& k, size_t seed = 0) noexcept {
  return ::qHashMulti(seed, k.font, k.glyph, k.x64, k.y64);
}

struct Tables {
  QHash<FontKey, QFont> fonts;
  QHash<MetricsKey, QFont> painterFonts;
  QHash<MetricsKey, LineMetrics> metrics;
  QHash<TextKey, int> widths;
  QHash<TextKey, ShapedText> glyphs;
  QSet<MetricsKey> fontsInUse;
  QHash<LetterKey, std::shared_ptr<const LetterMask>> letters;  // null: the painter must draw it
  std::size_t letterBytes = 0;
  QHash<QRawFont, Blending> blending;
};

Tables* tables = nullptr;

void Forget() {
  delete tables;
  tables = nullptr;
}

// The tables of the application's main thread, or null: elsewhere (and without an application)
// nothing is kept. They go with the application, before Qt's fonts do.
Tables* Shared(bool remember) {
  if (!remember) return nullptr;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() != app->thread()) return nullptr;
  if (!tables) {
    tables = new Tables;
    qAddPostRoutine(Forget);
    if (auto* gui = qobject_cast<QGuiApplication*>(app)) {
      // Other fonts installed, or another application font: other fallback fonts, other shapes.
      QObject::connect(gui, &QGuiApplication::fontDatabaseChanged, gui, &Clear);
      QObject::connect(gui, &QGuiApplication::fontChanged, gui, &Clear);
    }
  }
  return tables;
}

// Notes a font the tables keep answers for; too many start everything afresh.
void Use(Tables& t, const QFont& font, int dpi) {
  MetricsKey key{font, dpi};
  if (t.fontsInUse.contains(key)) return;
  if (t.fontsInUse.size() >= kMaxFonts) t = Tables{};
  t.fontsInUse.insert(std::move(key));
}

// The answer kept in `table` for `key`, or made and kept; `font` is the font it keeps alive.
template <typename Key, typename Value, typename Make>
Value Remembered(Tables* t, QHash<Key, Value> Tables::*table, Key key, Make make) {
  if (!t) return make().first;
  if (auto it = (t->*table).constFind(key); it != (t->*table).cend()) return *it;
  auto [value, font] = make();
  Use(*t, font, key.dpi);
  QHash<Key, Value>& kept = t->*table;
  if (kept.size() >= kMaxEntries) kept.clear();
  kept.insert(std::move(key), value);
  return value;
}

ShapedText Shape(const QFont& font, Qt::LayoutDirection direction, const QString& text) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setTextDirection(direction);
  option.setWrapMode(QTextOption::NoWrap);
  option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  const bool another = layout.createLine().isValid();
  layout.endLayout();
  ShapedText shaped;
  if (!line.isValid() || another || line.textLength() != text.size()) return shaped;
  shaped.complete = true;
  // The layout puts the line's top at 0; the painter's point is on the baseline.
  const QPointF origin(line.x(), line.y() + line.ascent());
  for (QGlyphRun& run : line.glyphRuns()) {
    QList<QPointF> positions = run.positions();
    for (QPointF& p : positions) p -= origin;
    run.setPositions(positions);
    const QRectF ink = run.boundingRect();
    shaped.runs.push_back({std::move(run), ink, nullptr});
  }
  return shaped;
}

// The painter keeps the rendered letters of fonts below this many pixels and blends them from that
// store; larger ones it fills as outlines, a whole line at once. Read once, as the painter reads
// it; what it cannot use counts as its default.
int LargestKeptLetters() {
  static const int largest = [] {
    bool ok = false;
    const int size = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE", &ok);
    return ok && size > 0 ? size : 64;
  }();
  return largest;
}

// One glyph drawn alone by a fresh painter, pen position at `at`.
void DrawLetter(QImage& image, const QRawFont& font, quint32 glyph, QPointF at, QRgb color) {
  QGlyphRun one;
  one.setRawFont(font);
  one.setGlyphIndexes({glyph});
  one.setPositions({at});
  QPainter painter(&image);
  painter.setPen(QColor::fromRgb(color));
  painter.drawGlyphRun(QPointF(0, 0), one);
}

// The coverage of `glyph` at pen position `fraction` (within a pixel), as the painter draws it on
// a picture. Null when the painter does something else with it: letters in colour or blended per
// colour channel (seen in the letter itself), or a font it blends another way, with gamma say
// (seen on the font's first letter with edges: the painter's blend of it in a colour over a
// pattern must equal ours, pixel for pixel).
std::shared_ptr<const LetterMask> TakeLetter(const QRawFont& font, quint32 glyph, QPointF fraction,
                                             Blending& blending) {
  if (blending == Blending::other) return nullptr;
  const QRectF box = font.boundingRect(glyph);
  constexpr double kLargest = 2048;
  if (!(std::abs(box.left()) <= kLargest && std::abs(box.top()) <= kLargest && box.width() <= kLargest &&
        box.height() <= kLargest))
    return nullptr;
  // Hinting and antialiasing may reach beyond the outline's box; a mask that touches the border
  // of the picture is taken again with a wider one.
  for (const int pad : {4, 32}) {
    const int ox = pad - static_cast<int>(std::floor(box.left()));
    const int oy = pad - static_cast<int>(std::floor(box.top()));
    const int w = static_cast<int>(std::ceil(box.width())) + 2 * pad + 2;
    const int h = static_cast<int>(std::ceil(box.height())) + 2 * pad + 2;
    QImage white(w, h, QImage::Format_RGB32);
    if (white.isNull()) return nullptr;
    white.fill(0xFFFFFFFFu);
    DrawLetter(white, font, glyph, QPointF(ox, oy) + fraction, qRgb(0, 0, 0));
    // Black on white: what is left of the white is the uncovered part, the same in every channel.
    int left = w;
    int top = h;
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(white.constScanLine(y));
      for (int x = 0; x < w; ++x) {
        const QRgb p = row[x];
        if (p == 0xFFFFFFFFu) continue;
        if (qRed(p) != qBlue(p) || qGreen(p) != qBlue(p)) return nullptr;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    auto mask = std::make_shared<LetterMask>();
    // No ink: a space, or a letter whose box is wrong and lies beyond the picture: looked for
    // once more in a wider one.
    if (right < 0 && (box.isEmpty() || pad != 4)) return mask;
    if (right < 0 || left == 0 || top == 0 || right == w - 1 || bottom == h - 1) continue;
    const QRect inked(QPoint(left, top), QPoint(right, bottom));
    mask->from = inked.topLeft() - QPoint(ox, oy);
    // Rows padded with nothing to whole groups of eight pixels, the blend's step.
    mask->width = (inked.width() + 7) & ~7;
    mask->height = inked.height();
    mask->coverage.assign(static_cast<std::size_t>(mask->width) * mask->height, 0);
    for (int y = top; y <= bottom; ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(white.constScanLine(y));
      std::uint8_t* to = mask->coverage.data() + static_cast<std::size_t>(y - top) * mask->width;
      for (int x = left; x <= right; ++x) to[x - left] = static_cast<std::uint8_t>(0xFF - qBlue(row[x]));
    }
    const bool edges = std::any_of(mask->coverage.begin(), mask->coverage.end(),
                                   [](std::uint8_t c) { return c != 0 && c != 0xFF; });
    // Coverage of none or full comes out the same whatever way the painter blends.
    if (blending == Blending::unknown && edges) {
      // A colour over a pattern, the painter's way and ours.
      const QRgb color = qRgb(0x2B, 0x7F, 0xD3);
      QImage painted(w, h, QImage::Format_RGB32);
      if (painted.isNull()) return nullptr;
      for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(painted.scanLine(y));
        for (int x = 0; x < w; ++x)
          row[x] = qRgb((x * 37 + y * 11) & 0xFF, (x * 13 + y * 71) & 0xFF, (x * y + 90) & 0xFF);
      }
      QImage blended = painted.copy();
      DrawLetter(painted, font, glyph, QPointF(ox, oy) + fraction, color);
      BlendLetter(*mask, inked.topLeft(), color, reinterpret_cast<std::uint32_t*>(blended.bits()),
                  blended.bytesPerLine() / 4, blended.rect());
      blending = painted == blended ? Blending::same : Blending::other;
      if (blending == Blending::other) return nullptr;
    }
    return mask;
  }
  return nullptr;
}

// The letters of `run` as the painter draws them, taken from (and kept in) `t`; null if any of
// them must be left to the painter.
std::shared_ptr<const std::vector<PlacedLetter>> LettersOf(Tables& t, const QGlyphRun& run) {
  const QRawFont font = run.rawFont();
  if (!font.isValid()) return nullptr;
  const qreal largest = std::min(LargestKeptLetters(), 256);
  if (!(font.pixelSize() < largest)) return nullptr;
  const QList<quint32> glyphs = run.glyphIndexes();
  const QList<QPointF> positions = run.positions();
  if (glyphs.size() != positions.size()) return nullptr;
  auto letters = std::make_shared<std::vector<PlacedLetter>>();
  letters->reserve(glyphs.size());
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    // The painter places letters in 64ths of a pixel; the shaped positions are such.
    const double x64 = positions[i].x() * 64;
    const double y64 = positions[i].y() * 64;
    constexpr double kFar = 1 << 24;
    if (x64 != std::floor(x64) || y64 != std::floor(y64) || std::abs(x64) > kFar || std::abs(y64) > kFar)
      return nullptr;
    const int ix = static_cast<int>(x64);
    const int iy = static_cast<int>(y64);
    LetterKey key{font, glyphs[i], ix & 63, iy & 63};
    std::shared_ptr<const LetterMask> mask;
    if (auto it = t.letters.constFind(key); it != t.letters.cend()) {
      mask = *it;
    } else {
      mask = TakeLetter(font, glyphs[i], QPointF(key.x64 / 64.0, key.y64 / 64.0), t.blending[font]);
      // Bounded in number and in bytes (large letters at a high zoom are tens of kilobytes each).
      // The shaped texts hold on to their letters, so everything starts afresh.
      const std::size_t bytes = mask ? mask->coverage.size() : 0;
      if (t.letters.size() >= kMaxEntries || t.letterBytes + bytes > kMaxLetterBytes) t = Tables{};
      t.letters.insert(key, mask);
      t.letterBytes += bytes;
    }
    if (!mask) return nullptr;
    if (mask->width > 0) letters->push_back({mask, mask->from + QPoint(ix >> 6, iy >> 6)});
  }
  return letters;
}

}  // namespace

QFont FontFor(const LOGFONTA& font, const QPaintDevice* device, bool remember) {
  return Remembered(Shared(remember), &Tables::fonts, FontKey{font, DpiOf(device)}, [&] {
    QFont made = QtDeviceContext::MakeQFont(font, device);
    return std::pair(made, made);
  });
}

LineMetrics MetricsOf(const QFont& font, const QPaintDevice* device, bool remember) {
  return Remembered(Shared(remember), &Tables::metrics, MetricsKey{font, DpiOf(device)}, [&] {
    const QFontMetrics fm = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return std::pair(LineMetrics{fm.ascent(), fm.descent()}, font);
  });
}

int WidthOf(const QFont& font, const QPaintDevice* device, const QString& text, bool remember) {
  return Remembered(Shared(remember), &Tables::widths, TextKey{font, DpiOf(device), 0, text}, [&] {
    const QFontMetrics fm = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return std::pair(fm.horizontalAdvance(text), font);
  });
}

QFont PainterFont(const QFont& font, QPainter& painter, bool remember) {
  return Remembered(Shared(remember), &Tables::painterFonts, MetricsKey{font, DpiOf(painter.device())}, [&] {
    painter.save();
    painter.setFont(font);
    QFont resolved = painter.font();
    painter.restore();
    return std::pair(resolved, resolved);
  });
}

ShapedText GlyphsOf(const QFont& font, const QPaintDevice* device, Qt::LayoutDirection direction, const QString& text,
                    bool remember) {
  Tables* t = Shared(remember);
  return Remembered(t, &Tables::glyphs, TextKey{font, DpiOf(device), static_cast<int>(direction), text}, [&] {
    ShapedText shaped = Shape(font, direction, text);
    if (t)
      for (ShapedRun& run : shaped.runs) run.letters = LettersOf(*t, run.glyphs);
    return std::pair(shaped, font);
  });
}

namespace {

constexpr std::uint64_t kChannels = 0x00FF00FF00FF00FFull;

// x * a / 255 in each channel, rounded as the painter rounds.
inline std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a) {
  std::uint64_t t = ((static_cast<std::uint64_t>(x) << 24) | x) & kChannels;
  t *= a;
  t = ((t + ((t >> 8) & kChannels) + 0x0080008000800080ull) >> 8) & kChannels;
  return static_cast<std::uint32_t>(t | (t >> 24));
}

// One pixel: the colour scaled by the coverage, over what is there. Coverage 0 leaves the pixel,
// 255 (with an opaque colour) sets it, exactly, so no case needs a branch.
inline std::uint32_t BlendPixel(std::uint32_t dst, std::uint32_t color, std::uint32_t coverage) {
  const std::uint32_t s = ByteMul(color, coverage);
  return s + ByteMul(dst, (~s) >> 24);
}

#if defined(__SSE2__)
// ByteMul on eight 16-bit channels.
inline __m128i ByteMul16(__m128i x, __m128i a) {
  const __m128i t = _mm_mullo_epi16(x, a);
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(0x80)), 8);
}
// Each of two pixels' coverage spread over its four channels.
inline __m128i Spread(__m128i coverage16) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(coverage16, _MM_SHUFFLE(0, 0, 0, 0)), _MM_SHUFFLE(0, 0, 0, 0));
}
// Each of two pixels' alpha spread over its four channels.
inline __m128i SpreadAlpha(__m128i pixels16) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels16, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}
#endif

#if defined(__GNUC__) && defined(__x86_64__)
#define VELTROK_AVX2 1
__attribute__((target("avx2"))) inline __m256i ByteMul16(__m256i x, __m256i a) {
  const __m256i t = _mm256_mullo_epi16(x, a);
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), _mm256_set1_epi16(0x80)), 8);
}
__attribute__((target("avx2"))) inline __m256i SpreadAlpha(__m256i pixels16) {
  return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(pixels16, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}
// Eight pixels at a time where the processor has the wider registers: as the four-pixel step.
__attribute__((target("avx2"))) int BlendEights(std::uint32_t* dst, const std::uint8_t* coverage, int count,
                                                std::uint32_t color) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i color16 = _mm256_unpacklo_epi8(_mm256_set1_epi32(static_cast<int>(color)), zero);
  const __m256i ff = _mm256_set1_epi16(0xFF);
  // Unpacking works within each half of the register: the low unpack holds pixels 0, 1 | 4, 5, the
  // high one 2, 3 | 6, 7. The coverage bytes are spread to match, each over four 16-bit channels.
  constexpr char z = -128;
  const __m256i lowPick = _mm256_setr_epi8(0, z, 0, z, 0, z, 0, z, 1, z, 1, z, 1, z, 1, z,  //
                                           4, z, 4, z, 4, z, 4, z, 5, z, 5, z, 5, z, 5, z);
  const __m256i highPick = _mm256_setr_epi8(2, z, 2, z, 2, z, 2, z, 3, z, 3, z, 3, z, 3, z,  //
                                            6, z, 6, z, 6, z, 6, z, 7, z, 7, z, 7, z, 7, z);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    long long eight;
    std::memcpy(&eight, coverage + i, 8);
    if (eight == 0) continue;
    const __m256i c = _mm256_set1_epi64x(eight);
    const __m256i lowCov = _mm256_shuffle_epi8(c, lowPick);
    const __m256i highCov = _mm256_shuffle_epi8(c, highPick);
    auto* at = reinterpret_cast<__m256i*>(dst + i);
    const __m256i d = _mm256_loadu_si256(at);
    const __m256i sLow = ByteMul16(color16, lowCov);
    const __m256i sHigh = ByteMul16(color16, highCov);
    const __m256i low =
        _mm256_add_epi16(sLow, ByteMul16(_mm256_unpacklo_epi8(d, zero), _mm256_sub_epi16(ff, SpreadAlpha(sLow))));
    const __m256i high =
        _mm256_add_epi16(sHigh, ByteMul16(_mm256_unpackhi_epi8(d, zero), _mm256_sub_epi16(ff, SpreadAlpha(sHigh))));
    _mm256_storeu_si256(at, _mm256_packus_epi16(low, high));
  }
  return i;
}
bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}
#endif

void BlendRow(std::uint32_t* dst, const std::uint8_t* coverage, int count, std::uint32_t color) {
  int i = 0;
#if defined(VELTROK_AVX2)
  if (count >= 8 && HasAvx2()) i = BlendEights(dst, coverage, count, color);
#endif
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i color16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), zero);
  const __m128i ff = _mm_set1_epi16(0xFF);
  for (; i + 4 <= count; i += 4) {
    std::uint32_t four;
    std::memcpy(&four, coverage + i, 4);
    if (four == 0) continue;
    // Each pixel's coverage spread over its four 16-bit channels: pixels 0, 1 and pixels 2, 3.
    const __m128i c8 = _mm_cvtsi32_si128(static_cast<int>(four));
    const __m128i c16 = _mm_unpacklo_epi8(c8, zero);                // c0 c1 c2 c3
    const __m128i c32 = _mm_unpacklo_epi16(c16, zero);              // c0 . c1 . c2 . c3 .
    const __m128i lowCov = Spread(_mm_unpacklo_epi32(c32, zero));   // c0 x4, c1 x4
    const __m128i highCov = Spread(_mm_unpackhi_epi32(c32, zero));  // c2 x4, c3 x4
    __m128i* at = reinterpret_cast<__m128i*>(dst + i);
    const __m128i d = _mm_loadu_si128(at);
    const __m128i sLow = ByteMul16(color16, lowCov);
    const __m128i sHigh = ByteMul16(color16, highCov);
    const __m128i low = _mm_add_epi16(sLow, ByteMul16(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(ff, SpreadAlpha(sLow))));
    const __m128i high =
        _mm_add_epi16(sHigh, ByteMul16(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(ff, SpreadAlpha(sHigh))));
    _mm_storeu_si128(at, _mm_packus_epi16(low, high));
  }
#endif
  for (; i < count; ++i)
    if (coverage[i] != 0) dst[i] = BlendPixel(dst[i], color, coverage[i]);
}

}  // namespace

void BlendLetter(const LetterMask& mask, QPoint at, QRgb color, std::uint32_t* bits, qsizetype stride,
                 const QRect& clip) {
  const QRect target = QRect(at, QSize(mask.width, mask.height)) & clip;
  if (target.isEmpty()) return;
  const std::uint32_t premultiplied = qPremultiply(color);
  for (int y = target.top(); y <= target.bottom(); ++y)
    BlendRow(bits + y * stride + target.left(),
             mask.coverage.data() + static_cast<std::size_t>(y - at.y()) * mask.width + (target.left() - at.x()),
             target.width(), premultiplied);
}

void BlendLetters(const std::vector<PlacedLetter>& letters, QPoint start, QRgb color, std::uint32_t* bits,
                  qsizetype stride, const QRect& clip) {
  if (letters.empty()) return;
  int top = clip.bottom() + 1;
  int bottom = clip.top() - 1;
  for (const PlacedLetter& letter : letters) {
    top = std::min(top, start.y() + letter.at.y());
    bottom = std::max(bottom, start.y() + letter.at.y() + letter.mask->height - 1);
  }
  top = std::max(top, clip.top());
  bottom = std::min(bottom, clip.bottom());
  const std::uint32_t premultiplied = qPremultiply(color);
  // Row by row through the line rather than letter by letter: the picture's rows are far apart in
  // memory, and each pixel still gets its letters in the painter's order.
  for (int y = top; y <= bottom; ++y) {
    std::uint32_t* row = bits + y * stride;
    for (const PlacedLetter& letter : letters) {
      const LetterMask& mask = *letter.mask;
      const int my = y - start.y() - letter.at.y();
      if (my < 0 || my >= mask.height) continue;
      const int x0 = start.x() + letter.at.x();
      const int left = std::max(x0, clip.left());
      const int right = std::min(x0 + mask.width, clip.right() + 1);
      if (left >= right) continue;
      BlendRow(row + left, mask.coverage.data() + static_cast<std::size_t>(my) * mask.width + (left - x0),
               right - left, premultiplied);
    }
  }
}

void Clear() {
  if (tables) *tables = Tables{};
}

void CacheLargeGlyphs() {
  if (!qEnvironmentVariableIsSet("QT_MAX_CACHED_GLYPH_SIZE")) qputenv("QT_MAX_CACHED_GLYPH_SIZE", "256");
}

}  // namespace text_cache
