#include "cli/GuiSession.h"

#ifdef VELTROK_CLI_WITH_QT

#include <cstdlib>

std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
  if (QGuiApplication::instance()) return nullptr;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "veltrok-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

#endif
