#include "document/Actions.h"

#include <algorithm>
#include <cmath>

#include "model/FormElementPtrList.h"

// ---- add -----------------------------------------------------------------------------------------

CAddAction::CAddAction(std::unique_ptr<CFormElement> element) : CAction("Einfügen") {
  elements.push_back(element.get());
  held_.push_back(std::move(element));
}

CAddAction::CAddAction(std::vector<std::unique_ptr<CFormElement>> items, std::string n)
    : CAction(std::move(n)), held_(std::move(items)) {
  for (const auto& e : held_) elements.push_back(e.get());
}

void CAddAction::Do(CFormElementPtrList& list) {
  if (!ownsElements) return;  // already in the list
  if (insertIndex < 0) insertIndex = list.GetCount();
  for (std::size_t i = 0; i < held_.size(); ++i)
    list.InsertAt(insertIndex + static_cast<int>(i), std::move(held_[i]));
  held_.clear();
  ownsElements = false;
}

void CAddAction::Undo(CFormElementPtrList& list) {
  if (ownsElements) return;
  held_ = list.RemoveAll(elements);
  ownsElements = true;
}

// ---- delete --------------------------------------------------------------------------------------

CDeleteAction::CDeleteAction(std::vector<CFormElement*> items, std::string n)
    : CAction(std::move(n)), elements(std::move(items)), indices(elements.size(), -1) {}

void CDeleteAction::Do(CFormElementPtrList& list) {
  if (ownsElements) return;
  // The (index, element) pairs in stable index order, so that undo can reinsert ascending.
  const std::vector<int> found = list.IndicesOf(elements);
  std::vector<std::size_t> order(elements.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return found[a] < found[b]; });
  std::vector<CFormElement*> sorted;
  sorted.reserve(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    sorted.push_back(elements[order[i]]);
    indices[i] = found[order[i]];
  }
  elements = std::move(sorted);
  held_ = list.RemoveAll(elements);
  ownsElements = true;
}

void CDeleteAction::Undo(CFormElementPtrList& list) {
  if (!ownsElements) return;
  list.InsertAllAt(indices, std::move(held_));
  held_.clear();
  ownsElements = false;
}

// ---- change --------------------------------------------------------------------------------------

CChangeAction::CChangeAction(std::string n, std::vector<CFormElement*> items)
    : CAction(std::move(n)), elements(std::move(items)) {
  for (CFormElement* e : elements) before.push_back(e->Clone());
}

CChangeAction::CChangeAction(std::string n, std::vector<CFormElement*> items,
                             std::vector<std::unique_ptr<CFormElement>> newStates)
    : CChangeAction(std::move(n), std::move(items)) {
  after = std::move(newStates);
}

void CChangeAction::Do(CFormElementPtrList&) {
  for (std::size_t i = 0; i < elements.size() && i < after.size(); ++i)
    elements[i]->CopyFrom(*after[i]);
}

void CChangeAction::Undo(CFormElementPtrList&) {
  for (std::size_t i = 0; i < elements.size() && i < before.size(); ++i)
    elements[i]->CopyFrom(*before[i]);
}

// ---- move ----------------------------------------------------------------------------------------

CMoveAction::CMoveAction(std::vector<CFormElement*> items, CPoint delta)
    : CChangeAction("Verschieben", std::move(items)) {
  for (CFormElement* e : elements) {
    std::unique_ptr<CFormElement> moved = e->Clone();
    moved->MoveBy(nullptr, UnusedMapper(), delta);
    after.push_back(std::move(moved));
  }
}

bool CMoveAction::Merge(CAction& newer) {
  auto* move = dynamic_cast<CMoveAction*>(&newer);
  if (!move || move->elements != elements) return false;
  after = std::move(move->after);
  move->after.clear();
  return true;
}

// ---- align and distribute ------------------------------------------------------------------------

namespace {
const char* AlignName(int mode) { return mode >= 6 ? "Verteilen" : "Ausrichten"; }
}  // namespace

