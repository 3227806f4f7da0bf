// The application shell on the offscreen platform: start-up, command line, zoom commands, stored
// placement, the right pane's width and the save prompt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <fstream>

#include "app/CommandIds.h"
#include "app/IconToolBar.h"
#include "app/MainFrame.h"
#include "app/ReportApp.h"
#include "app/RightPaneSplitter.h"
#include "document/ReportDoc.h"
#include "model/FormAlias.h"
#include "support/Bytes.h"
#include "support/FakeServices.h"
#include "view/qt/ReportView.h"

namespace {

class Shell : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Settings() const { return dir.filePath("Veltrok.ini"); }
  std::unique_ptr<CReportApp> Start(const QStringList& args = {"veltrok"}) {
    auto app = std::make_unique<CReportApp>(Settings());
    EXPECT_TRUE(app->InitInstance(args));
    QApplication::processEvents();
    return app;
  }
  QString WriteLayout(const QString& name, const std::vector<std::uint8_t>& bytes) {
    const QString path = dir.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  QTemporaryDir dir;
};

TEST_F(Shell, FirstStartWithEmptySettings) {
  auto app = Start();
  CMainFrame* frame = app->mainFrame();
  EXPECT_EQ(frame->splitter()->rightPaneWidth, 300);
  EXPECT_TRUE(frame->view()->snapToGrid);
  EXPECT_TRUE(app->document()->elements.showHelperImages);
  EXPECT_EQ(frame->windowTitle(), "Unbenannt - Veltrok");
  EXPECT_TRUE(frame->commands().Action(cmd::snapToGrid)->isChecked());
  EXPECT_TRUE(frame->commands().Action(cmd::helperImages)->isChecked());
  EXPECT_EQ(frame->statusBar()->currentMessage(), "Bereit");
  EXPECT_EQ(frame->zoomPane()->text(), "Zoom 100 %");
  // The German menu bar in its order.
  QStringList menus;
  for (QAction* a : frame->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"&Datei", "&Bearbeiten", "Reihenfolge", "A&usrichten", "&Ansicht", "&?"}));
  EXPECT_TRUE(frame->commands().Action(cmd::filePrint)->isEnabled());
  // Commands of later work are there but not available.
  EXPECT_FALSE(frame->commands().Action(cmd::editPaste)->isEnabled());
  EXPECT_TRUE(frame->commands().Action(cmd::fileOpen)->isEnabled());
}

TEST_F(Shell, CommandLineOpensTheLayout) {
  const QString file = WriteLayout("regatta.rep", Bytes().i32(4714).i32(0).u16(1).newClass("CFormLine")
                                                      .point(10, 10).point(200, 10).i32(0).data);
  auto app = Start({"veltrok", file});
  EXPECT_EQ(app->document()->elements.GetCount(), 1);
  EXPECT_FALSE(app->document()->elements.portrait);
  EXPECT_FALSE(app->mainFrame()->view()->IsPortraitPage());
  EXPECT_EQ(app->mainFrame()->windowTitle(), "regatta.rep - Veltrok");
  EXPECT_EQ(app->mainFrame()->recentFiles().value(0), QFileInfo(file).absoluteFilePath());
  EXPECT_TRUE(app->mainFrame()->commands().Action(cmd::landscape)->isChecked());
}

TEST_F(Shell, ZoomCommandsStepToExactlyTenAndDisable) {
  auto app = Start();
  CMainFrame* frame = app->mainFrame();
  frame->resize(1000, 800);
  QApplication::processEvents();
  CommandTable& c = frame->commands();
  EXPECT_FALSE(c.Action(cmd::zoomOut)->isEnabled());
  EXPECT_FALSE(c.Action(cmd::wholePage)->isEnabled());
  std::vector<double> seen;
  while (c.Trigger(cmd::zoomIn)) seen.push_back(frame->view()->zoom());
  ASSERT_GE(seen.size(), 2u);
  EXPECT_DOUBLE_EQ(seen[0], 1.25);
  EXPECT_DOUBLE_EQ(seen[1], 1.5625);
  EXPECT_EQ(seen.back(), 10.0);
  EXPECT_FALSE(c.Action(cmd::zoomIn)->isEnabled());
  EXPECT_EQ(frame->zoomPane()->text(), "Zoom 1000 %");
  EXPECT_TRUE(c.Trigger(cmd::wholePage));
  EXPECT_EQ(frame->view()->zoom(), 1.0);
  EXPECT_FALSE(c.Action(cmd::wholePage)->isEnabled());

  // A wheel zoom is no command, yet the toolbar follows it at once.
  CReportView* view = frame->view();
  const QPointF at(view->viewport()->width() / 2.0, view->viewport()->height() / 2.0);
  QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(view->viewport(), &wheel);
  EXPECT_NEAR(view->zoom(), 1.15, 1e-12);
  EXPECT_TRUE(c.Action(cmd::zoomOut)->isEnabled());
  EXPECT_TRUE(c.Action(cmd::wholePage)->isEnabled());
}

