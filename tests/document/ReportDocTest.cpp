// The document: modified flag, merging, drags, column selection, page settings, open and save.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "document/ReportDoc.h"
#include "model/ElementDialogs.h"
#include "model/FormAlias.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "platform/Errors.h"
#include "support/Bytes.h"
#include "support/FakeDeviceContext.h"
#include "support/FakeServices.h"
#include "support/LayoutFixtures.h"

namespace fs = std::filesystem;

namespace {

class CountingObserver : public DocumentObserver {
 public:
  void OnUpdate(CReportDoc&, int hint) override {
    ++updates;
    hints.push_back(hint);
  }
  int updates = 0;
  std::vector<int> hints;
};

class RecordingTool : public COperator {
 public:
  RecordingTool(CReportDoc* doc, std::string name, std::vector<std::string>* log)
      : COperator(doc), name_(std::move(name)), log_(log) {}
  void Activate() override { log_->push_back("activate " + name_); }
  void Deactivate() override { log_->push_back("deactivate " + name_); }

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

std::unique_ptr<CFormTable> Table(int columns) {
  auto t = std::make_unique<CFormTable>(CPoint{0, 0});
  for (int i = 0; i < columns; ++i) t->AppendColumn(CFormTableEntry());
  return t;
}

class Doc : public ::testing::Test {
 protected:
  void SetUp() override {
    scope.With<SettingsStore>(&settings).With<MessageService>(&messages);
    doc = std::make_unique<CReportDoc>();
    doc->AddObserver(&observer);
  }
  CFormElement* AddBox(int x) {
    doc->AddElement(Box(x));
    return doc->elements.At(doc->elements.GetCount() - 1);
  }

