#include "model/FormElementPtrList.h"

#include <algorithm>
#include <unordered_map>

#include "model/FileFormat.h"
#include "model/FormAlias.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "platform/Archive.h"
#include "platform/Services.h"

const ClassRegistry& ElementClasses() {
  static const ClassRegistry registry({&CFormElement::classInfo, &CFormText::classInfo,
                                       &CFormLine::classInfo, &CFormImage::classInfo,
                                       &CFormTable::classInfo, &CFormAlias::classInfo});
  return registry;
}

bool IsHelperImage(const CFormElement* e) {
  return e && e->Is<CFormImage>() && static_cast<const CFormImage*>(e)->helper;
}

void CFormElementPtrList::DeleteAll() { elements_.clear(); }

bool CFormElementPtrList::DeselectAll() {
  for (auto& e : elements_) e->selected = false;
  current = nullptr;
  return true;
}

CFormElement* CFormElementPtrList::Select(CFormElement* element) {
  element->selected = true;
  current = element;
  return element;
}

void CFormElementPtrList::Deselect(CFormElement* element) {
  element->selected = false;
  if (current != element) return;
  current = nullptr;
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
    if ((*it)->selected) {
      current = it->get();
      break;
    }
  }
}

CFormElement* CFormElementPtrList::FindAt(DeviceContext* dc, const CPageMapper& mapper, int x, int y) {
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it)
    if (!IsHelperImage(it->get()) && (*it)->HitTest(dc, mapper, x, y)) return it->get();
  if (showHelperImages) {
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it)
      if (IsHelperImage(it->get()) && (*it)->HitTest(dc, mapper, x, y)) return it->get();
  }
  return nullptr;
}

bool CFormElementPtrList::SelectAt(DeviceContext* dc, const CPageMapper& mapper, int x, int y,
                                   unsigned keyFlags) {
  CFormElement* hit = FindAt(dc, mapper, x, y);
  if (hit) {
    if (!(keyFlags & MK_SHIFT)) DeselectAll();
    Select(hit);
  } else {
    DeselectAll();
  }
  return true;
}

bool CFormElementPtrList::SelectInRect(const CRect& rect, bool add) {
  const CRect r = rect.Normalized();
  bool changed = false;
  for (auto& p : elements_) {
    CFormElement* e = p.get();
    const CRect b = e->GetBounds();
    const bool inside = b.left >= r.left && b.top >= r.top && b.right <= r.right && b.bottom <= r.bottom;
    const bool want = (inside && (!IsHelperImage(e) || showHelperImages)) || (add && e->selected);
    if (want != e->selected) {
      e->selected = want;
      changed = true;
    }
    if (e->selected && (!current || !current->selected)) current = e;
  }
  if (current && !current->selected) current = nullptr;
  return changed;
}

bool CFormElementPtrList::DeselectHelperImages() {
  bool changed = false;
  for (auto& e : elements_) {
    if (e->selected && IsHelperImage(e.get())) {
      e->selected = false;
      changed = true;
    }
  }
  if (current && !current->selected) current = nullptr;
  return changed;
}

std::unique_ptr<CFormElement> CFormElementPtrList::Remove(CFormElement* element) {
  for (auto it = elements_.begin(); it != elements_.end(); ++it) {
    if (it->get() != element) continue;
    std::unique_ptr<CFormElement> owned = std::move(*it);
    elements_.erase(it);
    owned->selected = false;
    if (current == element) current = nullptr;
    return owned;
  }
  return nullptr;
}

namespace {

// Where each element stands in a request (the first place, for one asked for twice).
std::unordered_map<const CFormElement*, std::size_t> PlacesIn(const std::vector<CFormElement*>& elements) {
  std::unordered_map<const CFormElement*, std::size_t> places;
  places.reserve(elements.size());
  for (std::size_t i = 0; i < elements.size(); ++i) places.emplace(elements[i], i);
  return places;
}

}  // namespace

std::vector<std::unique_ptr<CFormElement>> CFormElementPtrList::RemoveAll(const std::vector<CFormElement*>& elements) {
  std::vector<std::unique_ptr<CFormElement>> out(elements.size());
  const auto places = PlacesIn(elements);
  for (auto it = elements_.begin(); it != elements_.end();) {
    const auto place = places.find(it->get());
    if (place == places.end()) {
      ++it;
      continue;
    }
    std::unique_ptr<CFormElement>& owned = out[place->second];
    owned = std::move(*it);
    it = elements_.erase(it);
    owned->selected = false;
    if (current == owned.get()) current = nullptr;
  }
  return out;
}

void CFormElementPtrList::InsertAllAt(const std::vector<int>& indices,
                                      std::vector<std::unique_ptr<CFormElement>> elements) {
  auto at = elements_.begin();
  int position = 0;  // the index of `at`
  for (std::size_t i = 0; i < elements.size() && i < indices.size(); ++i) {
    if (!elements[i]) continue;
    const int index = indices[i];
    if (index < 0 || index >= GetCount()) {
      elements_.push_back(std::move(elements[i]));
      continue;
    }
    // Not ascending after all, or only appended so far: count again from the front.
    if (index < position || at == elements_.end()) {
      at = elements_.begin();
      position = 0;
    }
    at = std::next(at, index - position);
    elements_.insert(at, std::move(elements[i]));
    position = index + 1;
  }
}

