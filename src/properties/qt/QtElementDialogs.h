// The element dialog service of the editor: runs the Qt dialogs "Text", "Linie", "Bild" and
// "Tabelle" modally over the main window.
#pragma once

#include "model/ElementDialogs.h"

class DialogChoosers;
class QWidget;

class QtElementDialogs : public ElementDialogService {
 public:
  // `choosers`: the colour, font and file choosers the dialogs open (tests answer them).
  explicit QtElementDialogs(DialogChoosers* choosers = nullptr);
  void SetParent(QWidget* parent) { parent_ = parent; }

  bool RunTextDialog(TextDialogValues& values) override;
  bool RunLineDialog(LineDialogValues& values) override;
  bool RunImageDialog(ImageDialogValues& values) override;
  bool RunTableDialog(CFormTable& workingCopy) override;

 private:
  QWidget* parent_ = nullptr;
  DialogChoosers& choosers_;
};
