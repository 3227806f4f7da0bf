// Thousands of seeded random edits through the real document: after every step the layout must be
// consistent, every undo must bring back exactly the bytes recorded for that history position, and
// no change may ever hide behind a clear modified flag. At the end the whole history is undone and
// redone. VELTROK_RANDOM_EDIT_STEPS=N (and _SEED=S) runs a longer search.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <unistd.h>

#include "document/LayoutFile.h"
#include "document/ReportDoc.h"
#include "model/ElementDialogs.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "properties/PaneContent.h"
#include "support/FakeDeviceContext.h"
#include "support/FakeServices.h"
#include "support/LayoutFixtures.h"

namespace fs = std::filesystem;

namespace {

using Bytes8 = std::vector<std::uint8_t>;

// Dialogs that change what they are shown, as a user would, and sometimes cancel.
class ScriptedDialogs : public ElementDialogService {
 public:
  explicit ScriptedDialogs(std::mt19937& rng) : rng_(rng) {}
  bool RunTextDialog(TextDialogValues& v) override {
    v.text = Pick({"[Name]", "Ergebnis", "Lauf [Laufnr]", "", "Zeile\r\nzwei"});
    v.alignment = Int(0, 2);
    return Int(0, 4) != 0;
  }
  bool RunLineDialog(LineDialogValues& v) override {
    v.to = CPoint(Int(-50, 600), Int(-50, 800));
    v.color = static_cast<COLORREF>(Int(0, 0xFFFFFF));
    return Int(0, 4) != 0;
  }
  bool RunImageDialog(ImageDialogValues& v) override {
    v.displayWidth = Int(0, 300);
    v.helper = Int(0, 1) != 0;
    return Int(0, 4) != 0;
  }
  bool RunTableDialog(CFormTable& t) override {
    if (Int(0, 1)) t.AppendColumn(CFormTableEntry());
    else if (!t.columns.empty()) t.RemoveColumn(&t.columns.front());
    t.twoColour = !t.twoColour;
    return Int(0, 4) != 0;
  }

 private:
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  std::string Pick(std::initializer_list<const char*> options) {
    return *(options.begin() + Int(0, static_cast<int>(options.size()) - 1));
  }
  std::mt19937& rng_;
};

class RandomEdits {
 public:
  RandomEdits(std::uint32_t seed, fs::path file)
      : rng_(seed), dialogs_(rng_), file_(std::move(file)) {
    scope_.With<SettingsStore>(&settings_).With<MessageService>(&messages_).With<Clipboard>(&clipboard_)
        .With<ElementDialogService>(&dialogs_);
    doc_.OnNewDocument();
    saved_ = Now();
    bySerial_[doc_.history.CurrentSerial()] = saved_;
  }

  void Step(int step) {
    const int op = Int(0, 23);
    const std::size_t serialsBefore = static_cast<std::size_t>(doc_.history.NextSerial());
    switch (op) {
      case 0: case 1: AddRandomElement(); break;
      case 2: SelectRandom(); doc_.DeleteSelection(); break;
      case 3: SelectRandom(); doc_.CopySelection(); break;
      case 4: SelectRandom(); doc_.CutSelection(); break;
      case 5: case 6: doc_.Paste(); break;
      case 7: SelectRandom(); Drag(); break;
      case 8: SelectRandom(); for (int i = Int(1, 4); i > 0; --i) doc_.MoveSelection({Int(-10, 10), Int(-10, 10)}); break;
      case 9: SelectRandom(); doc_.AlignSelection(Int(0, 7)); break;
      case 10: SelectRandom(); doc_.OrderSelection(Int(0, 1) != 0); break;
      case 11: case 12: SelectRandom(); EditProperty(); break;
      case 13: SelectRandom(); if (doc_.elements.CountSelected() == 1) doc_.EditSelectedElement(); break;
      case 14: doc_.SetOrientation(Int(0, 1) != 0); break;
      case 15: doc_.SetDuplexMode(Int(0, 3)); break;
      case 16: doc_.SetHelperImagesVisible(Int(0, 1) != 0); break;
      case 17: Save(); break;
      case 18: case 19: doc_.Undo(); break;
      case 20: doc_.Redo(); break;
      case 21: doc_.ClearSelection(); break;
      case 22: while (doc_.Undo()) {} break;  // back to the oldest step the history still keeps
      case 23: Reopen(); break;
    }
    Check(step, op, serialsBefore);
  }

