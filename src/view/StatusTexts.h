// The status-bar panes the editor view and the tools write to. The main window implements it.
#pragma once

#include <string_view>

class StatusTexts {
 public:
  virtual ~StatusTexts() = default;
  virtual void SetCoordinateText(std::string_view text) = 0;  // "X %d   Y %d"
  virtual void SetZoomText(std::string_view text) = 0;        // "Zoom %d %%"
  // An empty text shows the idle text "Bereit".
  virtual void ShowStatusMessage(std::string_view text) = 0;
};
