// The open dialog's default extension: a typed name without one that names no file gets ".rep".
#include "app/OpenLayoutDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class OpenLayoutDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("archiv"));
    for (const char* name : {"regatta.rep", "ohne", "ohne.rep", "archiv/alt.rep"}) {
      QFile f(dir.filePath(name));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
  }
  QString In(const QString& name) const { return dir.filePath(name); }
  QTemporaryDir dir;
};

TEST_F(OpenLayoutDialogTest, AddsTheExtensionOnlyWhereTheTypedNameIsNoFile) {
  const struct {
    const char* typed;
    const char* meant;
  } cases[] = {
      {"regatta", "regatta.rep"},          // only the layout exists
      {"ohne", "ohne"},                    // a file of that very name exists
      {"neu", "neu.rep"},                  // nothing there: the layout name is asked for
      {"bericht.txt", "bericht.txt"},      // an extension of its own
      {"regatta.rep", "regatta.rep"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(COpenLayoutDialog::WithDefaultExtension(In(c.typed)), In(c.meant)) << c.typed;
  EXPECT_EQ(COpenLayoutDialog::WithDefaultExtension(""), "");
}

TEST_F(OpenLayoutDialogTest, SelectedNameWithoutExtensionOpensTheLayout) {
  for (const auto& [typed, meant] : {std::pair{"regatta", "regatta.rep"}, std::pair{"ohne", "ohne"}}) {
    COpenLayoutDialog dialog(nullptr, dir.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.selectFile(typed);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << typed;
    EXPECT_EQ(dialog.ChosenFile(), In(meant)) << typed;
  }
}

// As a user types it: into the focused name field of the shown dialog, also with a folder in front.
TEST_F(OpenLayoutDialogTest, NameTypedIntoTheFieldOpensTheLayout) {
  for (const char* typed : {"regatta", "archiv/alt"}) {
    COpenLayoutDialog dialog(nullptr, dir.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(edit->hasFocus());
    edit->setText(typed);
    QApplication::processEvents();
    // A "file not found" box would wait for the user: note it and close it.
    bool complained = false;
    QTimer::singleShot(0, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        complained = true;
        box->reject();
      }
    });
    dialog.accept();
    EXPECT_FALSE(complained) << typed;
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << typed;
    EXPECT_EQ(dialog.ChosenFile(), In(QString(typed) + ".rep")) << typed;
  }
}

}  // namespace
