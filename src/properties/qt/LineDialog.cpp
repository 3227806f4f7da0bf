#include "properties/qt/LineDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/DialogParts.h"
#include "properties/qt/DialogSupport.h"

namespace {

QGroupBox* PointGroup(const char* title, QLineEdit* x, QLineEdit* y, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* grid = new QGridLayout(box);
  auto* lx = new QLabel("&X", box);
  auto* ly = new QLabel("&Y", box);
  lx->setBuddy(x);
  ly->setBuddy(y);
  grid->addWidget(lx, 0, 0);
  grid->addWidget(x, 0, 1);
  grid->addWidget(ly, 1, 0);
  grid->addWidget(y, 1, 1);
  return box;
}

}  // namespace

CFormLineDlg::CFormLineDlg(const LineDialogValues& values, DialogChoosers& choosers, QWidget* parent)
    : QDialog(parent), values_(values), choosers_(choosers) {
  setWindowTitle("Linie");
  setObjectName("LineDialog");
  const int initial[4] = {values.from.x, values.from.y, values.to.x, values.to.y};
  for (int i = 0; i < 4; ++i) {
    fields_[i] = new QLineEdit(QString::number(initial[i]), this);
    fields_[i]->setAlignment(Qt::AlignRight);
  }
  auto* layout = new QVBoxLayout(this);
  auto* points = new QHBoxLayout;
  points->addWidget(PointGroup("Startkoordinate", fields_[0], fields_[1], this));
  points->addWidget(PointGroup("Endkoordinate", fields_[2], fields_[3], this));
  layout->addLayout(points);
  colorButton_ = new QPushButton("&Farbe...", this);
  auto* colorRow = new QHBoxLayout;
  colorRow->addWidget(colorButton_);
  colorRow->addStretch();
  layout->addLayout(colorRow);
  AddDialogButtons(this, layout);

  connect(colorButton_, &QPushButton::clicked, this,
          [this] { choosers_.ChooseColor(this, values_.color); });
}

void CFormLineDlg::accept() {
  int v[4];
  for (int i = 0; i < 4; ++i) {
    const std::optional<int> n = CheckWholeNumber(fields_[i]);
    if (!n) return;
    v[i] = *n;
  }
  values_.from = {v[0], v[1]};
  values_.to = {v[2], v[3]};
  QDialog::accept();
}
