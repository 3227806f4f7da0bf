#include "properties/qt/TextDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "placeholders/Catalogue.h"
#include "platform/qt/DialogParts.h"
#include "properties/qt/DialogSupport.h"

CFormTextDlg::CFormTextDlg(const TextDialogValues& values, DialogChoosers& choosers, QWidget* parent)
    : QDialog(parent), values_(values), choosers_(choosers) {
  setWindowTitle("Text");
  setObjectName("TextDialog");
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;

  auto* textLabel = new QLabel("&Text:", this);
  text_ = new QLineEdit(ToQ(values.text), this);
  shownText_ = text_->text();
  textLabel->setBuddy(text_);
  grid->addWidget(textLabel, 0, 0);
  grid->addWidget(text_, 0, 1, 1, 2);

  auto* fontLabel = new QLabel("Schrift:", this);
  summary_ = new QLineEdit(this);
  summary_->setReadOnly(true);
  summary_->setFocusPolicy(Qt::ClickFocus);
  fontButton_ = new QPushButton("F&ont...", this);
  grid->addWidget(fontLabel, 1, 0);
  grid->addWidget(summary_, 1, 1);
  grid->addWidget(fontButton_, 1, 2);

  auto* alignLabel = new QLabel("&Ausrichtung", this);
  alignment_ = new QComboBox(this);
  alignLabel->setBuddy(alignment_);
  FillAlignmentList(alignment_, values.alignment);
  colorButton_ = new QPushButton("&Farbe...", this);
  grid->addWidget(alignLabel, 2, 0);
  grid->addWidget(alignment_, 2, 1, Qt::AlignLeft);
  grid->addWidget(colorButton_, 2, 2);
  grid->setColumnStretch(1, 1);
  layout->addLayout(grid);

  auto* listLabel = new QLabel("&spezielle Texte", this);
  list_ = MakeReportList(this, {"Text", "Erklärung"});
  listLabel->setBuddy(list_);
  list_->setColumnWidth(0, 150);
  list_->setColumnWidth(1, 1000);
  const std::vector<CCode>& catalogue = placeholderCatalogue();
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    if (!(catalogue[i].flags & kCodeForTexts)) continue;
    auto* item = new QTreeWidgetItem(list_, {ToQ(catalogue[i].translation), ToQ(catalogue[i].description)});
    item->setData(0, Qt::UserRole, static_cast<int>(i));
    item->setToolTip(1, item->text(1));
  }
  list_->sortItems(0, Qt::AscendingOrder);
  layout->addWidget(listLabel);
  layout->addWidget(list_, 1);

  AddDialogButtons(this, layout);
  resize(460, 500);

  UpdateFontSummary();
  connect(fontButton_, &QPushButton::clicked, this, &CFormTextDlg::ChooseFont);
  connect(colorButton_, &QPushButton::clicked, this,
          [this] { choosers_.ChooseColor(this, values_.color); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { TakeSpecialText(item); });
}

void CFormTextDlg::UpdateFontSummary() { summary_->setText(FontSummary(values_.font, values_.pointSize)); }

void CFormTextDlg::ChooseFont() {
  double points = values_.pointSize;
  LOGFONTA font = values_.font;
  if (!choosers_.ChooseFont(this, font, points)) return;
  values_.font = font;
  values_.pointSize = std::floor(2 * points + 0.5) * 0.5;
  values_.fontChosen = true;
  UpdateFontSummary();
}

// The whole text is replaced by the entry's translation; what was typed before is gone.
void CFormTextDlg::TakeSpecialText(QTreeWidgetItem* item) {
  if (!item) return;
  const int index = item->data(0, Qt::UserRole).toInt();
  const std::vector<CCode>& catalogue = placeholderCatalogue();
  if (index < 0 || static_cast<std::size_t>(index) >= catalogue.size()) return;
  text_->setText(ToQ(catalogue[static_cast<std::size_t>(index)].translation));
  text_->setFocus();
}

void CFormTextDlg::accept() {
  if (alignment_->currentIndex() >= 0) values_.alignment = alignment_->currentIndex();
  // A text with line breaks cannot be edited on one line; untouched, it stays as it was.
  if (text_->text() != shownText_) values_.text = FromQ(text_->text());
  QDialog::accept();
}
