#include "app/IconToolBar.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

constexpr int kUnknownId = 12345;

std::string Hex(QColor c) { return c.name(QColor::HexRgb).toStdString(); }

// What a rendered icon contains.
struct Ink {
  int opaqueInColour = 0;  // alpha 255 and exactly the expected colour
  int opaqueOther = 0;     // alpha 255 in any other colour
  QRect bounds;            // every pixel with some alpha
};

Ink Analyse(const QImage& image, QColor colour) {
  Ink ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qAlpha(p) == 0) continue;
      ink.bounds |= QRect(x, y, 1, 1);
      if (qAlpha(p) < 255) continue;
      if ((p & 0xFFFFFFu) == (colour.rgb() & 0xFFFFFFu)) {
        ++ink.opaqueInColour;
      } else {
        ++ink.opaqueOther;
      }
    }
  }
  return ink;
}

QColor EntryColour(int id) { return CIconToolBar::NormalColour(CIconToolBar::LookUp(id), QApplication::palette()); }

std::vector<int> AllTableIds() {
  std::vector<int> ids = {57600, 57601, 57603, 57635, 57634, 57637, 57643, 57644, 57607, 57664,
                          32772, 32773, 32774, 32776, 32778, 32780, 32781, 32790, 32791, 32799,
                          32800, 32801, 32802, 32803, 32804, 32805, 32786, 32785, 32798};
  ids.push_back(kUnknownId);  // the fallback row
  return ids;
}

// A toolbar over actions owned here, as the main window's command table owns them.
// The palette can change on the toolbar itself or for the whole application.
enum class PaletteScope { toolbar, application };

class IconToolBarTest : public ::testing::Test {
 protected:
  QAction* ActionFor(int id) {
    auto& slot = actions_[id];
    if (!slot) slot = std::make_unique<QAction>(QString::number(id));
    return slot.get();
  }
  std::function<QAction*(int)> Lookup() {
    return [this](int id) { return ActionFor(id); };
  }
  QImage IconOf(int id, QIcon::Mode mode) {
    const int s = bar_.iconSize().height();
    return ActionFor(id)->icon().pixmap(QSize(s, s), 1.0, mode).toImage();
  }
  void ExpectRedrawnAfterPaletteChange(PaletteScope scope);

  std::map<int, std::unique_ptr<QAction>> actions_;  // destroyed after the toolbar
  CIconToolBar bar_{QStringLiteral("layoutToolBar")};
};

TEST(IconToolBarSize, ScalesWithTheVerticalDpiRoundingToTheNearestPixel) {
  struct Case {
    int dpi, icon, button;
  };
  const Case cases[] = {{96, 24, 32}, {120, 30, 38}, {144, 36, 44}, {192, 48, 56}, {110, 28, 36}, {108, 27, 35}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(CIconToolBar::IconSizeForDpi(c.dpi), c.icon);
    EXPECT_EQ(CIconToolBar::ButtonSizeForIcon(CIconToolBar::IconSizeForDpi(c.dpi)), c.button);
  }
}

TEST_F(IconToolBarTest, At96DpiIconsAre24OnButtonsOf32) {
  ASSERT_EQ(bar_.logicalDpiY(), 96);
  bar_.SetButtons({57603, 0, 32774}, Lookup());
  EXPECT_EQ(bar_.iconSize(), QSize(24, 24));
  for (const int id : {57603, 32774}) {
    SCOPED_TRACE(id);
    QWidget* button = bar_.widgetForAction(ActionFor(id));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->minimumSize(), QSize(32, 32));
    EXPECT_EQ(button->maximumSize(), QSize(32, 32));
    const QList<QSize> sizes = ActionFor(id)->icon().availableSizes();
    EXPECT_EQ(sizes, QList<QSize>{QSize(24, 24)});
  }
}

TEST_F(IconToolBarTest, ButtonsFollowTheListWithSeparatorsAndSkipIdsWithoutAction) {
  bar_.SetButtons({57600, 0, 57601, 999, 0, 57603},
                  [this](int id) { return id == 999 ? nullptr : ActionFor(id); });
  const QList<QAction*> got = bar_.actions();
  ASSERT_EQ(got.size(), 5);
  EXPECT_EQ(got[0], ActionFor(57600));
  EXPECT_TRUE(got[1]->isSeparator());
  EXPECT_EQ(got[2], ActionFor(57601));
  EXPECT_TRUE(got[3]->isSeparator());
  EXPECT_EQ(got[4], ActionFor(57603));

  // A second call replaces the buttons instead of adding to them.
  bar_.SetButtons({32772}, Lookup());
  ASSERT_EQ(bar_.actions().size(), 1);
  EXPECT_EQ(bar_.actions()[0], ActionFor(32772));
}

