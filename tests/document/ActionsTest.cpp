// The undo history and its actions, run on a real element list.
#include <gtest/gtest.h>

#include "document/ActionHistory.h"
#include "model/FormAlias.h"
#include "model/FormElementPtrList.h"
#include "model/FormLine.h"
#include "support/LayoutFixtures.h"

namespace {

// Counts live boxes, so that leaks and double deletes show up without a sanitizer as well.
int liveBoxes = 0;
class CountedBox : public CFormAlias {
 public:
  CountedBox() { ++liveBoxes; }
  ~CountedBox() override { --liveBoxes; }
  std::unique_ptr<CFormElement> Clone() const override {
    auto c = std::make_unique<CountedBox>();
    c->CopyFrom(*this);
    return c;
  }
};

std::unique_ptr<CountedBox> Box(int x, int y = 0, int w = 10, int h = 10) {
  auto b = std::make_unique<CountedBox>();
  b->x = x;
  b->y = y;
  b->width = w;
  b->height = h;
  return b;
}

std::vector<int> Lefts(const CFormElementPtrList& list) {
  std::vector<int> out;
  for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.At(i)->GetLeft());
  return out;
}

class History : public ::testing::Test {
 protected:
  void TearDown() override {
    history.Clear();
    list.DeleteAll();
    EXPECT_EQ(liveBoxes, 0) << "an element leaked";
  }
  CFormElementPtrList list;
  CActionHistory history;
};

TEST_F(History, UndoRedoOrderAndMenuTexts) {
  EXPECT_EQ(history.UndoMenuText(), "&Rückgängig\tStrg+Z");
  EXPECT_EQ(history.RedoMenuText(), "&Wiederherstellen\tStrg+Y");
  history.Do(std::make_unique<CAddAction>(Box(1)), list, false);
  history.Do(std::make_unique<CMoveAction>(std::vector<CFormElement*>{list.At(0)}, CPoint{5, 0}), list, false);
  EXPECT_EQ(Lefts(list), std::vector<int>{6});
  EXPECT_EQ(history.UndoMenuText(), "&Rückgängig: Verschieben\tStrg+Z");
  EXPECT_TRUE(history.Undo(list));
  EXPECT_EQ(Lefts(list), std::vector<int>{1});
  EXPECT_EQ(history.RedoMenuText(), "&Wiederherstellen: Verschieben\tStrg+Y");
  EXPECT_EQ(history.UndoMenuText(), "&Rückgängig: Einfügen\tStrg+Z");
  EXPECT_TRUE(history.Undo(list));
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_FALSE(history.Undo(list));
  EXPECT_TRUE(history.Redo(list));
  EXPECT_TRUE(history.Redo(list));
  EXPECT_EQ(Lefts(list), std::vector<int>{6});
  EXPECT_FALSE(history.Redo(list));
}

TEST_F(History, NewActionDiscardsUndoneOnesAndTheirElements) {
  history.Do(std::make_unique<CAddAction>(Box(1)), list, false);
  history.Do(std::make_unique<CAddAction>(Box(2)), list, false);
  history.Undo(list);  // the box at 2 now belongs to the undone action only
  EXPECT_EQ(liveBoxes, 2);
  history.Do(std::make_unique<CAddAction>(Box(3)), list, false);
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(liveBoxes, 2);
  EXPECT_EQ(Lefts(list), (std::vector<int>{1, 3}));
}

TEST_F(History, KeepsAtMostOneHundredSteps) {
  list.Append(Box(0));
  CFormElement* box = list.At(0);
  for (int i = 0; i < 101; ++i)
    history.Do(std::make_unique<CMoveAction>(std::vector<CFormElement*>{box}, CPoint{1, 0}), list, false);
  EXPECT_EQ(history.UndoCount(), 100u);
  int undone = 0;
  while (history.Undo(list)) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(box->GetLeft(), 1);  // the first move can no longer be taken back
  EXPECT_EQ(history.NextSerial(), 102);
}

