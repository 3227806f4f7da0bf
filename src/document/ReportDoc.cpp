#include "document/ReportDoc.h"

#include <algorithm>

#include "document/Clipboard.h"
#include "model/FormTable.h"
#include "platform/Archive.h"
#include "platform/Services.h"

namespace {
constexpr const char* kViewSection = "Ansicht";
constexpr const char* kHelperImagesEntry = "Hilfsbilder";
}  // namespace

CReportDoc::CReportDoc() {
  elements.showHelperImages = services().Settings().GetInt(kViewSection, kHelperImagesEntry, 1) != 0;
  for (auto& tool : tools_) tool = std::make_unique<COperator>(this);
  currentTool_ = tools_[selectToolSlot].get();
}

CReportDoc::~CReportDoc() { ResetEditState(); }

// ---- framework side ----------------------------------------------------------------------------

void CReportDoc::ResetForLoad() {
  currentTool_->Deactivate();
  currentTool_ = tools_[selectToolSlot].get();
  currentTool_->Activate();
  ResetEditState();
  elements.DeleteAll();
  elements.current = nullptr;
  elements.portrait = true;
}

bool CReportDoc::OnNewDocument() {
  ResetForLoad();
  elements.duplexMode = 0;
  pathName_.clear();
  modified_ = false;
  UpdateAllViews(0);
  return true;
}

void CReportDoc::Serialize(Archive& ar) {
  if (ar.IsLoading()) ResetForLoad();
  elements.Serialize(ar);
}

bool CReportDoc::OnOpenDocument(const std::filesystem::path& path) {
  CFormElementPtrList loaded;
  if (!LoadLayoutFile(path, loaded).ok()) return false;
  ResetForLoad();
  std::vector<CFormElement*> all;
  loaded.GetAll(all);
  for (CFormElement* e : all) elements.Append(loaded.Remove(e));
  elements.portrait = loaded.portrait;
  elements.duplexMode = loaded.duplexMode;
  savedSerial = history.CurrentSerial();
  pathName_ = path;
  modified_ = false;
  UpdateAllViews(0);
  return true;
}

bool CReportDoc::OnSaveDocument(const std::filesystem::path& path, const WriteStreamFactory& open) {
  if (!SaveLayoutFile(path, elements, open)) return false;
  savedSerial = history.CurrentSerial();
  mergeMoves = false;
  pathName_ = path;
  modified_ = false;
  return true;
}

// ---- observers ---------------------------------------------------------------------------------

