#include "properties/qt/PropertyGrid.h"

#include <algorithm>

#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPersistentModelIndex>
#include <QRegularExpression>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace {

constexpr int kDataRole = Qt::UserRole;         // column 0: the item data
constexpr int kKindRole = Qt::UserRole + 1;     // column 0: RowKind
constexpr int kOptionsRole = Qt::UserRole + 2;  // column 0: drop-down options
constexpr int kEditableRole = Qt::UserRole + 3; // column 0: free typing allowed
constexpr int kFilterRole = Qt::UserRole + 4;   // column 0: file filter
constexpr int kColourRole = Qt::UserRole + 5;   // column 1: QColor of a colour row

QIcon Swatch(const QColor& colour, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.setBrush(colour);
  p.drawRect(0, 0, size - 1, size - 1);
  return QIcon(pixmap);
}

// Keys typed into a cell editor belong to the editor: the window's shortcuts (Delete, Ctrl+Z,
// Ctrl+C, ...) must not act on the layout meanwhile.
class ShortcutBlocker : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      event->accept();
      return true;
    }
    return false;
  }
};

void BlockShortcuts(QWidget* editor, QObject* blocker) {
  editor->installEventFilter(blocker);
  for (QWidget* child : editor->findChildren<QWidget*>()) child->installEventFilter(blocker);
}

// A path with a browse button.
class FileEditor : public QWidget {
 public:
  explicit FileEditor(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    edit = new QLineEdit(this);
    edit->setFrame(false);
    button = new QToolButton(this);
    button->setText("...");
    button->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(edit, 1);
    layout->addWidget(button);
    setFocusProxy(edit);
    setAutoFillBackground(true);
  }

  QLineEdit* edit;
  QToolButton* button;
};

class PropertyDelegate : public QStyledItemDelegate {
 public:
  explicit PropertyDelegate(CPropertyGrid* grid) : QStyledItemDelegate(grid), grid_(grid), blocker_(new ShortcutBlocker(this)) {}

  bool popupOnOpen = false;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    QTreeWidgetItem* item = ItemOf(index);
    if (!item || index.column() != 1) return nullptr;
    QWidget* editor = nullptr;
    switch (CPropertyGrid::Kind(item)) {
      case CPropertyGrid::RowKind::group:
        return nullptr;
      case CPropertyGrid::RowKind::text:
        editor = TextEditor(parent, item);
        break;
      case CPropertyGrid::RowKind::color:
        editor = ColourEditor(parent, item);
        break;
      case CPropertyGrid::RowKind::file:
        editor = FileRowEditor(parent, item);
        break;
    }
    BlockShortcuts(editor, blocker_);
    return editor;
  }

  void setEditorData(QWidget*, const QModelIndex&) const override {}  // filled once, when created

  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    QTreeWidgetItem* item = ItemOf(index);
    if (!item) return;
    if (auto* file = dynamic_cast<FileEditor*>(editor)) {
      grid_->CommitText(item, file->edit->text());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      if (CPropertyGrid::Kind(item) == CPropertyGrid::RowKind::color)
        grid_->CommitColour(item, CPropertyGrid::ParseColour(combo->currentText()));
      else
        grid_->CommitText(item, combo->currentText());
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      grid_->CommitText(item, line->text());
    }
  }

  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override {
    editor->setGeometry(option.rect);
  }

  // A cell is one line: line breaks of a text show as pilcrows (the value itself keeps them).
  QString displayText(const QVariant& value, const QLocale& locale) const override {
    QString text = QStyledItemDelegate::displayText(value, locale);
    text.replace("\r\n", QString(QChar(0x00B6)));
    text.replace('\n', QChar(0x00B6));
    return text;
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), option.fontMetrics.height() + 8));
    return size;
  }

 private:
  QTreeWidgetItem* ItemOf(const QModelIndex& index) const { return grid_->itemFromIndex(index); }

  void Finish(QWidget* editor, bool commit) const {
    auto* self = const_cast<PropertyDelegate*>(this);
    if (commit) emit self->commitData(editor);
    emit self->closeEditor(editor);
  }

  QWidget* TextEditor(QWidget* parent, QTreeWidgetItem* item) const {
    const QString value = CPropertyGrid::Value(item);
    const QStringList options = CPropertyGrid::Options(item);
    if (options.isEmpty()) {
      auto* line = new QLineEdit(parent);
      line->setFrame(false);
      line->setText(value);
      return line;
    }
    auto* combo = new QComboBox(parent);
    combo->setEditable(CPropertyGrid::IsEditable(item));
    combo->setMaxVisibleItems(20);
    combo->addItems(options);
    if (combo->isEditable()) {
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setCurrentIndex(-1);
      combo->setEditText(value);
    } else {
      combo->setCurrentIndex(combo->findText(value));
      // A fixed list changes with the choice itself.
      connect(combo, &QComboBox::activated, combo, [this, combo] { Finish(combo, true); });
      if (popupOnOpen) QMetaObject::invokeMethod(combo, &QComboBox::showPopup, Qt::QueuedConnection);
    }
    return combo;
  }

  QWidget* ColourEditor(QWidget* parent, QTreeWidgetItem* item) const {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(20);
    const int icon = combo->style()->pixelMetric(QStyle::PM_SmallIconSize);
    for (const QColor& c : CPropertyGrid::StandardColours()) combo->addItem(Swatch(c, icon), CPropertyGrid::ColourText(c));
    combo->addItem(CPropertyGrid::kMoreColours);
    combo->setMaxVisibleItems(combo->count());  // the dialog entry in sight without scrolling
    const QColor current = CPropertyGrid::Colour(item);
    combo->setCurrentIndex(-1);
    combo->setEditText(current.isValid() ? CPropertyGrid::ColourText(current) : QString());
    const int more = combo->count() - 1;
    const QPersistentModelIndex cell = grid_->indexFromItem(item, 1);
    connect(combo, &QComboBox::activated, combo, [this, combo, more, cell](int index) {
      Finish(combo, index != more);
      if (index == more) grid_->OpenDialogLater(cell);
    });
    return combo;
  }

  QWidget* FileRowEditor(QWidget* parent, QTreeWidgetItem* item) const {
    auto* editor = new FileEditor(parent);
    editor->edit->setText(CPropertyGrid::Value(item));
    const QPersistentModelIndex cell = grid_->indexFromItem(item, 1);
    connect(editor->button, &QToolButton::clicked, editor, [this, editor, cell] {
      Finish(editor, false);
      grid_->OpenDialogLater(cell);
    });
    return editor;
  }

  CPropertyGrid* grid_;
  QObject* blocker_;
};

}  // namespace

