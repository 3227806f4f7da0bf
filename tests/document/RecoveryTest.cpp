// Recovery copies and the autosaver on a fake clock.
#include "document/Recovery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "document/LayoutFile.h"
#include "support/FakeServices.h"
#include "support/LayoutFixtures.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class AutoSave : public ::testing::Test {
 protected:
  void SetUp() override {
    scope.With<MessageService>(&messages);
    dir = fs::temp_directory_path() /
          ("veltrok-recovery-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    folder = std::make_unique<RecoveryFolder>(dir / "Wiederherstellung");
    doc.OnNewDocument();
  }
  void TearDown() override { fs::remove_all(dir); }

  std::unique_ptr<CAutoSaver> Saver(CReportDoc& d, const std::string& instance, std::chrono::seconds idle = 60s) {
    CAutoSaver::Hooks hooks{[this] { return now; }, [this] { return wall; },
                            [this](std::chrono::milliseconds ms) { armed.push_back(ms); }};
    return std::make_unique<CAutoSaver>(d, *folder, instance, idle, "2.0", hooks);
  }
  void Change(CReportDoc& d, int x = 10) { d.AddElement(Box(x)); }

  FakeMessages messages;
  ScopedServices scope;
  fs::path dir;
  std::unique_ptr<RecoveryFolder> folder;
  CReportDoc doc;
  CAutoSaver::Clock::time_point now{};
  std::int64_t wall = 1'765'000'000;
  std::vector<std::chrono::milliseconds> armed;
};

TEST_F(AutoSave, ChangesRestartTheCountdownAndTheCopyIsWrittenOncePerQuietPeriod) {
  auto saver = Saver(doc, "a");
  Change(doc);
  ASSERT_EQ(armed, std::vector{std::chrono::milliseconds(60s)});
  now += 40s;
  Change(doc, 20);  // restarts: due at 100 s now
  now += 30s;
  saver->Timeout();  // the first timer fires at 60 s: 30 s are left
  EXPECT_FALSE(folder->Exists("a"));
  ASSERT_EQ(armed.size(), 3u);
  EXPECT_GT(armed.back(), 29s);
  EXPECT_LE(armed.back(), 31s);
  now += 30s;
  saver->Timeout();
  ASSERT_TRUE(folder->Exists("a"));

  // The copy is the layout as it stands, and loads again.
  CFormElementPtrList copy;
  ASSERT_TRUE(LoadLayoutFile(folder->CopyPath("a"), copy).ok());
  EXPECT_EQ(copy.GetCount(), 2);
  const auto records = folder->List();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].instance, "a");
  EXPECT_EQ(records[0].originalPath, "");
  EXPECT_EQ(records[0].savedAt, wall);
  EXPECT_EQ(records[0].programVersion, "2.0");

  // No second write without a change in between.
  fs::remove(folder->CopyPath("a"));
  now += 120s;
  saver->Timeout();
  EXPECT_FALSE(folder->Exists("a"));
  // Selecting is no change.
  doc.ClearSelection();
  saver->Timeout();
  EXPECT_FALSE(folder->Exists("a"));
}

TEST_F(AutoSave, SavingOrStartingAnotherLayoutRemovesTheCopy) {
  auto saver = Saver(doc, "a");
  Change(doc);
  now += 61s;
  saver->Timeout();
  ASSERT_TRUE(folder->Exists("a"));
  ASSERT_TRUE(doc.OnSaveDocument(dir / "x.rep"));
  saver->Refresh();  // the window calls this after every save
  EXPECT_FALSE(folder->Exists("a"));
  EXPECT_FALSE(fs::exists(folder->RecordPath("a")));

  // Changes thrown away ("Nein" in the save prompt), then a new layout: no copy is left.
  Change(doc, 30);
  now += 61s;
  saver->Timeout();
  ASSERT_TRUE(folder->Exists("a"));
  EXPECT_EQ(folder->List()[0].originalPath, (dir / "x.rep").string());
  doc.OnNewDocument();
  EXPECT_FALSE(folder->Exists("a"));

  // Undoing back to the saved state counts as saved.
  ASSERT_TRUE(doc.OnOpenDocument(dir / "x.rep"));
  Change(doc, 40);
  now += 61s;
  saver->Timeout();
  ASSERT_TRUE(folder->Exists("a"));
  doc.Undo();
  EXPECT_FALSE(folder->Exists("a"));
  EXPECT_FALSE(saver->Pending());
}

TEST_F(AutoSave, TwoEditorsKeepTheirOwnCopies) {
  CReportDoc other;
  other.OnNewDocument();
  auto first = Saver(doc, "100-1");
  auto second = Saver(other, "200-2");
  Change(doc);
  Change(other);
  Change(other, 20);
  now += 61s;
  first->Timeout();
  second->Timeout();
  const auto records = folder->List();
  ASSERT_EQ(records.size(), 2u);
  CFormElementPtrList a, b;
  ASSERT_TRUE(LoadLayoutFile(folder->CopyPath("100-1"), a).ok());
  ASSERT_TRUE(LoadLayoutFile(folder->CopyPath("200-2"), b).ok());
  EXPECT_EQ(a.GetCount(), 1);
  EXPECT_EQ(b.GetCount(), 2);
  first->Discard();
  EXPECT_FALSE(folder->Exists("100-1"));
  EXPECT_TRUE(folder->Exists("200-2"));
}

TEST_F(AutoSave, ZeroSecondsTurnsAutosavingOff) {
  auto saver = Saver(doc, "a", 0s);
  Change(doc);
  now += 3600s;
  saver->Timeout();
  EXPECT_TRUE(armed.empty());
  EXPECT_FALSE(folder->Exists("a"));
}

TEST_F(AutoSave, DamagedSideRecordsAndStrayFilesAreStillListed) {
  fs::create_directories(folder->Path());
  std::ofstream(folder->CopyPath("kaputt"), std::ios::binary) << "keine Layoutdatei";
  std::ofstream(folder->RecordPath("kaputt"), std::ios::binary) << "Unsinn\ntime=abc\n";
  std::ofstream(folder->Path() / "notiz.txt") << "nicht von uns";
  std::ofstream(folder->RecordPath("nur-info")) << "Veltrok-Wiederherstellung 1\ntime=5\n";
  const auto records = folder->List();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].instance, "kaputt");
  EXPECT_FALSE(records[0].recordReadable);
  EXPECT_GT(records[0].savedAt, 0);
  CFormElementPtrList list;
  EXPECT_FALSE(LoadLayoutFile(records[0].copy, list).ok());
}

TEST_F(AutoSave, AFailedWriteLeavesNoHalfCopy) {
  // The folder's place is taken by a file: nothing can be written, nothing is left behind.
  fs::create_directories(dir);
  std::ofstream(folder->Path()) << "im Weg";
  auto saver = Saver(doc, "a");
  Change(doc);
  now += 61s;
  saver->Timeout();
  EXPECT_TRUE(fs::is_regular_file(folder->Path()));
  EXPECT_TRUE(folder->List().empty());
}

}  // namespace
