// The editing commands in the running main window: tool choice with check marks, the clipboard
// commands on the system clipboard, and paste following the clipboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QTimer>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/ReportApp.h"
#include "document/Clipboard.h"
#include "document/ReportDoc.h"
#include "model/ElementDialogs.h"
#include "model/FormLine.h"
#include "platform/Services.h"
#include "view/ViewGeometry.h"
#include "view/qt/ReportView.h"

namespace {

class EditingCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QGuiApplication::clipboard()->clear();
    app = std::make_unique<CReportApp>(dir.filePath("Veltrok.ini"));
    ASSERT_TRUE(app->InitInstance({"veltrok"}));
    // Confirms every element dialog unchanged, in place of the modal Qt dialogs.
    services().Install(&confirmingDialogs);
    QApplication::processEvents();
  }
  void TearDown() override {
    app.reset();
    QGuiApplication::clipboard()->clear();
  }
  void Click(CPoint page) {
    CReportView* view = app->mainFrame()->view();
    const CPoint w = PageToWindow(view->ScreenMapper(), page, view->ScrollPosition(), view->PageOrigin());
    const QPointF at(w.x, w.y);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent e(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QCoreApplication::sendEvent(view->viewport(), &e);
    }
  }
  CommandTable& commands() { return app->mainFrame()->commands(); }
  CReportDoc& doc() { return *app->document(); }

  class ConfirmingDialogs : public ElementDialogService {
   public:
    bool RunTextDialog(TextDialogValues&) override { ++runs; return true; }
    bool RunLineDialog(LineDialogValues&) override { ++runs; return true; }
    bool RunImageDialog(ImageDialogValues&) override { ++runs; return true; }
    bool RunTableDialog(CFormTable&) override { ++runs; return true; }
    int runs = 0;
  };
  QTemporaryDir dir;
  ConfirmingDialogs confirmingDialogs;
  std::unique_ptr<CReportApp> app;
};

TEST_F(EditingCommands, ToolCommandsCarryTheCheckMark) {
  EXPECT_TRUE(commands().Action(cmd::toolSelect)->isChecked());
  ASSERT_TRUE(commands().Trigger(cmd::toolLine));
  EXPECT_TRUE(doc().IsCurrentTool(CReportDoc::newLineToolSlot));
  EXPECT_TRUE(commands().Action(cmd::toolLine)->isChecked());
  EXPECT_FALSE(commands().Action(cmd::toolSelect)->isChecked());
  ASSERT_TRUE(commands().Trigger(cmd::toolText));
  EXPECT_TRUE(commands().Action(cmd::toolText)->isChecked());
  EXPECT_FALSE(commands().Action(cmd::toolLine)->isChecked());
  // The text tool places its text (the dialog confirms) and hands back to the selection tool.
  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
  });
  Click({100, 100});
  EXPECT_EQ(doc().elements.GetCount(), 1);
  EXPECT_EQ(confirmingDialogs.runs, 1);
  EXPECT_TRUE(commands().Action(cmd::toolSelect)->isChecked());
  EXPECT_FALSE(commands().Action(cmd::toolText)->isChecked());
  EXPECT_TRUE(commands().Action(cmd::translations)->isEnabled());
}

TEST_F(EditingCommands, CopyAndPasteGoThroughTheSystemClipboard) {
  EXPECT_FALSE(commands().Action(cmd::editPaste)->isEnabled());
  EXPECT_FALSE(commands().Action(cmd::editCopy)->isEnabled());
  doc().AddElement(std::make_unique<CFormLine>(CPoint{100, 100}, CPoint{200, 100}));
  doc().SelectElement(doc().elements.At(0));
  ASSERT_TRUE(commands().Trigger(cmd::editCopy));
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(data && data->hasFormat(kClipboardFormat));
  EXPECT_EQ(data->data(kClipboardFormat).left(4), QByteArray("\x6a\x12\0\0", 4));  // version 4714
  EXPECT_TRUE(commands().Action(cmd::editPaste)->isEnabled());
  ASSERT_TRUE(commands().Trigger(cmd::editPaste));
  ASSERT_EQ(doc().elements.GetCount(), 2);
  EXPECT_EQ(static_cast<CFormLine*>(doc().elements.At(1))->from, CPoint(110, 110));
  // Another program takes the clipboard: paste is off at once, without a menu being opened.
  QGuiApplication::clipboard()->setText("Fremder Text");
  QApplication::processEvents();
  EXPECT_FALSE(commands().Action(cmd::editPaste)->isEnabled());
}

}  // namespace
