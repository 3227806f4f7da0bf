#include "platform/UserFolders.h"

#include <cstdlib>
#include <string_view>

#include "platform/Paths.h"

namespace {

std::filesystem::path FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return {};
  return PathFromUtf8(value);
}

}  // namespace

std::filesystem::path UserAppDataFolder() {
#ifdef _WIN32
  return FromEnvironment("APPDATA");
#else
  // A relative XDG_CONFIG_HOME is invalid by the desktop's rules and is ignored.
  std::filesystem::path config = FromEnvironment("XDG_CONFIG_HOME");
  if (!config.empty() && config.is_absolute()) return config;
  const std::filesystem::path home = FromEnvironment("HOME");
  if (home.empty()) return {};
  return home / ".config";
#endif
}
