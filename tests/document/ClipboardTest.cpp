// Cut, copy and paste through the real document and a fake clipboard, the payload, damaged
// payloads, and the enabling rules of the editing commands.
#include <gtest/gtest.h>

#include <random>

#include "document/Clipboard.h"
#include "document/ReportDoc.h"
#include "model/FileFormat.h"
#include "model/FormImage.h"
#include "support/Bytes.h"
#include "support/FakeServices.h"
#include "support/LayoutFixtures.h"

namespace {

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scope.With<SettingsStore>(&settings).With<Clipboard>(&clipboard).With<MessageService>(&messages);
    doc = std::make_unique<CReportDoc>();
  }
  CFormAlias* Put(int x, int y) {
    auto b = Box(x, y, 20, 20);
    CFormAlias* raw = b.get();
    doc->AddElement(std::move(b));
    return raw;
  }
  void SelectOnly(CFormElement* e) {
    doc->ClearSelection();
    doc->SelectElement(e);
  }
  std::vector<CFormElement*> All() const {
    std::vector<CFormElement*> all;
    doc->elements.GetAll(all);
    return all;
  }
  const std::vector<std::uint8_t>& Payload() { return clipboard.data[kClipboardFormat]; }

  FakeSettings settings;
  FakeClipboard clipboard;
  FakeMessages messages;
  ScopedServices scope;
  std::unique_ptr<CReportDoc> doc;
};

TEST_F(ClipboardTest, EachPasteLandsTenUnitsFurtherAndIsSelectedAlone) {
  CFormAlias* a = Put(100, 50);
  SelectOnly(a);
  ASSERT_TRUE(doc->CopySelection());
  EXPECT_TRUE(doc->CanPaste());
  doc->Paste();
  doc->Paste();
  const auto all = All();
  ASSERT_EQ(all.size(), 3u);
  const auto* first = static_cast<CFormAlias*>(all[1]);
  const auto* second = static_cast<CFormAlias*>(all[2]);
  EXPECT_EQ(CPoint(first->x, first->y), CPoint(110, 60));
  EXPECT_EQ(CPoint(second->x, second->y), CPoint(120, 70));
  EXPECT_EQ(doc->elements.CountSelected(), 1);
  EXPECT_TRUE(second->selected);
  EXPECT_EQ(doc->elements.current, second);
  EXPECT_EQ(doc->history.UndoName(), "Einfügen");
  // Undo takes the paste away but the next one still lands further on.
  doc->Undo();
  EXPECT_EQ(doc->elements.GetCount(), 2);
  EXPECT_EQ(doc->pasteCount, 3);
  doc->Paste();
  EXPECT_EQ(static_cast<CFormAlias*>(All().back())->x, 130);
}

TEST_F(ClipboardTest, CutThenPastePutsTheElementsBackOnTop) {
  CFormAlias* a = Put(100, 50);
  CFormAlias* b = Put(200, 50);
  Put(300, 50);
  doc->ClearSelection();
  doc->SelectElement(a);
  doc->SelectElement(b);
  doc->CutSelection();
  EXPECT_EQ(doc->history.UndoName(), "Ausschneiden");
  EXPECT_EQ(doc->elements.GetCount(), 1);
  doc->Paste();
  const auto all = All();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(static_cast<CFormAlias*>(all[1])->x, 100);  // list order kept, on top of the third
  EXPECT_EQ(static_cast<CFormAlias*>(all[2])->x, 200);
  EXPECT_EQ(static_cast<CFormAlias*>(all[2])->y, 50);
  EXPECT_TRUE(all[1]->selected && all[2]->selected);
  EXPECT_EQ(doc->elements.current, all[2]);
}

TEST_F(ClipboardTest, PayloadIsTheLayoutStreamOfTheClones) {
  CFormAlias* a = Put(100, 50);
  auto helper = std::make_unique<CFormImage>();
  helper->helper = true;
  CFormImage* img = helper.get();
  doc->AddElement(std::move(helper));
  doc->SetDuplexMode(2);
  doc->SetOrientation(false);
  SelectOnly(a);
  ASSERT_TRUE(doc->CopySelection());
  // Default page settings whatever the layout's: version 4714, portrait.
  EXPECT_EQ(std::vector<std::uint8_t>(Payload().begin(), Payload().begin() + 8),
            Bytes().i32(4714).i32(1).data);
  doc->SelectElement(img);
  ASSERT_TRUE(doc->CopySelection());
  EXPECT_EQ(std::vector<std::uint8_t>(Payload().begin(), Payload().begin() + 14),
            Bytes().i32(4716).i32(1).i32(0).u16(2).data);
  // Pasting landscape data into a portrait layout leaves the orientation alone, and vice versa.
  doc->SetOrientation(true);
  doc->Paste();
  EXPECT_TRUE(doc->elements.portrait);
  EXPECT_EQ(doc->elements.duplexMode, 2);
}