  // Undo to the oldest kept step and redo to the newest, twice, with the bytes at both ends.
  void UndoAndRedoEverything() {
    while (doc_.Redo()) Check(-2, 20, static_cast<std::size_t>(doc_.history.NextSerial()));
    const Bytes8 newest = Now();
    for (int round = 0; round < 2; ++round) {
      // Every position on the way must show the bytes recorded for it.
      while (doc_.Undo()) Check(-1, 18, static_cast<std::size_t>(doc_.history.NextSerial()));
      const Bytes8 oldest = Now();
      while (doc_.Redo()) Check(-2, 20, static_cast<std::size_t>(doc_.history.NextSerial()));
      EXPECT_EQ(Now(), newest);
      if (round == 1) break;
      while (doc_.Undo()) {}
      EXPECT_EQ(Now(), oldest);
      while (doc_.Redo()) {}
    }
  }

  int saves = 0, undos = 0;

 private:
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  Bytes8 Now() { return LayoutToBytes(doc_.elements); }

  void AddRandomElement() {
    const CPoint at(Int(-20, 600), Int(-20, 800));
    switch (Int(0, 4)) {
      case 0: doc_.AddElement(std::make_unique<CFormText>(at, "[Name] " + std::to_string(Int(0, 99)))); break;
      case 1: doc_.AddElement(std::make_unique<CFormLine>(at, CPoint(Int(0, 600), Int(0, 800)))); break;
      case 2: {
        auto t = std::make_unique<CFormTable>(at);
        for (int i = Int(0, 4); i > 0; --i) t->AppendColumn(CFormTableEntry());
        doc_.AddElement(std::move(t));
        break;
      }
      case 3: {
        auto img = std::make_unique<CFormImage>();
        img->x = at.x;
        img->y = at.y;
        img->width = Int(1, 200);
        img->height = Int(1, 200);
        img->SetPicture(2, 2, Bytes8(12, static_cast<std::uint8_t>(Int(0, 255))));
        img->helper = Int(0, 1) != 0;
        doc_.AddElement(std::move(img));
        break;
      }
      default: doc_.AddElement(Box(at.x, at.y, Int(1, 100), Int(1, 100))); break;
    }
  }

  void SelectRandom() {
    std::vector<CFormElement*> all;
    doc_.elements.GetAll(all);
    if (Int(0, 3) == 0) doc_.ClearSelection();
    for (CFormElement* e : all)
      if (Int(0, 3) == 0) doc_.SelectElement(e);
  }

  void Drag() {
    std::vector<CFormElement*> selected;
    doc_.elements.GetSelected(selected);
    if (selected.empty()) return;
    FakeDeviceContext dc;
    CFormElement* grabbed = selected[static_cast<std::size_t>(Int(0, static_cast<int>(selected.size()) - 1))];
    const CRect r = grabbed->GetBounds();
    const CPoint start(r.left + Int(0, 5), r.top + Int(0, 5));
    grabbed->HitTest(&dc, mapper_, start.x, start.y);  // a handle or the body, as the press found it
    doc_.BeginDrag(dc, mapper_, start);
    CPoint p = start;
    for (int i = Int(1, 5); i > 0; --i) {
      p += CPoint(Int(-30, 30), Int(-30, 30));
      // As the selection tool does: once a shortcut has ended the drag, the mouse moves nothing.
      if (doc_.IsDragging()) doc_.elements.TrackAll(dc, mapper_, p);
      // Shortcuts pressed while the button is down.
      if (Int(0, 9) == 0) doc_.Undo();
      if (Int(0, 14) == 0) doc_.Paste();
    }
    doc_.CommitDrag(dc, mapper_, p);
  }