CPropertyGrid::CPropertyGrid(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(2);
  setHeaderLabels({"Eigenschaft", "Wert"});
  header()->setSectionsMovable(false);
  header()->setStretchLastSection(true);
  header()->resizeSection(0, 150);
  setItemDelegate(new PropertyDelegate(this));
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                  QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setIndentation(12);
  setRootIsDecorated(true);
  connect(header(), &QHeaderView::sectionResized, this, [this](int section) {
    if (section == 0 && !fitting_) labelWidthByUser_ = true;
  });
}

void CPropertyGrid::FitLabelColumn() {
  if (labelWidthByUser_) return;
  // Every label counts, also those in closed groups, so that opening one does not cut labels.
  int wanted = 60;
  const QFontMetrics metrics(font());
  for (QTreeWidgetItemIterator it(this); *it; ++it) {
    if (IsGroup(*it)) continue;
    int depth = 1;
    for (QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent()) ++depth;
    wanted = std::max(wanted, depth * indentation() + metrics.horizontalAdvance((*it)->text(0)) + 12);
  }
  fitting_ = true;
  header()->resizeSection(0, std::min(wanted, std::max(60, viewport()->width() * 3 / 5)));
  fitting_ = false;
}

QTreeWidgetItem* CPropertyGrid::AddGroup(QTreeWidgetItem* parent, const QString& caption, int data) {
  auto* item = new QTreeWidgetItem();
  item->setText(0, caption);
  item->setData(0, kDataRole, data);
  item->setData(0, kKindRole, static_cast<int>(RowKind::group));
  QFont bold = font();
  bold.setBold(true);
  item->setFont(0, bold);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  if (parent)
    parent->addChild(item);
  else
    addTopLevelItem(item);
  item->setFirstColumnSpanned(true);
  return item;
}

