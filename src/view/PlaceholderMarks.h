// On-screen marks under placeholder codes the reporting side will not know ("[Nmae]"): a thin red
// wavy line under the token, and the hint the status line shows while the pointer rests on it.
// Marks are drawn by the editor view only, never into a print, a PDF or (unless asked) a picture.
#pragma once

#include <string>
#include <vector>

#include "placeholders/PlaceholderCheck.h"
#include "platform/Types.h"

class CFormElementPtrList;
class CPageMapper;
class DeviceContext;

struct PlaceholderMark {
  CRect rect;             // device pixels the token covers
  bool vertical = false;  // a table column's template runs downwards; its underline is at the left
  PlaceholderFinding finding;
};

// The marks of every text and table column of the layout, where they are drawn.
std::vector<PlaceholderMark> FindPlaceholderMarks(DeviceContext& dc, const CPageMapper& mapper,
                                                  const CFormElementPtrList& list);

// Red zigzag lines under (or, for columns, beside) each mark; `scale` grows them on dense screens.
void DrawPlaceholderMarks(DeviceContext& dc, const std::vector<PlaceholderMark>& marks, int scale = 1);

// The mark under a device point (a few pixels of slack), or null.
const PlaceholderMark* MarkAt(const std::vector<PlaceholderMark>& marks, CPoint devicePoint);

// "Unbekannter Platzhalter [Nmae] – gemeint ist vielleicht [Name]?"
std::string PlaceholderHint(const PlaceholderFinding& finding);
