#include "model/FormTable.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "model/ElementDialogs.h"
#include "model/FileFormat.h"
#include "model/Fonts.h"
#include "platform/Archive.h"
#include "platform/Services.h"

const ClassInfo CFormTable::classInfo{"CFormTable", 1, &CFormElement::classInfo,
                                      &CreateSerialObject<CFormTable>};

namespace {
constexpr COLORREF kShade = RGB(0xE6, 0xE6, 0xE6);
constexpr int kDefaultRowHeight = 80;

LOGFONTA RotatedFont(const LOGFONTA& font, const CPageMapper& mapper) {
  LOGFONTA f = CreateElementFont(font, mapper);
  f.lfEscapement = f.lfOrientation = -900;  // running downwards, letter tops to the right
  return f;
}
}  // namespace

CFormTableEntry::CFormTableEntry() : font(DefaultColumnFont()) {}

CFormTable::CFormTable(CPoint position) {
  x = position.x;
  y = position.y;
  width = 100;
  height = 100;
}

void CFormTable::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    ar.WritePoint({x, y});
    ar.WritePoint({width, height});
    ar.WriteInt(twoColour ? 1 : 0);
    ar.WriteInt(maxFontHeight);
    ar.WriteInt(frame ? 1 : 0);
    ar.WriteCount(static_cast<std::uint32_t>(columns.size()));
    for (const CFormTableEntry& c : columns) {
      ar.WriteString(ToStoredText(c.name));
      ar.WriteInt(c.widthPercent);
      ar.WriteInt(c.alignment);
      WriteFont(ar, c.font);
      ar.WriteDword(c.color);
    }
    return;
  }
  const CPoint p = ar.ReadPoint();
  const CPoint s = ar.ReadPoint();
  x = p.x;
  y = p.y;
  width = s.x;
  height = s.y;
  twoColour = ar.ReadInt() != 0;
  maxFontHeight = ar.ReadInt();
  frame = ar.ReadInt() != 0;
  const std::uint32_t count = ar.ReadCount();
  columns.clear();
  // No reservation from the count: every column consumes bytes, so a false count ends at the
  // end of the stream instead of in a huge allocation.
  for (std::uint32_t i = 0; i < count; ++i) {
    CFormTableEntry c;
    c.name = ar.ReadString();
    c.widthPercent = ar.ReadInt();
    c.alignment = ar.ReadInt();
    c.font = ReadFont(ar);
    if (ar.formatVersion >= kVersionColours) c.color = ar.ReadDword();
    c.name = FromStoredText(c.name);
    columns.push_back(std::move(c));
  }
}

std::unique_ptr<CFormElement> CFormTable::Clone() const { return CloneOf(*this); }

void CFormTable::CopyFrom(const CFormElement& other) {
  if (&other == this) return;
  const auto& o = static_cast<const CFormTable&>(other);
  CopyGeometry(o);
  twoColour = o.twoColour;
  frame = o.frame;
  maxFontHeight = o.maxFontHeight;
  columns = o.columns;
}

CFormTableEntry& CFormTable::AppendColumn(const CFormTableEntry& entry) {
  columns.push_back(entry);
  return columns.back();
}

std::list<CFormTableEntry>::iterator CFormTable::FindColumn(const CFormTableEntry* entry) {
  for (auto it = columns.begin(); it != columns.end(); ++it)
    if (&*it == entry) return it;
  return columns.end();
}

void CFormTable::RemoveColumn(const CFormTableEntry* entry) {
  const auto it = FindColumn(entry);
  if (it != columns.end()) columns.erase(it);
}

CFormTableEntry* CFormTable::ColumnAt(int index) {
  if (index < 0 || index >= static_cast<int>(columns.size())) return nullptr;
  return &*std::next(columns.begin(), index);
}

int CFormTable::ComputeMaxFontHeight() const {
  int best = 0;
  for (const CFormTableEntry& c : columns)
    best = std::max(best, c.font.lfHeight == INT32_MIN ? INT32_MAX : std::abs(c.font.lfHeight));
  return best == 0 ? 80 : best;
}

std::vector<std::pair<int, int>> CFormTable::ColumnEdges(const CPageMapper& mapper) const {
  const int x0 = mapper.ToDevice(x, y).x;
  const int w = mapper.ToDevice(width, height).x;
  std::vector<std::pair<int, int>> edges;
  int left = x0;
  for (const CFormTableEntry& c : columns) {
    // A table as wide as the int range (a damaged file, a huge zoom) must not wrap its edges.
    const long long product = static_cast<long long>(c.widthPercent) * w;
    const int right = static_cast<int>(std::clamp<long long>(left + product / 100, INT_MIN, INT_MAX));
    edges.emplace_back(left, right);
    left = right;
  }
  return edges;
}

