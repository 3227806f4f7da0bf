#include "cli/GuiSession.h"

#ifdef VELTROK_CLI_WITH_QT

#include <cstdio>
#include <cstdlib>

#include "platform/qt/TextCache.h"

namespace {
// Standard error carries the tool's own German messages; Qt's notes for developers (a missing
// runtime folder of the offscreen platform, a painter that could not begin) stay out of it.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::abort();
  }
}
}  // namespace

std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
  if (QGuiApplication::instance()) return nullptr;
  qInstallMessageHandler(QuietQtMessages);
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Pictures show the letters as the editor does.
  text_cache::CacheLargeGlyphs();
  static int argc = 1;
  static char name[] = "veltrok-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

#endif