TEST_F(Shell, PlacementRoundTripNormalAndMaximised) {
  {
    auto app = Start();
    app->mainFrame()->setGeometry(40, 50, 900, 700);
    QApplication::processEvents();
    app->mainFrame()->close();
  }
  {
    auto app = Start();
    const QRect g = app->mainFrame()->geometry();
    EXPECT_EQ(g.size(), QSize(900, 700));
    EXPECT_FALSE(app->mainFrame()->isMaximized());
    app->mainFrame()->showMaximized();
    QApplication::processEvents();
    app->mainFrame()->close();
  }
  QSettings stored(Settings(), QSettings::IniFormat);
  const QString placement = stored.value("Settings/MainFrame").toString();
  EXPECT_TRUE(placement.startsWith("0,3,")) << placement.toStdString();
  EXPECT_TRUE(placement.endsWith(",40,50,940,750")) << placement.toStdString();
  {
    auto app = Start();
    EXPECT_TRUE(app->mainFrame()->isMaximized());
    EXPECT_EQ(app->mainFrame()->normalGeometry().size(), QSize(900, 700));
  }
}

TEST_F(Shell, PlacementOffEveryScreenComesBackOntoOne) {
  {
    QSettings stored(Settings(), QSettings::IniFormat);
    // Stored on a second monitor that is no longer there.
    stored.setValue("Settings/MainFrame", "0,1,-1,-1,-1,-1,3000,2000,4000,2800");
  }
  auto app = Start();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect g = app->mainFrame()->geometry();
  // On the screen, up to the few pixels of frame the platform adds around the stored rectangle.
  EXPECT_TRUE(screen.adjusted(-8, -8, 8, 8).contains(g)) << g.x() << "," << g.y() << " " << g.width() << "x" << g.height();
}

TEST_F(Shell, HiddenStatusBarStaysHiddenNextTime) {
  {
    auto app = Start();
    EXPECT_TRUE(app->mainFrame()->commands().Trigger(cmd::viewStatusBar));
    EXPECT_TRUE(app->mainFrame()->statusBar()->isHidden());
    app->mainFrame()->close();
  }
  {
    auto app = Start();
    EXPECT_TRUE(app->mainFrame()->statusBar()->isHidden());
    EXPECT_FALSE(app->mainFrame()->commands().Action(cmd::viewStatusBar)->isChecked());
    EXPECT_TRUE(app->mainFrame()->commands().Trigger(cmd::viewStatusBar));
    app->mainFrame()->close();
  }
  auto app = Start();
  EXPECT_FALSE(app->mainFrame()->statusBar()->isHidden());
}

TEST_F(Shell, QtsOwnTextsAreGerman) {
  auto app = Start();
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Abbrechen");
  EXPECT_TRUE(box.button(QMessageBox::No)->text().contains("Nein"));
  EXPECT_TRUE(box.button(QMessageBox::Yes)->text().contains("Ja"));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), "&Öffnen");
}

TEST_F(Shell, ProgramIconOnTheWindowAndInTheAboutBox) {
  auto app = Start();
  const QIcon icon = app->mainFrame()->windowIcon();
  ASSERT_FALSE(icon.isNull());
  for (int size : {16, 32, 48, 256}) EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* about = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "Info über Veltrok");
    const QImage picture = about->iconPixmap().toImage();
    EXPECT_FALSE(picture.isNull());
    // Not an empty area: the page and the pennant show.
    int opaque = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) opaque += qAlpha(picture.pixel(x, y)) > 0;
    EXPECT_GT(opaque, picture.width() * picture.height() / 3);
    shown = true;
    about->accept();
  });
  EXPECT_TRUE(app->mainFrame()->commands().Trigger(cmd::about));
  EXPECT_TRUE(shown);
}