QTreeWidgetItem* CPropertyGrid::AddRow(QTreeWidgetItem* group, const QString& label, RowKind kind, int data) {
  auto* item = new QTreeWidgetItem();
  item->setText(0, label);
  item->setToolTip(0, label);
  item->setData(0, kDataRole, data);
  item->setData(0, kKindRole, static_cast<int>(kind));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
  if (group)
    group->addChild(item);
  else
    addTopLevelItem(item);
  return item;
}

QTreeWidgetItem* CPropertyGrid::AddTextRow(QTreeWidgetItem* group, const QString& label, const QString& value,
                                           const QStringList& options, bool editable, int data) {
  QTreeWidgetItem* item = AddRow(group, label, RowKind::text, data);
  item->setText(1, value);
  item->setData(0, kOptionsRole, options);
  item->setData(0, kEditableRole, editable);
  return item;
}

QTreeWidgetItem* CPropertyGrid::AddColorRow(QTreeWidgetItem* group, const QString& label, const QColor& colour,
                                            int data) {
  QTreeWidgetItem* item = AddRow(group, label, RowKind::color, data);
  item->setData(0, kEditableRole, true);
  item->setData(1, kColourRole, colour);
  item->setText(1, colour.isValid() ? ColourText(colour) : QString());
  item->setIcon(1, colour.isValid() ? Swatch(colour, style()->pixelMetric(QStyle::PM_SmallIconSize)) : QIcon());
  return item;
}

QTreeWidgetItem* CPropertyGrid::AddFileRow(QTreeWidgetItem* group, const QString& label, const QString& value,
                                           const QString& filter, int data) {
  QTreeWidgetItem* item = AddRow(group, label, RowKind::file, data);
  item->setText(1, value);
  item->setToolTip(1, value);
  item->setData(0, kEditableRole, true);
  item->setData(0, kFilterRole, filter);
  return item;
}

void CPropertyGrid::SetRowEnabled(QTreeWidgetItem* item, bool enabled) {
  item->setDisabled(!enabled);
}

int CPropertyGrid::ItemData(const QTreeWidgetItem* item) { return item ? item->data(0, kDataRole).toInt() : -1; }

CPropertyGrid::RowKind CPropertyGrid::Kind(const QTreeWidgetItem* item) {
  return item ? static_cast<RowKind>(item->data(0, kKindRole).toInt()) : RowKind::group;
}

QString CPropertyGrid::Value(const QTreeWidgetItem* item) { return item ? item->text(1) : QString(); }

QColor CPropertyGrid::Colour(const QTreeWidgetItem* item) {
  return item ? item->data(1, kColourRole).value<QColor>() : QColor();
}

QStringList CPropertyGrid::Options(const QTreeWidgetItem* item) { return item->data(0, kOptionsRole).toStringList(); }
bool CPropertyGrid::IsEditable(const QTreeWidgetItem* item) { return item->data(0, kEditableRole).toBool(); }
QString CPropertyGrid::Filter(const QTreeWidgetItem* item) { return item->data(0, kFilterRole).toString(); }

QTreeWidgetItem* CPropertyGrid::FindItemByData(int data) const {
  for (QTreeWidgetItemIterator it(const_cast<CPropertyGrid*>(this)); *it; ++it)
    if (ItemData(*it) == data) return *it;
  return nullptr;
}

void CPropertyGrid::CommitText(QTreeWidgetItem* item, const QString& value) {
  if (value == item->text(1)) return;
  item->setText(1, value);
  emit propertyChanged(item);
}

void CPropertyGrid::CommitColour(QTreeWidgetItem* item, const QColor& colour) {
  const QColor old = Colour(item);
  if (colour.isValid() == old.isValid() && (!colour.isValid() || colour.rgb() == old.rgb())) return;
  item->setData(1, kColourRole, colour);
  item->setText(1, colour.isValid() ? ColourText(colour) : QString());
  emit propertyChanged(item);
}

void CPropertyGrid::OpenDialogLater(const QPersistentModelIndex& cell) {
  // The cell editor is closed first: a modal dialog must not run inside it while it goes away.
  QMetaObject::invokeMethod(this, [this, cell] {
    QTreeWidgetItem* item = cell.isValid() ? itemFromIndex(cell) : nullptr;
    if (!item) return;
    if (Kind(item) == RowKind::color) {
      const QColor current = Colour(item);
      const QColor chosen = QColorDialog::getColor(current.isValid() ? current : QColor(Qt::black), this);
      item = cell.isValid() ? itemFromIndex(cell) : nullptr;
      if (item && chosen.isValid()) CommitColour(item, chosen);
    } else if (Kind(item) == RowKind::file) {
      QFileDialog dialog(this);
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(QFileDialog::ExistingFile);
      dialog.setNameFilters(NameFilters(Filter(item)));
      const QString path = Value(item);
      if (!path.isEmpty()) {
        dialog.setDirectory(QFileInfo(path).absolutePath());
        dialog.selectFile(QFileInfo(path).fileName());
      }
      const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
      item = cell.isValid() ? itemFromIndex(cell) : nullptr;
      if (item && chosen) CommitText(item, dialog.selectedFiles().front());
    }
  }, Qt::QueuedConnection);
}

