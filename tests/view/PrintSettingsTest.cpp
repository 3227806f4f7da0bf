#include "view/PrintSettings.h"

#include <gtest/gtest.h>

TEST(PrintSettings, DuplexModesMapToDeviceValuesAndSheetEdges) {
  using P = PhysicalDuplex;
  const struct {
    int mode;
    bool portrait;
    std::optional<int> deviceValue;
    std::optional<P> side;
  } cases[] = {
      {0, true, std::nullopt, std::nullopt},  // the printer's own setting stays
      {0, false, std::nullopt, std::nullopt},
      {1, true, 1, P::none},
      {1, false, 1, P::none},
      {2, true, 2, P::longSide},  // bound on the long edge in both orientations
      {2, false, 3, P::longSide},
      {3, true, 3, P::shortSide},
      {3, false, 2, P::shortSide},
      {4, true, std::nullopt, std::nullopt},  // a value no menu offers leaves the printer alone
      {-1, false, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + (c.portrait ? " portrait" : " landscape"));
    EXPECT_EQ(DuplexDeviceValue(c.mode, c.portrait), c.deviceValue);
    EXPECT_EQ(PrinterDuplexFor(c.mode, c.portrait), c.side);
  }
}
