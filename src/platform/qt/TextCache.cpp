#include "platform/qt/TextCache.h"

#include <cstring>
#include <type_traits>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <QThread>

#include "platform/qt/QtDeviceContext.h"

namespace text_cache {
namespace {

// Enough for every text of a busy page at a few zoom levels; when a table fills up it starts
// afresh rather than keeping track of what was used last.
constexpr qsizetype kMaxEntries = 8192;

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
  QHash<TextKey, QList<ShapedRun>> glyphs;
};

Tables* tables = nullptr;

void Forget() {
  delete tables;
  tables = nullptr;
}

// The tables of the application's main thread, or null: elsewhere (and without an application)
// nothing is kept. They go with the application, before Qt's fonts do.
Tables* Shared() {
  const QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() != app->thread()) return nullptr;
  if (!tables) {
    tables = new Tables;
    qAddPostRoutine(Forget);
  }
  return tables;
}

template <typename Key, typename Value, typename Make>
const Value& Remembered(QHash<Key, Value>* table, Key key, Make make) {
  if (!table) {
    thread_local Value scratch;
    scratch = make();
    return scratch;
  }
  auto it = table->constFind(key);
  if (it != table->cend()) return *it;
  if (table->size() >= kMaxEntries) table->clear();
  return *table->insert(std::move(key), make());
}

QList<ShapedRun> Shape(const QFont& font, Qt::LayoutDirection direction, const QString& text) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setTextDirection(direction);
  option.setWrapMode(QTextOption::NoWrap);
  option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  if (!line.isValid()) return {};
  QList<ShapedRun> runs;
  // The layout puts the line's top at 0; the painter's point is on the baseline.
  const QPointF origin(line.x(), line.y() + line.ascent());
  for (QGlyphRun& run : line.glyphRuns()) {
    QList<QPointF> positions = run.positions();
    for (QPointF& p : positions) p -= origin;
    run.setPositions(positions);
    const QRectF ink = run.boundingRect();
    runs.push_back({std::move(run), ink});
  }
  return runs;
}

}  // namespace

QFont FontFor(const LOGFONTA& font, const QPaintDevice* device) {
  Tables* t = Shared();
  return Remembered(t ? &t->fonts : nullptr, FontKey{font, DpiOf(device)},
                    [&] { return QtDeviceContext::MakeQFont(font, device); });
}

const QFont& PainterFont(const QFont& font, QPainter& painter) {
  Tables* t = Shared();
  return Remembered(t ? &t->painterFonts : nullptr, MetricsKey{font, DpiOf(painter.device())}, [&] {
    painter.save();
    painter.setFont(font);
    QFont resolved = painter.font();
    painter.restore();
    return resolved;
  });
}

LineMetrics MetricsOf(const QFont& font, const QPaintDevice* device) {
  Tables* t = Shared();
  return Remembered(t ? &t->metrics : nullptr, MetricsKey{font, DpiOf(device)}, [&] {
    const QFontMetrics fm = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return LineMetrics{fm.ascent(), fm.descent()};
  });
}

int WidthOf(const QFont& font, const QPaintDevice* device, const QString& text) {
  Tables* t = Shared();
  return Remembered(t ? &t->widths : nullptr, TextKey{font, DpiOf(device), 0, text}, [&] {
    const QFontMetrics fm = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return fm.horizontalAdvance(text);
  });
}

const QList<ShapedRun>& GlyphsOf(const QFont& font, const QPaintDevice* device, Qt::LayoutDirection direction,
                                 const QString& text) {
  Tables* t = Shared();
  return Remembered(t ? &t->glyphs : nullptr, TextKey{font, DpiOf(device), static_cast<int>(direction), text},
                    [&] { return Shape(font, direction, text); });
}

void Clear() {
  if (tables) *tables = Tables{};
}

void CacheLargeGlyphs() {
  if (!qEnvironmentVariableIsSet("QT_MAX_CACHED_GLYPH_SIZE")) qputenv("QT_MAX_CACHED_GLYPH_SIZE", "256");
}

}  // namespace text_cache
