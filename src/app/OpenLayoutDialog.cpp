#include "app/OpenLayoutDialog.h"

#include <QFileInfo>

COpenLayoutDialog::COpenLayoutDialog(QWidget* parent, const QString& folder)
    : QFileDialog(parent, "Öffnen", folder, "Davuzuz Udadid (*.rep);;Alle Dateien (*)") {
  setAcceptMode(QFileDialog::AcceptOpen);
  setFileMode(QFileDialog::ExistingFile);
}

QString COpenLayoutDialog::WithDefaultExtension(const QString& path) {
  const QFileInfo info(path);
  if (path.isEmpty() || info.exists() || info.fileName().contains('.')) return path;
  return path + ".rep";
}

QString COpenLayoutDialog::ChosenFile() const {
  return chosen_.isEmpty() ? selectedFiles().value(0) : chosen_;
}

void COpenLayoutDialog::accept() {
  // Qt's own default suffix would be added even when a file of the typed name exists, and while
  // the user types, the name field cannot be rewritten; so the layout the name stands for is
  // taken here.
  chosen_.clear();
  const QStringList typed = selectedFiles();
  if (typed.size() == 1) {
    const QString resolved = WithDefaultExtension(typed.front());
    if (resolved != typed.front() && QFileInfo(resolved).isFile()) {
      chosen_ = resolved;
      QDialog::accept();
      return;
    }
  }
  QFileDialog::accept();
}
