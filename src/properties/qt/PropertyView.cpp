#include "properties/qt/PropertyView.h"

#include <algorithm>

#include <QTreeWidgetItem>
#include <QVBoxLayout>

#include "platform/Services.h"
#include "properties/qt/PropertyGrid.h"

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

CPropertyView::CPropertyView(CReportDoc& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), grid_(new CPropertyGrid(this)) {
  setObjectName("PropertyPane");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  setFocusProxy(grid_);
  connect(grid_, &CPropertyGrid::propertyChanged, this, &CPropertyView::OnPropertyChanged);
  doc_.AddObserver(this);
  PostRebuild();  // the first fill
}

CPropertyView::~CPropertyView() { doc_.RemoveObserver(this); }

void CPropertyView::OnUpdate(CReportDoc&, int) { PostRebuild(); }

void CPropertyView::PostRebuild() {
  if (rebuildPending_) return;
  rebuildPending_ = true;
  QMetaObject::invokeMethod(this, &CPropertyView::RebuildGrid, Qt::QueuedConnection);
}

const QStringList& CPropertyView::FontNames() {
  if (!fontNames_.isEmpty()) return fontNames_;
  for (const std::string& family : services().Fonts().Families()) {
    const QString name = Q(family);
    if (name.startsWith('@') || fontNames_.contains(name)) continue;  // '@': vertical variants
    fontNames_ << name;
  }
  std::stable_sort(fontNames_.begin(), fontNames_.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return fontNames_;
}

// ---- rebuilding ----------------------------------------------------------------------------------

void CPropertyView::SaveGroupState(QTreeWidgetItem* item) {
  if (!CPropertyGrid::IsGroup(item)) return;
  const int g = CPropertyGrid::ItemData(item) - kGroupData;
  if (g >= 0 && g < static_cast<int>(groupNames_.size())) expandedGroups_[groupNames_[g]] = item->isExpanded();
  for (int i = 0; i < item->childCount(); ++i) SaveGroupState(item->child(i));
}

void CPropertyView::SaveGroupStates() {
  for (int i = 0; i < grid_->topLevelItemCount(); ++i) SaveGroupState(grid_->topLevelItem(i));
}

QTreeWidgetItem* CPropertyView::CreateGridRow(QTreeWidgetItem* group, const CProperty& row, const QString& label,
                                              int data) {
  const QString text = row.mixed ? QString() : Q(row.GetText());
  QTreeWidgetItem* item = nullptr;
  switch (row.type) {
    case PropertyType::Color: {
      // A mixed colour still shows the first element's colour.
      const auto c = static_cast<COLORREF>(row.GetNumber());
      item = grid_->AddColorRow(group, label, QColor(GetRValue(c), GetGValue(c), GetBValue(c)), data);
      break;
    }
    case PropertyType::Font:
      item = grid_->AddTextRow(group, label, text, FontNames(), true, data);
      break;
    case PropertyType::File: {
      const auto* file = dynamic_cast<const CFileProperty*>(&row);
      item = grid_->AddFileRow(group, label, text, file ? Q(file->filter) : QString(), data);
      break;
    }
    case PropertyType::Combo: {
      QStringList options;
      if (const auto* combo = dynamic_cast<const CComboProperty*>(&row))
        for (const ComboChoice& c : combo->choices)
          if (!options.contains(Q(c.text))) options << Q(c.text);
      item = grid_->AddTextRow(group, label, text, options, false, data);
      break;
    }
    default: {
      QStringList options;
      if (const auto* suggest = dynamic_cast<const CSuggestProperty*>(&row))
        for (const std::string& s : suggest->suggestions) options << Q(s);
      item = grid_->AddTextRow(group, label, text, options, true, data);
      break;
    }
  }
  if (row.readOnly) grid_->SetRowEnabled(item, false);
  return item;
}

void CPropertyView::RebuildGrid() {
  rebuildPending_ = false;

  lastSelectedName_.clear();
  QTreeWidgetItem* current = grid_->currentItem();
  if (current && !CPropertyGrid::IsGroup(current)) {
    if (const CProperty* row = content_.rows.At(static_cast<std::size_t>(CPropertyGrid::ItemData(current))))
      lastSelectedName_ = row->name;
  }
  SaveGroupStates();

  content_ = CollectPaneContent(doc_);

  grid_->setUpdatesEnabled(false);
  grid_->clear();
  groupNames_.clear();
  QTreeWidgetItem* root = grid_->AddGroup(nullptr, Q(content_.caption), kGroupData);
  groupNames_.push_back("*");
  std::map<std::string, QTreeWidgetItem*> subGroups;
  for (std::size_t i = 0; i < content_.rows.size(); ++i) {
    const CProperty& row = content_.rows[i];
    const std::size_t slash = row.name.find('/');
    if (!row.name.empty() && slash != std::string::npos) {
      const std::string g = row.name.substr(0, slash);
      QTreeWidgetItem*& group = subGroups[g];
      if (!group) {
        group = grid_->AddGroup(root, Q(SubGroupCaption(content_.rows, g)),
                                kGroupData + static_cast<int>(groupNames_.size()));
        groupNames_.push_back(g);
      }
      CreateGridRow(group, row, Q(row.name.substr(slash + 1)), static_cast<int>(i));
    } else {
      CreateGridRow(root, row, Q(row.name), static_cast<int>(i));
    }
  }
  // The root is open unless the user closed it; column groups are closed unless the user opened them.
  const auto rootState = expandedGroups_.find("*");
  root->setExpanded(rootState == expandedGroups_.end() || rootState->second);
  for (const auto& [name, group] : subGroups) {
    const auto state = expandedGroups_.find(name);
    group->setExpanded(state != expandedGroups_.end() && state->second);
  }

  if (!lastSelectedName_.empty()) {
    for (std::size_t i = 0; i < content_.rows.size(); ++i) {
      if (content_.rows[i].name != lastSelectedName_) continue;
      if (QTreeWidgetItem* item = grid_->FindItemByData(static_cast<int>(i))) grid_->setCurrentItem(item, 0);
      break;
    }
  }
  grid_->FitLabelColumn();
  grid_->setUpdatesEnabled(true);
  grid_->viewport()->update();
  emit gridRebuilt();
}

// ---- edits ---------------------------------------------------------------------------------------

bool CPropertyView::ReadGridValue(QTreeWidgetItem* item, const CProperty& row, double& number, std::string& text) {
  number = 0;
  text.clear();
  if (row.type == PropertyType::Color) {
    const QColor c = CPropertyGrid::Colour(item);
    if (!c.isValid()) return false;
    number = RGB(c.red(), c.green(), c.blue());
    return true;
  }
  return ReadRowValue(row, CPropertyGrid::Value(item).toStdString(), number, text);
}

void CPropertyView::OnPropertyChanged(QTreeWidgetItem* item) {
  const int data = CPropertyGrid::ItemData(item);
  const CProperty* row = data >= 0 && data < kGroupData ? content_.rows.At(static_cast<std::size_t>(data)) : nullptr;
  if (!row) return;
  double number = 0;
  std::string text;
  if (ReadGridValue(item, *row, number, text)) ApplyPaneEdit(doc_, content_.mode, *row, number, text);
  // Shows the stored values again: an entry that was rejected or changed nothing is put back.
  PostRebuild();
}