QStringList CPropertyGrid::NameFilters(const QString& filter) {
  // "Description|patterns|...||": the dialog wants "Description (pattern pattern)".
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString description = parts[i];
    description.remove(QRegularExpression("\\s*\\([^)]*\\)\\s*$"));
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& p : patterns)
      if (p == "*.*") p = "*";  // every file, also those without an extension
    filters << QString("%1 (%2)").arg(description, patterns.join(' '));
  }
  return filters;
}

const QList<QColor>& CPropertyGrid::StandardColours() {
  static const QList<QColor> colours{
      QColor(0, 0, 0),       QColor(128, 128, 128), QColor(192, 192, 192), QColor(255, 255, 255),
      QColor(128, 0, 0),     QColor(255, 0, 0),     QColor(128, 128, 0),   QColor(255, 255, 0),
      QColor(0, 128, 0),     QColor(0, 255, 0),     QColor(0, 128, 128),   QColor(0, 255, 255),
      QColor(0, 0, 128),     QColor(0, 0, 255),     QColor(128, 0, 128),   QColor(255, 0, 255),
      QColor(255, 128, 0),   QColor(0, 64, 128),    QColor(230, 230, 230), QColor(64, 64, 64)};
  return colours;
}

QColor CPropertyGrid::ParseColour(const QString& text) {
  const QString t = text.trimmed();
  if (t.startsWith('#')) {
    const QColor c(t);
    return c.isValid() ? QColor(c.rgb()) : QColor();
  }
  static const QRegularExpression rgb("^(\\d{1,3})\\s*[;,]\\s*(\\d{1,3})\\s*[;,]\\s*(\\d{1,3})$");
  const QRegularExpressionMatch m = rgb.match(t);
  if (!m.hasMatch()) return QColor();
  const int r = m.captured(1).toInt(), g = m.captured(2).toInt(), b = m.captured(3).toInt();
  if (r > 255 || g > 255 || b > 255) return QColor();
  return QColor(r, g, b);
}

QString CPropertyGrid::ColourText(const QColor& c) { return QString("%1; %2; %3").arg(c.red()).arg(c.green()).arg(c.blue()); }

bool CPropertyGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (index.isValid() && index.column() == 0)
    return QTreeWidget::edit(index.sibling(index.row(), 1), trigger, event);
  return QTreeWidget::edit(index, trigger, event);
}

void CPropertyGrid::mousePressEvent(QMouseEvent* event) {
  QTreeWidget::mousePressEvent(event);
  // One click into a value starts editing it, as property grids do.
  const QModelIndex index = indexAt(event->position().toPoint());
  QTreeWidgetItem* item = itemFromIndex(index);
  if (event->button() != Qt::LeftButton || !item || index.column() != 1 || IsGroup(item) || item->isDisabled())
    return;
  auto* delegate = static_cast<PropertyDelegate*>(itemDelegate());
  delegate->popupOnOpen = true;
  editItem(item, 1);
  delegate->popupOnOpen = false;
}

void CPropertyGrid::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QTreeWidgetItem* item = itemFromIndex(index);
  if (item && IsGroup(item)) painter->fillRect(option.rect, palette().color(QPalette::AlternateBase));
  QTreeWidget::drawRow(painter, option, index);
  // Hairlines between rows and between label and value, so values line up in a table.
  painter->save();
  painter->setPen(palette().color(QPalette::Midlight));
  painter->drawLine(option.rect.left(), option.rect.bottom(), option.rect.right(), option.rect.bottom());
  if (item && !IsGroup(item)) {
    const int x = header()->sectionViewportPosition(1) - 1;
    painter->drawLine(x, option.rect.top(), x, option.rect.bottom());
  }
  painter->restore();
}
