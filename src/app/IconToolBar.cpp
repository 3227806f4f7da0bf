#include "app/IconToolBar.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QIcon>
#include <QLineF>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPixmap>
#include <QRectF>

namespace {

const QString kIconFamily = QStringLiteral("Material Icons");
const QString kIconFontFile =
    QStringLiteral("/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf");

constexpr std::uint32_t kText = CIconToolBar::kButtonTextColour;
constexpr std::uint32_t kBlue = 0x0F6CBD;
constexpr std::uint32_t kAmber = 0xD89600;
constexpr std::uint32_t kRed = 0xC42B1C;
constexpr std::uint32_t kPurple = 0x744DA9;
constexpr std::uint32_t kGreen = 0x107C10;
constexpr std::uint32_t kTeal = 0x038387;
constexpr std::uint32_t kOrange = 0xCA5010;

// Searched in this order; the last row answers for every id not listed. The right-hand comments
// keep the Segoe MDL2 code point each Material symbol stands in for.
const std::array<CIconToolBar::IconEntry, 30> kIcons = {{
    {57600, "note_add", 0, kBlue},        // new                    U+E7C3
    {57601, "folder_open", 0, kAmber},    // open                   U+E838
    {57603, "save", 0, kBlue},            // save                   U+E74E
    {57635, "content_cut", 0, kRed},      // cut                    U+E8C6
    {57634, "content_copy", 0, kBlue},    // copy                   U+E8C8
    {57637, "content_paste", 0, kAmber},  // paste                  U+E77F
    {57643, "undo", 0, kBlue},            // undo                   U+E7A7
    {57644, "redo", 0, kBlue},            // redo                   U+E7A6
    {57607, "print", 0, kText},           // print                  U+E749
    {57664, "info", 0, kBlue},            // about                  U+E946
    {32772, "near_me", 0, kText},         // select                 U+E8B0
    {32773, "text_fields", 0, kPurple},   // text                   U+E8D2
    {32774, nullptr, 1, kBlue},           // line
    {32776, "image", 0, kGreen},          // image                  U+EB9F
    {32778, "table_chart", 0, kTeal},     // table                  U+E80A
    {32780, nullptr, 11, kOrange},        // to front
    {32781, nullptr, 12, kOrange},        // to back
    {32790, nullptr, 2, kPurple},         // align top
    {32791, nullptr, 3, kPurple},         // align left
    {32799, nullptr, 4, kPurple},         // align right
    {32800, nullptr, 5, kPurple},         // align bottom
    {32801, nullptr, 6, kPurple},         // centre horizontally
    {32802, nullptr, 7, kPurple},         // centre vertically
    {32803, nullptr, 8, kPurple},         // distribute horizontally
    {32804, nullptr, 9, kPurple},         // distribute vertically
    {32805, nullptr, 10, kTeal},          // grid
    {32786, "zoom_in", 0, kBlue},         // zoom in                U+E8A3
    {32785, "zoom_out", 0, kBlue},        // zoom out               U+E71F
    {32798, "fit_screen", 0, kBlue},      // whole page             U+E9A6
    {0, "help_outline", 0, kText},        // any other              U+E897
}};

// Drawing of the vector shapes. Coordinates are fractions of the icon size.
class ShapePainter {
 public:
  ShapePainter(QPainter& painter, int size, QColor colour)
      : p_(painter), s_(size), colour_(colour), pen_(PenOfWidth(std::max(1.5, size / 16.0))) {}

