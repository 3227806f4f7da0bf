#include "properties/Property.h"

#include <charconv>
#include <cmath>

namespace {
template <class T>
std::unique_ptr<CProperty> CopyOf(const T& row) {
  return std::unique_ptr<CProperty>(new T(row));
}

template <class T>
const T* As(const CProperty& row) {
  return dynamic_cast<const T*>(&row);
}
}  // namespace

// ---- numeric -------------------------------------------------------------------------------------

std::unique_ptr<CProperty> CNumericProperty::Clone() const { return CopyOf(*this); }

std::string CNumericProperty::GetText() const {
  // to_chars keeps the '.' whatever locale the application runs in.
  char buffer[400];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  if (ec != std::errc()) return {};
  std::string text(buffer, end);
  if (text.find('.') != std::string::npos) {
    while (!text.empty() && text.back() == '0') text.pop_back();
    while (!text.empty() && text.back() == '.') text.pop_back();
  }
  return text;
}

bool CNumericProperty::HasSameValue(const CProperty& other) const {
  const auto* o = As<CNumericProperty>(other);
  return o && std::fabs(value - o->value) < 1e-9;
}

// ---- integer -------------------------------------------------------------------------------------

std::unique_ptr<CProperty> CIntegerProperty::Clone() const { return CopyOf(*this); }

std::string CIntegerProperty::GetText() const { return std::to_string(value); }

bool CIntegerProperty::HasSameValue(const CProperty& other) const {
  const auto* o = As<CIntegerProperty>(other);
  return o && value == o->value;
}

// ---- colour --------------------------------------------------------------------------------------

std::unique_ptr<CProperty> CColorProperty::Clone() const { return CopyOf(*this); }

std::string CColorProperty::GetText() const {
  return std::to_string(GetRValue(value)) + "; " + std::to_string(GetGValue(value)) + "; " +
         std::to_string(GetBValue(value));
}

bool CColorProperty::HasSameValue(const CProperty& other) const {
  const auto* o = As<CColorProperty>(other);
  return o && value == o->value;
}

// ---- combo ---------------------------------------------------------------------------------------

std::unique_ptr<CProperty> CComboProperty::Clone() const { return CopyOf(*this); }

std::string CComboProperty::GetText() const {
  for (const ComboChoice& c : choices)
    if (c.value == value) return c.text;
  return {};
}

bool CComboProperty::IsSameKind(const CProperty& other) const {
  const auto* o = As<CComboProperty>(other);
  return CProperty::IsSameKind(other) && o && choices == o->choices;
}

bool CComboProperty::HasSameValue(const CProperty& other) const {
  const auto* o = As<CComboProperty>(other);
  return o && value == o->value;
}

bool CComboProperty::FindChoiceValue(std::string_view text, int& found) const {
  for (const ComboChoice& c : choices) {
    if (c.text == text) {
      found = c.value;
      return true;
    }
  }
  return false;
}

// ---- string family -------------------------------------------------------------------------------

std::unique_ptr<CProperty> CStringProperty::Clone() const { return CopyOf(*this); }

bool CStringProperty::HasSameValue(const CProperty& other) const {
  const auto* o = As<CStringProperty>(other);
  return o && value == o->value;
}

std::unique_ptr<CProperty> CSuggestProperty::Clone() const { return CopyOf(*this); }
std::unique_ptr<CProperty> CFontProperty::Clone() const { return CopyOf(*this); }
std::unique_ptr<CProperty> CFileProperty::Clone() const { return CopyOf(*this); }
