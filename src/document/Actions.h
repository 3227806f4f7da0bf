// Undo actions: every change of a layout's content or page settings is one of these. An action
// applies its change to the element list, takes it back and applies it again; it never touches
// the view or the selection.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/FormElement.h"

class CFormElementPtrList;

class CAction {
 public:
  explicit CAction(std::string name) : name(std::move(name)) {}
  virtual ~CAction() = default;
  CAction(const CAction&) = delete;
  CAction& operator=(const CAction&) = delete;

  virtual void Do(CFormElementPtrList& list) = 0;
  virtual void Undo(CFormElementPtrList& list) = 0;
  virtual void Redo(CFormElementPtrList& list) { Do(list); }
  // Whether this action absorbed `newer`; the history then deletes `newer`.
  virtual bool Merge(CAction& newer) { (void)newer; return false; }

  const std::string name;
  int serial = 0;  // set by the history each time it executes the action
};

// New elements put on top of the z-order (creation, paste). Owns them while they are not in the
// list (before the first Do and after an Undo).
class CAddAction : public CAction {
 public:
  explicit CAddAction(std::unique_ptr<CFormElement> element);
  CAddAction(std::vector<std::unique_ptr<CFormElement>> elements, std::string name);
  void Do(CFormElementPtrList& list) override;
  void Undo(CFormElementPtrList& list) override;

  std::vector<CFormElement*> elements;
  int insertIndex = -1;
  bool ownsElements = true;

 private:
  std::vector<std::unique_ptr<CFormElement>> held_;  // filled exactly while ownsElements
};

// Elements taken out of the list; undo puts each back at its old position.
class CDeleteAction : public CAction {
 public:
  explicit CDeleteAction(std::vector<CFormElement*> elements, std::string name = "Löschen");
  void Do(CFormElementPtrList& list) override;
  void Undo(CFormElementPtrList& list) override;

  std::vector<CFormElement*> elements;
  std::vector<int> indices;
  bool ownsElements = false;

 private:
  std::vector<std::unique_ptr<CFormElement>> held_;
};

// New states for existing elements: the action keeps a clone of each state before and after.
class CChangeAction : public CAction {
 public:
  CChangeAction(std::string name, std::vector<CFormElement*> elements);
  CChangeAction(std::string name, std::vector<CFormElement*> elements,
                std::vector<std::unique_ptr<CFormElement>> newStates);
  void Do(CFormElementPtrList& list) override;
  void Undo(CFormElementPtrList& list) override;

  std::vector<CFormElement*> elements;  // not owned: they live in the list
  std::vector<std::unique_ptr<CFormElement>> before;
  std::vector<std::unique_ptr<CFormElement>> after;
};

// A keyboard move; successive moves of the same elements merge into one step.
class CMoveAction : public CChangeAction {
 public:
  CMoveAction(std::vector<CFormElement*> elements, CPoint delta);
  bool Merge(CAction& newer) override;
};

// Align (modes 0..5, to the anchor) and distribute (modes 6 and 7).
class CAlignAction : public CChangeAction {
 public:
  enum Mode { top = 0, left = 1, right = 2, bottom = 3, centreHorizontal = 4, centreVertical = 5,
              distributeHorizontal = 6, distributeVertical = 7 };
  CAlignAction(std::vector<CFormElement*> elements, const CFormElement* anchor, int mode);
  // The offset of every element, in element order.
  static std::vector<CPoint> Offsets(const std::vector<CFormElement*>& elements,
                                     const CFormElement* anchor, int mode);
};

// Brings the elements to the front (top of the z-order) or sends them to the back.
class COrderAction : public CAction {
 public:
  COrderAction(std::vector<CFormElement*> elements, int toBack);
  void Do(CFormElementPtrList& list) override;
  void Undo(CFormElementPtrList& list) override;
  void Redo(CFormElementPtrList& list) override;

  std::vector<CFormElement*> elements;
  int toBack = 0;
  std::vector<CFormElement*> before;
  std::vector<CFormElement*> after;
};

class COrientationAction : public CAction {
 public:
  explicit COrientationAction(bool portrait);
  void Do(CFormElementPtrList& list) override;
  void Undo(CFormElementPtrList& list) override;

  bool portrait;
};

class CDuplexAction : public CAction {
 public:
  CDuplexAction(int oldMode, int newMode);
  void Do(CFormElementPtrList& list) override;
  void Undo(CFormElementPtrList& list) override;

  int oldMode;
  int newMode;
};
