// Recovery copies in the running editor: a killed editor's unsaved changes come back at the next
// start; copies can be discarded or kept for later; a damaged copy is reported, never opened.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>
#include <functional>

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/RecoveryDialog.h"
#include "app/RecoveryManager.h"
#include "app/ReportApp.h"
#include "document/LayoutFile.h"
#include "document/ReportDoc.h"
#include "support/Bytes.h"
#include "support/LayoutFixtures.h"

namespace {

constexpr const char* kChildVariable = "VELTROK_RECOVERY_CHILD";

// Two small elements, so a deletion shows.
std::vector<std::uint8_t> TwoBoxes() {
  CFormElementPtrList list;
  Add(list, Box(10));
  Add(list, Box(40));
  return LayoutToBytes(list);
}

void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
  QElapsedTimer t;
  t.start();
  while (!condition()) {
    if (t.elapsed() > milliseconds) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return true;
}

// Answers the recovery dialog when it comes up, with the button `pick` chooses.
void AnswerRecoveryDialog(std::function<void(CRecoveryDialog&)> pick) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, pick] {
    if (auto* dialog = qobject_cast<CRecoveryDialog*>(QApplication::activeModalWidget())) {
      poll->stop();
      poll->deleteLater();
      pick(*dialog);
    }
  });
  poll->start(20);
}

class Recovery : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
  }
  void TearDown() override { qputenv("XDG_DATA_HOME", oldDataHome); }
  QString Settings() const { return dir.filePath("Veltrok.ini"); }
  RecoveryFolder Folder() const { return RecoveryFolder(CRecoveryManager::DefaultFolder().toStdString()); }

  QTemporaryDir dir;
  QByteArray oldDataHome;
};

// Run only as the child process of the test below: a real editor that deletes an element, waits
// for its recovery copy and then waits to be killed.
TEST(RecoveryChild, EditorThatIsKilled) {
  const QByteArray folder = qgetenv(kChildVariable);
  if (folder.isEmpty()) GTEST_SKIP() << "started by Recovery.KilledEditorsChangesComeBack";
  const QString base = QString::fromUtf8(folder);
  CReportApp app(base + "/Veltrok.ini");
  ASSERT_TRUE(app.InitInstance({"veltrok", base + "/layout.rep"}));
  CReportDoc& doc = *app.document();
  std::vector<CFormElement*> all;
  doc.elements.GetAll(all);
  ASSERT_EQ(all.size(), 2u);
  doc.SelectElement(all.front());
  app.mainFrame()->commands().Action(cmd::editDelete)->trigger();
  ASSERT_EQ(doc.elements.GetCount(), 1);
  RecoveryFolder& copies = app.recovery()->folder();
  const std::string me = app.recovery()->saver().Instance();
  ASSERT_TRUE(WaitFor([&] { return copies.Exists(me); }, 10000));
  QFile ready(base + "/ready");
  ASSERT_TRUE(ready.open(QIODevice::WriteOnly));
  ready.close();
  WaitFor([] { return false; }, 60000);  // killed long before this runs out
}

