#include "view/PlaceholderMarks.h"

#include <algorithm>

#include "model/FormElementPtrList.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "platform/DeviceContext.h"

namespace {

constexpr COLORREF kMarkColour = RGB(220, 0, 0);

}  // namespace

std::vector<PlaceholderMark> FindPlaceholderMarks(DeviceContext& dc, const CPageMapper& mapper,
                                                  const CFormElementPtrList& list) {
  std::vector<PlaceholderMark> marks;
  std::vector<CFormElement*> all;
  list.GetAll(all);
  for (CFormElement* e : all) {
    const std::vector<ElementFinding> found = CheckElementPlaceholders(*e);
    if (found.empty()) continue;
    if (auto* text = dynamic_cast<CFormText*>(e)) {
      for (const ElementFinding& f : found)
        marks.push_back({text->SpanRect(dc, mapper, f.finding.offset, f.finding.token.size()), false, f.finding});
    } else if (auto* table = dynamic_cast<CFormTable*>(e)) {
      for (const ElementFinding& f : found)
        marks.push_back({table->TemplateSpanRect(dc, mapper, f.column - 1, f.finding.offset, f.finding.token.size()),
                         true, f.finding});
    }
  }
  return marks;
}

void DrawPlaceholderMarks(DeviceContext& dc, const std::vector<PlaceholderMark>& marks, int scale) {
  if (marks.empty()) return;
  ScopedSave save(dc);
  dc.SetPen(Pen::Solid(scale > 1 ? scale : 0, kMarkColour));
  const int step = 2 * std::max(scale, 1);
  for (const PlaceholderMark& m : marks) {
    const CRect r = m.rect.Normalized();
    if (!m.vertical) {
      // Just below the line, from the token's first to its last pixel.
      const int base = r.bottom;
      for (int x = r.left, down = 0; x < r.right; x += step, down ^= 1)
        dc.Line({x, base + (down ? step : 0)}, {std::min(x + step, r.right), base + (down ? 0 : step)});
    } else {
      // A column's template runs downwards with its letters' feet to the left.
      const int base = r.left - 1 - step;
      for (int y = r.top, out = 0; y < r.bottom; y += step, out ^= 1)
        dc.Line({base + (out ? step : 0), y}, {base + (out ? 0 : step), std::min(y + step, r.bottom)});
    }
  }
}

const PlaceholderMark* MarkAt(const std::vector<PlaceholderMark>& marks, CPoint p) {
  for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
    CRect r = it->rect.Normalized();
    r.InflateRect(3);
    if (r.PtInRect(p)) return &*it;
  }
  return nullptr;
}

std::string PlaceholderHint(const PlaceholderFinding& f) {
  std::string hint = "Unbekannter Platzhalter " + f.token;
  if (!f.suggestion.empty()) hint += " – gemeint ist vielleicht " + f.suggestion + "?";
  return hint;
}
