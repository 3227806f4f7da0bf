// The stored placement of the main window: ten numbers in the text form
// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" (flags, show state, minimised x/y, maximised x/y, normal
// rectangle left, top, right, bottom).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Types.h"

struct WindowPlacement {
  static constexpr unsigned kShowNormal = 1;
  static constexpr unsigned kShowMinimized = 2;
  static constexpr unsigned kShowMaximized = 3;

  unsigned flags = 0;
  unsigned showCmd = kShowNormal;
  CPoint minPosition{-1, -1};
  CPoint maxPosition{-1, -1};
  CRect normalPosition;
  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;

  std::string Format() const;
  // Empty unless the text holds all ten numbers.
  static std::optional<WindowPlacement> Parse(std::string_view text);
};