TEST(IconToolBarLayouts, BothBarsHaveTheirButtonsAndSeparatorsInOrder) {
  EXPECT_EQ(CIconToolBar::MainBarButtons(),
            (std::vector<int>{57600, 57601, 57603, 0, 57635, 57634, 57637, 0, 57643, 57644, 0, 57607, 0, 57664}));
  EXPECT_EQ(CIconToolBar::LayoutBarButtons(),
            (std::vector<int>{32772, 0, 32773, 32774, 32776, 32778, 0, 32781, 32780, 0, 32791, 32801, 32799,
                              32790, 32802, 32800, 32803, 32804, 0, 32805, 0, 32786, 32785, 32798}));
}

TEST(IconToolBarTable, EveryToolbarButtonHasItsOwnEntry) {
  for (const auto* layout : {&CIconToolBar::MainBarButtons(), &CIconToolBar::LayoutBarButtons()}) {
    for (const int id : *layout) {
      if (id == 0) continue;
      EXPECT_EQ(CIconToolBar::LookUp(id).commandId, id);
    }
  }
}

TEST(IconToolBarTable, EntriesCarryGlyphOrShapeAndColour) {
  struct Case {
    int id;
    const char* glyph;
    int shape;
    std::uint32_t colour;
  };
  const std::uint32_t text = CIconToolBar::kButtonTextColour;
  const Case cases[] = {
      {57600, "note_add", 0, 0x0F6CBD},   {57601, "folder_open", 0, 0xD89600}, {57635, "content_cut", 0, 0xC42B1C},
      {57607, "print", 0, text},          {57664, "info", 0, 0x0F6CBD},        {32772, "near_me", 0, text},
      {32773, "text_fields", 0, 0x744DA9}, {32776, "image", 0, 0x107C10},      {32778, "table_chart", 0, 0x038387},
      {32798, "fit_screen", 0, 0x0F6CBD}, {32774, nullptr, 1, 0x0F6CBD},       {32790, nullptr, 2, 0x744DA9},
      {32791, nullptr, 3, 0x744DA9},      {32799, nullptr, 4, 0x744DA9},       {32800, nullptr, 5, 0x744DA9},
      {32801, nullptr, 6, 0x744DA9},      {32802, nullptr, 7, 0x744DA9},       {32803, nullptr, 8, 0x744DA9},
      {32804, nullptr, 9, 0x744DA9},      {32805, nullptr, 10, 0x038387},      {32780, nullptr, 11, 0xCA5010},
      {32781, nullptr, 12, 0xCA5010},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const CIconToolBar::IconEntry& e = CIconToolBar::LookUp(c.id);
    EXPECT_EQ(e.commandId, c.id);
    EXPECT_EQ(e.glyph == nullptr ? std::string() : std::string(e.glyph), c.glyph == nullptr ? "" : c.glyph);
    EXPECT_EQ(e.shape, c.shape);
    EXPECT_EQ(e.colour, c.colour);
  }
}

