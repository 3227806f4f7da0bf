#include "view/PrintSettings.h"

std::optional<int> DuplexDeviceValue(int duplexMode, bool portrait) {
  switch (duplexMode) {
    case 1: return kDuplexSimplex;
    case 2: return portrait ? kDuplexVertical : kDuplexHorizontal;
    case 3: return portrait ? kDuplexHorizontal : kDuplexVertical;
    default: return std::nullopt;  // 0 and values no menu offers: leave the printer's choice
  }
}

PhysicalDuplex PhysicalDuplexOf(int deviceValue, bool portrait) {
  switch (deviceValue) {
    case kDuplexVertical: return portrait ? PhysicalDuplex::longSide : PhysicalDuplex::shortSide;
    case kDuplexHorizontal: return portrait ? PhysicalDuplex::shortSide : PhysicalDuplex::longSide;
    default: return PhysicalDuplex::none;
  }
}

std::optional<PhysicalDuplex> PrinterDuplexFor(int duplexMode, bool portrait) {
  const std::optional<int> value = DuplexDeviceValue(duplexMode, portrait);
  if (!value) return std::nullopt;
  return PhysicalDuplexOf(*value, portrait);
}
