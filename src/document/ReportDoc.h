// The one open layout: its elements, undo history, editing tools and the editing state that
// outlives a single mouse gesture. Every content change goes through DoAction; afterwards all
// observers are told with hint 0 that anything may have changed.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/ActionHistory.h"
#include "document/LayoutFile.h"
#include "model/FormElementPtrList.h"
#include "document/Operator.h"

class CFormTable;
class CReportDoc;

class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;
  virtual void OnUpdate(CReportDoc& doc, int hint) = 0;
};

class CReportDoc {
 public:
  enum Tool { selectToolSlot = 0, newTextToolSlot, newLineToolSlot, newImageToolSlot, newTableToolSlot };

  CReportDoc();
  ~CReportDoc();
  CReportDoc(const CReportDoc&) = delete;
  CReportDoc& operator=(const CReportDoc&) = delete;

  // ---- framework side
  bool OnNewDocument();
  // Loads a layout file. The file is read completely before the document changes, so a file that
  // cannot be read leaves the open layout as it was; the user has been told why.
  bool OnOpenDocument(const std::filesystem::path& path);
  bool OnSaveDocument(const std::filesystem::path& path, const WriteStreamFactory& open = {});
  void Serialize(Archive& ar);
  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified) { modified_ = modified; }
  const std::filesystem::path& PathName() const { return pathName_; }
  void SetPathName(const std::filesystem::path& path) { pathName_ = path; }

  // ---- observers (the editor view and the property pane)
  void AddObserver(DocumentObserver* observer);
  void RemoveObserver(DocumentObserver* observer);
  void UpdateAllViews(int hint = 0);

  // ---- changes and selection
  void DoAction(std::unique_ptr<CAction> action, bool allowMerge);
  void AddElement(std::unique_ptr<CFormElement> element);
  void MoveSelection(CPoint delta);
  void BeginDrag(DeviceContext& dc, const CPageMapper& mapper, CPoint point);
  void CommitDrag(DeviceContext& dc, const CPageMapper& mapper, CPoint point);
  void EditSelectedElement();
  void SelectElement(CFormElement* element);
  void DeselectElement(CFormElement* element);
  void ClearSelection();
  void SelectAt(DeviceContext* dc, const CPageMapper& mapper, int x, int y, unsigned keyFlags);
  void SelectInRect(const CRect& rect, bool add);
  void SelectColumn(CFormTable* table, int column, unsigned keyFlags);
  void SetSelectedColumns(CFormTable* table, const std::vector<int>& columns, int anchor);
  void ClearColumnSelection();
  void ValidateColumnSelection();
  void SetOrientation(bool portrait);
  void SetDuplexMode(int mode);
  void SetHelperImagesVisible(bool visible);
  void ResetEditState();

  // ---- editing commands that need nothing but the selection; each checks its condition again
  bool CanDelete() const { return elements.CountSelected() >= 1; }
  bool CanAlign() const { return elements.CountSelected() >= 2 && elements.current; }
  bool CanDistribute() const { return elements.CountSelected() >= 3; }
  void DeleteSelection(const std::string& name = "Löschen");
  void OrderSelection(bool toBack);
  void AlignSelection(int mode);

  // ---- clipboard ("Veltrok.Elemente": the layout stream of clones of the selection)
  // False when nothing is selected or the clipboard refused the data; then nothing changed.
  bool CopySelection();
  void CutSelection();
  bool CanPaste() const;
  // Adds the clipboard's elements on top, offset by ten units per paste since the last copy, and
  // selects them. Data that cannot be read is ignored.
  void Paste();

  // Undo and redo with the after-change sequence; false when there was nothing to do.
  bool Undo();
  bool Redo();

  // ---- tools
  COperator* CurrentTool() const { return currentTool_; }
  COperator* ToolAt(Tool slot) const { return tools_[slot].get(); }
  // Installs the concrete tool of a slot (the document owns it). The select tool is current at
  // construction.
  void InstallTool(Tool slot, std::unique_ptr<COperator> tool);
  void SelectTool(Tool slot);
  bool IsCurrentTool(Tool slot) const { return currentTool_ == tools_[slot].get(); }

  // ---- read access
  CFormElementPtrList elements;
  CActionHistory history;
  int savedSerial = 0;
  bool mergeMoves = false;
  int pasteCount = 0;
  CFormTable* columnTable = nullptr;
  std::vector<int> selectedColumns;
  int anchorColumn = -1;
  const std::vector<CFormElement*>& DragElements() const { return dragElements_; }
  // A mouse drag has begun and is neither committed nor given up.
  bool IsDragging() const { return dragging_; }

 private:
  void AfterChange();
  void ResetForLoad();
  void UpdateModifiedFlag();
  // Gives up a mouse drag before the history changes the layout under it: the dragged elements
  // return to where the drag found them, so every action sees the states the history recorded.
  void AbandonDrag();

  std::array<std::unique_ptr<COperator>, 5> tools_;
  COperator* currentTool_ = nullptr;
  std::vector<CFormElement*> dragElements_;
  std::vector<std::unique_ptr<CFormElement>> dragOriginals_;
  bool dragging_ = false;
  std::vector<DocumentObserver*> observers_;
  bool modified_ = false;
  std::filesystem::path pathName_;
};
