// The undo and redo lists of one document, with the serial numbers the modified flag is derived
// from.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "document/Actions.h"

class CActionHistory {
 public:
  static constexpr std::size_t kMaxUndo = 100;

  CActionHistory() = default;
  ~CActionHistory() { Clear(); }
  CActionHistory(const CActionHistory&) = delete;
  CActionHistory& operator=(const CActionHistory&) = delete;

  // Executes and records the action (or merges it into the newest one when allowed).
  void Do(std::unique_ptr<CAction> action, CFormElementPtrList& list, bool allowMerge);
  bool Undo(CFormElementPtrList& list);
  bool Redo(CFormElementPtrList& list);
  bool CanUndo() const { return !undoList_.empty(); }
  bool CanRedo() const { return !redoList_.empty(); }
  std::string UndoName() const { return undoList_.empty() ? std::string() : undoList_.back()->name; }
  std::string RedoName() const { return redoList_.empty() ? std::string() : redoList_.back()->name; }
  // The serial of the state the layout is in: the newest executed action's, or with nothing left
  // to undo the serial of the oldest state still reachable (0 for an untouched history).
  int CurrentSerial() const { return undoList_.empty() ? baseSerial_ : undoList_.back()->serial; }
  void Clear();

  // The menu texts of the two commands, e.g. "&Rückgängig: Verschieben\tStrg+Z".
  std::string UndoMenuText() const;
  std::string RedoMenuText() const;

  std::size_t UndoCount() const { return undoList_.size(); }
  std::size_t RedoCount() const { return redoList_.size(); }
  int NextSerial() const { return nextSerial_; }

 private:
  std::list<std::unique_ptr<CAction>> undoList_;  // oldest first
  std::list<std::unique_ptr<CAction>> redoList_;  // most recently undone last
  int nextSerial_ = 1;
  // The state before the oldest action in `undoList_`. When the oldest action is dropped, the state
  // before it can no longer be reached; the state after it takes its place under its serial, so
  // a save made before the dropped action never counts as reached again.
  int baseSerial_ = 0;
};
