// The dialog "Text": the text, its font (shown as a summary), alignment and colour, and the list
// of special texts, the placeholders offered for texts with their descriptions; double-clicking
// one puts its translation into the text.
#pragma once

#include <QDialog>

#include "model/ElementDialogs.h"

class DialogChoosers;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CFormTextDlg : public QDialog {
  Q_OBJECT
 public:
  CFormTextDlg(const TextDialogValues& values, DialogChoosers& choosers, QWidget* parent = nullptr);
  const TextDialogValues& values() const { return values_; }

  QLineEdit* textField() const { return text_; }
  QLineEdit* fontSummaryField() const { return summary_; }
  QPushButton* fontButton() const { return fontButton_; }
  QComboBox* alignmentList() const { return alignment_; }
  QPushButton* colorButton() const { return colorButton_; }
  QTreeWidget* specialTexts() const { return list_; }

  void accept() override;

 private:
  void UpdateFontSummary();
  void ChooseFont();
  void TakeSpecialText(QTreeWidgetItem* item);

  TextDialogValues values_;
  DialogChoosers& choosers_;
  QString shownText_;  // the text as first shown; unchanged, the element keeps its own
  QLineEdit* text_ = nullptr;
  QLineEdit* summary_ = nullptr;
  QPushButton* fontButton_ = nullptr;
  QComboBox* alignment_ = nullptr;
  QPushButton* colorButton_ = nullptr;
  QTreeWidget* list_ = nullptr;
};
