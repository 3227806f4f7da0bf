// The dialog "Tabelle": the columns of a table (name, width, alignment, font, colour; new, delete
// and reorder) and the table's two-colour and frame flags. It edits a working copy of the table
// directly, so cancelling throws all column edits away at once.
#pragma once

#include <QDialog>

class CFormTable;
class CFormTableEntry;
class DialogChoosers;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Where the list's column widths are remembered.
inline constexpr const char* kTableDialogSection = "Tabelle";

class CFormTableDlg : public QDialog {
  Q_OBJECT
 public:
  CFormTableDlg(CFormTable& workingCopy, DialogChoosers& choosers, QWidget* parent = nullptr);

  QTreeWidget* columnList() const { return list_; }
  QPushButton* newButton() const { return newButton_; }
  QPushButton* deleteButton() const { return deleteButton_; }
  QPushButton* forwardButton() const { return forwardButton_; }
  QPushButton* backButton() const { return backButton_; }
  QComboBox* nameList() const { return name_; }
  QPlainTextEdit* descriptionField() const { return description_; }
  QLineEdit* widthField() const { return width_; }
  QComboBox* alignmentList() const { return alignment_; }
  QPushButton* fontButton() const { return fontButton_; }
  QPushButton* colorButton() const { return colorButton_; }
  QCheckBox* twoColourBox() const { return twoColour_; }
  QCheckBox* frameBox() const { return frame_; }

  void accept() override;

 private:
  int SelectedRow() const;
  CFormTableEntry* SelectedColumn();
  void FillColumnList();
  void WriteRow(int row);
  void SelectRow(int row);
  void UpdateColumnButtons();
  void RowSelected();
  void FieldsChanged();
  void ShowDescription();
  void NewColumn();
  void DeleteColumn();
  void MoveColumn(int step);
  void ChooseFont();
  void ChooseColor();

  CFormTable& table_;
  DialogChoosers& choosers_;
  bool filling_ = false;  // fields are being filled from a column: nothing is written back
  QTreeWidget* list_ = nullptr;
  QPushButton* newButton_ = nullptr;
  QPushButton* deleteButton_ = nullptr;
  QPushButton* forwardButton_ = nullptr;
  QPushButton* backButton_ = nullptr;
  QComboBox* name_ = nullptr;
  QPlainTextEdit* description_ = nullptr;
  QLineEdit* width_ = nullptr;
  QComboBox* alignment_ = nullptr;
  QPushButton* fontButton_ = nullptr;
  QPushButton* colorButton_ = nullptr;
  QCheckBox* twoColour_ = nullptr;
  QCheckBox* frame_ = nullptr;
};
