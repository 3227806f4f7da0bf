#include "properties/qt/TableDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <vector>

#include "model/Fonts.h"
#include "model/FormTable.h"
#include "placeholders/Catalogue.h"
#include "platform/qt/DialogParts.h"
#include "properties/qt/DialogSupport.h"

namespace {
constexpr int kMaxWidthPercent = 100;
}  // namespace

CFormTableDlg::CFormTableDlg(CFormTable& workingCopy, DialogChoosers& choosers, QWidget* parent)
    : QDialog(parent), table_(workingCopy), choosers_(choosers) {
  setWindowTitle("Tabelle");
  setObjectName("TableDialog");
  auto* layout = new QVBoxLayout(this);

  auto* columnsBox = new QGroupBox("Spalten", this);
  auto* columnsLayout = new QGridLayout(columnsBox);
  list_ = MakeReportList(columnsBox, {"Bezeichnung", "Breite", "Ausrichtung"});
  list_->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  list_->setMinimumHeight(150);
  RestoreColumnWidths(list_, kTableDialogSection, {160, 80, 100});
  columnsLayout->addWidget(list_, 0, 0, 1, 4);

  newButton_ = new QPushButton("&Neue Spalte", columnsBox);
  deleteButton_ = new QPushButton("Spalte &löschen", columnsBox);
  forwardButton_ = new QPushButton("&Vorziehen", columnsBox);
  backButton_ = new QPushButton("&Rückstellen", columnsBox);
  columnsLayout->addWidget(newButton_, 1, 0);
  columnsLayout->addWidget(deleteButton_, 1, 1);
  columnsLayout->addWidget(forwardButton_, 1, 2);
  columnsLayout->addWidget(backButton_, 1, 3);

  auto* fields = new QGridLayout;
  auto* nameLabel = new QLabel("&Bezeichnung", columnsBox);
  name_ = new QComboBox(columnsBox);
  // Column names are free text; the list offers the placeholders. No completion: a typed name
  // must stay what was typed.
  name_->setEditable(true);
  name_->setInsertPolicy(QComboBox::NoInsert);
  name_->setCompleter(nullptr);
  nameLabel->setBuddy(name_);
  const std::vector<CCode>& catalogue = placeholderCatalogue();
  std::vector<int> offered;
  for (std::size_t i = 0; i < catalogue.size(); ++i)
    if (catalogue[i].flags & kCodeForColumns) offered.push_back(static_cast<int>(i));
  std::stable_sort(offered.begin(), offered.end(), [&catalogue](int a, int b) {
    return ToQ(catalogue[a].translation).compare(ToQ(catalogue[b].translation), Qt::CaseInsensitive) < 0;
  });
  for (const int i : offered) name_->addItem(ToQ(catalogue[i].translation), i);
  description_ = new QPlainTextEdit(columnsBox);
  description_->setReadOnly(true);
  description_->setFocusPolicy(Qt::NoFocus);
  description_->setFixedHeight(description_->fontMetrics().lineSpacing() * 3 + 12);

  auto* widthLabel = new QLabel("&Spaltenbreite", columnsBox);
  width_ = new QLineEdit(columnsBox);
  width_->setAlignment(Qt::AlignRight);
  width_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), width_));
  width_->setMaximumWidth(80);
  widthLabel->setBuddy(width_);
  auto* alignLabel = new QLabel("&Ausrichtung", columnsBox);
  alignment_ = new QComboBox(columnsBox);
  FillAlignmentList(alignment_, 0);
  alignLabel->setBuddy(alignment_);
  fontButton_ = new QPushButton("F&ont", columnsBox);
  colorButton_ = new QPushButton("&Farbe...", columnsBox);

  fields->addWidget(nameLabel, 0, 0);
  fields->addWidget(name_, 0, 1, 1, 3);
  fields->addWidget(description_, 1, 1, 1, 3);
  fields->addWidget(widthLabel, 2, 0);
  auto* widthRow = new QHBoxLayout;
  widthRow->addWidget(width_);
  widthRow->addWidget(new QLabel("%", columnsBox));
  widthRow->addStretch();
  fields->addLayout(widthRow, 2, 1);
  fields->addWidget(alignLabel, 3, 0);
  fields->addWidget(alignment_, 3, 1, Qt::AlignLeft);
  auto* styleRow = new QHBoxLayout;
  styleRow->addWidget(fontButton_);
  styleRow->addWidget(colorButton_);
  styleRow->addStretch();
  fields->addLayout(styleRow, 4, 1, 1, 3);
  fields->setColumnStretch(3, 1);
  columnsLayout->addLayout(fields, 2, 0, 1, 4);
  layout->addWidget(columnsBox, 1);

  auto* tableBox = new QGroupBox("Tabelle", this);
  auto* tableLayout = new QHBoxLayout(tableBox);
  twoColour_ = new QCheckBox("&Zweifarbig hinterlegt", tableBox);
  frame_ = new QCheckBox("Ra&hmen", tableBox);
  twoColour_->setChecked(table_.twoColour);
  frame_->setChecked(table_.frame);
  tableLayout->addWidget(twoColour_);
  tableLayout->addWidget(frame_);
  tableLayout->addStretch();
  layout->addWidget(tableBox);

  AddDialogButtons(this, layout);
  resize(480, 560);

  FillColumnList();
  connect(list_, &QTreeWidget::currentItemChanged, this, [this] { RowSelected(); });
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { RowSelected(); });
  SelectRow(0);
  RowSelected();

  connect(name_, &QComboBox::editTextChanged, this, [this] { FieldsChanged(); });
  connect(width_, &QLineEdit::textEdited, this, [this] { FieldsChanged(); });
  connect(alignment_, &QComboBox::activated, this, [this] { FieldsChanged(); });
  connect(newButton_, &QPushButton::clicked, this, &CFormTableDlg::NewColumn);
  connect(deleteButton_, &QPushButton::clicked, this, &CFormTableDlg::DeleteColumn);
  connect(forwardButton_, &QPushButton::clicked, this, [this] { MoveColumn(-1); });
  connect(backButton_, &QPushButton::clicked, this, [this] { MoveColumn(+1); });
  connect(fontButton_, &QPushButton::clicked, this, &CFormTableDlg::ChooseFont);
  connect(colorButton_, &QPushButton::clicked, this, &CFormTableDlg::ChooseColor);
}