TEST(IconToolBarTable, UnknownIdsGetTheQuestionMarkInTextColour) {
  for (const int id : {kUnknownId, 0, -1, 57602, 32775}) {
    SCOPED_TRACE(id);
    const CIconToolBar::IconEntry& e = CIconToolBar::LookUp(id);
    ASSERT_NE(e.glyph, nullptr);
    EXPECT_STREQ(e.glyph, "help_outline");
    EXPECT_EQ(e.shape, 0);
    EXPECT_EQ(e.colour, CIconToolBar::kButtonTextColour);
  }
  QPalette pal;
  pal.setColor(QPalette::Active, QPalette::ButtonText, QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(CIconToolBar::NormalColour(CIconToolBar::LookUp(kUnknownId), pal), QColor(0x12, 0x34, 0x56));
}

TEST(IconToolBarFont, TheIconFontIsInstalledAndUsed) {
  EXPECT_EQ(CIconToolBar::GlyphFamily(), QStringLiteral("Material Icons"));
  EXPECT_EQ(QFontInfo(QFont(CIconToolBar::GlyphFamily())).family(), QStringLiteral("Material Icons"));
}

TEST(IconToolBarRender, EveryIconIsOpaqueInItsColourOnATransparentSquare) {
  for (const int size : {24, 48}) {
    for (const int id : AllTableIds()) {
      SCOPED_TRACE("size " + std::to_string(size) + " id " + std::to_string(id));
      const QColor colour = EntryColour(id);
      const QImage image = CIconToolBar::RenderIcon(id, size, colour);
      ASSERT_EQ(image.size(), QSize(size, size));
      EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
      for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)}) {
        EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << corner.x() << "," << corner.y();
      }
      const Ink ink = Analyse(image, colour);
      EXPECT_GE(ink.opaqueInColour, size / 2) << Hex(colour);
      EXPECT_EQ(ink.opaqueOther, 0);
    }
  }
}

TEST(IconToolBarRender, AColourWithAlphaIsDrawnOpaque) {
  const QImage image = CIconToolBar::RenderIcon(32774, 48, QColor(200, 10, 10, 40));
  EXPECT_GT(Analyse(image, QColor(200, 10, 10)).opaqueInColour, 0);
}

TEST(IconToolBarRender, GlyphsAreSymbolsCentredInsideTheSquare) {
  // A name the font did not turn into its symbol would be a word far wider than the square.
  const int s = 48;
  for (const int id : {57600, 57601, 57603, 57635, 57634, 57637, 57643, 57644, 57607, 57664, 32772, 32773, 32776,
                       32778, 32786, 32785, 32798, kUnknownId}) {
    SCOPED_TRACE(id);
    const QRect ink = Analyse(CIconToolBar::RenderIcon(id, s, Qt::black), Qt::black).bounds;
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 2);
    EXPECT_LE(ink.right(), s - 3);
    EXPECT_GE(ink.width(), s / 3);
    EXPECT_NEAR(ink.center().x(), s / 2, 4);
    EXPECT_NEAR(ink.center().y(), s / 2, 4);
  }
}

TEST(IconToolBarRender, SymbolsAreAsLargeAsTheDrawnShapes) {
  // The info symbol is a full circle, so its ink spans the symbol's whole body.
  for (const int s : {24, 48}) {
    SCOPED_TRACE(s);
    const QRect ink = Analyse(CIconToolBar::RenderIcon(57664, s, Qt::black), Qt::black).bounds;
    EXPECT_GE(ink.width(), s * 3 / 4);
    EXPECT_LE(ink.width(), s * 9 / 10);
    EXPECT_EQ(ink.width(), ink.height());
  }
}

TEST(IconToolBarRender, AllThirtyIconsDifferAndMakeOneSheet) {
  const int s = 48;
  const int gap = 8;
  const int columns = 10;
  const std::vector<int> ids = AllTableIds();
  std::vector<QImage> icons;
  for (const int id : ids) {
    const QImage icon = CIconToolBar::RenderIcon(id, s, Qt::black);
    for (std::size_t k = 0; k < icons.size(); ++k) {
      EXPECT_NE(icon, icons[k]) << id << " draws the same as " << ids[k];
    }
    icons.push_back(icon);
  }

  // Written for looking at the icons in their colours; the file is not compared against anything.
  const int rows = (static_cast<int>(ids.size()) + columns - 1) / columns;
  QImage sheet(columns * (s + gap) + gap, rows * (s + gap) + gap, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  for (std::size_t k = 0; k < ids.size(); ++k) {
    const int col = static_cast<int>(k) % columns;
    const int row = static_cast<int>(k) / columns;
    painter.drawImage(gap + col * (s + gap), gap + row * (s + gap), CIconToolBar::RenderIcon(ids[k], s, EntryColour(ids[k])));
  }
  painter.end();
  EXPECT_TRUE(sheet.save(QDir::temp().filePath(QStringLiteral("veltrok-icons.png"))));
}

TEST(IconToolBarRender, HolesSeparateTheFrontRectangleFromTheBackOne) {
  // Points as fractions of the icon; at 48 pixels each lies at least a pixel away from any edge.
  struct Case {
    int id;
    double fx, fy;
    bool opaque;
    const char* what;
  };
  const Case cases[] = {
      {32780, 0.58, 0.20, true, "front: back outline right edge, above the hole"},
      {32780, 0.58, 0.37, false, "front: back outline right edge, cut by the hole"},
      {32780, 0.37, 0.58, false, "front: back outline bottom edge, cut by the hole"},
      {32780, 0.50, 0.50, true, "front: filled front rectangle"},
      {32780, 0.25, 0.25, false, "front: inside the back outline"},
      {32781, 0.25, 0.25, true, "back: filled back rectangle outside the hole"},
      {32781, 0.50, 0.50, false, "back: filled back rectangle cut by the hole, inside the front outline"},
      {32781, 0.40, 0.70, true, "back: front outline left edge"},
      {32781, 0.65, 0.65, false, "back: inside the front outline"},
  };
  const int s = 48;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QImage image = CIconToolBar::RenderIcon(c.id, s, EntryColour(c.id));
    const int alpha = qAlpha(image.pixel(static_cast<int>(c.fx * s), static_cast<int>(c.fy * s)));
    EXPECT_EQ(alpha, c.opaque ? 255 : 0);
  }
}

