#include "placeholders/qt/TranslationDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "placeholders/Catalogue.h"
#include "placeholders/TranslationFile.h"
#include "platform/Services.h"
#include "platform/TextCodec.h"
#include "platform/qt/DialogParts.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
// What the user types is reduced to what the file can hold.
std::string S(const QString& s) { return codec::ReduceToCp1252(s.toStdString()); }

constexpr int kIndexRole = Qt::UserRole;

}  // namespace

CCodeTranslations::CCodeTranslations(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Übersetzungen");
  setObjectName("TranslationDialog");
  auto* layout = new QVBoxLayout(this);

  list_ = MakeReportList(this, {"OriginalCode", "Übersetzung", "Erklärung"});
  RestoreColumnWidths(list_, kTranslationDialogSection, {200, 200, 200});
  const std::vector<CCode>& catalogue = placeholderCatalogue();
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    auto* item = new QTreeWidgetItem(
        list_, {Q(catalogue[i].code), Q(catalogue[i].translation), Q(catalogue[i].description)});
    item->setData(0, kIndexRole, static_cast<int>(i));
  }
  layout->addWidget(list_, 1);

  auto* fields = new QGridLayout;
  code_ = new QLineEdit(this);
  code_->setReadOnly(true);
  code_->setFocusPolicy(Qt::ClickFocus);
  translation_ = new QLineEdit(this);
  description_ = new QLineEdit(this);
  auto* codeLabel = new QLabel("Code:", this);
  auto* translationLabel = new QLabel("Ü&bersetzung:", this);
  auto* descriptionLabel = new QLabel("&Erklärungstext:", this);
  translationLabel->setBuddy(translation_);
  descriptionLabel->setBuddy(description_);
  fields->addWidget(codeLabel, 0, 0);
  fields->addWidget(code_, 0, 1);
  fields->addWidget(translationLabel, 1, 0);
  fields->addWidget(translation_, 1, 1);
  fields->addWidget(descriptionLabel, 2, 0);
  fields->addWidget(description_, 2, 1);
  layout->addLayout(fields);

  // Only OK: Escape and the close box also close, without saving.
  AddDialogButtons(this, layout, false);
  resize(680, 480);

  connect(list_, &QTreeWidget::itemSelectionChanged, this, &CCodeTranslations::RowSelected);
  connect(translation_, &QLineEdit::textChanged, this, &CCodeTranslations::FieldEdited);
  connect(description_, &QLineEdit::textChanged, this, &CCodeTranslations::FieldEdited);

  if (QTreeWidgetItem* first = list_->topLevelItem(0)) {
    list_->setCurrentItem(first);
    first->setSelected(true);
    list_->scrollToItem(first);
  }
  list_->setFocus();
}

int CCodeTranslations::SelectedIndex() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return -1;
  const int index = selected.front()->data(0, kIndexRole).toInt();
  return index >= 0 && static_cast<std::size_t>(index) < placeholderCatalogue().size() ? index : -1;
}

void CCodeTranslations::RowSelected() {
  const int index = SelectedIndex();
  if (index < 0) return;
  const CCode& entry = placeholderCatalogue()[static_cast<std::size_t>(index)];
  filling_ = true;
  code_->setText(Q(entry.code));
  translation_->setText(Q(entry.translation));
  description_->setText(Q(entry.description));
  filling_ = false;
}

// Each keystroke goes into the catalogue and the row at once.
void CCodeTranslations::FieldEdited() {
  if (filling_) return;
  const int index = SelectedIndex();
  if (index < 0) return;
  CCode& entry = placeholderCatalogue()[static_cast<std::size_t>(index)];
  entry.translation = S(translation_->text());
  entry.description = S(description_->text());
  QTreeWidgetItem* item = list_->selectedItems().front();
  item->setText(1, Q(entry.translation));
  item->setText(2, Q(entry.description));
}

void CCodeTranslations::accept() {
  StoreColumnWidths(list_, kTranslationDialogSection);
  std::string error;
  if (!SaveTranslations(error)) {
    services().Messages().Show("Die Übersetzungen konnten nicht gespeichert werden:\n\n" + error +
                                   "\n\nSie gelten nur, bis Veltrok beendet wird.",
                               MessageIcon::exclamation, MessageButtons::ok);
  }
  QDialog::accept();
}
