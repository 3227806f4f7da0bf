#include "platform/qt/DialogParts.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>
#include <string>

#include "platform/Services.h"

namespace {
std::string Key(int column) { return "Col" + std::to_string(column); }
// A width from a damaged settings file must not hide a column or make it absurdly wide.
constexpr int kMinWidth = 10;
constexpr int kMaxWidth = 4000;
}  // namespace

QTreeWidget* MakeReportList(QWidget* parent, const QStringList& headers) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setAllColumnsShowFocus(true);
  list->setHeaderLabels(headers);
  return list;
}

void RestoreColumnWidths(QTreeWidget* list, const char* section, std::initializer_list<int> defaults) {
  int column = 0;
  for (const int d : defaults) {
    const int w = services().Settings().GetInt(section, Key(column), d);
    list->setColumnWidth(column, std::clamp(w, kMinWidth, kMaxWidth));
    ++column;
  }
}

void StoreColumnWidths(QTreeWidget* list, const char* section) {
  for (int column = 0; column < list->columnCount(); ++column)
    services().Settings().WriteInt(section, Key(column), list->columnWidth(column));
}

void AddDialogButtons(QDialog* dialog, QBoxLayout* layout, bool withCancel) {
  auto* buttons = new QDialogButtonBox(
      withCancel ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel : QDialogButtonBox::Ok, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText("OK");
  if (withCancel) buttons->button(QDialogButtonBox::Cancel)->setText("Abbrechen");
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
}
