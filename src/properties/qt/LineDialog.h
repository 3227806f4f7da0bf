// The dialog "Linie": start and end point and the colour of a line.
#pragma once

#include <QDialog>

#include "model/ElementDialogs.h"

class DialogChoosers;
class QLineEdit;
class QPushButton;

class CFormLineDlg : public QDialog {
  Q_OBJECT
 public:
  CFormLineDlg(const LineDialogValues& values, DialogChoosers& choosers, QWidget* parent = nullptr);
  // The values as confirmed; meaningful after OK.
  const LineDialogValues& values() const { return values_; }

  QLineEdit* startX() const { return fields_[0]; }
  QLineEdit* startY() const { return fields_[1]; }
  QLineEdit* endX() const { return fields_[2]; }
  QLineEdit* endY() const { return fields_[3]; }
  QPushButton* colorButton() const { return colorButton_; }

  // OK takes the fields only when every one holds a whole number.
  void accept() override;

 private:
  LineDialogValues values_;
  DialogChoosers& choosers_;
  QLineEdit* fields_[4] = {};
  QPushButton* colorButton_ = nullptr;
};
