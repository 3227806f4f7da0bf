// The layout: its elements in z-order (head drawn first, tail on top), the selection, the page
// settings and whether helper images take part in editing.
#pragma once

#include <list>
#include <memory>
#include <vector>

#include "model/FormElement.h"

class Archive;
class ClassRegistry;

constexpr unsigned MK_SHIFT = 4;
constexpr unsigned MK_CONTROL = 8;

constexpr COLORREF kCurrentColour = RGB(255, 0, 0);   // the current element
constexpr COLORREF kSelectedColour = RGB(0, 0, 255);  // every other selected element

// The classes a layout stream may contain.
const ClassRegistry& ElementClasses();

bool IsHelperImage(const CFormElement* element);

class CFormElementPtrList {
 public:
  CFormElementPtrList() = default;
  ~CFormElementPtrList() = default;
  CFormElementPtrList(const CFormElementPtrList&) = delete;
  CFormElementPtrList& operator=(const CFormElementPtrList&) = delete;

  void DeleteAll();
  bool DeselectAll();
  CFormElement* Select(CFormElement* element);
  void Deselect(CFormElement* element);
  bool SelectAt(DeviceContext* dc, const CPageMapper& mapper, int x, int y, unsigned keyFlags);
  bool SelectInRect(const CRect& rect, bool add);
  bool DeselectHelperImages();
  CFormElement* FindAt(DeviceContext* dc, const CPageMapper& mapper, int x, int y);
  // Takes the element out without deleting it; the caller owns it then. Null if not in the list.
  std::unique_ptr<CFormElement> Remove(CFormElement* element);
  // Several at once, in one pass over the list (a paste of a thousand elements is taken back in
  // one go): the elements in the order asked for, null where one is not in the list (or asked for
  // twice).
  std::vector<std::unique_ptr<CFormElement>> RemoveAll(const std::vector<CFormElement*>& elements);
  // Inserts before the element at `index`; a negative or past-the-end index appends.
  void InsertAt(int index, std::unique_ptr<CFormElement> element);
  // As InsertAt for each pair in turn, in one pass; the indices must ascend.
  void InsertAllAt(const std::vector<int>& indices, std::vector<std::unique_ptr<CFormElement>> elements);
  void Append(std::unique_ptr<CFormElement> element) { InsertAt(-1, std::move(element)); }
  int IndexOf(const CFormElement* element) const;
  // IndexOf for each, in one pass.
  std::vector<int> IndicesOf(const std::vector<CFormElement*>& elements) const;
  void GetAll(std::vector<CFormElement*>& array) const;
  // Reorders the list to the given order of its own elements.
  void SetAll(const std::vector<CFormElement*>& array);
  void GetSelected(std::vector<CFormElement*>& array) const;
  int CountSelected() const;
  void BeginTrackAll(DeviceContext& dc, const CPageMapper& mapper, CPoint point);
  void TrackAll(DeviceContext& dc, const CPageMapper& mapper, CPoint point);
  void EndTrackAll(DeviceContext& dc, const CPageMapper& mapper, CPoint point);
  void DrawAll(DeviceContext& dc, const CPageMapper& mapper);
  void PrintAll(DeviceContext& dc, int page, const CPageMapper& mapper, const CFormEnv& data);
  void Serialize(Archive& ar);

  // The version the writer chooses for this layout.
  int StoreVersion() const;

  int GetCount() const { return static_cast<int>(elements_.size()); }
  bool IsEmpty() const { return elements_.empty(); }
  bool Contains(const CFormElement* element) const { return IndexOf(element) >= 0; }
  CFormElement* At(int index) const;

  CFormElement* current = nullptr;  // the element selected last; null or a selected element
  bool portrait = true;
  int duplexMode = 0;
  bool showHelperImages = true;

 private:
  std::list<std::unique_ptr<CFormElement>> elements_;
};
