// The one printed page of a layout: the mapper fitted to the printable area, and the layout
// printed with the sample data. The same steps serve the printer, the preview and PDF files.
#pragma once

#include "model/PageMapper.h"
#include "view/SampleData.h"

class CFormElementPtrList;
class DeviceContext;

// The print mapper: the page units of `pageUnits` (the page as the editor shows it) fitted to the
// printable area of width x height device pixels.
CPageMapper PrintMapperFor(const CPageMapper& pageUnits, int width, int height);

// Prints page 1 of the layout with freshly built sample data, helper images left out. Reads the
// layout only; the document stays unmodified.
void PrintLayoutPage(CFormElementPtrList& list, DeviceContext& dc, const CPageMapper& printMapper,
                     const LocalTimeSource& clock = SystemLocalTime);