  void Draw(int shape) {
    switch (shape) {
      case 1: Line(0.20, 0.80, 0.80, 0.20); break;
      case 2: Line(0.10, 0.15, 0.90, 0.15); Outline(0.20, 0.30, 0.22, 0.40); Outline(0.58, 0.30, 0.22, 0.58); break;
      case 3: Line(0.15, 0.10, 0.15, 0.90); Outline(0.30, 0.20, 0.40, 0.22); Outline(0.30, 0.58, 0.58, 0.22); break;
      case 4: Line(0.85, 0.10, 0.85, 0.90); Outline(0.30, 0.20, 0.40, 0.22); Outline(0.12, 0.58, 0.58, 0.22); break;
      case 5: Line(0.10, 0.85, 0.90, 0.85); Outline(0.20, 0.30, 0.22, 0.40); Outline(0.58, 0.12, 0.22, 0.58); break;
      case 6: Line(0.50, 0.08, 0.50, 0.92); Outline(0.30, 0.20, 0.40, 0.22); Outline(0.21, 0.58, 0.58, 0.22); break;
      case 7: Line(0.08, 0.50, 0.92, 0.50); Outline(0.20, 0.30, 0.22, 0.40); Outline(0.58, 0.21, 0.22, 0.58); break;
      case 8:
        Line(0.08, 0.12, 0.08, 0.88);
        Line(0.92, 0.12, 0.92, 0.88);
        Fill(0.20, 0.30, 0.14, 0.40);
        Fill(0.43, 0.22, 0.14, 0.56);
        Fill(0.66, 0.34, 0.14, 0.32);
        break;
      case 9:
        Line(0.12, 0.08, 0.88, 0.08);
        Line(0.12, 0.92, 0.88, 0.92);
        Fill(0.30, 0.20, 0.40, 0.14);
        Fill(0.22, 0.43, 0.56, 0.14);
        Fill(0.34, 0.66, 0.32, 0.14);
        break;
      case 10:
        // Grid lines are thinner so the three of them do not merge at small sizes.
        pen_ = PenOfWidth(std::max(1.0, s_ / 32.0));
        for (int k = 1; k <= 3; ++k) {
          const double v = 0.25 * k;
          Line(v, 0.08, v, 0.92);
          Line(0.08, v, 0.92, v);
        }
        Fill(0.25, 0.25, 0.25, 0.25);
        break;
      case 11: Outline(0.12, 0.12, 0.46, 0.46); Hole(0.34, 0.34, 0.60, 0.60); Fill(0.40, 0.40, 0.48, 0.48); break;
      case 12: Fill(0.12, 0.12, 0.46, 0.46); Hole(0.34, 0.34, 0.60, 0.60); Outline(0.40, 0.40, 0.48, 0.48); break;
      default: break;
    }
  }

 private:
  QPen PenOfWidth(double width) const {
    QPen pen(colour_, width, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin);
    return pen;
  }
  QRectF Rect(double x, double y, double w, double h) const { return QRectF(x * s_, y * s_, w * s_, h * s_); }

  void Line(double x1, double y1, double x2, double y2) {
    p_.setPen(pen_);
    p_.drawLine(QLineF(x1 * s_, y1 * s_, x2 * s_, y2 * s_));
  }
  void Outline(double x, double y, double w, double h) {
    p_.setPen(pen_);
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(Rect(x, y, w, h));
  }
  void Fill(double x, double y, double w, double h) { p_.fillRect(Rect(x, y, w, h), colour_); }
  // Clears what lies below, so the shape drawn next stands apart from the one behind it.
  void Hole(double x, double y, double w, double h) {
    p_.setCompositionMode(QPainter::CompositionMode_Source);
    p_.fillRect(Rect(x, y, w, h), Qt::transparent);
    p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }

  QPainter& p_;
  const int s_;
  const QColor colour_;
  QPen pen_;
};

void DrawGlyph(QPainter& painter, const char* name, int size, QColor colour) {
  const QString family = CIconToolBar::GlyphFamily();
  const bool iconFont = family == kIconFamily;
  QFont font(family);
  // The 0.8 em suits fonts whose symbols fill their em square. Material symbols keep a padding of
  // 1/12 em and are drawn on a 24-unit grid: at one em per icon they come out the same size and
  // land on whole pixels at 24 and 48, where 0.8 em leaves them small and blurred.
  const double em = iconFont ? 1.0 : 0.8;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(em * size))));
  // Only the icon font turns the name into its symbol; a whole word would not fit the square,
  // so the plain font gets the first letter, which at least tells most buttons apart.
  QString text = QString::fromLatin1(name);
  if (!iconFont) {
    text = text.left(1).toUpper();
  } else {
    font.setStyleStrategy(QFont::NoFontMerging);
  }
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter | Qt::TextDontClip | Qt::TextSingleLine, text);
}

}  // namespace

CIconToolBar::CIconToolBar(const QString& title, QWidget* parent) : QToolBar(title, parent) {
  setObjectName(title);
}

