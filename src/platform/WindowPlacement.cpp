#include "platform/WindowPlacement.h"

#include <cstdio>
#include <string>

std::string WindowPlacement::Format() const {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, showCmd, minPosition.x,
                minPosition.y, maxPosition.x, maxPosition.y, normalPosition.left,
                normalPosition.top, normalPosition.right, normalPosition.bottom);
  return buf;
}

std::optional<WindowPlacement> WindowPlacement::Parse(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::string s(text);
  WindowPlacement p;
  const int n = std::sscanf(s.c_str(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", &p.flags, &p.showCmd,
                            &p.minPosition.x, &p.minPosition.y, &p.maxPosition.x, &p.maxPosition.y,
                            &p.normalPosition.left, &p.normalPosition.top, &p.normalPosition.right,
                            &p.normalPosition.bottom);
  if (n != 10) return std::nullopt;
  return p;
}