void CFormTable::DrawColumns(DeviceContext& dc, const CPageMapper& mapper, bool withColours) const {
  const CPoint a = mapper.ToDevice(x, y);
  const int h = mapper.ToDevice(width, height).y;
  dc.SetTransparentText(true);
  const auto edges = ColumnEdges(mapper);
  std::size_t i = 0;
  for (const CFormTableEntry& c : columns) {
    const auto [left, right] = edges[i++];
    dc.Line({right, a.y}, {right, a.y + h});
    dc.SetTextAlign(TA_BOTTOM | TA_LEFT);
    dc.SetFont(RotatedFont(c.font, mapper));
    if (withColours) dc.SetTextColor(c.color);
    dc.Text({left, a.y}, c.name);  // the template hangs down from the column's top-left corner
  }
}

void CFormTable::Draw(DeviceContext& dc, const CPageMapper& mapper) {
  ScopedSave save(dc);
  const CPoint a = mapper.ToDevice(x, y);
  const CPoint size = mapper.ToDevice(width, height);
  dc.Rectangle(CRect(a.x, a.y, a.x + size.x, a.y + size.y));  // the caller's pen and brush
  DrawColumns(dc, mapper, true);
}

void CFormTable::DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour) {
  ScopedSave save(dc);
  const CPoint a = mapper.ToDevice(x, y);
  const CPoint size = mapper.ToDevice(width, height);
  dc.SetPen(Pen::Solid(0, colour));
  dc.SetBrush(Brush::Null());
  dc.Rectangle(CRect(a.x, a.y, a.x + size.x, a.y + size.y));
  DrawHandles(dc, a.x, a.y, a.x + size.x, a.y + size.y, true);
  // The templates keep whatever text colour the context holds.
  DrawColumns(dc, mapper, false);
}

void CFormTable::GetColumnRects(DeviceContext& dc, const CPageMapper& mapper,
                                std::vector<CRect>& columnRects, std::vector<CRect>& templateRects) {
  columnRects.clear();
  templateRects.clear();
  const CPoint a = mapper.ToDevice(x, y);
  const int h = mapper.ToDevice(width, height).y;
  const auto edges = ColumnEdges(mapper);
  std::size_t i = 0;
  for (const CFormTableEntry& c : columns) {
    const auto [left, right] = edges[i++];
    columnRects.emplace_back(left, a.y, right, a.y + h);
    ScopedSave save(dc);
    dc.SetFont(CreateElementFont(c.font, mapper));
    const int cx = dc.TextExtent(c.name).cx;
    const int tm = dc.Metrics().height;
    templateRects.emplace_back(left, a.y, left + tm, a.y + cx);
  }
}

CRect CFormTable::TemplateSpanRect(DeviceContext& dc, const CPageMapper& mapper, int column,
                                   std::size_t offset, std::size_t length) {
  std::vector<CRect> columnRects;
  std::vector<CRect> templateRects;
  GetColumnRects(dc, mapper, columnRects, templateRects);
  const CFormTableEntry* entry = ColumnAt(column);
  if (!entry || column < 0 || static_cast<std::size_t>(column) >= templateRects.size()) return {};
  const CRect t = templateRects[static_cast<std::size_t>(column)];
  ScopedSave save(dc);
  dc.SetFont(CreateElementFont(entry->font, mapper));
  const std::string_view name = entry->name;
  offset = std::min(offset, name.size());
  const int before = dc.TextExtent(name.substr(0, offset)).cx;
  const int span = dc.TextExtent(name.substr(offset, length)).cx;
  return CRect(t.left, t.top + before, t.right, t.top + before + span);
}

int CFormTable::HitTestColumn(DeviceContext& dc, const CPageMapper& mapper, int px, int py) {
  if (!HitTest(&dc, mapper, px, py) || hitPart != 0) return -1;
  std::vector<CRect> columnRects;
  std::vector<CRect> templateRects;
  GetColumnRects(dc, mapper, columnRects, templateRects);
  const CPoint p = mapper.ToDevice(px, py);
  for (std::size_t i = 0; i < templateRects.size(); ++i) {
    CRect r = templateRects[i].Normalized();
    r.InflateRect(2);
    if (r.PtInRect(p)) return static_cast<int>(i);
  }
  return -1;
}

int CFormTable::RowHeight(DeviceContext& dc, const CPageMapper& mapper) const {
  int best = 0;
  for (const CFormTableEntry& c : columns) {
    ScopedSave save(dc);
    dc.SetFont(CreateElementFont(c.font, mapper));
    best = std::max(best, dc.TextExtent("Ag").cy);
  }
  return best > 0 ? best : kDefaultRowHeight;
}

