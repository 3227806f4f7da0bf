// Runs the Qt tests inside a QApplication; without a display the offscreen platform stands in.
#include <QApplication>
#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // The tests are also run at build time to list them, where no test environment applies.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Recovery copies of the editors the tests start go to a folder of their own, never the user's.
  QTemporaryDir data;
  if (qEnvironmentVariableIsEmpty("VELTROK_KEEP_DATA_HOME")) qputenv("XDG_DATA_HOME", data.path().toUtf8());
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