void CIconToolBar::SetButtons(const std::vector<int>& commandIds, const std::function<QAction*(int)>& actionFor) {
  clear();
  for (const QPointer<QAction>& separator : separators_) delete separator.data();
  separators_.clear();
  buttons_.clear();

  for (const int id : commandIds) {
    if (id == 0) {
      separators_.emplace_back(addSeparator());
      continue;
    }
    QAction* action = actionFor ? actionFor(id) : nullptr;
    if (action == nullptr) continue;
    addAction(action);
    buttons_.emplace_back(id, action);
  }
  RebuildImages();
}

void CIconToolBar::RebuildImages() {
  const int s = IconSizeForDpi(logicalDpiY());
  const int button = ButtonSizeForIcon(s);
  // Drawn in device pixels, so a scaled screen gets sharp icons of the same logical size.
  const qreal ratio = devicePixelRatioF();
  const int pixels = std::max(1, static_cast<int>(std::lround(s * ratio)));
  const QPalette pal = palette();
  const QColor grey = pal.color(QPalette::Disabled, QPalette::Text);

  setIconSize(QSize(s, s));
  for (const auto& [id, action] : buttons_) {
    if (action.isNull()) continue;
    const IconEntry& entry = LookUp(id);
    QPixmap normal = QPixmap::fromImage(RenderIcon(id, pixels, NormalColour(entry, pal)));
    QPixmap disabled = QPixmap::fromImage(RenderIcon(id, pixels, grey));
    normal.setDevicePixelRatio(ratio);
    disabled.setDevicePixelRatio(ratio);
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(disabled, QIcon::Disabled);
    action->setIcon(icon);
    if (QWidget* w = widgetForAction(action)) w->setFixedSize(button, button);
  }
}

QImage CIconToolBar::RenderIcon(int commandId, int size, QColor colour) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  const IconEntry& entry = LookUp(commandId);
  QColor opaque = colour;
  opaque.setAlpha(255);

  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  if (entry.shape != 0) {
    ShapePainter(painter, size, opaque).Draw(entry.shape);
  } else {
    DrawGlyph(painter, entry.glyph, size, opaque);
  }
  painter.end();
  return image;
}

const CIconToolBar::IconEntry& CIconToolBar::LookUp(int commandId) {
  const auto known = std::find_if(kIcons.begin(), kIcons.end() - 1,
                                  [commandId](const IconEntry& e) { return e.commandId == commandId; });
  return *known;  // the search stops at the fallback row
}

QColor CIconToolBar::NormalColour(const IconEntry& entry, const QPalette& palette) {
  if (entry.colour == kButtonTextColour) return palette.color(QPalette::Active, QPalette::ButtonText);
  return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | entry.colour));
}

QString CIconToolBar::GlyphFamily() {
  static const QString family = [] {
    if (QFontDatabase::families().contains(kIconFamily)) return kIconFamily;
    // fontconfig may not index the package's folder (e.g. a private font directory setup).
    const int id = QFontDatabase::addApplicationFont(kIconFontFile);
    if (id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(kIconFamily)) return kIconFamily;
    QFont sans(QStringLiteral("sans-serif"));
    sans.setStyleHint(QFont::SansSerif);
    return QFontInfo(sans).family();
  }();
  return family;
}

int CIconToolBar::IconSizeForDpi(int dpiY) {
  // Multiply, then divide with rounding to the nearest pixel.
  const long long scaled = 24LL * dpiY;
  return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : (scaled - 48) / 96);
}

const std::vector<int>& CIconToolBar::MainBarButtons() {
  static const std::vector<int> ids = {57600, 57601, 57603, 0, 57635, 57634, 57637, 0,
                                       57643, 57644, 0,     57607, 0,   57664};
  return ids;
}

const std::vector<int>& CIconToolBar::LayoutBarButtons() {
  static const std::vector<int> ids = {32772, 0,     32773, 32774, 32776, 32778, 0,     32781, 32780, 0,
                                       32791, 32801, 32799, 32790, 32802, 32800, 32803, 32804, 0,
                                       32805, 0,     32786, 32785, 32798};
  return ids;
}

void CIconToolBar::changeEvent(QEvent* event) {
  QToolBar::changeEvent(event);
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
    RebuildImages();
    update();
  }
}