int CFormTable::GetPageCount(DeviceContext& dc, const CPageMapper& mapper, const CFormEnv& data) {
  if (!data.rows) return 1;
  const long long rows = static_cast<long long>(data.rows->size());
  const int h = mapper.ToDevice(width, height).y;
  if (h <= 0) {
    // No room at all: printing puts every row on a page of its own.
    return static_cast<int>(std::clamp<long long>(rows, 1, INT32_MAX));
  }
  const long long r = RowHeight(dc, mapper);
  return static_cast<int>(std::min<long long>(r * rows / h + 1, INT32_MAX));
}

namespace {
// A device coordinate held just outside [0, extent], so that edges beyond the printable area stay
// beyond it without the arithmetic of absurd sizes overflowing.
int HoldNear(long long v, int extent) {
  return static_cast<int>(std::clamp<long long>(v, -2, static_cast<long long>(extent) + 2));
}
}  // namespace

void CFormTable::Print(DeviceContext& dc, int page, const CPageMapper& mapper, const CFormEnv& data) {
  ScopedSave save(dc);
  dc.SetTransparentText(true);
  const CPoint a = mapper.ToDevice(x, y);
  const CPoint size = mapper.ToDevice(width, height);
  const int w = size.x;
  const int h = size.y;
  const int r = RowHeight(dc, mapper);
  // The printable area: the mapper was fitted to it. Nothing below it can be seen, so the loops
  // stop there however tall the table claims to be.
  const long long areaBottom = mapper.availableHeight;

  if (twoColour) {
    ScopedSave shading(dc);
    dc.SetPen(Pen::Null());
    long long s = 1;
    long long k = 0;
    if (a.y + s < 0) {
      // Bands above the area are skipped in whole pairs, so the colours keep their order.
      k = (-(a.y + s)) / r;
      s += k * r;
    }
    const long long end = std::min<long long>(h, areaBottom - a.y + r);
    for (; s < end; s += r, ++k) {
      const long long top = a.y + s;
      const long long bottom = std::min<long long>(top + r, static_cast<long long>(a.y) + h - 1);
      dc.SetBrush(Brush::Solid(k % 2 == 0 ? kShade : RGB(255, 255, 255)));
      dc.Rectangle(CRect(HoldNear(a.x + 1LL, mapper.availableWidth), HoldNear(top, mapper.availableHeight),
                         HoldNear(static_cast<long long>(a.x) + w - 1, mapper.availableWidth),
                         HoldNear(bottom, mapper.availableHeight)));
    }
  }

  if (data.rows) {
    const auto edges = ColumnEdges(mapper);
    int counter = 1;
    long long t = a.y;
    for (const CFormEnvRow& row : *data.rows) {
      if (counter > page) break;  // later rows belong to later pages
      if (counter == page && t >= areaBottom) break;  // below the printable area
      if (counter == page) {
        std::size_t i = 0;
        for (const CFormTableEntry& c : columns) {
          const auto [left, right] = edges[i++];
          const int cw = right - left;
          int textX = left;
          unsigned align = TA_LEFT;
          if (c.alignment == 1) {
            textX = left + cw / 2;
            align = TA_CENTER;
          } else if (c.alignment == 2) {
            textX = left + cw - 2;
            align = TA_RIGHT;
          }
          const int top = static_cast<int>(t);
          ScopedSave cell(dc);
          dc.IntersectClip(CRect(left, top, left + cw, HoldNear(t + r, mapper.availableHeight)));
          dc.SetFont(CreateElementFont(c.font, mapper));
          dc.SetTextColor(c.color);
          dc.SetTransparentText(true);
          dc.SetTextAlign(align | TA_TOP);
          dc.Text({textX, top}, ReplacePlaceholders(row.attributes, c.name));
        }
      }
      t += r;
      if (t - a.y + r > h) {
        ++counter;
        t = a.y;
      }
    }
  }

  if (frame) {
    dc.SetBrush(Brush::Null());
    dc.SetPen(Pen::StockBlack());
    dc.Rectangle(CRect(HoldNear(a.x, mapper.availableWidth), HoldNear(a.y, mapper.availableHeight),
                       HoldNear(static_cast<long long>(a.x) + w, mapper.availableWidth),
                       HoldNear(static_cast<long long>(a.y) + h, mapper.availableHeight)));
  }
}

bool CFormTable::EditInDialog() {
  ElementDialogService& dialogs = ElementDialogs();
  CFormTable copy;
  copy.CopyFrom(*this);
  if (!dialogs.RunTableDialog(copy)) return false;
  CopyFrom(copy);
  return true;
}
