// The dialog "Übersetzungen": every placeholder code with the user's translation and description.
// Edits go into the catalogue as the user types; OK also writes the user's translation table.
#pragma once

#include <QDialog>

class QLineEdit;
class QTreeWidget;

// Where the list's column widths are remembered.
inline constexpr const char* kTranslationDialogSection = "Codes";

class CCodeTranslations : public QDialog {
  Q_OBJECT
 public:
  explicit CCodeTranslations(QWidget* parent = nullptr);

  QTreeWidget* codeList() const { return list_; }
  QLineEdit* codeField() const { return code_; }
  QLineEdit* translationField() const { return translation_; }
  QLineEdit* descriptionField() const { return description_; }

  // Stores the column widths, saves the table and closes; a failed save is reported, and the
  // translations then hold until the program ends.
  void accept() override;

 private:
  void RowSelected();
  void FieldEdited();
  int SelectedIndex() const;

  bool filling_ = false;
  QTreeWidget* list_ = nullptr;
  QLineEdit* code_ = nullptr;
  QLineEdit* translation_ = nullptr;
  QLineEdit* description_ = nullptr;
};
