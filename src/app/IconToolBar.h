// The toolbar of the main window. Its buttons are the command table's actions; their icons are
// drawn here at run time for the screen's resolution (font glyphs for the common commands, vector
// drawings for the layout ones), so they stay crisp at any dpi and follow the palette's colours.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QToolBar>

class QAction;
class QEvent;
class QPalette;

class CIconToolBar : public QToolBar {
  Q_OBJECT

 public:
  // One row of the icon table. Exactly one of `glyph` (a ligature name of the icon font) and
  // `shape` (a vector drawing, 1..12) is set.
  struct IconEntry {
    int commandId;
    const char* glyph;     // nullptr for shapes
    int shape;             // 0 for glyphs
    std::uint32_t colour;  // 0xRRGGBB, or kButtonTextColour
  };
  // Stands for the palette's button-text colour; no 0xRRGGBB value can be mistaken for it.
  static constexpr std::uint32_t kButtonTextColour = 0xFF000000u;

  explicit CIconToolBar(const QString& title, QWidget* parent = nullptr);

  // Replaces the buttons: one per command id, 0 for a separator. The actions stay owned by the
  // caller; ids without an action are left out. The icons are drawn at once.
  void SetButtons(const std::vector<int>& commandIds, const std::function<QAction*(int)>& actionFor);

  // Draws every button's icon again (normal and disabled) for the current dpi and palette.
  void RebuildImages();

  // s x s pixels, premultiplied ARGB on a transparent background.
  static QImage RenderIcon(int commandId, int size, QColor colour);
  // The table row of `commandId`; the fallback row for ids not in the table.
  static const IconEntry& LookUp(int commandId);
  // The colour an entry is drawn in with `palette` when enabled.
  static QColor NormalColour(const IconEntry& entry, const QPalette& palette);
  // The family the glyphs are drawn with: the icon font, or the generic sans-serif family when it
  // is not installed. Looked up once.
  static QString GlyphFamily();

  // 24 pixels at 96 dpi, scaled with the screen's vertical dpi.
  static int IconSizeForDpi(int dpiY);
  // Buttons leave a 4-pixel margin around the icon.
  static int ButtonSizeForIcon(int iconSize) { return iconSize + 8; }

  // The button layouts of the two toolbars of the main window (0 = separator).
  static const std::vector<int>& MainBarButtons();
  static const std::vector<int>& LayoutBarButtons();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  std::vector<std::pair<int, QPointer<QAction>>> buttons_;
  std::vector<QPointer<QAction>> separators_;  // created by this toolbar, deleted when replaced
};
