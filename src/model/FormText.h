// A piece of text placed at an anchor point. Its box is measured from text and font at every
// drawing; dragging a corner scales the font instead of the box.
#pragma once

#include <string>

#include "model/FormElement.h"
#include "platform/LogFont.h"

class CFormText : public CFormElement {
 public:
  static const ClassInfo classInfo;
  const ClassInfo& GetRuntimeClass() const override { return classInfo; }

  CFormText();
  CFormText(CPoint anchor, std::string text);

  void Serialize(Archive& ar) override;
  std::unique_ptr<CFormElement> Clone() const override;
  void CopyFrom(const CFormElement& other) override;
  bool HitTest(DeviceContext* dc, const CPageMapper& mapper, int x, int y) override;
  CRect GetBounds() const override;
  void BeginTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint point) override;
  void Track(DeviceContext& dc, const CPageMapper& mapper, CPoint point) override;
  void EndTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint point) override;
  void MoveBy(DeviceContext* dc, const CPageMapper& mapper, CPoint delta) override;
  void Draw(DeviceContext& dc, const CPageMapper& mapper) override;
  void DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour) override;
  int GetTop() const override { return y; }
  void SetTop(int v) override { y = v; }
  int GetLeft() const override { return x; }
  void SetLeft(int v) override { x = v; }
  void Print(DeviceContext& dc, int page, const CPageMapper& mapper, const CFormEnv& data) override;
  bool EditInDialog() override;
  PropertyList FillProperties() const override;
  void ApplyProperty(std::string_view name, double number, std::string_view text) override;

  // Measures the text with the font selected into `dc` and stores the box in page units; returns
  // the device height of one line.
  int MeasureSelected(DeviceContext& dc, const CPageMapper& mapper);
  // Selects the element's font, measures, restores the context.
  void Measure(DeviceContext& dc, const CPageMapper& mapper);
  // The device rectangle that `length` bytes of the text from `offset` cover as the text is drawn
  // now (line by line, or in one piece while selected). The span must not cross a line break.
  CRect SpanRect(DeviceContext& dc, const CPageMapper& mapper, std::size_t offset, std::size_t length);

  int x = 0;
  int y = 0;
  int offsetX = 0;  // left edge of the box relative to x, from the alignment
  int offsetY = 0;  // kept as read; no geometry uses it
  int width = 0;
  int height = 0;
  std::string text;  // lines separated by "\r\n"
  int alignment = 0;  // 0 left, 1 centre, 2 right; anything else behaves as left
  LOGFONTA font;
  COLORREF color = 0;

  // Drag state, not stored nor copied.
  CPoint trackStart;
  int trackFontHeight = 0;
  int trackWidth = 0;
  int trackHeight = 0;

 private:
  void DrawTrackBox(DeviceContext& dc, const CPageMapper& mapper) const;
  void ScaleFont(DeviceContext& dc, const CPageMapper& mapper, CPoint p);
  unsigned HorizontalAlign() const;
};