void CReportDoc::AddObserver(DocumentObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void CReportDoc::RemoveObserver(DocumentObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void CReportDoc::UpdateAllViews(int hint) {
  const std::vector<DocumentObserver*> copy = observers_;  // an observer may detach itself
  for (DocumentObserver* o : copy) o->OnUpdate(*this, hint);
}

// ---- changes -----------------------------------------------------------------------------------

void CReportDoc::UpdateModifiedFlag() { SetModifiedFlag(history.CurrentSerial() != savedSerial); }

void CReportDoc::AfterChange() {
  mergeMoves = false;
  UpdateModifiedFlag();
  ValidateColumnSelection();
  UpdateAllViews(0);
}

void CReportDoc::DoAction(std::unique_ptr<CAction> action, bool allowMerge) {
  AbandonDrag();
  history.Do(std::move(action), elements, allowMerge);
  AfterChange();
}

bool CReportDoc::Undo() {
  AbandonDrag();
  if (!history.Undo(elements)) return false;
  AfterChange();
  return true;
}

bool CReportDoc::Redo() {
  AbandonDrag();
  if (!history.Redo(elements)) return false;
  AfterChange();
  return true;
}

void CReportDoc::AddElement(std::unique_ptr<CFormElement> element) {
  DoAction(std::make_unique<CAddAction>(std::move(element)), false);
}

void CReportDoc::MoveSelection(CPoint delta) {
  std::vector<CFormElement*> selected;
  elements.GetSelected(selected);
  if (selected.empty()) return;
  const bool merge = mergeMoves;
  DoAction(std::make_unique<CMoveAction>(std::move(selected), delta), merge);
  mergeMoves = true;
}

void CReportDoc::BeginDrag(DeviceContext& dc, const CPageMapper& mapper, CPoint point) {
  mergeMoves = false;
  dragOriginals_.clear();
  elements.GetSelected(dragElements_);
  for (CFormElement* e : dragElements_) dragOriginals_.push_back(e->Clone());
  dragging_ = true;
  elements.BeginTrackAll(dc, mapper, point);
}

void CReportDoc::AbandonDrag() {
  if (!dragging_) return;
  dragging_ = false;
  for (std::size_t i = 0; i < dragElements_.size(); ++i)
    if (elements.Contains(dragElements_[i])) dragElements_[i]->CopyFrom(*dragOriginals_[i]);
  dragOriginals_.clear();
  dragElements_.clear();
}

void CReportDoc::CommitDrag(DeviceContext& dc, const CPageMapper& mapper, CPoint point) {
  elements.EndTrackAll(dc, mapper, point);
  dragging_ = false;
  if (dragElements_.empty()) return;
  // An undo or delete during the drag may have taken elements out of the layout; they are no
  // longer the document's to change, and an action on them would outlive them.
  std::vector<CFormElement*> dragged;
  std::vector<std::unique_ptr<CFormElement>> newStates;
  for (std::size_t i = 0; i < dragElements_.size(); ++i) {
    if (!elements.Contains(dragElements_[i])) continue;
    newStates.push_back(dragElements_[i]->Clone());
    dragElements_[i]->CopyFrom(*dragOriginals_[i]);
    dragged.push_back(dragElements_[i]);
  }
  dragOriginals_.clear();
  dragElements_.clear();
  if (dragged.empty()) return;
  DoAction(std::make_unique<CChangeAction>("Verschieben", std::move(dragged), std::move(newStates)),
           false);
}

void CReportDoc::EditSelectedElement() {
  if (elements.CountSelected() != 1) return;
  std::vector<CFormElement*> selected;
  elements.GetSelected(selected);
  std::unique_ptr<CFormElement> clone = selected[0]->Clone();
  if (!clone->EditInDialog()) return;
  std::vector<std::unique_ptr<CFormElement>> newStates;
  newStates.push_back(std::move(clone));
  DoAction(std::make_unique<CChangeAction>("Eigenschaften", std::move(selected), std::move(newStates)),
           false);
}

// ---- selection ---------------------------------------------------------------------------------

void CReportDoc::SelectElement(CFormElement* element) {
  mergeMoves = false;
  if (element == elements.current) return;
  elements.Select(element);
  ValidateColumnSelection();
  UpdateAllViews(0);
}

void CReportDoc::DeselectElement(CFormElement* element) {
  mergeMoves = false;
  if (!element || !element->selected) return;
  elements.Deselect(element);
  ValidateColumnSelection();
  UpdateAllViews(0);
}

void CReportDoc::ClearSelection() {
  mergeMoves = false;
  ClearColumnSelection();
  elements.DeselectAll();
  UpdateAllViews(0);
}

void CReportDoc::SelectAt(DeviceContext* dc, const CPageMapper& mapper, int x, int y, unsigned keyFlags) {
  mergeMoves = false;
  elements.SelectAt(dc, mapper, x, y, keyFlags);
  ValidateColumnSelection();
  UpdateAllViews(0);
}

void CReportDoc::SelectInRect(const CRect& rect, bool add) {
  mergeMoves = false;
  if (!elements.SelectInRect(rect, add)) return;
  ValidateColumnSelection();
  UpdateAllViews(0);
}

namespace {
void InsertSorted(std::vector<int>& v, int value) {
  const auto at = std::lower_bound(v.begin(), v.end(), value);
  if (at == v.end() || *at != value) v.insert(at, value);
}
}  // namespace

void CReportDoc::SelectColumn(CFormTable* table, int column, unsigned keyFlags) {
  if (!table || column < 0 || column >= static_cast<int>(table->columns.size())) return;
  if (table != columnTable) {
    columnTable = table;
    selectedColumns.clear();
    anchorColumn = -1;
  }
  const bool shift = keyFlags & MK_SHIFT;
  const bool control = keyFlags & MK_CONTROL;
  if (shift && anchorColumn >= 0) {
    if (!control) selectedColumns.clear();
    const int from = std::min(anchorColumn, column);
    const int to = std::max(anchorColumn, column);
    for (int i = from; i <= to; ++i) InsertSorted(selectedColumns, i);
  } else if (control) {
    const auto at = std::find(selectedColumns.begin(), selectedColumns.end(), column);
    if (at != selectedColumns.end())
      selectedColumns.erase(at);
    else
      InsertSorted(selectedColumns, column);
    anchorColumn = column;
  } else {
    selectedColumns = {column};
    anchorColumn = column;
  }
  if (selectedColumns.empty()) ClearColumnSelection();
  UpdateAllViews(0);
}

void CReportDoc::SetSelectedColumns(CFormTable* table, const std::vector<int>& columns, int anchor) {
  if (!table) return;
  std::vector<int> sorted;
  const int count = static_cast<int>(table->columns.size());
  for (int c : columns)
    if (c >= 0 && c < count) InsertSorted(sorted, c);
  anchorColumn = anchor;
  if (table == columnTable && sorted == selectedColumns) return;
  columnTable = table;
  selectedColumns = std::move(sorted);
  if (selectedColumns.empty()) {
    columnTable = nullptr;
    anchorColumn = -1;
  }
  UpdateAllViews(0);
}

void CReportDoc::ClearColumnSelection() {
  columnTable = nullptr;
  selectedColumns.clear();
  anchorColumn = -1;
}

void CReportDoc::ValidateColumnSelection() {
  if (!columnTable) return;
  if (elements.Contains(columnTable) && elements.CountSelected() == 1 && columnTable->selected) {
    const int count = static_cast<int>(columnTable->columns.size());
    while (!selectedColumns.empty() && selectedColumns.back() >= count) selectedColumns.pop_back();
    if (anchorColumn >= count) anchorColumn = -1;
    if (!selectedColumns.empty()) return;
  }
  ClearColumnSelection();
}

// ---- page settings -----------------------------------------------------------------------------

void CReportDoc::SetOrientation(bool portrait) {
  if (portrait == elements.portrait) return;
  DoAction(std::make_unique<COrientationAction>(portrait), false);
}

void CReportDoc::SetDuplexMode(int mode) {
  if (mode == elements.duplexMode) return;
  DoAction(std::make_unique<CDuplexAction>(elements.duplexMode, mode), false);
}

void CReportDoc::SetHelperImagesVisible(bool visible) {
  if (visible == elements.showHelperImages) return;
  elements.showHelperImages = visible;
  services().Settings().WriteInt(kViewSection, kHelperImagesEntry, visible ? 1 : 0);
  mergeMoves = false;
  if (!visible && elements.DeselectHelperImages()) ValidateColumnSelection();
  UpdateAllViews(0);
}

void CReportDoc::ResetEditState() {
  ClearColumnSelection();
  pasteCount = 0;
  history.Clear();
  savedSerial = history.CurrentSerial();
  mergeMoves = false;
  dragOriginals_.clear();
  dragElements_.clear();
  dragging_ = false;
}

// ---- editing commands --------------------------------------------------------------------------

void CReportDoc::DeleteSelection(const std::string& name) {
  if (!CanDelete()) return;
  std::vector<CFormElement*> selected;
  elements.GetSelected(selected);
  DoAction(std::make_unique<CDeleteAction>(std::move(selected), name), false);
}

void CReportDoc::OrderSelection(bool toBack) {
  if (!CanDelete()) return;
  std::vector<CFormElement*> selected;
  elements.GetSelected(selected);
  DoAction(std::make_unique<COrderAction>(std::move(selected), toBack ? 1 : 0), false);
}

void CReportDoc::AlignSelection(int mode) {
  const bool distribute = mode == CAlignAction::distributeHorizontal || mode == CAlignAction::distributeVertical;
  if (distribute ? !CanDistribute() : !CanAlign()) return;
  std::vector<CFormElement*> selected;
  elements.GetSelected(selected);
  DoAction(std::make_unique<CAlignAction>(std::move(selected), distribute ? nullptr : elements.current, mode),
           false);
}

// ---- clipboard ---------------------------------------------------------------------------------

bool CReportDoc::CopySelection() {
  std::vector<CFormElement*> selected;
  elements.GetSelected(selected);
  if (selected.empty()) return false;
  if (!services().ClipboardService().SetData(kClipboardFormat, ClipboardPayload(selected))) return false;
  pasteCount = 1;
  return true;
}

void CReportDoc::CutSelection() {
  if (!CanDelete() || !CopySelection()) return;
  // The first paste after a cut puts the elements back where they were.
  pasteCount = 0;
  DeleteSelection("Ausschneiden");
}

bool CReportDoc::CanPaste() const { return services().ClipboardService().HasFormat(kClipboardFormat); }

void CReportDoc::Paste() {
  Clipboard& clipboard = services().ClipboardService();
  if (!clipboard.HasFormat(kClipboardFormat)) return;
  const std::optional<std::vector<std::uint8_t>> payload = clipboard.GetData(kClipboardFormat);
  if (!payload) return;
  std::vector<std::unique_ptr<CFormElement>> pasted = ElementsFromPayload(*payload);
  if (pasted.empty()) return;
  const CPoint offset(10 * pasteCount, 10 * pasteCount);
  std::vector<CFormElement*> added;
  for (auto& e : pasted) {
    e->MoveBy(nullptr, UnusedMapper(), offset);
    added.push_back(e.get());
  }
  ++pasteCount;
  DoAction(std::make_unique<CAddAction>(std::move(pasted), "Einfügen"), false);
  ClearColumnSelection();
  elements.DeselectAll();
  for (CFormElement* e : added) elements.Select(e);
  UpdateAllViews(0);
}

// ---- tools -------------------------------------------------------------------------------------

void CReportDoc::InstallTool(Tool slot, std::unique_ptr<COperator> tool) {
  const bool wasCurrent = currentTool_ == tools_[slot].get();
  tools_[slot] = std::move(tool);
  if (wasCurrent) currentTool_ = tools_[slot].get();
}

void CReportDoc::SelectTool(Tool slot) {
  currentTool_->Deactivate();
  currentTool_ = tools_[slot].get();
  currentTool_->Activate();
}
