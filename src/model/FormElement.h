// The element base class: what texts, lines, pictures, tables and placeholders have in common.
#pragma once

#include <memory>
#include <string_view>

#include "model/PageMapper.h"
#include "model/PrintData.h"
#include "platform/ClassRegistry.h"
#include "platform/DeviceContext.h"
#include "platform/Types.h"
#include "properties/PropertyList.h"

class CFormElement : public SerialObject {
 public:
  static const ClassInfo classInfo;
  const ClassInfo& GetRuntimeClass() const override { return classInfo; }

  CFormElement() = default;
  ~CFormElement() override = default;
  void Serialize(Archive& ar) override;

  // A new element of the same class with the same stored state; selection and drag state zero.
  virtual std::unique_ptr<CFormElement> Clone() const;
  // Overwrites the stored state with that of `other`, which is of the same class.
  virtual void CopyFrom(const CFormElement& other);
  // Whether page point (x, y) hits the element; sets hitPart on success.
  virtual bool HitTest(DeviceContext* dc, const CPageMapper& mapper, int x, int y);
  virtual CRect GetBounds() const;
  virtual void BeginTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint point);
  virtual void Track(DeviceContext& dc, const CPageMapper& mapper, CPoint point);
  virtual void EndTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint point);
  virtual void MoveBy(DeviceContext* dc, const CPageMapper& mapper, CPoint delta);
  virtual void Draw(DeviceContext& dc, const CPageMapper& mapper);
  virtual void DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour);
  virtual int GetTop() const;
  virtual void SetTop(int y);
  virtual int GetLeft() const;
  virtual void SetLeft(int x);
  virtual int GetPageCount(DeviceContext& dc, const CPageMapper& mapper, const CFormEnv& data);
  virtual void Print(DeviceContext& dc, int page, const CPageMapper& mapper, const CFormEnv& data);
  virtual bool EditInDialog();
  // The element's rows in the property pane, with the current values; none for the base.
  virtual PropertyList FillProperties() const;
  // Writes the value edited in the row called `name` (a name FillProperties produces); other
  // names are ignored. Integer attributes take the number rounded half up; strings take `text`.
  virtual void ApplyProperty(std::string_view name, double number, std::string_view text);

  template <class T>
  bool Is() const { return IsKindOf(T::classInfo); }

  bool selected = false;
  int hitPart = 0;  // 0 = body; 1..8 = handle of a rectangle; for lines 1 = start, 2 = end
  CPoint trackPoint;
};

// A new element of the same class as `element` carrying its stored state (for Clone).
template <class T>
std::unique_ptr<CFormElement> CloneOf(const T& element) {
  auto copy = std::make_unique<T>();
  copy->CopyFrom(element);
  return copy;
}

// ---- geometry shared by the rectangular elements (placeholders, pictures, tables) ------------

constexpr int kHandleReach = 3;  // page units around a handle that still hit it

CRect RectBounds(CPoint position, CPoint size);
CPoint HandlePosition(int handle, CPoint position, CPoint size);
// The first handle (1..8) within reach of the point, or 0.
int FindHandle(CPoint point, CPoint position, CPoint size);
// Applies a mouse movement to position and size according to the grabbed part; nothing clamped.
void ApplyHandleDelta(int part, CPoint d, CPoint& position, CPoint& size);
// The XOR outline of a drag: drawn twice at the same place it leaves the screen unchanged.
void DrawTrackRect(DeviceContext& dc, const CPageMapper& mapper, CPoint position, CPoint size);
// Black squares around the handles, in device pixels, with the pen currently selected.
void DrawHandles(DeviceContext& dc, int left, int top, int right, int bottom, bool withMiddles);

constexpr COLORREF kTrackColour = RGB(0x5C, 0x5C, 0x5C);

// A rectangular element: position and size, hit test, handles, tracking.
class CFormRectElement : public CFormElement {
 public:
  bool HitTest(DeviceContext* dc, const CPageMapper& mapper, int x, int y) override;
  CRect GetBounds() const override { return RectBounds({x, y}, {width, height}); }
  void BeginTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint point) override;
  void Track(DeviceContext& dc, const CPageMapper& mapper, CPoint point) override;
  void EndTrack(DeviceContext& dc, const CPageMapper& mapper, CPoint point) override;
  void MoveBy(DeviceContext* dc, const CPageMapper& mapper, CPoint delta) override;
  int GetTop() const override { return y; }
  void SetTop(int v) override { y = v; }
  int GetLeft() const override { return x; }
  void SetLeft(int v) override { x = v; }

  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

 protected:
  CFormRectElement() = default;
  void CopyGeometry(const CFormRectElement& o) { x = o.x; y = o.y; width = o.width; height = o.height; }
};
