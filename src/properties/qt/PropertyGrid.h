// The two-column grid of the property pane ("Eigenschaft" / "Wert"): groups that fold, text rows
// with editable or fixed drop-downs, colour rows with standard colours and the colour dialog, file
// rows with an open dialog, disabled rows, and an integer of item data per item. Only what the
// pane needs.
#pragma once

#include <QColor>
#include <QPersistentModelIndex>
#include <QStringList>
#include <QTreeWidget>

class QTreeWidgetItem;

class CPropertyGrid : public QTreeWidget {
  Q_OBJECT

 public:
  enum class RowKind { group, text, color, file };
  static constexpr const char* kMoreColours = "Weitere Farben...";

  explicit CPropertyGrid(QWidget* parent = nullptr);

  // A group under `parent` (or at the top without one), collapsed.
  QTreeWidgetItem* AddGroup(QTreeWidgetItem* parent, const QString& caption, int data);
  // A text row; with `options` it has a drop-down, free typing only when `editable`.
  QTreeWidgetItem* AddTextRow(QTreeWidgetItem* group, const QString& label, const QString& value,
                              const QStringList& options, bool editable, int data);
  // A colour row shows a swatch and "red; green; blue"; an invalid colour shows nothing.
  QTreeWidgetItem* AddColorRow(QTreeWidgetItem* group, const QString& label, const QColor& colour, int data);
  // A file row with a browse button; `filter` is in the "Beschreibung|*.a;*.b|...||" form.
  QTreeWidgetItem* AddFileRow(QTreeWidgetItem* group, const QString& label, const QString& value,
                              const QString& filter, int data);
  void SetRowEnabled(QTreeWidgetItem* item, bool enabled);
  // Widens the label column to its longest label (at most 60 % of the width) until the user sets
  // the width by dragging the divider.
  void FitLabelColumn();

  static int ItemData(const QTreeWidgetItem* item);
  static RowKind Kind(const QTreeWidgetItem* item);
  static bool IsGroup(const QTreeWidgetItem* item) { return Kind(item) == RowKind::group; }
  // The value text of a row, and the colour of a colour row (invalid when there is none).
  static QString Value(const QTreeWidgetItem* item);
  static QColor Colour(const QTreeWidgetItem* item);
  static QStringList Options(const QTreeWidgetItem* item);
  static bool IsEditable(const QTreeWidgetItem* item);
  static QString Filter(const QTreeWidgetItem* item);
  // The first item, at any depth, carrying `data`.
  QTreeWidgetItem* FindItemByData(int data) const;

  // Stores a value edited in a cell; announces the change when it differs from the shown one.
  void CommitText(QTreeWidgetItem* item, const QString& value);
  void CommitColour(QTreeWidgetItem* item, const QColor& colour);
  // After the current cell editor has closed: the colour dialog of a colour row or the open
  // dialog of a file row; a choice is committed as an edit.
  void OpenDialogLater(const QPersistentModelIndex& cell);

  // Name filters for the file dialog from a "Beschreibung|*.a;*.b|...||" filter.
  static QStringList NameFilters(const QString& filter);
  // The standard colours of the colour drop-down.
  static const QList<QColor>& StandardColours();
  // "r; g; b" (also "#rrggbb") to a colour; invalid for anything else.
  static QColor ParseColour(const QString& text);
  static QString ColourText(const QColor& colour);

 signals:
  // A row's value was changed by the user.
  void propertyChanged(QTreeWidgetItem* item);

 protected:
  // Editing a row always edits its value, also when the label is current or double-clicked.
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  QTreeWidgetItem* AddRow(QTreeWidgetItem* group, const QString& label, RowKind kind, int data);

  bool fitting_ = false;
  bool labelWidthByUser_ = false;
};