TEST_F(Shell, RightPaneKeepsItsWidthAndEditorKeepsFifty) {
  auto app = Start();
  CMainFrame* frame = app->mainFrame();
  CRightPaneSplitter* s = frame->splitter();
  frame->resize(1000, 700);
  QApplication::processEvents();
  EXPECT_EQ(s->sizes().at(1), 300);
  frame->resize(1400, 700);
  QApplication::processEvents();
  EXPECT_EQ(s->sizes().at(1), 300);
  // The user drags the bar: 450 pixels for the pane, stored at close.
  s->MoveBar(s->width() - s->handleWidth() - 450);
  QApplication::processEvents();
  EXPECT_EQ(s->rightPaneWidth, 450);
  frame->resize(300, 700);
  QApplication::processEvents();
  EXPECT_GE(s->sizes().at(0), CRightPaneSplitter::kMinimumLeft);
  frame->close();
  QSettings stored(Settings(), QSettings::IniFormat);
  EXPECT_EQ(stored.value("Eigenschaften/Breite").toInt(), 450);
  auto again = Start();
  EXPECT_EQ(again->mainFrame()->splitter()->rightPaneWidth, 450);
}

TEST_F(Shell, SavePromptOnCloseOfAModifiedLayout) {
  auto app = Start();
  FakeMessages messages;
  services().Install(&messages);
  app->document()->AddElement(std::make_unique<CFormAlias>());
  messages.answer = MessageResult::cancel;
  EXPECT_FALSE(app->mainFrame()->close());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], "Änderungen in Unbenannt speichern?");
  // Placement and pane width were written although the user cancelled.
  QSettings stored(Settings(), QSettings::IniFormat);
  EXPECT_TRUE(stored.contains("Settings/MainFrame"));
  EXPECT_TRUE(stored.contains("Eigenschaften/Breite"));
  messages.answer = MessageResult::no;
  EXPECT_TRUE(app->mainFrame()->close());
  app->ExitInstance();
}

TEST_F(Shell, ExportPdfWritesThePrintedPageAndLeavesTheLayoutAlone) {
  Bytes b;
  b.i32(4714).i32(1).u16(1);
  b.newClass("CFormText").point(50, 40).point(0, 0).point(10, 10).str("Lauf [Laufnr] von [Titel]").i32(0)
      .font(-160, 700, "Arial").i32(0);
  auto app = Start({"veltrok", WriteLayout("lauf.rep", b.data)});
  CMainFrame* frame = app->mainFrame();
  QAction* exportPdf = frame->commands().Action(cmd::fileExportPdf);
  ASSERT_NE(exportPdf, nullptr);
  EXPECT_TRUE(exportPdf->isEnabled());
  EXPECT_EQ(exportPdf->text(), "Als &PDF exportieren...");

  const QString pdf = dir.filePath("lauf.pdf");
  ASSERT_TRUE(frame->ExportPdfTo(pdf));
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5) == "%PDF-");
  // The sample data is printed, as on paper; the layout itself is untouched.
  QProcess text;
  text.start("pdftotext", {pdf, "-"});
  ASSERT_TRUE(text.waitForFinished());
  EXPECT_TRUE(text.readAllStandardOutput().contains("Lauf 5 von Testregatta"));
  EXPECT_FALSE(app->document()->IsModified());
  EXPECT_FALSE(app->document()->history.CanUndo());

  // A folder that does not exist: the German message, nothing written.
  FakeMessages messages;
  services().Install(&messages);
  EXPECT_FALSE(frame->ExportPdfTo(dir.filePath("fehlt/lauf.pdf")));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Die PDF-Datei konnte nicht geschrieben werden."});
  EXPECT_FALSE(QFile::exists(dir.filePath("fehlt/lauf.pdf")));
}

TEST_F(Shell, UndoMenuTextFollowsTheHistory) {
  auto app = Start();
  CommandTable& c = app->mainFrame()->commands();
  EXPECT_EQ(c.Action(cmd::editUndo)->text(), "&Rückgängig\tStrg+Z");
  EXPECT_FALSE(c.Action(cmd::editUndo)->isEnabled());
  app->document()->AddElement(std::make_unique<CFormAlias>());
  EXPECT_EQ(c.Action(cmd::editUndo)->text(), "&Rückgängig: Einfügen\tStrg+Z");
  EXPECT_TRUE(c.Trigger(cmd::editUndo));
  EXPECT_EQ(c.Action(cmd::editRedo)->text(), "&Wiederherstellen: Einfügen\tStrg+Y");
  EXPECT_FALSE(app->document()->IsModified());
}

}  // namespace