std::vector<CPoint> CAlignAction::Offsets(const std::vector<CFormElement*>& items,
                                          const CFormElement* anchor, int mode) {
  std::vector<CPoint> offsets(items.size());
  if (mode >= 0 && mode <= 5) {
    if (!anchor) return offsets;
    const CRect a = anchor->GetBounds();
    for (std::size_t i = 0; i < items.size(); ++i) {
      const CRect e = items[i]->GetBounds();
      CPoint& d = offsets[i];
      switch (mode) {
        case top: d.y = a.top - e.top; break;
        case left: d.x = a.left - e.left; break;
        case right: d.x = a.right - e.right; break;
        case bottom: d.y = a.bottom - e.bottom; break;
        case centreHorizontal: d.x = (a.right + a.left) / 2 - (e.right + e.left) / 2; break;
        case centreVertical: d.y = (a.bottom + a.top) / 2 - (e.bottom + e.top) / 2; break;
        default: break;
      }
    }
    return offsets;
  }
  if (mode != distributeHorizontal && mode != distributeVertical) return offsets;
  const bool alongX = mode == distributeHorizontal;
  const std::size_t n = items.size();
  if (n < 3) return offsets;
  std::vector<CRect> rects;
  for (CFormElement* e : items) rects.push_back(e->GetBounds());
  const auto low = [&](std::size_t i) { return alongX ? rects[i].left : rects[i].top; };
  const auto high = [&](std::size_t i) { return alongX ? rects[i].right : rects[i].bottom; };
  // Insertion before the first element with a strictly greater edge keeps ties in array order.
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < n; ++i) {
    auto at = order.begin();
    while (at != order.end() && low(*at) <= low(i)) ++at;
    order.insert(at, i);
  }
  long long total = 0;
  for (std::size_t i = 0; i < n; ++i) total += high(i) - low(i);
  const double gap =
      static_cast<double>(static_cast<long long>(high(order.back())) - low(order.front()) - total) /
      static_cast<double>(n - 1);
  double pos = low(order.front());
  for (std::size_t k : order) {
    const int target = static_cast<int>(std::floor(pos + 0.5));
    (alongX ? offsets[k].x : offsets[k].y) = target - low(k);
    pos += (high(k) - low(k)) + gap;
  }
  return offsets;
}

CAlignAction::CAlignAction(std::vector<CFormElement*> items, const CFormElement* anchor, int mode)
    : CChangeAction(AlignName(mode), std::move(items)) {
  const std::vector<CPoint> offsets = Offsets(elements, anchor, mode);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    std::unique_ptr<CFormElement> moved = elements[i]->Clone();
    moved->MoveBy(nullptr, UnusedMapper(), offsets[i]);
    after.push_back(std::move(moved));
  }
}

// ---- order ---------------------------------------------------------------------------------------

COrderAction::COrderAction(std::vector<CFormElement*> items, int back)
    : CAction(back ? "Nach hinten" : "Nach vorne"), elements(std::move(items)), toBack(back) {}

void COrderAction::Do(CFormElementPtrList& list) {
  list.GetAll(before);
  std::vector<CFormElement*> moved;
  std::vector<CFormElement*> others;
  for (CFormElement* e : before) {
    const bool isMoved = std::find(elements.begin(), elements.end(), e) != elements.end();
    (isMoved ? moved : others).push_back(e);
  }
  after.clear();
  const auto& first = toBack ? moved : others;
  const auto& second = toBack ? others : moved;
  after.insert(after.end(), first.begin(), first.end());
  after.insert(after.end(), second.begin(), second.end());
  list.SetAll(after);
}

void COrderAction::Undo(CFormElementPtrList& list) { list.SetAll(before); }
void COrderAction::Redo(CFormElementPtrList& list) { list.SetAll(after); }

// ---- page settings -------------------------------------------------------------------------------

COrientationAction::COrientationAction(bool p) : CAction(p ? "Hochformat" : "Querformat"), portrait(p) {}
void COrientationAction::Do(CFormElementPtrList& list) { list.portrait = portrait; }
void COrientationAction::Undo(CFormElementPtrList& list) { list.portrait = !portrait; }

CDuplexAction::CDuplexAction(int o, int n) : CAction("Doppelseitiger Druck"), oldMode(o), newMode(n) {}
void CDuplexAction::Do(CFormElementPtrList& list) { list.duplexMode = newMode; }
void CDuplexAction::Undo(CFormElementPtrList& list) { list.duplexMode = oldMode; }
