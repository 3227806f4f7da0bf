#include "platform/qt/TextCache.h"

#include <type_traits>
#include <utility>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
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

struct Tables {
  QHash<FontKey, QFont> fonts;
  QHash<MetricsKey, QFont> painterFonts;
  QHash<MetricsKey, LineMetrics> metrics;
  QHash<TextKey, int> widths;
  QHash<TextKey, ShapedText> glyphs;
  QSet<MetricsKey> fontsInUse;
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
    shaped.runs.push_back({std::move(run), ink});
  }
  return shaped;
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
  return Remembered(Shared(remember), &Tables::glyphs, TextKey{font, DpiOf(device), static_cast<int>(direction), text},
                    [&] { return std::pair(Shape(font, direction, text), font); });
}

void Clear() {
  if (tables) *tables = Tables{};
}

void CacheLargeGlyphs() {
  if (!qEnvironmentVariableIsSet("QT_MAX_CACHED_GLYPH_SIZE")) qputenv("QT_MAX_CACHED_GLYPH_SIZE", "256");
}

}  // namespace text_cache
