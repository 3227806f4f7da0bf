// The open dialog's default extension: a typed name without one that names no file gets ".rep".
#include "app/OpenLayoutDialog.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class OpenLayoutDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"regatta.rep", "ohne", "ohne.rep"}) {
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

TEST_F(OpenLayoutDialogTest, TypedNameWithoutExtensionOpensTheLayout) {
  COpenLayoutDialog dialog(nullptr, dir.path());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.selectFile("regatta");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(dialog.selectedFiles().size(), 1);
  EXPECT_EQ(dialog.selectedFiles().front(), In("regatta.rep"));

  COpenLayoutDialog plain(nullptr, dir.path());
  plain.setOption(QFileDialog::DontUseNativeDialog);
  plain.selectFile("ohne");
  plain.accept();
  EXPECT_EQ(plain.result(), QDialog::Accepted);
  EXPECT_EQ(plain.selectedFiles().value(0), In("ohne"));
}

}  // namespace