void CFormElementPtrList::InsertAt(int index, std::unique_ptr<CFormElement> element) {
  if (!element) return;
  if (index < 0 || index >= GetCount()) {
    elements_.push_back(std::move(element));
    return;
  }
  elements_.insert(std::next(elements_.begin(), index), std::move(element));
}

int CFormElementPtrList::IndexOf(const CFormElement* element) const {
  int i = 0;
  for (const auto& e : elements_) {
    if (e.get() == element) return i;
    ++i;
  }
  return -1;
}

std::vector<int> CFormElementPtrList::IndicesOf(const std::vector<CFormElement*>& elements) const {
  std::vector<int> out(elements.size(), -1);
  const auto places = PlacesIn(elements);
  int i = 0;
  for (const auto& e : elements_) {
    if (const auto place = places.find(e.get()); place != places.end()) out[place->second] = i;
    ++i;
  }
  // An element asked for twice has its index at each place.
  for (std::size_t k = 0; k < elements.size(); ++k) out[k] = out[places.at(elements[k])];
  return out;
}

CFormElement* CFormElementPtrList::At(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return std::next(elements_.begin(), index)->get();
}

void CFormElementPtrList::GetAll(std::vector<CFormElement*>& array) const {
  array.clear();
  for (const auto& e : elements_) array.push_back(e.get());
}

void CFormElementPtrList::SetAll(const std::vector<CFormElement*>& array) {
  std::list<std::unique_ptr<CFormElement>> reordered;
  for (CFormElement* wanted : array) {
    const auto it = std::find_if(elements_.begin(), elements_.end(),
                                 [wanted](const auto& e) { return e.get() == wanted; });
    if (it != elements_.end()) reordered.splice(reordered.end(), elements_, it);
  }
  // Elements the array did not name stay on top rather than being lost.
  reordered.splice(reordered.end(), elements_);
  elements_ = std::move(reordered);
}

void CFormElementPtrList::GetSelected(std::vector<CFormElement*>& array) const {
  array.clear();
  for (const auto& e : elements_)
    if (e->selected) array.push_back(e.get());
}

int CFormElementPtrList::CountSelected() const {
  return static_cast<int>(std::count_if(elements_.begin(), elements_.end(),
                                        [](const auto& e) { return e->selected; }));
}

void CFormElementPtrList::BeginTrackAll(DeviceContext& dc, const CPageMapper& mapper, CPoint p) {
  for (auto& e : elements_)
    if (e->selected) e->BeginTrack(dc, mapper, p);
}

void CFormElementPtrList::TrackAll(DeviceContext& dc, const CPageMapper& mapper, CPoint p) {
  for (auto& e : elements_)
    if (e->selected) e->Track(dc, mapper, p);
}

void CFormElementPtrList::EndTrackAll(DeviceContext& dc, const CPageMapper& mapper, CPoint p) {
  for (auto& e : elements_)
    if (e->selected) e->EndTrack(dc, mapper, p);
}

void CFormElementPtrList::DrawAll(DeviceContext& dc, const CPageMapper& mapper) {
  const auto draw = [&](CFormElement* e) {
    if (e->selected)
      e->DrawSelected(dc, mapper, e == current ? kCurrentColour : kSelectedColour);
    else
      e->Draw(dc, mapper);
  };
  if (showHelperImages) {
    for (auto& e : elements_)
      if (IsHelperImage(e.get())) draw(e.get());
  }
  for (auto& e : elements_)
    if (!e->selected && !IsHelperImage(e.get())) draw(e.get());
  for (auto& e : elements_)
    if (e->selected && !IsHelperImage(e.get())) draw(e.get());
}

void CFormElementPtrList::PrintAll(DeviceContext& dc, int page, const CPageMapper& mapper,
                                   const CFormEnv& data) {
  if (page <= 0) return;
  for (auto& e : elements_)
    if (!IsHelperImage(e.get())) e->Print(dc, page, mapper, data);
}

int CFormElementPtrList::StoreVersion() const {
  for (const auto& e : elements_)
    if (IsHelperImage(e.get())) return kVersionHelper;
  return duplexMode != 0 ? kVersionDuplex : kVersionOrientation;
}

void CFormElementPtrList::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    ar.formatVersion = StoreVersion();
    ar.WriteInt(ar.formatVersion);
    ar.WriteInt(portrait ? 1 : 0);
    if (ar.formatVersion > kVersionOrientation) ar.WriteInt(duplexMode);
    ar.WriteCount(static_cast<std::uint32_t>(elements_.size()));
    for (auto& e : elements_) ar.WriteObject(*e);
    return;
  }

  ar.formatVersion = ar.ReadInt();
  if (ar.formatVersion > kVersionNewest) {
    services().Messages().Show(kNewerVersionMessage, MessageIcon::stop, MessageButtons::ok);
    throw UserAbortException();
  }
  portrait = true;
  duplexMode = 0;
  if (ar.formatVersion >= kVersionOrientation) portrait = ar.ReadInt() != 0;
  if (ar.formatVersion >= kVersionDuplex) {
    const int mode = ar.ReadInt();
    duplexMode = mode >= 0 && mode <= 3 ? mode : 0;
  }
  const std::uint32_t count = ar.ReadCount();
  for (std::uint32_t i = 0; i < count; ++i) {
    std::unique_ptr<SerialObject> object = ar.ReadObject(CFormElement::classInfo);
    elements_.push_back(std::unique_ptr<CFormElement>(static_cast<CFormElement*>(object.release())));
  }
}
