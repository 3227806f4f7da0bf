#include "properties/qt/DialogSupport.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <cmath>
#include <limits>

#include "platform/Services.h"
#include "platform/TextCodec.h"

const char* const kImageFileFilter =
    "Bilder (*.bmp *.jpg *.jpeg *.png *.gif);;Windows Bitmap (*.bmp);;JPEG (*.jpg *.jpeg);;"
    "PNG (*.png);;GIF (*.gif)";

bool DialogChoosers::ChooseColor(QWidget* parent, COLORREF& color) {
  const QColor initial(GetRValue(color), GetGValue(color), GetBValue(color));
  const QColor chosen = QColorDialog::getColor(initial, parent, "Farbe");
  if (!chosen.isValid()) return false;
  color = RGB(chosen.red(), chosen.green(), chosen.blue());
  return true;
}

bool DialogChoosers::ChooseFont(QWidget* parent, LOGFONTA& font, double& points) {
  QFont initial(ToQ(FaceName(font).empty() ? "Arial" : FaceName(font)));
  initial.setPointSizeF(points > 0 ? points : 10.0);
  initial.setWeight(static_cast<QFont::Weight>(font.lfWeight <= 0 ? 400 : std::min(font.lfWeight, 1000)));
  initial.setItalic(font.lfItalic != 0);
  initial.setUnderline(font.lfUnderline != 0);
  initial.setStrikeOut(font.lfStrikeOut != 0);
  QFontDialog dialog(initial, parent);
  dialog.setWindowTitle("Schriftart");
  // The chooser shows a Windows face such as Arial as the face that stands in for it, and sizes
  // in whole points. What the user leaves as shown keeps the element's own face and size, so
  // opening the chooser and confirming changes nothing.
  const QFont shown = dialog.currentFont();
  if (dialog.exec() != QDialog::Accepted) return false;
  const QFont chosen = dialog.selectedFont();
  if (chosen.family() != shown.family()) SetFaceName(font, FromQ(chosen.family()));
  font.lfWeight = chosen.weight();
  font.lfItalic = chosen.italic() ? 1 : 0;
  font.lfUnderline = chosen.underline() ? 1 : 0;
  font.lfStrikeOut = chosen.strikeOut() ? 1 : 0;
  if (chosen.pointSizeF() > 0 && chosen.pointSizeF() != shown.pointSizeF())
    points = std::round(chosen.pointSizeF() * 10) / 10;
  return true;
}

QString DialogChoosers::ChooseImageFile(QWidget* parent, const QString& current) {
  return QFileDialog::getOpenFileName(parent, "Öffnen", current, kImageFileFilter);
}

DialogChoosers& StandardChoosers() {
  static DialogChoosers choosers;  // stateless
  return choosers;
}

QString ToQ(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQ(const QString& text) { return codec::ReduceToCp1252(text.toStdString()); }

std::optional<int> ParseWholeNumber(const QString& text) {
  bool ok = false;
  const qlonglong v = text.trimmed().toLongLong(&ok, 10);
  if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(v);
}

std::optional<int> CheckWholeNumber(QLineEdit* field, int min, int max, bool ranged) {
  const std::optional<int> v = ParseWholeNumber(field->text());
  if (v && (!ranged || (*v >= min && *v <= max))) return v;
  const std::string text = ranged ? "Geben Sie eine ganze Zahl zwischen " + std::to_string(min) +
                                        " und " + std::to_string(max) + " ein."
                                  : std::string("Geben Sie eine ganze Zahl ein.");
  services().Messages().Show(text, MessageIcon::exclamation, MessageButtons::ok);
  field->setFocus();
  field->selectAll();
  return std::nullopt;
}

QString AlignmentName(int alignment) {
  switch (alignment) {
    case 1: return "zentriert";
    case 2: return "rechts";
    default: return "links";
  }
}

void FillAlignmentList(QComboBox* list, int alignment) {
  list->clear();
  for (int a = 0; a < 3; ++a) list->addItem(AlignmentName(a));
  list->setCurrentIndex(alignment >= 0 && alignment <= 2 ? alignment : -1);
}

QString FontSummary(const LOGFONTA& font, double points) {
  // QString::number ignores the process locale, so the '.' below is always the decimal point.
  QString sizeText = ", " + QString::number(points, 'f', 1) + " pt";
  sizeText.replace(".0 pt", " pt");
  sizeText.replace('.', ',');
  QString summary = ToQ(FaceName(font)) + sizeText;
  if (font.lfWeight == 700) summary += ", Fett";
  if (font.lfItalic) summary += ", Kursiv";
  return summary;
}
