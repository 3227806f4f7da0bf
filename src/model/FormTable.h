// A rectangle that printing fills with one row per competitor; rows that do not fit continue at
// the top of the table on the next page. Each column carries a cell template with codes.
#pragma once

#include <list>
#include <string>
#include <vector>

#include "model/FormElement.h"
#include "platform/LogFont.h"

struct CFormTableEntry {
  std::string name;      // cell template
  int widthPercent = 10; // of the table width; need not add up to 100
  int alignment = 0;     // 0 left, 1 centre, 2 right; others behave as left
  LOGFONTA font;
  COLORREF color = 0;

  CFormTableEntry();
  friend bool operator==(const CFormTableEntry&, const CFormTableEntry&) = default;
};

class CFormTable : public CFormRectElement {
 public:
  static const ClassInfo classInfo;
  const ClassInfo& GetRuntimeClass() const override { return classInfo; }

  CFormTable() = default;
  explicit CFormTable(CPoint position);  // the table tool: 100 x 100 at the point

  void Serialize(Archive& ar) override;
  std::unique_ptr<CFormElement> Clone() const override;
  void CopyFrom(const CFormElement& other) override;
  void Draw(DeviceContext& dc, const CPageMapper& mapper) override;
  void DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour) override;
  int GetPageCount(DeviceContext& dc, const CPageMapper& mapper, const CFormEnv& data) override;
  void Print(DeviceContext& dc, int page, const CPageMapper& mapper, const CFormEnv& data) override;
  bool EditInDialog() override;
  PropertyList FillProperties() const override;
  void ApplyProperty(std::string_view name, double number, std::string_view text) override;

  // Device rectangles per column: the whole column, and the area its rotated template covers.
  void GetColumnRects(DeviceContext& dc, const CPageMapper& mapper, std::vector<CRect>& columnRects,
                      std::vector<CRect>& templateRects);
  // The device rectangle that `length` bytes of a column's template from `offset` cover; the
  // template runs downwards from the column's top-left corner.
  CRect TemplateSpanRect(DeviceContext& dc, const CPageMapper& mapper, int column, std::size_t offset,
                         std::size_t length);
  // Index of the column whose template lies under the page point, or -1.
  int HitTestColumn(DeviceContext& dc, const CPageMapper& mapper, int px, int py);
  // Device height of one printed row.
  int RowHeight(DeviceContext& dc, const CPageMapper& mapper) const;
  // Largest |lfHeight| of the columns, 80 without columns or when all are 0.
  int ComputeMaxFontHeight() const;

  // Column list operations of the pane and the dialog.
  CFormTableEntry& AppendColumn(const CFormTableEntry& entry);
  std::list<CFormTableEntry>::iterator FindColumn(const CFormTableEntry* entry);
  void RemoveColumn(const CFormTableEntry* entry);
  void RemoveAllColumns() { columns.clear(); }
  CFormTableEntry* ColumnAt(int index);

  bool twoColour = false;
  bool frame = false;
  int maxFontHeight = 80;
  std::list<CFormTableEntry> columns;

 private:
  // Separator lines and rotated templates of the columns.
  void DrawColumns(DeviceContext& dc, const CPageMapper& mapper, bool withColours) const;
  // Left and right device edges of every column.
  std::vector<std::pair<int, int>> ColumnEdges(const CPageMapper& mapper) const;
};