int CFormTableDlg::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

CFormTableEntry* CFormTableDlg::SelectedColumn() { return table_.ColumnAt(SelectedRow()); }

void CFormTableDlg::WriteRow(int row) {
  CFormTableEntry* column = table_.ColumnAt(row);
  QTreeWidgetItem* item = list_->topLevelItem(row);
  if (!column || !item) return;
  item->setText(0, ToQ(column->name));
  item->setText(1, QString::number(column->widthPercent));
  item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  item->setText(2, AlignmentName(column->alignment));
}

void CFormTableDlg::FillColumnList() {
  const QSignalBlocker block(list_);
  list_->clear();
  for (std::size_t i = 0; i < table_.columns.size(); ++i) {
    new QTreeWidgetItem(list_);
    WriteRow(static_cast<int>(i));
  }
}

void CFormTableDlg::SelectRow(int row) {
  QTreeWidgetItem* item = list_->topLevelItem(row);
  if (!item) return;
  const QSignalBlocker block(list_);
  list_->clearSelection();
  list_->setCurrentItem(item);
  item->setSelected(true);
  list_->scrollToItem(item);
}

void CFormTableDlg::UpdateColumnButtons() {
  const int row = SelectedRow();
  const int count = list_->topLevelItemCount();
  const bool selected = row >= 0;
  deleteButton_->setEnabled(selected);
  name_->setEnabled(selected);
  width_->setEnabled(selected);
  alignment_->setEnabled(selected);
  forwardButton_->setEnabled(selected && row > 0);
  backButton_->setEnabled(selected && row + 1 < count);
}

