// The rows of the property pane: one named, typed value each. Elements produce them, the pane
// merges them for multi-selections and shows them in its grid.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

// The kind of a row; the codes are fixed.
enum class PropertyType : int {
  Numeric = 0,
  Integer = 1,
  String = 2,
  Color = 3,
  Font = 4,
  File = 5,
  Combo = 6,
};

// One entry of a fixed drop-down list.
struct ComboChoice {
  std::string text;
  int value = 0;
  friend bool operator==(const ComboChoice&, const ComboChoice&) = default;
};

class CProperty {
 public:
  CProperty(std::string name, PropertyType type) : name(std::move(name)), type(type) {}
  virtual ~CProperty() = default;

  virtual std::unique_ptr<CProperty> Clone() const = 0;
  // The value as the grid shows it.
  virtual std::string GetText() const = 0;
  // The value as a number; 0 for the rows that hold a string.
  virtual double GetNumber() const { return 0.0; }
  // Whether `other` can be merged with this row in a multi-selection.
  virtual bool IsSameKind(const CProperty& other) const { return type == other.type; }
  virtual bool HasSameValue(const CProperty& other) const = 0;

  std::string name;  // "Group/Label" puts the row into a sub-group of the grid
  PropertyType type;
  bool mixed = false;     // the selected elements disagree; the row shows no value
  bool readOnly = false;  // shown disabled

 protected:
  CProperty(const CProperty&) = default;
  CProperty& operator=(const CProperty&) = default;
};

class CNumericProperty : public CProperty {
 public:
  CNumericProperty(std::string name, double value)
      : CProperty(std::move(name), PropertyType::Numeric), value(value) {}
  std::unique_ptr<CProperty> Clone() const override;
  // Two decimals with '.', trailing zeros and then a trailing point dropped: 12.5, 10, 0.
  std::string GetText() const override;
  double GetNumber() const override { return value; }
  bool HasSameValue(const CProperty& other) const override;

  double value;
};

class CIntegerProperty : public CProperty {
 public:
  CIntegerProperty(std::string name, int value)
      : CProperty(std::move(name), PropertyType::Integer), value(value) {}
  std::unique_ptr<CProperty> Clone() const override;
  std::string GetText() const override;
  double GetNumber() const override { return value; }
  bool HasSameValue(const CProperty& other) const override;

  int value;
};

class CColorProperty : public CProperty {
 public:
  CColorProperty(std::string name, COLORREF value)
      : CProperty(std::move(name), PropertyType::Color), value(value) {}
  std::unique_ptr<CProperty> Clone() const override;
  // "red; green; blue"
  std::string GetText() const override;
  double GetNumber() const override { return static_cast<double>(value); }
  bool HasSameValue(const CProperty& other) const override;

  COLORREF value;
};

class CComboProperty : public CProperty {
 public:
  CComboProperty(std::string name, int value, std::vector<ComboChoice> choices)
      : CProperty(std::move(name), PropertyType::Combo), value(value), choices(std::move(choices)) {}
  std::unique_ptr<CProperty> Clone() const override;
  // The text of the first choice with the value; empty when none has it.
  std::string GetText() const override;
  double GetNumber() const override { return value; }
  // Same kind only with the same choices in the same order.
  bool IsSameKind(const CProperty& other) const override;
  bool HasSameValue(const CProperty& other) const override;
  // The value of the first choice whose text is exactly `text`.
  bool FindChoiceValue(std::string_view text, int& found) const;

  int value;
  std::vector<ComboChoice> choices;
};

class CStringProperty : public CProperty {
 public:
  CStringProperty(std::string name, std::string value)
      : CStringProperty(std::move(name), PropertyType::String, std::move(value)) {}
  std::unique_ptr<CProperty> Clone() const override;
  std::string GetText() const override { return value; }
  bool HasSameValue(const CProperty& other) const override;

  std::string value;

 protected:
  CStringProperty(std::string name, PropertyType type, std::string value)
      : CProperty(std::move(name), type), value(std::move(value)) {}
};

// A free text with proposals in its drop-down.
class CSuggestProperty : public CStringProperty {
 public:
  CSuggestProperty(std::string name, std::string value, std::vector<std::string> suggestions)
      : CStringProperty(std::move(name), std::move(value)), suggestions(std::move(suggestions)) {}
  std::unique_ptr<CProperty> Clone() const override;

  std::vector<std::string> suggestions;
};

// A font face name; the grid offers the installed fonts.
class CFontProperty : public CStringProperty {
 public:
  CFontProperty(std::string name, std::string value)
      : CStringProperty(std::move(name), PropertyType::Font, std::move(value)) {}
  std::unique_ptr<CProperty> Clone() const override;
};

// A file path chosen with an open dialog.
class CFileProperty : public CStringProperty {
 public:
  CFileProperty(std::string name, std::string value, std::string filter)
      : CStringProperty(std::move(name), PropertyType::File, std::move(value)), filter(std::move(filter)) {}
  std::unique_ptr<CProperty> Clone() const override;

  // Pairs of description and patterns, each part ended by '|', the whole ended by a second '|'.
  std::string filter;
};
