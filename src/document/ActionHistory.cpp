#include "document/ActionHistory.h"

void CActionHistory::Do(std::unique_ptr<CAction> action, CFormElementPtrList& list, bool allowMerge) {
  // A new change discards everything undone, from the most recent on.
  while (!redoList_.empty()) redoList_.pop_back();
  if (allowMerge && !undoList_.empty() && undoList_.back()->Merge(*action)) {
    action.reset();
    CAction& tail = *undoList_.back();
    tail.Do(list);
    tail.serial = nextSerial_++;
    return;
  }
  action->Do(list);
  action->serial = nextSerial_++;
  undoList_.push_back(std::move(action));
  while (undoList_.size() > kMaxUndo) {
    baseSerial_ = undoList_.front()->serial;
    undoList_.pop_front();
  }
}

bool CActionHistory::Undo(CFormElementPtrList& list) {
  if (undoList_.empty()) return false;
  std::unique_ptr<CAction> action = std::move(undoList_.back());
  undoList_.pop_back();
  action->Undo(list);
  redoList_.push_back(std::move(action));
  return true;
}

bool CActionHistory::Redo(CFormElementPtrList& list) {
  if (redoList_.empty()) return false;
  std::unique_ptr<CAction> action = std::move(redoList_.back());
  redoList_.pop_back();
  action->Redo(list);
  undoList_.push_back(std::move(action));
  return true;
}

void CActionHistory::Clear() {
  while (!redoList_.empty()) redoList_.pop_back();
  while (!undoList_.empty()) undoList_.pop_back();
  baseSerial_ = 0;
}

std::string CActionHistory::UndoMenuText() const {
  std::string text = "&Rückgängig";
  if (CanUndo()) text += ": " + UndoName();
  return text + "\tStrg+Z";
}

std::string CActionHistory::RedoMenuText() const {
  std::string text = "&Wiederherstellen";
  if (CanRedo()) text += ": " + RedoName();
  return text + "\tStrg+Y";
}
