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

void COpenLayoutDialog::accept() {
  // Qt's own default suffix would be added even when a file of the typed name exists.
  const QStringList typed = selectedFiles();
  if (typed.size() == 1) {
    const QString resolved = WithDefaultExtension(typed.front());
    if (resolved != typed.front()) selectFile(resolved);
  }
  QFileDialog::accept();
}
