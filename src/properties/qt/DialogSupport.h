// What the element dialogs share: the standard colour, font and file choosers (behind one object
// so tests can answer them), checking of whole-number fields with the usual German messages, the
// alignment names and the text conversions at the widget boundary.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LogFont.h"
#include "platform/Types.h"

class QComboBox;
class QLineEdit;
class QWidget;

class DialogChoosers {
 public:
  virtual ~DialogChoosers() = default;
  // The colour dialog opened on `color`; true and the new colour on OK.
  virtual bool ChooseColor(QWidget* parent, COLORREF& color);
  // The font dialog opened on `font` at `points`; on OK face, weight, italic, underline and
  // strike-out go into `font` (its height is left alone) and the size into `points`, in steps of a
  // tenth of a point.
  virtual bool ChooseFont(QWidget* parent, LOGFONTA& font, double& points);
  // The open dialog for pictures, starting at `current`; empty when cancelled.
  virtual QString ChooseImageFile(QWidget* parent, const QString& current);
};

// The chooser set the editor uses.
DialogChoosers& StandardChoosers();

// Filter of the picture file chooser.
extern const char* const kImageFileFilter;

// UTF-8 to the widget and back; what comes back is reduced to what a layout file can hold.
QString ToQ(std::string_view utf8);
std::string FromQ(const QString& text);

// A whole number as the dialogs accept it (spaces around, an optional sign); none otherwise.
std::optional<int> ParseWholeNumber(const QString& text);

// Reads a whole-number field. When the text is not a whole number, or lies outside min..max
// when `ranged`, shows "Geben Sie eine ganze Zahl ein." or "Geben Sie eine ganze Zahl zwischen
// min und max ein.", puts the focus into the field with its text selected and returns none.
std::optional<int> CheckWholeNumber(QLineEdit* field, int min = 0, int max = 0, bool ranged = false);

// "links", "zentriert", "rechts" for the alignments 0, 1, 2; anything else shows as left in
// lists and selects nothing in the drop-down.
QString AlignmentName(int alignment);
void FillAlignmentList(QComboBox* list, int alignment);

// "Arial, 10,5 pt, Fett, Kursiv": face, point size with a decimal comma (no ",0"), bold when the
// weight is exactly 700, italic.
QString FontSummary(const LOGFONTA& font, double points);
