// The property pane: the attributes of the selection, of the selected table columns or of the
// page, in a two-column grid. Every edit becomes one undoable change of the layout. The grid is
// rebuilt, once per burst of document notifications, after control has returned to the event
// loop, so it is never torn down while it is still reporting an edit.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <QStringList>
#include <QWidget>

#include "document/ReportDoc.h"
#include "properties/PaneContent.h"

class CPropertyGrid;
class QTreeWidgetItem;

class CPropertyView : public QWidget, public DocumentObserver {
  Q_OBJECT

 public:
  // Item data of groups: kGroupData + index into the group names; rows carry their row index.
  static constexpr int kGroupData = 0x10000;

  explicit CPropertyView(CReportDoc& doc, QWidget* parent = nullptr);
  ~CPropertyView() override;

  void OnUpdate(CReportDoc& doc, int hint) override;
  // Fills the grid anew from the document, keeping group states and the selected row.
  void RebuildGrid();

  CPropertyGrid* grid() const { return grid_; }
  PaneMode mode() const { return content_.mode; }
  const PropertyList& rows() const { return content_.rows; }
  bool rebuildPending() const { return rebuildPending_; }
  // The installed font families, without vertical variants, sorted; read once.
  const QStringList& FontNames();

 signals:
  void gridRebuilt();

 private:
  void PostRebuild();
  void OnPropertyChanged(QTreeWidgetItem* item);
  // The edited value of a grid row; false for an entry to be put back.
  bool ReadGridValue(QTreeWidgetItem* item, const CProperty& row, double& number, std::string& text);
  QTreeWidgetItem* CreateGridRow(QTreeWidgetItem* group, const CProperty& row, const QString& label, int data);
  void SaveGroupStates();
  void SaveGroupState(QTreeWidgetItem* item);

  CReportDoc& doc_;
  CPropertyGrid* grid_;
  PaneContent content_;
  std::vector<std::string> groupNames_;
  std::map<std::string, bool> expandedGroups_;
  std::string lastSelectedName_;
  bool rebuildPending_ = false;
  QStringList fontNames_;
};
