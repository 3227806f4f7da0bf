#include "properties/PaneContent.h"

#include <charconv>
#include <cmath>

#include "document/Actions.h"
#include "document/ReportDoc.h"
#include "model/FileFormat.h"
#include "model/FormAlias.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "platform/Archive.h"
#include "platform/TextCodec.h"
#include "properties/ChoiceSets.h"
#include "properties/ElementProperties.h"

std::string GetElementTypeName(const CFormElement& e) {
  if (e.Is<CFormText>()) return "Text";
  if (e.Is<CFormLine>()) return "Linie";
  if (e.Is<CFormImage>()) return "Bild";
  if (e.Is<CFormTable>()) return "Tabelle";
  if (e.Is<CFormAlias>()) return "Platzhalter";
  return "Element";
}

// ---- the page rows -------------------------------------------------------------------------------

PropertyList FillLayoutProperties(const CFormElementPtrList& layout) {
  PropertyList list;
  list.Emplace<CComboProperty>("Format", layout.portrait ? 1 : 0, OrientationChoices());
  list.Emplace<CComboProperty>("Doppelseitiger Druck", layout.duplexMode, DuplexChoices());
  list.Emplace<CComboProperty>("Hilfsbilder", layout.showHelperImages ? 1 : 0, OnOffChoices());
  return list;
}

void ApplyLayoutProperty(CReportDoc& doc, std::string_view name, double number) {
  if (name == "Format") {
    doc.SetOrientation(number != 0);
  } else if (name == "Doppelseitiger Druck") {
    // Only the modes the printer knows; the drop-down offers nothing else.
    if (std::isfinite(number) && number >= 0 && number < 4) doc.SetDuplexMode(static_cast<int>(number));
  } else if (name == "Hilfsbilder") {
    doc.SetHelperImagesVisible(number != 0);
  }
}

// ---- collecting the rows -------------------------------------------------------------------------

namespace {
// The rows of one column with the "Spalte n/" prefix taken off their names.
PropertyList ColumnRows(const PropertyList& all, int column) {
  const std::string prefix = ColumnPrefix(column);
  PropertyList rows;
  for (const auto& row : all) {
    if (row->name.compare(0, prefix.size(), prefix) != 0) continue;
    std::unique_ptr<CProperty> copy = row->Clone();
    copy->name = row->name.substr(prefix.size());
    rows.Add(std::move(copy));
  }
  return rows;
}
}  // namespace

PaneContent CollectPaneContent(const CReportDoc& doc) {
  PaneContent content;
  std::vector<CFormElement*> selected;
  doc.elements.GetSelected(selected);
  if (selected.empty()) {
    content.mode = PaneMode::layout;
    content.caption = "Layout";
    content.rows = FillLayoutProperties(doc.elements);
  } else if (doc.columnTable && !doc.selectedColumns.empty()) {
    content.mode = PaneMode::column;
    const PropertyList all = doc.columnTable->FillProperties();
    bool first = true;
    for (int c : doc.selectedColumns) {
      const PropertyList rows = ColumnRows(all, c);
      if (first)
        content.rows.AssignRows(rows);
      else
        content.rows.IntersectRows(rows);
      first = false;
    }
    if (const CProperty* sum = all.FindRow(kColumnWidthSumRow)) content.rows.Add(sum->Clone());
    content.caption = doc.selectedColumns.size() == 1
                          ? "Tabelle, Spalte " + std::to_string(doc.selectedColumns.front() + 1)
                          : "Tabelle, " + std::to_string(doc.selectedColumns.size()) + " Spalten";
  } else {
    content.mode = PaneMode::element;
    content.rows = selected.front()->FillProperties();
    for (std::size_t i = 1; i < selected.size(); ++i) content.rows.IntersectRows(selected[i]->FillProperties());
    content.caption = selected.size() == 1 ? GetElementTypeName(*selected.front())
                                           : std::to_string(selected.size()) + " Elemente";
  }
  return content;
}

std::string SubGroupCaption(const PropertyList& rows, const std::string& group) {
  const CProperty* name = rows.FindRow(group + "/Name");
  if (name && !name->mixed) {
    const std::string text = name->GetText();
    if (!text.empty()) return group + " (" + text + ")";
  }
  return group;
}

