// The stored placement of the main window: ten numbers in the text form
// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" (flags, show state, minimised x/y, maximised x/y, normal
// rectangle left, top, right, bottom).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Where a stored normal rectangle may go given the work areas of the screens there are now. A
// rectangle with enough of itself on some screen to be grabbed stays where it is; otherwise it is
// moved onto the nearest screen (the one it overlaps most, or the closest), shrunk to that
// screen's work area where it is larger, with as small a move as possible. No work areas: as
// stored.
CRect PlaceOnScreens(const CRect& rect, const std::vector<CRect>& workAreas);
