#include "properties/qt/QtElementDialogs.h"

#include "properties/qt/DialogSupport.h"
#include "properties/qt/ImageDialog.h"
#include "properties/qt/LineDialog.h"
#include "properties/qt/TableDialog.h"
#include "properties/qt/TextDialog.h"

namespace {

// Runs a dialog; on OK its values replace the caller's.
template <class Dialog, class Values>
bool Run(Values& values, DialogChoosers& choosers, QWidget* parent) {
  Dialog dialog(values, choosers, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  values = dialog.values();
  return true;
}

}  // namespace

QtElementDialogs::QtElementDialogs(DialogChoosers* choosers)
    : choosers_(choosers ? *choosers : StandardChoosers()) {}

bool QtElementDialogs::RunTextDialog(TextDialogValues& values) {
  return Run<CFormTextDlg>(values, choosers_, parent_);
}

bool QtElementDialogs::RunLineDialog(LineDialogValues& values) {
  return Run<CFormLineDlg>(values, choosers_, parent_);
}

bool QtElementDialogs::RunImageDialog(ImageDialogValues& values) {
  return Run<CFormImageDlg>(values, choosers_, parent_);
}

bool QtElementDialogs::RunTableDialog(CFormTable& workingCopy) {
  CFormTableDlg dialog(workingCopy, choosers_, parent_);
  return dialog.exec() == QDialog::Accepted;
}
