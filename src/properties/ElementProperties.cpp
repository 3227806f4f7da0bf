// The property rows of every element type and how an edited row is written back. The row names
// are the contract between FillProperties and ApplyProperty: each element recognises exactly the
// names it produces.
#include "properties/ElementProperties.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "model/FormAlias.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "model/Fonts.h"
#include "placeholders/Catalogue.h"
#include "properties/ChoiceSets.h"
#include "properties/PropertyList.h"

int RoundHalfUp(double number) {
  const double r = std::floor(number + 0.5);
  if (std::isnan(r)) return 0;
  if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(r);
}

int RoundCoordinate(double number) {
  return std::clamp(RoundHalfUp(number), -kCoordinateLimit, kCoordinateLimit);
}

std::string ColumnPrefix(int columnIndex) {
  return kColumnRowPrefix + std::to_string(columnIndex + 1) + "/";
}

bool ParseColumnRow(std::string_view name, int& index, std::string_view& attribute) {
  const std::string_view prefix = kColumnRowPrefix;
  const std::size_t slash = name.find('/');
  if (name.substr(0, prefix.size()) != prefix || slash == std::string_view::npos || slash == 0)
    return false;
  attribute = name.substr(slash + 1);
  long long number = 0;
  bool digits = false;
  for (std::size_t i = prefix.size(); i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
    digits = true;
    number = std::min<long long>(number * 10 + (name[i] - '0'), INT_MAX);
  }
  index = digits && number >= 1 ? static_cast<int>(number - 1) : -1;
  return true;
}

namespace {

// ---- rows shared by texts and table columns ----------------------------------------------------

int ShownWeight(const LOGFONTA& font) { return font.lfWeight >= 600 ? 700 : 400; }

// "Ausrichtung", the four font rows and "Farbe", each name after `prefix`.
void AddStyleRows(PropertyList& list, const std::string& prefix, int alignment, const LOGFONTA& font,
                  COLORREF color) {
  list.Emplace<CComboProperty>(prefix + "Ausrichtung", alignment, AlignmentChoices());
  list.Emplace<CFontProperty>(prefix + "Schriftart", FaceName(font));
  list.Emplace<CNumericProperty>(prefix + kFontSizeRow, FontHeightToPoints(font.lfHeight));
  list.Emplace<CComboProperty>(prefix + "Schriftschnitt", ShownWeight(font), FontStyleChoices());
  list.Emplace<CComboProperty>(prefix + "Kursiv", font.lfItalic ? 1 : 0, YesNoChoices());
  list.Emplace<CColorProperty>(prefix + "Farbe", color);
}

// Writes one of the rows of AddStyleRows (name without prefix); false for any other name.
bool ApplyStyleRow(std::string_view name, double number, std::string_view text, int& alignment,
                   LOGFONTA& font, COLORREF& color) {
  if (name == "Ausrichtung") {
    alignment = RoundHalfUp(number);
  } else if (name == "Schriftart") {
    SetFaceName(font, text);  // cut to the 31 bytes the record holds
  } else if (name == kFontSizeRow) {
    if (number > 0) font.lfHeight = PointsToFontHeight(number);
  } else if (name == "Schriftschnitt") {
    font.lfWeight = RoundHalfUp(number);
  } else if (name == "Kursiv") {
    font.lfItalic = RoundHalfUp(number) != 0 ? 1 : 0;
  } else if (name == "Farbe") {
    color = static_cast<COLORREF>(RoundHalfUp(number));
  } else {
    return false;
  }
  return true;
}

// "X", "Y", "Breite", "Höhe" of the rectangular elements.
void AddRectRows(PropertyList& list, const CFormRectElement& e) {
  list.Emplace<CIntegerProperty>("X", e.x);
  list.Emplace<CIntegerProperty>("Y", e.y);
  list.Emplace<CIntegerProperty>("Breite", e.width);
  list.Emplace<CIntegerProperty>("Höhe", e.height);
}

bool ApplyRectRow(std::string_view name, double number, CFormRectElement& e) {
  int* target = name == "X"        ? &e.x
                : name == "Y"      ? &e.y
                : name == "Breite" ? &e.width
                : name == "Höhe"   ? &e.height
                                   : nullptr;
  if (!target) return false;
  *target = RoundCoordinate(number);
  return true;
}

bool IsYes(double number) { return RoundHalfUp(number) != 0; }

}  // namespace

// ---- the base element ---------------------------------------------------------------------------

PropertyList CFormElement::FillProperties() const { return {}; }

void CFormElement::ApplyProperty(std::string_view, double, std::string_view) {}

// ---- text ----------------------------------------------------------------------------------------

PropertyList CFormText::FillProperties() const {
  PropertyList list;
  list.Emplace<CStringProperty>("Text", text);
  list.Emplace<CIntegerProperty>("X", x);
  list.Emplace<CIntegerProperty>("Y", y);
  AddStyleRows(list, "", alignment, font, color);
  return list;
}

