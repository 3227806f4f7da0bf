// The dialog "Bild": picture file, the bitmap's pixel size, the displayed size in page units and
// as percentages of the bitmap, and the helper-image flag. The displayed size and the percentages
// follow each other while the user types.
#pragma once

#include <QDialog>

#include "model/ElementDialogs.h"

class DialogChoosers;
class QCheckBox;
class QLineEdit;
class QPushButton;

class CFormImageDlg : public QDialog {
  Q_OBJECT
 public:
  CFormImageDlg(const ImageDialogValues& values, DialogChoosers& choosers, QWidget* parent = nullptr);
  const ImageDialogValues& values() const { return values_; }

  QLineEdit* fileField() const { return file_; }
  QPushButton* browseButton() const { return browse_; }
  QLineEdit* pixelWidthField() const { return pixelWidth_; }
  QLineEdit* pixelHeightField() const { return pixelHeight_; }
  QLineEdit* displayWidthField() const { return displayWidth_; }
  QLineEdit* displayHeightField() const { return displayHeight_; }
  QLineEdit* widthPercentField() const { return widthPercent_; }
  QLineEdit* heightPercentField() const { return heightPercent_; }
  QCheckBox* helperBox() const { return helper_; }

  void accept() override;

  // Percentages as the fields show them: two decimals with a decimal comma.
  static QString FormatPercent(double percent);
  // Reads a percentage leniently: the first ',' counts as '.', and whatever follows the number is
  // ignored; 0 when no number can be read.
  static double ParsePercent(const QString& text);

 private:
  void DisplayEdited();
  void PercentEdited();
  void ChooseFile();

  ImageDialogValues values_;
  DialogChoosers& choosers_;
  QLineEdit* file_ = nullptr;
  QPushButton* browse_ = nullptr;
  QLineEdit* pixelWidth_ = nullptr;
  QLineEdit* pixelHeight_ = nullptr;
  QLineEdit* displayWidth_ = nullptr;
  QLineEdit* displayHeight_ = nullptr;
  QLineEdit* widthPercent_ = nullptr;
  QLineEdit* heightPercent_ = nullptr;
  QCheckBox* helper_ = nullptr;
};
