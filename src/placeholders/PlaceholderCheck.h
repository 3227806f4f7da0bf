// Finds placeholder codes that the reporting side will not know: a misspelt "[Nmae]" or "[Lauf41]"
// would print literally on the results list, so the editor marks them and `veltrok-cli check`
// lists them before the layout goes to the regatta.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CFormElement;
class CFormElementPtrList;

// One unknown bracketed token in one text.
struct PlaceholderFinding {
  std::size_t offset = 0;   // byte offset of the '[' in the (UTF-8) text
  std::string token;        // brackets included
  std::string suggestion;   // the catalogue code meant most likely; empty when none is close
  friend bool operator==(const PlaceholderFinding&, const PlaceholderFinding&) = default;
};

// The unknown tokens of one text or column template, in text order. A text that as a whole is a
// code or the translation of one is clean: it is stored as the code. Tokens with white space
// inside, empty ones and ones longer than 40 characters are ordinary text.
std::vector<PlaceholderFinding> FindUnknownPlaceholders(std::string_view text);

// The catalogue code nearest to an unknown token, when exactly one is close enough to be the
// probable meaning; empty otherwise.
std::string SuggestPlaceholder(std::string_view token);

// Findings of one element: its text, or each table column's template (column counts from 1;
// 0 for a text).
struct ElementFinding {
  int column = 0;
  PlaceholderFinding finding;
};
std::vector<ElementFinding> CheckElementPlaceholders(const CFormElement& element);

// Findings of a whole layout, elements numbered from the bottom of the stacking order from 1 (as
// `veltrok-cli info` numbers them).
struct LayoutFinding {
  int element = 0;
  std::string className;
  int column = 0;
  PlaceholderFinding finding;
};
std::vector<LayoutFinding> CheckLayoutPlaceholders(const CFormElementPtrList& list);

// "Element 3 (CFormText): [Nmae] – vielleicht [Name]" (with ", Spalte 2" after the class for a
// table column).
std::string DescribeFinding(const LayoutFinding& finding);
