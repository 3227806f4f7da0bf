// Runs the editor-view tests on a screen with two device pixels per logical pixel, as on a
// doubled laptop screen; without a display the offscreen platform stands in.
#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // Set here rather than by the test runner: the binary is also run at build time to list tests.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", "2");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