  FakeSettings settings;
  FakeMessages messages;
  ScopedServices scope;
  std::unique_ptr<CReportDoc> doc;
  CountingObserver observer;
  const CPageMapper mapper;
};

TEST_F(Doc, ModifiedFlagFollowsTheHistory) {
  EXPECT_FALSE(doc->Undo());
  EXPECT_FALSE(doc->IsModified());
  AddBox(1);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->history.UndoName(), "Einfügen");
  doc->Undo();
  EXPECT_FALSE(doc->IsModified());
  doc->Redo();
  EXPECT_TRUE(doc->IsModified());
  for (int hint : observer.hints) EXPECT_EQ(hint, 0);
}

TEST_F(Doc, KeyboardMovesMergeUntilAnySelectionOperation) {
  CFormElement* a = AddBox(0);
  doc->SelectElement(a);
  doc->MoveSelection({1, 0});
  doc->MoveSelection({1, 0});
  EXPECT_EQ(doc->history.UndoCount(), 2u);  // the add and one merged move
  doc->SelectElement(a);                    // current already: still breaks the merge
  doc->MoveSelection({1, 0});
  EXPECT_EQ(doc->history.UndoCount(), 3u);
  EXPECT_EQ(a->GetLeft(), 3);
  doc->ClearSelection();
  const auto before = doc->history.UndoCount();
  doc->MoveSelection({1, 0});  // nothing selected: nothing happens
  EXPECT_EQ(doc->history.UndoCount(), before);
}

TEST_F(Doc, MergeAfterSaveShowsModified) {
  const fs::path file = fs::temp_directory_path() / "veltrok-doc-merge.rep";
  CFormElement* a = AddBox(0);
  doc->SelectElement(a);
  doc->MoveSelection({1, 0});
  ASSERT_TRUE(doc->OnSaveDocument(file));
  EXPECT_FALSE(doc->IsModified());
  doc->mergeMoves = true;  // as right after a keyboard move
  doc->MoveSelection({1, 0});
  EXPECT_TRUE(doc->IsModified());
  doc->Undo();  // all merged moves go back at once, past the saved state
  EXPECT_EQ(a->GetLeft(), 0);
  EXPECT_TRUE(doc->IsModified());
  fs::remove(file);
}

// Beyond a hundred changes the oldest steps fall away; the state they led from can no longer be
// reached, and undoing everything must not count as back at the saved state.
TEST_F(Doc, ModifiedFlagSurvivesTheHundredStepLimit) {
  for (int i = 0; i < 101; ++i) AddBox(i);
  while (doc->Undo()) {
  }
  EXPECT_EQ(doc->elements.GetCount(), 1);  // the first addition is beyond reach
  EXPECT_TRUE(doc->IsModified());

  // Saved after one change, then a hundred more: undoing them all is the saved layout again;
  // one change more and the saved state itself has fallen away.
  const fs::path file = fs::temp_directory_path() / "veltrok-doc-limit.rep";
  for (int extra : {100, 101}) {
    doc->OnNewDocument();
    AddBox(0);
    ASSERT_TRUE(doc->OnSaveDocument(file));
    for (int i = 0; i < extra; ++i) AddBox(i + 1);
    while (doc->Undo()) {
    }
    EXPECT_EQ(doc->IsModified(), extra == 101) << extra;
    EXPECT_EQ(doc->elements.GetCount(), extra == 101 ? 2 : 1) << extra;
  }
  fs::remove(file);
}

TEST_F(Doc, MouseDragIsExactlyOneStepThatNeverMerges) {
  CFormElement* a = AddBox(10);
  CFormElement* b = AddBox(50);
  doc->SelectElement(a);
  doc->SelectElement(b);
  FakeDeviceContext dc;
  ASSERT_TRUE(a->HitTest(&dc, mapper, 15, 5));
  b->hitPart = 0;
  doc->BeginDrag(dc, mapper, {15, 5});
  doc->elements.TrackAll(dc, mapper, {20, 5});
  doc->elements.TrackAll(dc, mapper, {35, 8});
  const auto steps = doc->history.UndoCount();
  doc->CommitDrag(dc, mapper, {35, 8});
  EXPECT_EQ(doc->history.UndoCount(), steps + 1);
  EXPECT_EQ(doc->history.UndoName(), "Verschieben");
  EXPECT_EQ(a->GetLeft(), 30);
  EXPECT_EQ(b->GetLeft(), 70);
  EXPECT_TRUE(doc->DragElements().empty());
  doc->MoveSelection({1, 0});  // a keyboard move after a drag is its own step
  EXPECT_EQ(doc->history.UndoCount(), steps + 2);
  doc->Undo();
  doc->Undo();
  EXPECT_EQ(a->GetLeft(), 10);
  EXPECT_EQ(b->GetLeft(), 50);
  // Without BeginDrag, CommitDrag only ends the tracking.
  doc->CommitDrag(dc, mapper, {0, 0});
  EXPECT_EQ(doc->history.UndoCount(), steps);
}

TEST_F(Doc, UndoDuringADragLeavesNoStepOnTheRemovedElement) {
  // Ctrl+Z while the button is still down takes the dragged element out of the layout; the drag
  // must not then record a change on it (its owner, the undone action, is discarded by that).
  CFormElement* a = AddBox(10);
  doc->SelectElement(a);
  FakeDeviceContext dc;
  ASSERT_TRUE(a->HitTest(&dc, mapper, 15, 5));
  doc->BeginDrag(dc, mapper, {15, 5});
  doc->elements.TrackAll(dc, mapper, {30, 5});
  ASSERT_TRUE(doc->Undo());
  doc->CommitDrag(dc, mapper, {30, 5});
  EXPECT_FALSE(doc->history.CanUndo());
  EXPECT_TRUE(doc->history.CanRedo());
  EXPECT_TRUE(doc->DragElements().empty());
  EXPECT_TRUE(doc->Redo());
  EXPECT_EQ(doc->elements.GetCount(), 1);
}

TEST_F(Doc, ColumnSelectionSequences) {
  doc->AddElement(Table(7));
  auto* table = static_cast<CFormTable*>(doc->elements.At(0));
  doc->SelectElement(table);
  doc->SelectColumn(table, 2, 0);
  doc->SelectColumn(table, 5, MK_SHIFT);
  EXPECT_EQ(doc->selectedColumns, (std::vector<int>{2, 3, 4, 5}));
  EXPECT_EQ(doc->anchorColumn, 2);
  doc->SelectColumn(table, 3, MK_CONTROL);
  EXPECT_EQ(doc->selectedColumns, (std::vector<int>{2, 4, 5}));
  EXPECT_EQ(doc->anchorColumn, 3);
  doc->SelectColumn(table, 0, MK_SHIFT | MK_CONTROL);  // range added to the kept ones
  EXPECT_EQ(doc->selectedColumns, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  const int updates = observer.updates;
  doc->SelectColumn(table, 7, 0);  // equal to the column count: ignored
  EXPECT_EQ(observer.updates, updates);
  doc->SelectColumn(table, 3, 0);
  doc->SelectColumn(table, 3, MK_CONTROL);  // toggled off: nothing left
  EXPECT_EQ(doc->columnTable, nullptr);
  EXPECT_EQ(doc->anchorColumn, -1);

  // Selecting another element as well: gone at the next validation.
  doc->SelectColumn(table, 1, 0);
  CFormElement* box = AddBox(300);
  EXPECT_EQ(doc->columnTable, table);
  doc->SelectElement(box);
  EXPECT_EQ(doc->columnTable, nullptr);
  EXPECT_TRUE(doc->selectedColumns.empty());
}

TEST_F(Doc, DraggedColumnSetAndDeletedTable) {
  doc->AddElement(Table(4));
  auto* table = static_cast<CFormTable*>(doc->elements.At(0));
  doc->SelectElement(table);
  doc->SetSelectedColumns(table, {3, -1, 1, 9, 3}, 3);
  EXPECT_EQ(doc->selectedColumns, (std::vector<int>{1, 3}));
  EXPECT_EQ(doc->anchorColumn, 3);
  const int updates = observer.updates;
  doc->SetSelectedColumns(table, {1, 3}, 1);  // same set: no notification, anchor still taken
  EXPECT_EQ(observer.updates, updates);
  EXPECT_EQ(doc->anchorColumn, 1);
  // Columns removed through a change: indices beyond the count are dropped.
  auto fewer = table->Clone();
  static_cast<CFormTable*>(fewer.get())->columns.pop_back();
  static_cast<CFormTable*>(fewer.get())->columns.pop_back();
  std::vector<std::unique_ptr<CFormElement>> states;
  states.push_back(std::move(fewer));
  doc->DoAction(std::make_unique<CChangeAction>("Eigenschaften", std::vector<CFormElement*>{table}, std::move(states)), false);
  EXPECT_EQ(doc->selectedColumns, (std::vector<int>{1}));
  // Deleting the table clears the column selection.
  doc->DoAction(std::make_unique<CDeleteAction>(std::vector<CFormElement*>{table}), false);
  EXPECT_EQ(doc->columnTable, nullptr);
}

TEST_F(Doc, PageSettingsWithoutChangeDoNothing) {
  const int updates = observer.updates;
  doc->SetOrientation(true);
  doc->SetDuplexMode(0);
  doc->SetHelperImagesVisible(true);
  EXPECT_EQ(observer.updates, updates);
  EXPECT_FALSE(doc->history.CanUndo());
  EXPECT_EQ(settings.writes, 0);

  doc->SetOrientation(false);
  EXPECT_EQ(doc->history.UndoName(), "Querformat");
  doc->SetDuplexMode(3);
  EXPECT_EQ(doc->elements.duplexMode, 3);
  EXPECT_TRUE(doc->IsModified());
}

TEST_F(Doc, HidingHelperImagesIsStoredAndDeselects) {
  auto helper = std::make_unique<CFormImage>();
  helper->helper = true;
  doc->AddElement(std::move(helper));
  CFormElement* img = doc->elements.At(0);
  doc->SelectElement(img);
  const bool modified = doc->IsModified();
  const auto steps = doc->history.UndoCount();
  doc->SetHelperImagesVisible(false);
  EXPECT_FALSE(img->selected);
  EXPECT_EQ(settings.values["Ansicht/Hilfsbilder"], "0");
  EXPECT_EQ(doc->history.UndoCount(), steps);
  EXPECT_EQ(doc->IsModified(), modified);
  // A new document reads the stored visibility.
  CReportDoc other;
  EXPECT_FALSE(other.elements.showHelperImages);
}

TEST_F(Doc, ToolSwitchingDeactivatesAndActivates) {
  std::vector<std::string> log;
  doc->InstallTool(CReportDoc::selectToolSlot, std::make_unique<RecordingTool>(doc.get(), "select", &log));
  doc->InstallTool(CReportDoc::newTextToolSlot, std::make_unique<RecordingTool>(doc.get(), "text", &log));
  doc->SelectTool(CReportDoc::newTextToolSlot);
  doc->SelectTool(CReportDoc::newTextToolSlot);
  EXPECT_TRUE(doc->IsCurrentTool(CReportDoc::newTextToolSlot));
  doc->OnNewDocument();
  EXPECT_TRUE(doc->IsCurrentTool(CReportDoc::selectToolSlot));
  EXPECT_EQ(log, (std::vector<std::string>{"deactivate select", "activate text", "deactivate text",
                                           "activate text", "deactivate text", "activate select"}));
}

class ScriptedDialogs : public ElementDialogService {
 public:
  bool RunTextDialog(TextDialogValues& v) override {
    ++runs;
    v.text = "Neu";
    return confirm;
  }
  bool RunLineDialog(LineDialogValues&) override { ++runs; return confirm; }
  bool RunImageDialog(ImageDialogValues&) override { ++runs; return confirm; }
  bool RunTableDialog(CFormTable&) override { ++runs; return confirm; }
  bool confirm = true;
  int runs = 0;
};

TEST_F(Doc, EditSelectedElementMakesOneStepOnOk) {
  ScriptedDialogs dialogs;
  scope.With<ElementDialogService>(&dialogs);
  doc->AddElement(std::make_unique<CFormText>(CPoint{1, 1}, "Alt"));
  auto* text = static_cast<CFormText*>(doc->elements.At(0));
  CFormElement* box = AddBox(50);
  doc->EditSelectedElement();  // nothing selected
  doc->SelectElement(text);
  doc->SelectElement(box);
  doc->EditSelectedElement();  // two selected
  EXPECT_EQ(dialogs.runs, 0);
  doc->ClearSelection();
  doc->SelectElement(box);
  doc->EditSelectedElement();  // placeholders have no dialog
  EXPECT_EQ(dialogs.runs, 0);
  doc->ClearSelection();
  doc->SelectElement(text);
  dialogs.confirm = false;
  const auto steps = doc->history.UndoCount();
  doc->EditSelectedElement();
  EXPECT_EQ(doc->history.UndoCount(), steps);
  EXPECT_EQ(text->text, "Alt");
  dialogs.confirm = true;
  doc->EditSelectedElement();
  EXPECT_EQ(text->text, "Neu");
  EXPECT_EQ(doc->history.UndoName(), "Eigenschaften");
  doc->Undo();
  EXPECT_EQ(text->text, "Alt");
}

// ---- open and save -----------------------------------------------------------------------------

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class DocFiles : public Doc {
 protected:
  void SetUp() override {
    Doc::SetUp();
    dir = fs::temp_directory_path() / ("veltrok-docfiles-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, ec);
    fs::remove_all(dir);
  }
  fs::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const fs::path p = dir / name;
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return p;
  }
  fs::path dir;
};

TEST_F(DocFiles, OpenTakesPageSettingsFromTheFileButNotHelperVisibility) {
  doc->SetHelperImagesVisible(false);
  AddBox(1);
  const fs::path file = Write("a.rep", Bytes().i32(4715).i32(0).i32(2).u16(1).newClass("CFormLine").point(1, 2).point(3, 4).i32(0).data);
  ASSERT_TRUE(doc->OnOpenDocument(file));
  EXPECT_FALSE(doc->elements.portrait);
  EXPECT_EQ(doc->elements.duplexMode, 2);
  EXPECT_FALSE(doc->elements.showHelperImages);
  EXPECT_EQ(doc->elements.GetCount(), 1);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_FALSE(doc->history.CanUndo());
  EXPECT_EQ(doc->savedSerial, 0);
  EXPECT_EQ(doc->PathName(), file);
  // An old file without orientation and duplex: the defaults.
  ASSERT_TRUE(doc->OnOpenDocument(Write("b.rep", Bytes().i32(4713).u16(0).data)));
  EXPECT_TRUE(doc->elements.portrait);
  EXPECT_EQ(doc->elements.duplexMode, 0);
}

TEST_F(DocFiles, FailedOpenReportsAndKeepsTheOpenLayout) {
  AddBox(7);
  struct Case {
    fs::path path;
    std::vector<std::string> messages;
  } cases[] = {
      {Write("newer.rep", Bytes().i32(4717).data),
       {"Dieses Layout wurde mit einer neueren Programmversion erstellt\nund kann mit dieser "
        "Version nicht gelesen werden.\n\nBitte installieren Sie die aktuelle Programmversion."}},
      {Write("bad.rep", Bytes().i32(4714).i32(1).u16(1).newClass("CFormNix").data), {"Unerwartetes Dateiformat."}},
      {dir / "missing.rep", {"Fehler beim Öffnen des Dokuments."}},
      {Write("picture.rep", Bytes().i32(4714).i32(1).u16(1).newClass("CFormImage").point(0, 0).str("")
                                .point(1, 1).u8(1).u16(0x1234).u32(0).u16(0).u16(0).u32(54).data),
       {"Fehler beim Öffnen des Dokuments."}},
  };
  for (const Case& c : cases) {
    messages.shown.clear();
    EXPECT_FALSE(doc->OnOpenDocument(c.path)) << c.path;
    EXPECT_EQ(messages.shown, c.messages) << c.path;
    ASSERT_EQ(doc->elements.GetCount(), 1) << c.path;
    EXPECT_EQ(doc->elements.At(0)->GetLeft(), 7);
    EXPECT_TRUE(doc->history.CanUndo());
  }
}

TEST_F(DocFiles, SaveRecordsTheSavedStateAndRoundTrips) {
  AddBox(3);
  doc->SetDuplexMode(1);
  const fs::path file = dir / "neu.rep";
  ASSERT_TRUE(doc->OnSaveDocument(file));
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(doc->savedSerial, doc->history.CurrentSerial());
  doc->Undo();
  EXPECT_TRUE(doc->IsModified());
  doc->Redo();
  EXPECT_FALSE(doc->IsModified());
  CFormElementPtrList back;
  LayoutFromBytes(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {}), back);
  EXPECT_EQ(back.duplexMode, 1);
  EXPECT_EQ(back.GetCount(), 1);
  // Nothing stays behind beside the file.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// A stream that fails like a full disk after a few bytes.
class FullDisk : public ByteStream {
 public:
  explicit FullDisk(std::size_t room) : room_(room) {}
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void*, std::size_t n) override {
    if (n > room_) throw FileException(FileException::Cause::diskFull, "x", "Datenträger voll");
    room_ -= n;
  }
  std::uint64_t Remaining() const override { return 0; }

 private:
  std::size_t room_;
};

TEST_F(DocFiles, FailedSaveLeavesTheOldFileByteIdentical) {
  const fs::path file = Write("alt.rep", Bytes().i32(4714).i32(1).u16(0).data);
  const std::string old = Slurp(file);
  AddBox(1);
  AddBox(2);
  messages.shown.clear();
  EXPECT_FALSE(doc->OnSaveDocument(file, [](const fs::path&) { return std::make_unique<FullDisk>(12); }));
  EXPECT_EQ(Slurp(file), old);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Fehler beim Speichern des Dokuments."});
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  // An unwritable folder: the same message, the old file untouched.
  if (geteuid() != 0) {  // root writes anywhere
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    messages.shown.clear();
    EXPECT_FALSE(doc->OnSaveDocument(file));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Fehler beim Speichern des Dokuments."});
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(Slurp(file), old);
  }
  // A folder that does not exist.
  messages.shown.clear();
  EXPECT_FALSE(doc->OnSaveDocument(dir / "fehlt" / "x.rep"));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Fehler beim Speichern des Dokuments."});
}

// Saving replaces the file the user sees: through a link, with its permissions, and never one
// that may not be written.
TEST_F(DocFiles, SaveKeepsLinksAndPermissionsAndRefusesReadOnlyFiles) {
  const std::vector<std::uint8_t> oldBytes = Bytes().i32(4714).i32(1).u16(0).data;
  AddBox(4);
  const std::vector<std::uint8_t> newBytes = LayoutToBytes(doc->elements);

  fs::create_directories(dir / "ablage");
  const fs::path real = Write("ablage/echt.rep", oldBytes);
  const fs::path link = dir / "verweis.rep";
  fs::create_symlink(fs::path("ablage") / "echt.rep", link);
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(doc->OnSaveDocument(link));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Slurp(real), std::string(newBytes.begin(), newBytes.end()));
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::mask, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "ablage"), fs::directory_iterator()), 1);

  // Marked read-only: refused with the save message, the file keeps its bytes and its mode.
  AddBox(5);
  const fs::path locked = Write("gesperrt.rep", oldBytes);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  messages.shown.clear();
  EXPECT_FALSE(doc->OnSaveDocument(locked));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Fehler beim Speichern des Dokuments."});
  EXPECT_EQ(Slurp(locked), std::string(oldBytes.begin(), oldBytes.end()));
  EXPECT_TRUE(doc->IsModified());
  // Writable by others but not by us (someone else's file): refused as well.
  if (geteuid() != 0) {
    fs::permissions(locked, fs::perms::owner_read | fs::perms::others_write);
    EXPECT_FALSE(doc->OnSaveDocument(locked));
    fs::permissions(locked, fs::perms::owner_read);
    EXPECT_EQ(Slurp(locked), std::string(oldBytes.begin(), oldBytes.end()));
  }
  EXPECT_FALSE(fs::is_symlink(locked));
  fs::permissions(locked, fs::perms::owner_all);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
}

