// An ordered list of owned property rows; the order is the order the grid shows.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "properties/Property.h"

class PropertyList {
 public:
  PropertyList() = default;
  PropertyList(PropertyList&&) noexcept = default;
  PropertyList& operator=(PropertyList&&) noexcept = default;
  PropertyList(const PropertyList&) = delete;
  PropertyList& operator=(const PropertyList&) = delete;

  // Appends the row and returns it, so that a producer can adjust it (read-only rows).
  template <class T>
  T& Add(std::unique_ptr<T> row) {
    T& added = *row;
    rows_.push_back(std::move(row));
    return added;
  }
  template <class T, class... Args>
  T& Emplace(Args&&... args) {
    return Add(std::make_unique<T>(std::forward<Args>(args)...));
  }

  // Replaces the rows by clones of those of `other`.
  void AssignRows(const PropertyList& other);
  // Keeps only the rows that `other` has under the same name and of the same kind, in this
  // list's order and with its values; rows whose value differs from `other`'s become mixed.
  void IntersectRows(const PropertyList& other);
  void ClearRows() { rows_.clear(); }
  // The first row with exactly this name, or null.
  CProperty* FindRow(std::string_view name) const;

  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  CProperty& operator[](std::size_t i) const { return *rows_[i]; }
  // The row at `i`, or null when there is none.
  CProperty* At(std::size_t i) const { return i < rows_.size() ? rows_[i].get() : nullptr; }
  auto begin() const { return rows_.begin(); }
  auto end() const { return rows_.end(); }

 private:
  std::vector<std::unique_ptr<CProperty>> rows_;
};
