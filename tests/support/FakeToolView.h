// A stand-in for the editor view as the tools see it: page units map one to one onto pixels, the
// key state and the snap switch are set by the test, and everything drawn through the client
// device contexts is kept in one log.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/FakeDeviceContext.h"
#include "view/ToolView.h"

class FakeToolView : public ToolView {
 public:
  FakeToolView();

  std::unique_ptr<DeviceContext> ClientDC() override;
  const CPageMapper& ScreenMapper() const override { return mapper; }
  bool SnapToGrid() const override { return snap; }
  void CaptureMouse() override { captured = true; }
  void ReleaseMouse() override { captured = false; }
  bool HasCapture() const override { return captured; }
  bool IsShiftDown() const override { return shift; }
  bool IsControlDown() const override { return control; }
  bool IsAltDown() const override { return alt; }
  int DragThreshold() const override { return threshold; }
  void RepaintNow() override { ++repaints; }
  void ShowStatusMessage(std::string_view text) override { messages.emplace_back(text); }

  // The calls of one kind drawn through every client context so far.
  std::vector<FakeDeviceContext::Call> Drawn(std::string_view op) const;

  CPageMapper mapper;
  bool snap = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
  bool captured = false;
  int threshold = 6;
  int repaints = 0;
  std::vector<std::string> messages;
  std::vector<FakeDeviceContext::Call> drawn;
};
