// The dialog that picks a layout to open. As in the open dialogs users know, a name typed without
// extension that names no file stands for the name with the default extension "rep".
#pragma once

#include <QFileDialog>

class COpenLayoutDialog : public QFileDialog {
  Q_OBJECT

 public:
  COpenLayoutDialog(QWidget* parent, const QString& folder);

  // The file a typed path stands for: itself when it exists or has an extension, otherwise the
  // path with ".rep" added.
  static QString WithDefaultExtension(const QString& path);

  // The file to open once the dialog was accepted.
  QString ChosenFile() const;

 public slots:
  void accept() override;

 private:
  QString chosen_;
};
