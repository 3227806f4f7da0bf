// What the layout's page settings ask of the printer: orientation, one copy and the duplex mode.
#pragma once

#include <optional>

// Device-mode duplex values: 1 one-sided, 2 turn about the long edge of a portrait sheet,
// 3 turn about its short edge.
constexpr int kDuplexSimplex = 1;
constexpr int kDuplexVertical = 2;
constexpr int kDuplexHorizontal = 3;

// The sheet edge the printer turns the paper about, independent of the page's orientation.
enum class PhysicalDuplex { none, longSide, shortSide };

// The device-mode duplex value for the layout's duplex mode (0 = the printer's own choice, empty;
// 1 one-sided, 2 bound on the long edge, 3 bound on the short edge). The device-mode values are
// relative to the orientation, so a landscape page swaps 2 and 3.
std::optional<int> DuplexDeviceValue(int duplexMode, bool portrait);

// The sheet edge a device-mode value means for a page in the given orientation.
PhysicalDuplex PhysicalDuplexOf(int deviceValue, bool portrait);

// Both steps: empty when the printer's setting is to stay as it is.
std::optional<PhysicalDuplex> PrinterDuplexFor(int duplexMode, bool portrait);
