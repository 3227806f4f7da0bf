// The shell folders without a window system: the per-user application-data folder named from the
// environment the way the desktop names it, and the program's folder as the caller found it. The
// editor and the command-line tool share the first, so both read the same translation table.
#pragma once

#include <filesystem>

#include "platform/Services.h"

// %APPDATA% on Windows; elsewhere $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
// Empty when neither can be named.
std::filesystem::path UserAppDataFolder();

class SystemShellFolders : public ShellFolders {
 public:
  explicit SystemShellFolders(std::filesystem::path programFolder)
      : programFolder_(std::move(programFolder)) {}
  std::filesystem::path AppDataFolder() override { return UserAppDataFolder(); }
  std::filesystem::path ProgramFolder() override { return programFolder_; }

 private:
  std::filesystem::path programFolder_;
};
