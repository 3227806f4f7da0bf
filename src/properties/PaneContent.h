// What the property pane shows for the document's current selection, and how an edited value
// becomes a change of the layout. The pane widget binds this to its grid.
#pragma once

#include <string>
#include <string_view>

#include "properties/PropertyList.h"

class CFormElement;
class CFormElementPtrList;
class CReportDoc;

enum class PaneMode { layout, element, column };

struct PaneContent {
  PaneMode mode = PaneMode::layout;
  std::string caption;  // of the root group
  PropertyList rows;
};

// "Text", "Linie", "Bild", "Tabelle", "Platzhalter", or "Element" for any other class.
std::string GetElementTypeName(const CFormElement& element);

// The page rows shown while nothing is selected: "Format", "Doppelseitiger Druck", "Hilfsbilder".
PropertyList FillLayoutProperties(const CFormElementPtrList& layout);
// Orientation and duplex mode change through the document's undoable setters; the helper-image
// switch is a view setting.
void ApplyLayoutProperty(CReportDoc& doc, std::string_view name, double number);

// Layout mode without a selection; column mode when the document also holds a column selection
// of a table (the rows common to the selected columns); otherwise the rows common to all selected
// elements.
PaneContent CollectPaneContent(const CReportDoc& doc);

// The caption of a sub-group: its name, followed by " (value)" when the group has a "Name" row
// with a single non-empty value ("Spalte 2 ([Name])").
std::string SubGroupCaption(const PropertyList& rows, const std::string& group);

// Reads what the user typed into a row that is not a colour row: trims white space, reduces the
// text to what a layout can store and checks it against the row's kind. Numbers accept a decimal
// comma; integers must fit 32 bits; combo texts must name a choice. Returns false for an entry
// that is to be put back.
bool ReadRowValue(const CProperty& row, std::string_view typed, double& number, std::string& text);

// Writes an edit of `row` (a row of content collected in `mode`) into the document as one undo
// step named "Eigenschaft " + row name; layout rows go to the page settings. Returns whether the
// layout changed: an edit that changes nothing records no step.
bool ApplyPaneEdit(CReportDoc& doc, PaneMode mode, const CProperty& row, double number,
                   const std::string& text);