// ---- reading typed values ------------------------------------------------------------------------

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A single leading '+' is allowed as in the C library's conversions; the converters below do not
// take it themselves.
std::string_view SkipPlus(std::string_view s) {
  if (s.size() > 1 && s.front() == '+' && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
  return s;
}

bool ParseNumber(std::string text, double& number) {
  for (char& c : text)
    if (c == ',') c = '.';
  const std::string_view s = SkipPlus(text);
  if (s.empty()) return false;
  double value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  // Not-a-number and infinity have no place in any attribute.
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return false;
  number = value;
  return true;
}

bool ParseInteger(std::string_view text, double& number) {
  const std::string_view s = SkipPlus(text);
  if (s.empty()) return false;
  int value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, 10);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  number = value;
  return true;
}
}  // namespace

bool ReadRowValue(const CProperty& row, std::string_view typed, double& number, std::string& text) {
  number = 0;
  text = codec::ReduceToCp1252(Trim(typed));
  switch (row.type) {
    case PropertyType::Numeric:
      return ParseNumber(text, number);
    case PropertyType::Integer:
      return ParseInteger(text, number);
    case PropertyType::Combo: {
      const auto* combo = dynamic_cast<const CComboProperty*>(&row);
      int value = 0;
      if (!combo || !combo->FindChoiceValue(text, value)) return false;
      number = value;
      return true;
    }
    case PropertyType::Color:
      return false;  // colours come from the colour picker, not from text
    case PropertyType::String:
    case PropertyType::Font:
    case PropertyType::File:
      return true;
  }
  return false;
}

// ---- writing edits -------------------------------------------------------------------------------

namespace {
// The element's record as a layout file holds it: equal bytes, equal element.
std::vector<std::uint8_t> StoredBytes(CFormElement& element) {
  MemoryStream stream;
  Archive ar(stream, Archive::Mode::store);
  ar.formatVersion = kVersionNewest;
  element.Serialize(ar);
  return stream.TakeData();
}

bool ApplyToClones(CReportDoc& doc, std::vector<CFormElement*> elements,
                   const std::vector<std::string>& names, double number, const std::string& text,
                   const std::string& rowName) {
  std::vector<std::unique_ptr<CFormElement>> after;
  bool changed = false;
  for (CFormElement* e : elements) {
    std::unique_ptr<CFormElement> clone = e->Clone();
    for (const std::string& name : names) clone->ApplyProperty(name, number, text);
    changed = changed || StoredBytes(*clone) != StoredBytes(*e);
    after.push_back(std::move(clone));
  }
  if (!changed) return false;
  doc.DoAction(std::make_unique<CChangeAction>("Eigenschaft " + rowName, std::move(elements), std::move(after)),
               false);
  return true;
}
}  // namespace

bool ApplyPaneEdit(CReportDoc& doc, PaneMode mode, const CProperty& row, double number,
                   const std::string& text) {
  switch (mode) {
    case PaneMode::layout: {
      const CFormElementPtrList& l = doc.elements;
      const bool portrait = l.portrait, helpers = l.showHelperImages;
      const int duplex = l.duplexMode;
      ApplyLayoutProperty(doc, row.name, number);
      return portrait != l.portrait || helpers != l.showHelperImages || duplex != l.duplexMode;
    }
    case PaneMode::column: {
      CFormTable* table = doc.columnTable;
      if (row.readOnly || !table || doc.selectedColumns.empty() || !doc.elements.Contains(table)) return false;
      std::vector<std::string> names;
      for (int c : doc.selectedColumns) names.push_back(ColumnPrefix(c) + row.name);
      return ApplyToClones(doc, {table}, names, number, text, row.name);
    }
    case PaneMode::element: {
      std::vector<CFormElement*> selected;
      doc.elements.GetSelected(selected);
      if (selected.empty() || row.readOnly) return false;
      return ApplyToClones(doc, std::move(selected), {row.name}, number, text, row.name);
    }
  }
  return false;
}
