#include "properties/PropertyList.h"

void PropertyList::AssignRows(const PropertyList& other) {
  if (&other == this) return;
  rows_.clear();
  for (const auto& row : other.rows_) rows_.push_back(row->Clone());
}

void PropertyList::IntersectRows(const PropertyList& other) {
  if (&other == this) return;  // every row matches itself
  std::vector<std::unique_ptr<CProperty>> kept;
  for (auto& row : rows_) {
    const CProperty* namesake = other.FindRow(row->name);
    if (!namesake || !row->IsSameKind(*namesake)) continue;
    if (!row->HasSameValue(*namesake)) row->mixed = true;
    kept.push_back(std::move(row));
  }
  rows_ = std::move(kept);
}

CProperty* PropertyList::FindRow(std::string_view name) const {
  for (const auto& row : rows_)
    if (row->name == name) return row.get();
  return nullptr;
}