  void EditProperty() {
    const PaneContent content = CollectPaneContent(doc_);
    std::vector<const CProperty*> rows;
    for (const auto& row : content.rows)
      if (!row->readOnly) rows.push_back(row.get());
    if (rows.empty()) return;
    const CProperty& row = *rows[static_cast<std::size_t>(Int(0, static_cast<int>(rows.size()) - 1))];
    static const char* typed[] = {"12,5", " 7 ", "0", "-3", "100", "1e9", "99999999999", "nan", "Arial",
                                  "[Name]", "Rechts", "", "250"};
    double number = 0;
    std::string text;
    if (!ReadRowValue(row, typed[Int(0, 12)], number, text)) return;
    ApplyPaneEdit(doc_, content.mode, row, number, text);
  }

  void Save() {
    if (!doc_.OnSaveDocument(file_)) {
      ADD_FAILURE() << "save failed";
      return;
    }
    std::ifstream in(file_, std::ios::binary);
    saved_ = Bytes8(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(saved_, Now());
    ++saves;
  }

  // Opening the saved file again starts a fresh history whose empty state is the saved one.
  void Reopen() {
    if (saves == 0) return;
    ASSERT_TRUE(doc_.OnOpenDocument(file_));
    EXPECT_EQ(Now(), saved_);
    bySerial_.clear();
    bySerial_[doc_.history.CurrentSerial()] = saved_;
  }

  void Check(int step, int op, std::size_t serialsBefore) {
    SCOPED_TRACE("step " + std::to_string(step) + ", operation " + std::to_string(op));
    // Every element once; the selection only of elements in the layout; the current one selected.
    std::vector<CFormElement*> all, selected;
    doc_.elements.GetAll(all);
    doc_.elements.GetSelected(selected);
    const std::set<CFormElement*> unique(all.begin(), all.end());
    ASSERT_EQ(unique.size(), all.size());
    for (CFormElement* s : selected) ASSERT_TRUE(unique.count(s));
    ASSERT_EQ(static_cast<int>(selected.size()), doc_.elements.CountSelected());
    if (doc_.elements.current) ASSERT_TRUE(doc_.elements.current->selected && unique.count(doc_.elements.current));
    ASSERT_FALSE(doc_.IsDragging());

    const Bytes8 now = Now();
    // A change never hides behind a clear modified flag; at the saved history position the bytes
    // are the saved ones.
    if (now != saved_) ASSERT_TRUE(doc_.IsModified()) << "unsaved change not marked (history position "
                                                  << doc_.history.CurrentSerial() << ", saved at " << doc_.savedSerial
                                                  << ", " << doc_.history.UndoCount() << " steps to undo)";
    if (!doc_.IsModified()) ASSERT_EQ(now, saved_);

    // Each history position has one content: a new step records it, an undo or redo must find
    // exactly the bytes recorded for the position it arrives at.
    const int serial = doc_.history.CurrentSerial();
    if (static_cast<std::size_t>(doc_.history.NextSerial()) != serialsBefore) {
      bySerial_[serial] = now;
    } else if (auto it = bySerial_.find(serial); it != bySerial_.end()) {
      ASSERT_EQ(now, it->second) << "history position " << serial << " shows other bytes";
    }
    if (op == 18 || op == 19 || op == 22) ++undos;
  }

  std::mt19937 rng_;
  FakeSettings settings_;
  FakeMessages messages_;
  FakeClipboard clipboard_;
  ScriptedDialogs dialogs_;
  ScopedServices scope_;
  CReportDoc doc_;
  const CPageMapper mapper_;
  fs::path file_;
  Bytes8 saved_;
  std::map<int, Bytes8> bySerial_;
};

int FromEnvironment(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

TEST(RandomEdit, TenThousandStepsKeepTheLayoutAndHistoryConsistent) {
  const int steps = FromEnvironment("VELTROK_RANDOM_EDIT_STEPS", 10000);
  const auto seed = static_cast<std::uint32_t>(FromEnvironment("VELTROK_RANDOM_EDIT_SEED", 20261210));
  const fs::path file = fs::temp_directory_path() / ("veltrok-random-edit-" + std::to_string(::getpid()) + ".rep");
  {
    RandomEdits run(seed, file);
    for (int i = 0; i < steps && !::testing::Test::HasFatalFailure(); ++i) run.Step(i);
    if (!::testing::Test::HasFatalFailure()) run.UndoAndRedoEverything();
    EXPECT_GT(run.saves, steps / 40);
    EXPECT_GT(run.undos, steps / 20);
  }
  fs::remove(file);
}

}  // namespace
