#include "view/PrintPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "model/FormElementPtrList.h"
#include "model/FormImage.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "support/FakeDeviceContext.h"
#include "support/LayoutFixtures.h"

namespace {

const LocalTimeSource kNinthDecember = [] { return std::optional<LocalTime>(LocalTime{2026, 12, 9, 8, 5}); };

// A4 at 1200 dpi inside the usual printer margins.
constexpr int kAreaWidth = 9583;
constexpr int kAreaHeight = 13699;

CPageMapper PortraitUnits() { return CPageMapper::ForPage(kPortraitWidth, kPortraitHeight, 1, 1); }

CFormTableEntry Column(const char* name, int percent, int lfHeight = -80) {
  CFormTableEntry c;
  c.name = name;
  c.widthPercent = percent;
  c.font.lfHeight = lfHeight;
  return c;
}

std::vector<std::string> Texts(const FakeDeviceContext& dc) {
  std::vector<std::string> out;
  for (const auto& c : dc.CallsOf("Text")) out.push_back(c.text);
  return out;
}

}  // namespace

TEST(PrintPage, MapperIsFittedToThePrintableAreaInThePageUnitsShown) {
  const CPageMapper portrait = PrintMapperFor(PortraitUnits(), kAreaWidth, kAreaHeight);
  EXPECT_EQ(portrait.availableWidth, kAreaWidth);
  EXPECT_EQ(portrait.ToDevice(500, 0).x, kAreaWidth);  // the width limits a portrait page here
  EXPECT_LE(portrait.ToDevice(0, 705).y, kAreaHeight);

  const CPageMapper landscape =
      PrintMapperFor(CPageMapper::ForPage(kPortraitHeight, kPortraitWidth, 1, 1), kAreaHeight, kAreaWidth);
  EXPECT_EQ(landscape.pageWidth, 705);
  EXPECT_EQ(landscape.ToDevice(0, 500).y, kAreaWidth);  // and the height a landscape one
  EXPECT_LE(landscape.ToDevice(705, 0).x, kAreaHeight);

  // A device without area still yields a usable mapper.
  const CPageMapper none = PrintMapperFor(PortraitUnits(), 0, -5);
  EXPECT_GT(none.deviceWidth, 0.0);
  EXPECT_GT(none.deviceHeight, 0.0);
}

TEST(PrintPage, TextsTablesAndPicturesPrintWithTheSampleDataButNoHelperImages) {
  CFormElementPtrList list;
  list.Append(ShadedPicture(0, 10, 50, 50, 2, 2, 0x80, true));  // shown in the editor, never printed
  list.Append(ShadedPicture(100, 10, 50, 50, 2, 2, 0x80));
  list.Append(std::make_unique<CFormText>(CPoint{10, 100}, "Lauf [Laufnr] von [Titel] am [Datum] um [Uhrzeit]"));
  auto* table = Add(list, std::make_unique<CFormTable>(CPoint{10, 200}));
  table->width = 400;
  table->height = 100;
  table->AppendColumn(Column("[Rang] [Name]", 40));
  table->AppendColumn(Column("[Datum]", 30));
  table->AppendColumn(Column("[Lauf01]", 30));
  ASSERT_TRUE(list.showHelperImages);

  FakeDeviceContext dc;
  dc.printing = true;
  const CPageMapper mapper = PrintMapperFor(PortraitUnits(), 500, 705);  // one pixel per unit
  PrintLayoutPage(list, dc, mapper, kNinthDecember);

  const auto dibs = dc.CallsOf("StretchDib");
  ASSERT_EQ(dibs.size(), 1u);
  EXPECT_EQ(dibs[0].rect.left, 100);

  const std::vector<std::string> texts = Texts(dc);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0], "Lauf 5 von Testregatta am 9/12/2026 um 8:05");
  // 8 px rows in 100 px: twelve lines, each with the rank counting up, the row's name and the
  // codes rows have no value for.
  ASSERT_EQ(texts.size(), 1u + 12 * 3);
  for (int k = 0; k < 12; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(texts[1 + 3 * k], std::to_string(k + 1) + " TestName");
    EXPECT_EQ(texts[2 + 3 * k], "[Datum]");
    EXPECT_EQ(texts[3 + 3 * k], "[Lauf01]");
  }
  // The context is handed back as it came.
  EXPECT_TRUE(dc.state.clips.empty());
}

TEST(PrintPage, ATableNeverPrintsMoreThanTheFortySampleRows) {
  const struct {
    int height;
    std::size_t lines;
  } cases[] = {{4, 1}, {8, 1}, {16, 2}, {319, 39}, {320, 40}, {700, 40}};
  for (const auto& c : cases) {
    CFormElementPtrList list;
    auto* table = Add(list, std::make_unique<CFormTable>(CPoint{0, 0}));
    table->width = 400;
    table->height = c.height;
    table->AppendColumn(Column("[Rang]", 100));
    FakeDeviceContext dc;
    PrintLayoutPage(list, dc, PrintMapperFor(PortraitUnits(), 500, 705), kNinthDecember);
    const auto texts = Texts(dc);
    ASSERT_EQ(texts.size(), c.lines) << "height " << c.height;
    for (std::size_t k = 0; k < texts.size(); ++k) EXPECT_EQ(texts[k], std::to_string(k + 1));
  }
}

TEST(PrintPage, AbsurdTablesAndFontsStopAtThePrintableArea) {
  // A shaded, framed table 2^30 units tall, starting far above the page or on it, with a tiny
  // and a huge font: the work is bounded by the printable area, and all drawing stays near it.
  const CPageMapper mapper = PrintMapperFor(PortraitUnits(), kAreaWidth, kAreaHeight);
  for (int top : {-1000, 0, 300}) {
    for (int lfHeight : {-1, -160000}) {
      CFormElementPtrList list;
      auto* table = Add(list, std::make_unique<CFormTable>(CPoint{10, top}));
      table->width = 1 << 30;
      table->height = 1 << 30;
      table->twoColour = true;
      table->frame = true;
      table->AppendColumn(Column("[Rang] [Name]", 100, lfHeight));
      FakeDeviceContext dc;
      const auto start = std::chrono::steady_clock::now();
      PrintLayoutPage(list, dc, mapper, kNinthDecember);
      const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      SCOPED_TRACE("top " + std::to_string(top) + ", font " + std::to_string(lfHeight));
      EXPECT_LT(seconds, 5.0);
      EXPECT_LE(dc.calls.size(), static_cast<std::size_t>(kAreaHeight) + 50);
      EXPECT_LE(Texts(dc).size(), 40u);
      for (const auto& call : dc.CallsOf("Rectangle")) {
        EXPECT_GE(call.rect.top, -2);
        EXPECT_LE(call.rect.bottom, kAreaHeight + 2);
        EXPECT_LE(call.rect.right, kAreaWidth + 2);
      }
      // The bands alternate, also where the table starts far above the page.
      const auto bands = dc.CallsOf("Rectangle");
      ASSERT_GE(bands.size(), 2u);  // at least one band and the frame
      for (std::size_t k = 1; k + 1 < bands.size(); ++k)
        ASSERT_NE(bands[k].state.brush.color, bands[k - 1].state.brush.color) << k;
    }
  }
}
