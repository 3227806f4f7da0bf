// Thousands of seeded random mouse presses, drags, wheel turns, key presses and menu commands
// sent to the real main window with a layout open. Modal dialogs and message boxes that come up
// are answered by a timer, as an impatient user would. Nothing may crash or trip the sanitizer,
// and the layout saved at the end must load again. VELTROK_MONKEY_STEPS=N runs a longer session.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <fstream>
#include <random>

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/ReportApp.h"
#include "document/LayoutFile.h"
#include "document/ReportDoc.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "support/LayoutFixtures.h"
#include "view/qt/ReportView.h"

namespace {

std::vector<std::uint8_t> StartLayout() {
  CFormElementPtrList list;
  list.Append(std::make_unique<CFormText>(CPoint{50, 40}, "Ergebnisliste [Titel]"));
  list.Append(std::make_unique<CFormLine>(CPoint{50, 80}, CPoint{450, 80}));
  auto table = std::make_unique<CFormTable>(CPoint{50, 100});
  for (int i = 0; i < 3; ++i) table->AppendColumn(CFormTableEntry());
  list.Append(std::move(table));
  list.Append(Box(300, 300, 60, 40));
  return LayoutToBytes(list);
}

class Monkey {
 public:
  Monkey(CMainFrame& frame, std::uint32_t seed) : frame_(frame), rng_(seed) {
    // Whatever modal window comes up is answered soon: message boxes and file dialogs are
    // cancelled, other dialogs confirmed or cancelled by chance. Menus that opened are closed.
    answer_.setInterval(5);
    QObject::connect(&answer_, &QTimer::timeout, [this] {
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      ++dialogs;
      if (qobject_cast<QMessageBox*>(dialog) || qobject_cast<QFileDialog*>(dialog) || Int(0, 1))
        dialog->reject();
      else
        dialog->accept();
    });
    answer_.start();
  }