// A row was selected: its column fills the fields.
void CFormTableDlg::RowSelected() {
  if (const CFormTableEntry* column = SelectedColumn()) {
    filling_ = true;
    // The drop-down opens on the column's entry when the name is one of them.
    const QString name = ToQ(column->name);
    name_->setCurrentIndex(name_->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    name_->setEditText(name);
    width_->setText(QString::number(column->widthPercent));
    alignment_->setCurrentIndex(column->alignment >= 0 && column->alignment <= 2 ? column->alignment : -1);
    filling_ = false;
  }
  ShowDescription();
  UpdateColumnButtons();
}

// The description of the name when it is one of the offered entries.
void CFormTableDlg::ShowDescription() {
  const int found = name_->findText(name_->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
  QString text;
  if (found >= 0) {
    const int index = name_->itemData(found).toInt();
    const std::vector<CCode>& catalogue = placeholderCatalogue();
    if (index >= 0 && static_cast<std::size_t>(index) < catalogue.size())
      text = ToQ(catalogue[static_cast<std::size_t>(index)].description);
  }
  description_->setPlainText(text);
}

// An edit of name, width or alignment goes into the selected column at once. A width that is not
// a number from 0 to 100 is not taken while typing; OK says what is wrong.
void CFormTableDlg::FieldsChanged() {
  if (filling_) return;
  if (CFormTableEntry* column = SelectedColumn()) {
    column->name = FromQ(name_->currentText());
    const std::optional<int> width = ParseWholeNumber(width_->text());
    if (width && *width >= 0 && *width <= kMaxWidthPercent) column->widthPercent = *width;
    if (alignment_->currentIndex() >= 0) column->alignment = alignment_->currentIndex();
    WriteRow(SelectedRow());
  }
  ShowDescription();
}

void CFormTableDlg::NewColumn() {
  table_.AppendColumn(CFormTableEntry());
  const int row = static_cast<int>(table_.columns.size()) - 1;
  {
    const QSignalBlocker block(list_);
    new QTreeWidgetItem(list_);
  }
  WriteRow(row);
  SelectRow(row);
  RowSelected();
  name_->setFocus();
}

void CFormTableDlg::DeleteColumn() {
  const int row = SelectedRow();
  CFormTableEntry* column = table_.ColumnAt(row);
  if (!column) return;
  table_.RemoveColumn(column);
  {
    const QSignalBlocker block(list_);
    delete list_->takeTopLevelItem(row);
    list_->clearSelection();
    list_->setCurrentItem(nullptr);
  }
  UpdateColumnButtons();
}

void CFormTableDlg::MoveColumn(int step) {
  const int row = SelectedRow();
  const int target = row + step;
  if (row < 0 || target < 0 || target >= static_cast<int>(table_.columns.size())) return;
  std::swap(*table_.ColumnAt(row), *table_.ColumnAt(target));
  FillColumnList();
  SelectRow(target);
  RowSelected();
}

void CFormTableDlg::ChooseFont() {
  CFormTableEntry* column = SelectedColumn();
  if (!column) return;
  LOGFONTA font = column->font;
  double points = FontHeightToPoints(column->font.lfHeight);
  if (!choosers_.ChooseFont(this, font, points)) return;
  font.lfHeight = PointsToFontHeight(points);
  column->font = font;
}

void CFormTableDlg::ChooseColor() {
  if (CFormTableEntry* column = SelectedColumn()) choosers_.ChooseColor(this, column->color);
}

void CFormTableDlg::accept() {
  if (SelectedColumn()) {
    const std::optional<int> width = CheckWholeNumber(width_, 0, kMaxWidthPercent, true);
    if (!width) return;
    FieldsChanged();
  }
  StoreColumnWidths(list_, kTableDialogSection);
  table_.twoColour = twoColour_->isChecked();
  table_.frame = frame_->isChecked();
  table_.maxFontHeight = table_.ComputeMaxFontHeight();
  QDialog::accept();
}
