// "Wiederherstellung": the layouts an editor left unsaved when it stopped unexpectedly, each with
// its name and the time of the copy; the user restores one, discards copies, or decides later.
#pragma once

#include <QDialog>
#include <vector>

#include "document/Recovery.h"

class QPushButton;
class QTreeWidget;

class CRecoveryDialog : public QDialog {
  Q_OBJECT
 public:
  struct Entry {
    RecoveryRecord record;
    bool damaged = false;  // the copy cannot be read; it can only be discarded
  };

  CRecoveryDialog(std::vector<Entry> entries, QWidget* parent = nullptr);

  // After exec(): the entry to restore (Accepted), and the entries discarded either way.
  int chosen() const { return chosen_; }
  const std::vector<int>& discarded() const { return discarded_; }

  QTreeWidget* list() const { return list_; }
  QPushButton* restoreButton() const { return restore_; }
  QPushButton* discardButton() const { return discard_; }
  QPushButton* laterButton() const { return later_; }

 private:
  void UpdateButtons();
  int Current() const;

  std::vector<Entry> entries_;
  QTreeWidget* list_;
  QPushButton* restore_;
  QPushButton* discard_;
  QPushButton* later_;
  int chosen_ = -1;
  std::vector<int> discarded_;
};