TEST_F(Recovery, KilledEditorsChangesComeBack) {
  const QString layout = dir.filePath("layout.rep");
  WriteFile(layout, TwoBoxes());
  {
    std::ofstream(Settings().toStdString()) << "[Settings]\nAutoSaveSeconds=1\n";
  }
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(kChildVariable, dir.path());
  env.insert("XDG_DATA_HOME", dir.filePath("data"));
  env.insert("VELTROK_KEEP_DATA_HOME", "1");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=RecoveryChild.*"});
  ASSERT_TRUE(child.waitForStarted());
  const bool ready = WaitFor([&] { return QFile::exists(dir.filePath("ready")); }, 30000);
  child.kill();  // SIGKILL: no chance to tidy up
  child.waitForFinished();
  ASSERT_TRUE(ready) << child.readAllStandardOutput().toStdString();
  ASSERT_EQ(Folder().List().size(), 1u);

  AnswerRecoveryDialog([](CRecoveryDialog& d) {
    ASSERT_EQ(d.list()->topLevelItemCount(), 1);
    EXPECT_EQ(d.list()->topLevelItem(0)->text(0), "layout.rep");
    d.restoreButton()->click();
  });
  CReportApp app(Settings());
  ASSERT_TRUE(app.InitInstance({"veltrok"}));
  CReportDoc& doc = *app.document();
  EXPECT_EQ(doc.elements.GetCount(), 1);  // the deletion came back
  EXPECT_TRUE(doc.IsModified());
  EXPECT_TRUE(doc.PathName().empty());
  EXPECT_EQ(app.mainFrame()->windowTitle(), "Unbenannt - Veltrok");
  // The copy now belongs to this editor, still naming the original file.
  const auto records = Folder().List();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].instance, app.recovery()->saver().Instance());
  EXPECT_EQ(QString::fromStdString(records[0].originalPath), layout);
  // Undoing nothing and saving nothing: still changed, the file on disk is untouched.
  EXPECT_FALSE(doc.Undo());
  EXPECT_TRUE(doc.IsModified());
  CFormElementPtrList onDisk;
  ASSERT_TRUE(LoadLayoutFile(layout.toStdString(), onDisk).ok());
  EXPECT_EQ(onDisk.GetCount(), 2);
  app.ExitInstance();
  EXPECT_TRUE(Folder().List().empty());  // a normal exit leaves nothing behind
}

TEST_F(Recovery, DiscardLaterAndDamagedCopies) {
  RecoveryFolder folder = Folder();
  RecoveryRecord good;
  good.originalPath = dir.filePath("gut.rep").toStdString();
  good.savedAt = 1'765'000'000;
  ASSERT_TRUE(folder.Write("111-1", TwoBoxes(), good));
  RecoveryRecord bad;
  bad.savedAt = 1'765'000'100;
  ASSERT_TRUE(folder.Write("222-2", {1, 2, 3}, bad));

  // The damaged copy is marked and cannot be restored; it is discarded, the other kept for later.
  AnswerRecoveryDialog([](CRecoveryDialog& d) {
    ASSERT_EQ(d.list()->topLevelItemCount(), 2);
    EXPECT_EQ(d.list()->topLevelItem(0)->text(0), "gut.rep");
    EXPECT_EQ(d.list()->topLevelItem(1)->text(0), "Unbenannt");
    EXPECT_TRUE(d.list()->topLevelItem(1)->text(1).endsWith("(beschädigt)"));
    d.list()->setCurrentItem(d.list()->topLevelItem(1));
    EXPECT_FALSE(d.restoreButton()->isEnabled());
    d.discardButton()->click();
    d.laterButton()->click();
  });
  {
    CReportApp app(Settings());
    ASSERT_TRUE(app.InitInstance({"veltrok"}));
    EXPECT_EQ(app.document()->elements.GetCount(), 0);
    EXPECT_FALSE(app.document()->IsModified());
  }
  auto records = folder.List();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].instance, "111-1");

  // Next start: offered again, and discarded.
  AnswerRecoveryDialog([](CRecoveryDialog& d) {
    ASSERT_EQ(d.list()->topLevelItemCount(), 1);
    d.discardButton()->click();
  });
  {
    CReportApp app(Settings());
    ASSERT_TRUE(app.InitInstance({"veltrok"}));
  }
  EXPECT_TRUE(folder.List().empty());
  EXPECT_TRUE(QDir(QString::fromStdString(folder.Path().string())).entryList({"*.lock"}).isEmpty());
}

TEST_F(Recovery, CopiesOfRunningEditorsAreNotOffered) {
  CReportApp first(Settings());
  ASSERT_TRUE(first.InitInstance({"veltrok"}));
  first.document()->AddElement(Box(5));
  ASSERT_TRUE(first.recovery()->saver().WriteNow());
  // A second editor started now must leave the first one's copy alone (no dialog comes up; if
  // one did, this test would hang in it and time out).
  CReportApp second(Settings());
  ASSERT_TRUE(second.InitInstance({"veltrok"}));
  EXPECT_TRUE(Folder().Exists(first.recovery()->saver().Instance()));
}

}  // namespace
