#include "app/RecoveryDialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Name(const RecoveryRecord& r) {
  if (r.originalPath.empty()) return "Unbenannt";
  return QFileInfo(QString::fromStdString(r.originalPath)).fileName();
}

}  // namespace

CRecoveryDialog::CRecoveryDialog(std::vector<Entry> entries, QWidget* parent)
    : QDialog(parent), entries_(std::move(entries)) {
  setWindowTitle("Wiederherstellung");
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(
      "Veltrok wurde zuletzt nicht ordnungsgemäß beendet. Von diesen Layouts gibt es "
      "ungesicherte Änderungen:",
      this);
  text->setWordWrap(true);
  layout->addWidget(text);

  list_ = new QTreeWidget(this);
  list_->setHeaderLabels({"Layout", "Stand"});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const RecoveryRecord& r = entries_[i].record;
    QString when = QDateTime::fromSecsSinceEpoch(r.savedAt).toLocalTime().toString("dd.MM.yyyy HH:mm");
    if (entries_[i].damaged) when += " (beschädigt)";
    auto* item = new QTreeWidgetItem(list_, {Name(r), when});
    item->setData(0, Qt::UserRole, static_cast<int>(i));
    item->setToolTip(0, r.originalPath.empty() ? QString("Noch nie gespeichert")
                                               : QString::fromStdString(r.originalPath));
  }
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  layout->addWidget(list_);

  auto* buttons = new QDialogButtonBox(this);
  restore_ = buttons->addButton("Wiederherstellen", QDialogButtonBox::AcceptRole);
  discard_ = buttons->addButton("Verwerfen", QDialogButtonBox::DestructiveRole);
  later_ = buttons->addButton("Später", QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);

  connect(restore_, &QPushButton::clicked, this, [this] {
    chosen_ = Current();
    if (chosen_ >= 0) accept();
  });
  connect(discard_, &QPushButton::clicked, this, [this] {
    const int index = Current();
    if (index < 0) return;
    discarded_.push_back(index);
    delete list_->currentItem();
    if (list_->topLevelItemCount() == 0) reject();
    UpdateButtons();
  });
  connect(later_, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, restore_, &QPushButton::click);

  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(list_->topLevelItemCount() - 1));
  restore_->setDefault(true);
  resize(480, 260);
  UpdateButtons();
}

int CRecoveryDialog::Current() const {
  const QTreeWidgetItem* item = list_->currentItem();
  return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void CRecoveryDialog::UpdateButtons() {
  const int index = Current();
  restore_->setEnabled(index >= 0 && !entries_[static_cast<std::size_t>(index)].damaged);
  discard_->setEnabled(index >= 0);
}