TEST_F(IconToolBarTest, DisabledIconsAreDrawnInTheGreyTextColour) {
  bar_.SetButtons({57603, 32774, 57607}, Lookup());
  const QColor grey = bar_.palette().color(QPalette::Disabled, QPalette::Text);
  for (const int id : {57603, 32774, 57607}) {
    SCOPED_TRACE(id);
    const QColor normal = CIconToolBar::NormalColour(CIconToolBar::LookUp(id), bar_.palette());
    ASSERT_NE(normal.rgb(), grey.rgb());
    const Ink disabled = Analyse(IconOf(id, QIcon::Disabled), grey);
    EXPECT_GT(disabled.opaqueInColour, 0) << Hex(grey);
    EXPECT_EQ(disabled.opaqueOther, 0);
    const Ink enabled = Analyse(IconOf(id, QIcon::Normal), normal);
    EXPECT_GT(enabled.opaqueInColour, 0) << Hex(normal);
    EXPECT_EQ(enabled.opaqueOther, 0);
  }
}

void IconToolBarTest::ExpectRedrawnAfterPaletteChange(PaletteScope scope) {
  const std::vector<int> ids = {57607, 32772, kUnknownId, 57603};
  bar_.SetButtons(ids, Lookup());
  const QColor buttonText(0x00, 0xAA, 0x55);
  const QColor grey(0x99, 0x22, 0x77);
  QPalette pal = bar_.palette();
  pal.setColor(QPalette::ButtonText, buttonText);
  pal.setColor(QPalette::Disabled, QPalette::Text, grey);

  const QPalette appPalette = QApplication::palette();
  if (scope == PaletteScope::application) {
    QApplication::setPalette(pal);
    QApplication::processEvents();
  } else {
    bar_.setPalette(pal);
  }

  for (const int id : {57607, 32772, kUnknownId}) {
    SCOPED_TRACE(id);
    const Ink normal = Analyse(IconOf(id, QIcon::Normal), buttonText);
    EXPECT_GT(normal.opaqueInColour, 0);
    EXPECT_EQ(normal.opaqueOther, 0);
  }
  const Ink save = Analyse(IconOf(57603, QIcon::Normal), QColor(0x0F, 0x6C, 0xBD));
  EXPECT_GT(save.opaqueInColour, 0);
  EXPECT_EQ(save.opaqueOther, 0);
  for (const int id : ids) {
    SCOPED_TRACE(id);
    const Ink disabled = Analyse(IconOf(id, QIcon::Disabled), grey);
    EXPECT_GT(disabled.opaqueInColour, 0);
    EXPECT_EQ(disabled.opaqueOther, 0);
  }

  if (scope == PaletteScope::application) QApplication::setPalette(appPalette);
}

TEST_F(IconToolBarTest, AToolbarPaletteChangeRedrawsTextColouredAndDisabledIcons) {
  ExpectRedrawnAfterPaletteChange(PaletteScope::toolbar);
}

TEST_F(IconToolBarTest, AnApplicationPaletteChangeRedrawsTextColouredAndDisabledIcons) {
  ExpectRedrawnAfterPaletteChange(PaletteScope::application);
}

}  // namespace
