#include "model/FormText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/ElementDialogs.h"
#include "model/FileFormat.h"
#include "model/Fonts.h"
#include "platform/Archive.h"
#include "platform/Services.h"

const ClassInfo CFormText::classInfo{"CFormText", 1, &CFormElement::classInfo,
                                     &CreateSerialObject<CFormText>};

namespace {
// Splits at every "\r\n"; a text ending in "\r\n" ends with an empty part.
std::vector<std::string_view> SplitLines(std::string_view s) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = s.find("\r\n", start);
    if (at == std::string_view::npos) {
      parts.push_back(s.substr(start));
      return parts;
    }
    parts.push_back(s.substr(start, at - start));
    start = at + 2;
  }
}
}  // namespace

CFormText::CFormText() : font(DefaultTextFont()) {}

CFormText::CFormText(CPoint anchor, std::string t)
    : x(anchor.x), y(anchor.y), text(std::move(t)), font(DefaultTextFont()) {}

void CFormText::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    ar.WritePoint({x, y});
    ar.WritePoint({offsetX, offsetY});
    ar.WritePoint({width, height});
    ar.WriteString(ToStoredText(text));
    ar.WriteInt(alignment);
    WriteFont(ar, font);
    ar.WriteDword(color);
  } else {
    const CPoint a = ar.ReadPoint();
    const CPoint o = ar.ReadPoint();
    const CPoint e = ar.ReadPoint();
    x = a.x;
    y = a.y;
    offsetX = o.x;
    offsetY = o.y;
    width = e.x;
    height = e.y;
    text = ar.ReadString();
    alignment = ar.ReadInt();
    font = ReadFont(ar);
    color = ar.formatVersion >= kVersionColours ? ar.ReadDword() : 0;
    text = FromStoredText(text);
  }
}

std::unique_ptr<CFormElement> CFormText::Clone() const { return CloneOf(*this); }

void CFormText::CopyFrom(const CFormElement& other) {
  const auto& o = static_cast<const CFormText&>(other);
  x = o.x;
  y = o.y;
  offsetX = o.offsetX;
  offsetY = o.offsetY;
  width = o.width;
  height = o.height;
  text = o.text;
  alignment = o.alignment;
  color = o.color;
  font = o.font;
}

CRect CFormText::GetBounds() const {
  const int left = x + offsetX;
  return CRect(left, y, left + width, y + height).Normalized();
}

bool CFormText::HitTest(DeviceContext*, const CPageMapper&, int px, int py) {
  const int left = x + offsetX;
  if (left < px && px < left + width && y < py && py < y + height) {
    hitPart = 0;
    return true;
  }
  if (!selected) return false;
  // Only the corners scale the font; the middle handles of the box do not count.
  hitPart = FindHandle({px, py}, {left, y}, {width, height});
  return hitPart >= 1 && hitPart <= 4;
}

unsigned CFormText::HorizontalAlign() const {
  switch (alignment) {
    case 1: return TA_CENTER;
    case 2: return TA_RIGHT;
    default: return TA_LEFT;
  }
}

int CFormText::MeasureSelected(DeviceContext& dc, const CPageMapper& mapper) {
  const CSize extent = dc.TextExtent(text);
  const CPoint page = mapper.ToPage(extent.cx, extent.cy);
  width = page.x;
  height = page.y;
  switch (alignment) {
    case 1: offsetX = -(width / 2); break;
    case 2: offsetX = -width; break;
    default: offsetX = 0; break;
  }
  return extent.cy;
}

void CFormText::Measure(DeviceContext& dc, const CPageMapper& mapper) {
  ScopedSave save(dc);
  dc.SetFont(CreateElementFont(font, mapper));
  MeasureSelected(dc, mapper);
}

CRect CFormText::SpanRect(DeviceContext& dc, const CPageMapper& mapper, std::size_t offset, std::size_t length) {
  ScopedSave save(dc);
  dc.SetFont(CreateElementFont(font, mapper));
  const int lineHeight = MeasureSelected(dc, mapper);
  const CPoint a = mapper.ToDevice(x, y);
  offset = std::min(offset, text.size());
  // While selected the text is drawn in one piece, otherwise line by line.
  std::string_view line = text;
  std::size_t lineStart = 0;
  int top = a.y;
  if (!selected) {
    for (std::string_view part : SplitLines(text)) {
      lineStart = static_cast<std::size_t>(part.data() - text.data());
      line = part;
      if (offset <= lineStart + part.size()) break;
      top += lineHeight;
    }
  }
  const std::size_t inLine = offset - lineStart;
  const int lineWidth = dc.TextExtent(line).cx;
  int left = a.x;
  if (HorizontalAlign() == TA_CENTER) left -= lineWidth / 2;
  if (HorizontalAlign() == TA_RIGHT) left -= lineWidth;
  const int before = dc.TextExtent(line.substr(0, inLine)).cx;
  const int span = dc.TextExtent(line.substr(inLine, length)).cx;
  return CRect(left + before, top, left + before + span, top + lineHeight);
}