  void Step() {
    CReportView* view = frame_.view();
    QWidget* target = view->viewport();
    const QPoint at(Int(-10, target->width() + 10), Int(-10, target->height() + 10));
    const Qt::KeyboardModifiers mods = Modifiers();
    switch (Int(0, 9)) {
      case 0: case 1: Mouse(target, QEvent::MouseButtonPress, at, mods); Mouse(target, QEvent::MouseButtonRelease, at, mods); break;
      case 2: case 3: {
        QPoint p = at;
        Mouse(target, QEvent::MouseButtonPress, p, mods);
        for (int i = Int(1, 6); i > 0; --i) {
          p += QPoint(Int(-40, 40), Int(-40, 40));
          Mouse(target, QEvent::MouseMove, p, Modifiers());
          if (Int(0, 7) == 0) Key();  // a shortcut while the button is down
        }
        Mouse(target, QEvent::MouseButtonRelease, p, Modifiers());
        break;
      }
      case 4: Mouse(target, QEvent::MouseButtonDblClick, at, mods); Mouse(target, QEvent::MouseButtonRelease, at, mods); break;
      case 5: {
        QWheelEvent wheel(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(), QPoint(0, Int(-2, 2) * 120),
                          Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
        break;
      }
      case 6: case 7: case 8: Key(); break;
      case 9: {
        // Menus rebuild some of their actions (the recent files), so they are looked up afresh.
        std::vector<QAction*> actions;
        for (QAction* a : frame_.findChildren<QAction*>()) {
          // Ending the program and printing on a real printer are not for this session, and a new
          // empty layout would leave little to edit.
          const QString text = a->text();
          if (!a->isEnabled() || text.isEmpty() || text.contains("Beenden") || text.startsWith("&Drucken") ||
              text.startsWith("&Neu"))
            continue;
          actions.push_back(a);
        }
        if (!actions.empty()) actions[static_cast<std::size_t>(Int(0, static_cast<int>(actions.size()) - 1))]->trigger();
        break;
      }
    }
    QApplication::processEvents();
  }

  int dialogs = 0;

 private:
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  Qt::KeyboardModifiers Modifiers() {
    Qt::KeyboardModifiers m;
    if (Int(0, 4) == 0) m |= Qt::ShiftModifier;
    if (Int(0, 6) == 0) m |= Qt::ControlModifier;
    if (Int(0, 9) == 0) m |= Qt::AltModifier;
    return m;
  }
  void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::KeyboardModifiers mods) {
    const bool down = type != QEvent::MouseButtonRelease && type != QEvent::MouseMove;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseMove ? Qt::MouseButtons(Qt::LeftButton)
                                  : down                     ? Qt::MouseButtons(Qt::LeftButton)
                                                             : Qt::MouseButtons();
    QMouseEvent e(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, mods);
    QApplication::sendEvent(target, &e);
  }
  void Key() {
    struct K { Qt::Key key; Qt::KeyboardModifiers mods; };
    static const K keys[] = {
        {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_Y, Qt::ControlModifier}, {Qt::Key_X, Qt::ControlModifier},
        {Qt::Key_C, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier}, {Qt::Key_Delete, {}},
        {Qt::Key_Escape, {}}, {Qt::Key_Left, {}}, {Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Up, {}},
        {Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_0, Qt::ControlModifier}, {Qt::Key_F6, {}},
        {Qt::Key_F6, Qt::ShiftModifier}, {Qt::Key_S, Qt::ControlModifier},
        {Qt::Key_O, Qt::ControlModifier}, {Qt::Key_Backspace, Qt::AltModifier}, {Qt::Key_Insert, Qt::ShiftModifier},
        {Qt::Key_Insert, Qt::ControlModifier}, {Qt::Key_Delete, Qt::ShiftModifier}, {Qt::Key_D, Qt::AltModifier},
        {Qt::Key_B, Qt::AltModifier}, {Qt::Key_Tab, {}}, {Qt::Key_A, {}}, {Qt::Key_Return, {}},
    };
    const K& k = keys[Int(0, static_cast<int>(std::size(keys)) - 1)];
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : frame_.view()->viewport();
    QTest::keyClick(focus, k.key, k.mods);
  }

  CMainFrame& frame_;
  std::mt19937 rng_;
  QTimer answer_;
};

TEST(Monkey, RandomInputsToTheMainWindowLeaveALayoutThatLoads) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString layout = dir.filePath("monkey.rep");
  {
    const auto bytes = StartLayout();
    std::ofstream(layout.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  CReportApp app(dir.filePath("Veltrok.ini"));
  ASSERT_TRUE(app.InitInstance({"veltrok", layout}));
  CMainFrame& frame = *app.mainFrame();
  frame.resize(1000, 700);
  frame.activateWindow();
  QApplication::processEvents();

  const char* stepsVar = std::getenv("VELTROK_MONKEY_STEPS");
  const int steps = stepsVar && *stepsVar ? std::atoi(stepsVar) : 5000;
  Monkey monkey(frame, 4711);
  for (int i = 0; i < steps; ++i) monkey.Step();

  // The layout as the session left it is saved and reads back to the same bytes.
  CReportDoc& doc = *app.document();
  const QString out = dir.filePath("nachher.rep");
  ASSERT_TRUE(doc.OnSaveDocument(out.toStdString()));
  CFormElementPtrList back;
  ASSERT_TRUE(LoadLayoutFile(out.toStdString(), back).ok());
  EXPECT_EQ(LayoutToBytes(back), LayoutToBytes(doc.elements));
  EXPECT_GT(monkey.dialogs, 0);
  ::testing::Test::RecordProperty("elements", doc.elements.GetCount());
  ::testing::Test::RecordProperty("dialogs", monkey.dialogs);
  ::testing::Test::RecordProperty("undoSteps", static_cast<int>(doc.history.UndoCount()));
  doc.SetModifiedFlag(false);  // no save prompt on the way out
}

}  // namespace
