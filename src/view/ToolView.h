// What an editing tool may ask of the editor view. The Qt editor view implements it; tool tests
// use a fake.
#pragma once

#include <memory>
#include <string_view>

#include "model/PageMapper.h"
#include "platform/DeviceContext.h"

class ToolView {
 public:
  virtual ~ToolView() = default;
  // A device context on the view's screen image, with pixel (0, 0) at the page's top-left
  // corner and a white brush; XOR feedback drawn on it appears on the screen.
  virtual std::unique_ptr<DeviceContext> ClientDC() = 0;
  virtual const CPageMapper& ScreenMapper() const = 0;
  virtual bool SnapToGrid() const = 0;
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  virtual bool HasCapture() const = 0;
  virtual bool IsShiftDown() const = 0;
  virtual bool IsControlDown() const = 0;
  virtual bool IsAltDown() const = 0;
  // Distance in device pixels (those of the client context) the pointer must travel before a
  // press becomes a drag.
  virtual int DragThreshold() const = 0;
  // Redraws the page at once (after a gesture), not at the next idle moment.
  virtual void RepaintNow() = 0;
  virtual void ShowStatusMessage(std::string_view text) = 0;
};
