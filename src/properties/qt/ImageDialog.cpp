#include "properties/qt/ImageDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/qt/DialogParts.h"
#include "properties/qt/DialogSupport.h"

namespace {

QLineEdit* NumberField(QWidget* parent, bool readOnly = false) {
  auto* field = new QLineEdit(parent);
  field->setAlignment(Qt::AlignRight);
  field->setReadOnly(readOnly);
  return field;
}

// pixels × percent / 100, rounded, kept within the range of a coordinate.
int ScaledSize(int pixels, double percent) {
  const double v = std::floor(pixels * percent / 100.0 + 0.5);
  if (!(v > std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  if (!(v < std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return static_cast<int>(v);
}

}  // namespace

CFormImageDlg::CFormImageDlg(const ImageDialogValues& values, DialogChoosers& choosers, QWidget* parent)
    : QDialog(parent), values_(values), choosers_(choosers) {
  setWindowTitle("Bild");
  setObjectName("ImageDialog");
  auto* layout = new QVBoxLayout(this);

  auto* fileRow = new QHBoxLayout;
  auto* fileLabel = new QLabel("&Datei:", this);
  file_ = new QLineEdit(ToQ(values.fileName), this);
  fileLabel->setBuddy(file_);
  browse_ = new QPushButton("...", this);
  browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance("...") + 24);
  fileRow->addWidget(fileLabel);
  fileRow->addWidget(file_, 1);
  fileRow->addWidget(browse_);
  layout->addLayout(fileRow);

  auto* sizeBox = new QGroupBox("Größe", this);
  auto* grid = new QGridLayout(sizeBox);
  grid->addWidget(new QLabel("Breite", sizeBox), 0, 1, Qt::AlignRight);
  grid->addWidget(new QLabel("Höhe", sizeBox), 0, 3, Qt::AlignRight);
  pixelWidth_ = NumberField(sizeBox, true);
  pixelHeight_ = NumberField(sizeBox, true);
  displayWidth_ = NumberField(sizeBox);
  displayHeight_ = NumberField(sizeBox);
  widthPercent_ = NumberField(sizeBox);
  heightPercent_ = NumberField(sizeBox);
  pixelWidth_->setFocusPolicy(Qt::ClickFocus);
  pixelHeight_->setFocusPolicy(Qt::ClickFocus);
  const struct {
    const char* label;
    QLineEdit* width;
    QLineEdit* height;
    const char* unit;
  } rows[] = {{"Bitmap:", pixelWidth_, pixelHeight_, "Pixel"},
              {"&Anzeige:", displayWidth_, displayHeight_, "Pixel"},
              {"&Prozent:", widthPercent_, heightPercent_, "%"}};
  int r = 1;
  for (const auto& row : rows) {
    auto* label = new QLabel(row.label, sizeBox);
    label->setBuddy(row.width);
    grid->addWidget(label, r, 0);
    grid->addWidget(row.width, r, 1);
    grid->addWidget(new QLabel(row.unit, sizeBox), r, 2);
    grid->addWidget(row.height, r, 3);
    grid->addWidget(new QLabel(row.unit, sizeBox), r, 4);
    ++r;
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  layout->addWidget(sizeBox);

  helper_ = new QCheckBox("&Hilfsbild: wird nicht gedruckt, liegt immer hinten", this);
  helper_->setChecked(values.helper);
  layout->addWidget(helper_);
  AddDialogButtons(this, layout);

  pixelWidth_->setText(QString::number(values.pixelWidth));
  pixelHeight_->setText(QString::number(values.pixelHeight));
  displayWidth_->setText(QString::number(values.displayWidth));
  displayHeight_->setText(QString::number(values.displayHeight));
  // Without a bitmap a percentage has nothing to refer to.
  widthPercent_->setEnabled(values.pixelWidth != 0);
  heightPercent_->setEnabled(values.pixelHeight != 0);
  DisplayEdited();

  connect(displayWidth_, &QLineEdit::textEdited, this, &CFormImageDlg::DisplayEdited);
  connect(displayHeight_, &QLineEdit::textEdited, this, &CFormImageDlg::DisplayEdited);
  connect(widthPercent_, &QLineEdit::textEdited, this, &CFormImageDlg::PercentEdited);
  connect(heightPercent_, &QLineEdit::textEdited, this, &CFormImageDlg::PercentEdited);
  connect(browse_, &QPushButton::clicked, this, &CFormImageDlg::ChooseFile);
}

QString CFormImageDlg::FormatPercent(double percent) {
  return QString::number(percent, 'f', 2).replace('.', ',');
}

double CFormImageDlg::ParsePercent(const QString& text) {
  std::string s = text.toStdString();
  const std::size_t comma = s.find(',');
  if (comma != std::string::npos) s[comma] = '.';
  // Read as "%lf" would, but always with '.' as the decimal point, whatever the locale.
  std::size_t start = s.find_first_not_of(" \t");
  if (start == std::string::npos) return 0;
  std::size_t end = start;
  if (end < s.size() && (s[end] == '+' || s[end] == '-')) ++end;
  bool digits = false;
  while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end]))) ++end, digits = true;
  if (end < s.size() && s[end] == '.') {
    ++end;
    while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end]))) ++end, digits = true;
  }
  if (!digits) return 0;
  bool ok = false;
  const double v = QString::fromStdString(s.substr(start, end - start)).toDouble(&ok);
  return ok && std::isfinite(v) ? v : 0;
}

// Typing a displayed size recomputes the percentages and leaves the displayed sizes as typed.
void CFormImageDlg::DisplayEdited() {
  const std::optional<int> w = ParseWholeNumber(displayWidth_->text());
  const std::optional<int> h = ParseWholeNumber(displayHeight_->text());
  const QSignalBlocker blockW(widthPercent_);
  const QSignalBlocker blockH(heightPercent_);
  if (w && values_.pixelWidth != 0)
    widthPercent_->setText(FormatPercent(*w * 100.0 / values_.pixelWidth));
  else if (values_.pixelWidth == 0)
    widthPercent_->setText(FormatPercent(0));
  if (h && values_.pixelHeight != 0)
    heightPercent_->setText(FormatPercent(*h * 100.0 / values_.pixelHeight));
  else if (values_.pixelHeight == 0)
    heightPercent_->setText(FormatPercent(0));
}

// Typing a percentage recomputes the displayed size; width and height independently.
void CFormImageDlg::PercentEdited() {
  const QSignalBlocker blockW(displayWidth_);
  const QSignalBlocker blockH(displayHeight_);
  if (values_.pixelWidth != 0)
    displayWidth_->setText(QString::number(ScaledSize(values_.pixelWidth, ParsePercent(widthPercent_->text()))));
  if (values_.pixelHeight != 0)
    displayHeight_->setText(QString::number(ScaledSize(values_.pixelHeight, ParsePercent(heightPercent_->text()))));
}

void CFormImageDlg::ChooseFile() {
  const QString chosen = choosers_.ChooseImageFile(this, file_->text());
  if (!chosen.isEmpty()) file_->setText(chosen);
}

void CFormImageDlg::accept() {
  const std::optional<int> w = CheckWholeNumber(displayWidth_);
  if (!w) return;
  const std::optional<int> h = CheckWholeNumber(displayHeight_);
  if (!h) return;
  values_.fileName = FromQ(file_->text());
  values_.displayWidth = *w;
  values_.displayHeight = *h;
  values_.helper = helper_->isChecked();
  QDialog::accept();
}