void CFormText::Draw(DeviceContext& dc, const CPageMapper& mapper) {
  ScopedSave save(dc);
  const CPoint a = mapper.ToDevice(x, y);
  dc.SetFont(CreateElementFont(font, mapper));
  dc.SetTextColor(color);
  dc.SetTransparentText(true);
  const int lineHeight = MeasureSelected(dc, mapper);
  dc.SetTextAlign(HorizontalAlign() | TA_TOP);
  int lineY = a.y;
  for (std::string_view part : SplitLines(text)) {
    dc.Text({a.x, lineY}, part);
    lineY += lineHeight;
  }
}

void CFormText::DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour) {
  ScopedSave save(dc);
  const Pen thin = Pen::Solid(0, colour);
  dc.SetFont(CreateElementFont(font, mapper));
  dc.SetTextColor(colour);
  dc.SetTransparentText(true);
  MeasureSelected(dc, mapper);
  dc.SetTextAlign(HorizontalAlign() | TA_TOP);

  dc.SetBrush(Brush::Null());
  dc.SetPen(thin);
  const CPoint p0 = mapper.ToDevice(x + offsetX, y);
  const CPoint p1 = mapper.ToDevice(x + offsetX + width, y + height);
  dc.Rectangle(CRect(p0.x, p0.y, p1.x + 2, p1.y + 2));
  DrawHandles(dc, p0.x, p0.y, p1.x + 1, p1.y + 1, false);

  const CPoint a = mapper.ToDevice(x, y);
  dc.SetPen(Pen::Solid(2, colour));
  dc.Ellipse(CRect(a.x - 6, a.y - 6, a.x + 7, a.y + 7));

  // While selected the text is drawn in one piece: line breaks are not applied.
  dc.SetPen(thin);
  dc.Text(a, text);
}

void CFormText::DrawTrackBox(DeviceContext& dc, const CPageMapper& mapper) const {
  ScopedSave save(dc);
  dc.SetPen(Pen::Solid(0, kTrackColour));
  dc.SetRop(RasterOp::xorPen);
  const CPoint tl = mapper.ToDevice(x + offsetX, y);
  const CPoint size = mapper.ToDevice(width, height);
  dc.Rectangle(CRect(tl.x, tl.y, tl.x + size.x + 2, tl.y + size.y + 2));
}

void CFormText::BeginTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint p) {
  trackPoint = trackStart = p;
  trackFontHeight = font.lfHeight;
  trackWidth = width;
  trackHeight = height;
  DrawTrackBox(dc, mapper);
}

void CFormText::ScaleFont(DeviceContext& dc, const CPageMapper& mapper, CPoint p) {
  if (trackWidth <= 0 || trackHeight <= 0) return;
  static constexpr int kSx[] = {0, -1, +1, +1, -1};
  static constexpr int kSy[] = {0, -1, -1, +1, +1};
  const double fx =
      (trackWidth + static_cast<double>(p.x - trackStart.x) * kSx[hitPart]) / trackWidth;
  const double fy =
      (trackHeight + static_cast<double>(p.y - trackStart.y) * kSy[hitPart]) / trackHeight;
  const double f = std::fabs(fx - 1) > std::fabs(fy - 1) ? fx : fy;
  const double s0 = FontHeightToPoints(trackFontHeight);
  const double s = std::floor(s0 * f * 2 + 0.5) * 0.5;
  font.lfHeight = PointsToFontHeight(std::max(s, 1.0));
  Measure(dc, mapper);
}

void CFormText::Track(DeviceContext& dc, const CPageMapper& mapper, CPoint p) {
  DrawTrackBox(dc, mapper);
  if (hitPart >= 1 && hitPart <= 4) {
    ScaleFont(dc, mapper, p);
  } else {
    x += p.x - trackPoint.x;
    y += p.y - trackPoint.y;
  }
  trackPoint = p;
  DrawTrackBox(dc, mapper);
}

void CFormText::EndTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint) {
  DrawTrackBox(dc, mapper);
}

void CFormText::MoveBy(DeviceContext*, const CPageMapper&, CPoint delta) {
  x += delta.x;
  y += delta.y;
}

void CFormText::Print(DeviceContext& dc, int, const CPageMapper& mapper, const CFormEnv& data) {
  ScopedSave save(dc);
  dc.SetFont(CreateElementFont(font, mapper));
  dc.SetTextColor(color);
  dc.SetTransparentText(true);
  const CPoint a = mapper.ToDevice(x, y);
  const int lineHeight = MeasureSelected(dc, mapper);  // the stored text, codes not yet replaced
  const std::string out = ReplacePlaceholders(data.attributes, text);
  dc.SetTextAlign(HorizontalAlign() | TA_TOP);
  int k = 0;
  for (std::string_view part : SplitLines(out)) {
    dc.Text({a.x, a.y + k * lineHeight}, part);
    ++k;
  }
}

bool CFormText::EditInDialog() {
  ElementDialogService& dialogs = ElementDialogs();
  TextDialogValues v;
  v.text = text;
  v.font = font;
  v.pointSize = FontHeightToPoints(font.lfHeight);
  v.alignment = alignment;
  v.color = color;
  if (!dialogs.RunTextDialog(v)) return false;
  const int previousHeight = font.lfHeight;
  font = v.font;
  font.lfHeight = v.fontChosen ? PointsToFontHeight(v.pointSize) : previousHeight;
  text = v.text;
  alignment = v.alignment;
  color = v.color;
  return true;
}