void CFormText::ApplyProperty(std::string_view name, double number, std::string_view value) {
  if (name == "Text")
    text = std::string(value);
  else if (name == "X")
    x = RoundCoordinate(number);
  else if (name == "Y")
    y = RoundCoordinate(number);
  else
    ApplyStyleRow(name, number, value, alignment, font, color);
}

// ---- line ----------------------------------------------------------------------------------------

PropertyList CFormLine::FillProperties() const {
  PropertyList list;
  list.Emplace<CIntegerProperty>("Von X", from.x);
  list.Emplace<CIntegerProperty>("Von Y", from.y);
  list.Emplace<CIntegerProperty>("Nach X", to.x);
  list.Emplace<CIntegerProperty>("Nach Y", to.y);
  list.Emplace<CColorProperty>("Farbe", color);
  return list;
}

void CFormLine::ApplyProperty(std::string_view name, double number, std::string_view) {
  if (name == "Von X")
    from.x = RoundCoordinate(number);
  else if (name == "Von Y")
    from.y = RoundCoordinate(number);
  else if (name == "Nach X")
    to.x = RoundCoordinate(number);
  else if (name == "Nach Y")
    to.y = RoundCoordinate(number);
  else if (name == "Farbe")
    color = static_cast<COLORREF>(RoundHalfUp(number));
}

// ---- image ---------------------------------------------------------------------------------------

PropertyList CFormImage::FillProperties() const {
  PropertyList list;
  AddRectRows(list, *this);
  list.Emplace<CFileProperty>("Datei", fileName, kImageFilter);
  list.Emplace<CComboProperty>("Hilfsbild (nicht drucken)", helper ? 1 : 0, YesNoChoices());
  return list;
}

void CFormImage::ApplyProperty(std::string_view name, double number, std::string_view text) {
  if (ApplyRectRow(name, number, *this)) return;
  if (name == "Hilfsbild (nicht drucken)") {
    helper = IsYes(number);
  } else if (name == "Datei") {
    if (text == fileName) return;
    const std::string oldName = fileName;
    const int oldWidth = width;
    const int oldHeight = height;
    fileName = std::string(text);
    if (!LoadImageFile()) {
      fileName = oldName;
      return;
    }
    // The element keeps its width and takes the new picture's aspect.
    width = oldWidth;
    const CSize pixels = PixelSize();
    height = pixels.cx != 0 ? RoundCoordinate(static_cast<double>(static_cast<long long>(oldWidth) *
                                                                  pixels.cy / pixels.cx))
                            : oldHeight;
  }
}

// ---- placeholder ---------------------------------------------------------------------------------

PropertyList CFormAlias::FillProperties() const {
  PropertyList list;
  AddRectRows(list, *this);
  return list;
}

void CFormAlias::ApplyProperty(std::string_view name, double number, std::string_view) {
  ApplyRectRow(name, number, *this);
}

// ---- table ---------------------------------------------------------------------------------------

namespace {
// The translations of the codes offered for table columns, in catalogue order.
std::vector<std::string> ColumnNameSuggestions() {
  std::vector<std::string> names;
  for (const CCode& c : placeholderCatalogue())
    if (c.flags & kCodeForColumns) names.push_back(c.translation);
  return names;
}
}  // namespace

PropertyList CFormTable::FillProperties() const {
  PropertyList list;
  AddRectRows(list, *this);
  list.Emplace<CComboProperty>("Rahmen", frame ? 1 : 0, YesNoChoices());
  list.Emplace<CComboProperty>("Zweifarbig", twoColour ? 1 : 0, YesNoChoices());
  long long sum = 0;
  for (const CFormTableEntry& c : columns) sum += c.widthPercent;
  list.Emplace<CIntegerProperty>(kColumnWidthSumRow,
                                 static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX)))
      .readOnly = true;
  const std::vector<std::string> suggestions = ColumnNameSuggestions();
  int index = 0;
  for (const CFormTableEntry& c : columns) {
    const std::string prefix = ColumnPrefix(index++);
    list.Emplace<CSuggestProperty>(prefix + "Name", c.name, suggestions);
    list.Emplace<CIntegerProperty>(prefix + "Breite (%)", c.widthPercent);
    AddStyleRows(list, prefix, c.alignment, c.font, c.color);
  }
  return list;
}

void CFormTable::ApplyProperty(std::string_view name, double number, std::string_view text) {
  int index = -1;
  std::string_view attribute;
  if (ParseColumnRow(name, index, attribute)) {
    CFormTableEntry* column = ColumnAt(index);
    if (!column) return;
    if (attribute == "Name")
      column->name = std::string(text);
    else if (attribute == "Breite (%)")
      column->widthPercent = std::clamp(RoundHalfUp(number), 0, 100);
    else
      ApplyStyleRow(attribute, number, text, column->alignment, column->font, column->color);
    maxFontHeight = ComputeMaxFontHeight();
    return;
  }
  if (ApplyRectRow(name, number, *this)) return;
  if (name == "Rahmen")
    frame = IsYes(number);
  else if (name == "Zweifarbig")
    twoColour = IsYes(number);
}
