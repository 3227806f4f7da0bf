#include "view/PrintPage.h"

#include <algorithm>

#include "model/FormElementPtrList.h"
#include "platform/DeviceContext.h"

CPageMapper PrintMapperFor(const CPageMapper& pageUnits, int width, int height) {
  CPageMapper m = pageUnits;
  // A device that reports no area still gets a mapper whose divisions are defined.
  m.Fit(std::max(width, 1), std::max(height, 1));
  return m;
}

void PrintLayoutPage(CFormElementPtrList& list, DeviceContext& dc, const CPageMapper& printMapper,
                     const LocalTimeSource& clock) {
  const SamplePrintData data(clock);
  ScopedSave save(dc);
  list.PrintAll(dc, 1, printMapper, data.Env());
}