TEST_F(History, DeleteAndUndoRestorePositionsUnselected) {
  for (int i = 0; i < 9; ++i) list.Append(Box(i));
  std::vector<CFormElement*> chosen = {list.At(4), list.At(1), list.At(7)};
  for (CFormElement* e : chosen) list.Select(e);
  history.Do(std::make_unique<CDeleteAction>(chosen), list, false);
  EXPECT_EQ(Lefts(list), (std::vector<int>{0, 2, 3, 5, 6, 8}));
  EXPECT_EQ(list.current, nullptr);
  history.Undo(list);
  EXPECT_EQ(Lefts(list), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(list.CountSelected(), 0);
  history.Redo(list);
  EXPECT_EQ(list.GetCount(), 6);
  EXPECT_EQ(liveBoxes, 9);  // deleted ones are owned by the action, not lost
}

TEST_F(History, PastedElementsComeBackOnTopAtTheSamePlace) {
  list.Append(Box(0));
  list.Append(Box(1));
  std::vector<std::unique_ptr<CFormElement>> pasted;
  pasted.push_back(Box(10));
  pasted.push_back(Box(11));
  history.Do(std::make_unique<CAddAction>(std::move(pasted), "Einfügen"), list, false);
  EXPECT_EQ(Lefts(list), (std::vector<int>{0, 1, 10, 11}));
  history.Undo(list);
  EXPECT_EQ(Lefts(list), (std::vector<int>{0, 1}));
  list.Append(Box(2));  // the list changed meanwhile: redo still uses the remembered index
  history.Redo(list);
  EXPECT_EQ(Lefts(list), (std::vector<int>{0, 1, 10, 11, 2}));
}

TEST_F(History, OrderToFrontAndToBack) {
  for (int i = 0; i < 4; ++i) list.Append(Box(i));  // a b c d
  const std::vector<CFormElement*> chosen = {list.At(0), list.At(2)};
  history.Do(std::make_unique<COrderAction>(chosen, 0), list, false);
  EXPECT_EQ(Lefts(list), (std::vector<int>{1, 3, 0, 2}));
  EXPECT_EQ(history.UndoName(), "Nach vorne");
  history.Undo(list);
  EXPECT_EQ(Lefts(list), (std::vector<int>{0, 1, 2, 3}));
  history.Do(std::make_unique<COrderAction>(chosen, 1), list, false);
  EXPECT_EQ(Lefts(list), (std::vector<int>{0, 2, 1, 3}));
  EXPECT_EQ(history.UndoName(), "Nach hinten");
  history.Undo(list);
  history.Redo(list);
  EXPECT_EQ(Lefts(list), (std::vector<int>{0, 2, 1, 3}));
}

TEST_F(History, PageSettingActions) {
  list.portrait = true;
  history.Do(std::make_unique<COrientationAction>(true), list, false);  // undo sets the opposite
  EXPECT_EQ(history.UndoName(), "Hochformat");
  history.Undo(list);
  EXPECT_FALSE(list.portrait);
  history.Do(std::make_unique<CDuplexAction>(0, 2), list, false);
  EXPECT_EQ(list.duplexMode, 2);
  EXPECT_EQ(history.UndoName(), "Doppelseitiger Druck");
  history.Undo(list);
  EXPECT_EQ(list.duplexMode, 0);
}

TEST_F(History, KeyboardMovesMergeOnlyForTheSameElements) {
  list.Append(Box(0));
  list.Append(Box(100));
  std::vector<CFormElement*> both = {list.At(0), list.At(1)};
  for (int i = 0; i < 3; ++i)
    history.Do(std::make_unique<CMoveAction>(both, CPoint{1, 0}), list, true);
  EXPECT_EQ(history.UndoCount(), 1u);
  EXPECT_EQ(Lefts(list), (std::vector<int>{3, 103}));
  EXPECT_EQ(history.CurrentSerial(), 3);  // every merge renews the serial
  // Another element set does not merge; neither does a non-move action.
  history.Do(std::make_unique<CMoveAction>(std::vector<CFormElement*>{list.At(0)}, CPoint{0, 1}), list, true);
  EXPECT_EQ(history.UndoCount(), 2u);
  history.Do(std::make_unique<CChangeAction>("Eigenschaften", std::vector<CFormElement*>{list.At(0)}), list, true);
  EXPECT_EQ(history.UndoCount(), 3u);
  history.Undo(list);
  history.Undo(list);
  history.Undo(list);
  EXPECT_EQ(Lefts(list), (std::vector<int>{0, 100}));
}

TEST(AlignOffsets, AlignAndDistributeExamples) {
  CFormElementPtrList list;
  auto* a = Add(list, Box(10, 0, 10, 10));
  auto* b = Add(list, Box(40, 5, 20, 30));
  auto* c = Add(list, Box(25, 9, 6, 4));
  const std::vector<CFormElement*> all = {a, b, c};
  // Left edges 10, 40, 25 aligned to the current element at 40.
  auto offsets = CAlignAction::Offsets(all, b, CAlignAction::left);
  EXPECT_EQ(offsets, (std::vector<CPoint>{{30, 0}, {0, 0}, {15, 0}}));
  offsets = CAlignAction::Offsets(all, b, CAlignAction::right);  // anchor right 60
  EXPECT_EQ(offsets, (std::vector<CPoint>{{40, 0}, {0, 0}, {29, 0}}));
  offsets = CAlignAction::Offsets(all, b, CAlignAction::bottom);  // anchor bottom 35
  EXPECT_EQ(offsets, (std::vector<CPoint>{{0, 25}, {0, 0}, {0, 22}}));
  // Centres: the two sums are halved separately, truncating.
  offsets = CAlignAction::Offsets(all, b, CAlignAction::centreHorizontal);  // (60+40)/2 = 50
  EXPECT_EQ(offsets[0], CPoint(50 - 15, 0));
  EXPECT_EQ(offsets[2], CPoint(50 - 28, 0));  // (31+25)/2 = 28
  offsets = CAlignAction::Offsets(all, b, CAlignAction::centreVertical);  // (35+5)/2 = 20
  EXPECT_EQ(offsets[2], CPoint(0, 20 - 11));  // (13+9)/2 = 11

  // Distribute: lefts 0 (w 10), 100 (w 10), 30 (w 20) -> order 0, 30, 100; gap 35.
  CFormElementPtrList d;
  auto* p = Add(d, Box(0, 0, 10, 1));
  auto* q = Add(d, Box(100, 0, 10, 1));
  auto* r = Add(d, Box(30, 0, 20, 1));
  offsets = CAlignAction::Offsets({p, q, r}, nullptr, CAlignAction::distributeHorizontal);
  EXPECT_EQ(offsets, (std::vector<CPoint>{{0, 0}, {0, 0}, {15, 0}}));
  // Fewer than three: nothing moves.
  offsets = CAlignAction::Offsets({p, q}, nullptr, CAlignAction::distributeHorizontal);
  EXPECT_EQ(offsets, (std::vector<CPoint>{{0, 0}, {0, 0}}));
  // Vertical, with a half step that rounds up: tops 0 (h 1), 10 (h 1), 3 (h 2): gap (11-4)/2=3.5.
  CFormElementPtrList v;
  auto* s = Add(v, Box(0, 0, 1, 1));
  auto* t = Add(v, Box(0, 10, 1, 1));
  auto* u = Add(v, Box(0, 3, 1, 2));
  offsets = CAlignAction::Offsets({s, t, u}, nullptr, CAlignAction::distributeVertical);
  EXPECT_EQ(offsets, (std::vector<CPoint>{{0, 0}, {0, 0}, {0, 2}}));  // floor(4.5 + 0.5) - 3
  list.DeleteAll();
  d.DeleteAll();
  v.DeleteAll();
  EXPECT_EQ(liveBoxes, 0);
}

TEST(AlignOffsets, AlignActionMovesClonesAndIsNamed) {
  CFormElementPtrList list;
  CActionHistory history;
  auto* a = Add(list, Box(10));
  auto* b = Add(list, Box(40));
  auto* c = Add(list, Box(25));
  history.Do(std::make_unique<CAlignAction>(std::vector<CFormElement*>{a, b, c}, b, CAlignAction::left), list, false);
  EXPECT_EQ(Lefts(list), (std::vector<int>{40, 40, 40}));
  EXPECT_EQ(history.UndoName(), "Ausrichten");
  history.Do(std::make_unique<CAlignAction>(std::vector<CFormElement*>{a, b, c}, nullptr, CAlignAction::distributeHorizontal), list, false);
  EXPECT_EQ(history.UndoName(), "Verteilen");
  history.Undo(list);
  history.Undo(list);
  EXPECT_EQ(Lefts(list), (std::vector<int>{10, 40, 25}));
  history.Clear();
  list.DeleteAll();
  EXPECT_EQ(liveBoxes, 0);
}

}  // namespace