TEST_F(ClipboardTest, NewerVersionIsRefusedWithItsMessage) {
  Put(0, 0);
  clipboard.SetData(kClipboardFormat, Bytes().i32(kVersionNewest + 1).i32(1).i32(0).u32(0).data);
  const std::size_t undos = doc->history.UndoCount();
  doc->Paste();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], kNewerVersionMessage);
  EXPECT_EQ(doc->history.UndoCount(), undos);
  EXPECT_EQ(doc->elements.GetCount(), 1);
}

TEST_F(ClipboardTest, DamagedPayloadsPasteNothingAndSayNothing) {
  CFormAlias* a = Put(0, 0);
  SelectOnly(a);
  doc->CopySelection();
  const std::vector<std::uint8_t> good = Payload();
  std::vector<std::vector<std::uint8_t>> bad;
  for (std::size_t cut : {std::size_t{0}, std::size_t{3}, std::size_t{12}, good.size() - 1})
    bad.emplace_back(good.begin(), good.begin() + static_cast<long>(cut));
  // Two good elements claimed, one present: the first must not be pasted alone.
  Bytes two;
  two.i32(4714).i32(1).u32(2).raw(std::vector<std::uint8_t>(good.begin() + 12, good.end()));
  bad.push_back(two.data);
  std::mt19937 random(7);
  for (int n = 0; n < 50; ++n) {
    std::vector<std::uint8_t> noise(static_cast<std::size_t>(random() % 300));
    for (auto& b : noise) b = static_cast<std::uint8_t>(random());
    bad.push_back(noise);
  }
  for (const auto& payload : bad) {
    clipboard.SetData(kClipboardFormat, payload);
    doc->Paste();
  }
  EXPECT_EQ(doc->elements.GetCount(), 1);
  EXPECT_EQ(doc->history.UndoName(), "Einfügen");
  EXPECT_EQ(doc->history.UndoCount(), 1u);
  for (const std::string& m : messages.shown) EXPECT_EQ(m, kNewerVersionMessage);
}

TEST_F(ClipboardTest, TenThousandElementsPasteAsOneStep) {
  CFormElementPtrList many;
  for (int i = 0; i < 10000; ++i) many.Append(Box(i % 500, i % 700, 5, 5));
  clipboard.SetData(kClipboardFormat, LayoutToBytes(many));
  doc->Paste();
  EXPECT_EQ(doc->elements.GetCount(), 10000);
  EXPECT_EQ(doc->elements.CountSelected(), 10000);
  EXPECT_EQ(doc->history.UndoCount(), 1u);
  doc->Undo();
  EXPECT_EQ(doc->elements.GetCount(), 0);
}

TEST_F(ClipboardTest, CopyWithoutSelectionOrClipboardChangesNothing) {
  CFormAlias* a = Put(0, 0);
  clipboard.SetData(kClipboardFormat, {1, 2, 3});
  doc->ClearSelection();
  EXPECT_FALSE(doc->CopySelection());
  EXPECT_EQ(Payload(), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(doc->pasteCount, 0);
  doc->CutSelection();
  EXPECT_EQ(doc->history.UndoCount(), 1u);

  clipboard.available = false;
  SelectOnly(a);
  EXPECT_FALSE(doc->CopySelection());
  doc->CutSelection();  // the copy failed: nothing is deleted
  EXPECT_EQ(doc->elements.GetCount(), 1);
  EXPECT_FALSE(doc->CanPaste());
}

TEST_F(ClipboardTest, NewAndOpenResetThePasteCounter) {
  CFormAlias* a = Put(0, 0);
  SelectOnly(a);
  doc->CopySelection();
  doc->Paste();
  EXPECT_EQ(doc->pasteCount, 2);
  doc->OnNewDocument();
  EXPECT_EQ(doc->pasteCount, 0);
  doc->Paste();
  EXPECT_EQ(static_cast<CFormAlias*>(All().back())->x, 0);
}

TEST_F(ClipboardTest, CommandConditionsCountTheSelection) {
  std::vector<CFormAlias*> boxes;
  for (int i = 0; i < 3; ++i) boxes.push_back(Put(i * 50, 0));
  doc->ClearSelection();
  EXPECT_FALSE(doc->CanDelete());
  const int expectedAlign[] = {0, 0, 1, 1};
  const int expectedDistribute[] = {0, 0, 0, 1};
  for (int n = 1; n <= 3; ++n) {
    doc->SelectElement(boxes[static_cast<std::size_t>(n - 1)]);
    EXPECT_TRUE(doc->CanDelete());
    EXPECT_EQ(doc->CanAlign(), expectedAlign[n] == 1) << n;
    EXPECT_EQ(doc->CanDistribute(), expectedDistribute[n] == 1) << n;
  }
  // A stale command does nothing when its condition no longer holds.
  doc->ClearSelection();
  doc->SelectElement(boxes[0]);
  const std::size_t undos = doc->history.UndoCount();
  doc->AlignSelection(CAlignAction::distributeHorizontal);
  doc->AlignSelection(CAlignAction::left);
  EXPECT_EQ(doc->history.UndoCount(), undos);
  // Choosing the duplex mode already set makes no step.
  doc->SetDuplexMode(1);
  doc->SetDuplexMode(1);
  EXPECT_EQ(doc->history.UndoCount(), undos + 1);
}

}  // namespace