// Writes to the real temporary file beside the target, then fails like a full disk or a pulled
// USB stick once `failAt` bytes are written, or when the file is finished.
class FailingFile : public ByteStream {
 public:
  FailingFile(const fs::path& path, std::size_t failAt) : file_(path, FileStream::Mode::write), failAt_(failAt) {}
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void* src, std::size_t n) override {
    if (written_ + n > failAt_) {
      file_.Write(src, failAt_ - written_);  // a part of the block reaches the disk
      throw FileException(FileException::Cause::diskFull, "x", "Datenträger voll");
    }
    file_.Write(src, n);
    written_ += n;
  }
  void Flush() override {
    file_.Flush();
    if (written_ >= failAt_) throw FileException(FileException::Cause::diskFull, "x", "Datenträger voll");
  }
  std::uint64_t Remaining() const override { return 0; }

 private:
  FileStream file_;
  std::size_t failAt_;
  std::size_t written_ = 0;
};

TEST_F(DocFiles, SaveFailingAtAnyByteLeavesTheOldFileAndNoTemporaryFile) {
  const fs::path file = Write("alt.rep", Bytes().i32(4714).i32(1).u16(0).data);
  const std::string old = Slurp(file);
  doc->AddElement(std::make_unique<CFormText>(CPoint{5, 5}, "Ergebnisliste [Titel]\r\nzweite Zeile"));
  doc->AddElement(std::make_unique<CFormLine>(CPoint{0, 40}, CPoint{400, 40}));
  auto table = Table(3);
  table->twoColour = true;
  doc->AddElement(std::move(table));
  auto picture = std::make_unique<CFormImage>();
  picture->SetPicture(4, 3, std::vector<std::uint8_t>(36, 0x40));
  picture->helper = true;
  doc->AddElement(std::move(picture));
  AddBox(7);
  const std::size_t size = LayoutToBytes(doc->elements).size();
  ASSERT_GT(size, 300u);

  // Every offset from the first byte to the end (the last one fails when the file is finished).
  for (std::size_t failAt = 0; failAt <= size; ++failAt) {
    messages.shown.clear();
    EXPECT_FALSE(doc->OnSaveDocument(file, [failAt](const fs::path& p) { return std::make_unique<FailingFile>(p, failAt); }))
        << failAt;
    ASSERT_EQ(Slurp(file), old) << failAt;
    ASSERT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << failAt;
    ASSERT_EQ(messages.shown, std::vector<std::string>{"Fehler beim Speichern des Dokuments."}) << failAt;
    ASSERT_TRUE(doc->IsModified());
  }
  // And a writer that does not fail saves the whole layout.
  EXPECT_TRUE(doc->OnSaveDocument(file, [size](const fs::path& p) { return std::make_unique<FailingFile>(p, size + 1); }));
  EXPECT_EQ(Slurp(file).size(), size);
}

TEST_F(DocFiles, NewDocumentKeepsHelperVisibilityAndResetsEverythingElse) {
  doc->SetHelperImagesVisible(false);
  AddBox(1);
  doc->SetOrientation(false);
  doc->SetDuplexMode(2);
  doc->pasteCount = 3;
  ASSERT_TRUE(doc->OnNewDocument());
  EXPECT_TRUE(doc->elements.IsEmpty());
  EXPECT_TRUE(doc->elements.portrait);
  EXPECT_EQ(doc->elements.duplexMode, 0);
  EXPECT_FALSE(doc->elements.showHelperImages);
  EXPECT_FALSE(doc->history.CanUndo());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(doc->pasteCount, 0);
  EXPECT_GT(doc->history.NextSerial(), 1);  // the serial counter keeps running
}

}  // namespace
