#include "support/FakeDeviceContext.h"

#include <cstdlib>

#include "platform/TextCodec.h"

int FakeDeviceContext::Save() {
  saved_.push_back(state);
  return static_cast<int>(saved_.size());
}

void FakeDeviceContext::Restore(int token) {
  if (token <= 0 || token > static_cast<int>(saved_.size())) return;
  state = saved_[static_cast<std::size_t>(token - 1)];
  saved_.resize(static_cast<std::size_t>(token - 1));
}

CSize FakeDeviceContext::TextExtent(std::string_view utf8) {
  ++measureCount;
  const int h = std::abs(state.font.lfHeight);
  int count = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = codec::DecodeUtf8(utf8, pos);
    if (cp != U'\r' && cp != U'\n') ++count;
  }
  return {count * (h / 2), h};
}

TextMetrics FakeDeviceContext::Metrics() {
  const int h = std::abs(state.font.lfHeight);
  return {h, h - h / 5, h / 5};
}

void FakeDeviceContext::Rectangle(const CRect& r) { calls.push_back({"Rectangle", r, {}, state}); }
void FakeDeviceContext::Line(CPoint a, CPoint b) { calls.push_back({"Line", CRect(a, b), {}, state}); }
void FakeDeviceContext::Ellipse(const CRect& r) { calls.push_back({"Ellipse", r, {}, state}); }
void FakeDeviceContext::FillSolid(const CRect& r, COLORREF c) {
  State s = state;
  s.brush = Brush::Solid(c);
  calls.push_back({"FillSolid", r, {}, s});
}
void FakeDeviceContext::FocusRect(const CRect& r) { calls.push_back({"FocusRect", r, {}, state}); }
void FakeDeviceContext::Text(CPoint at, std::string_view utf8) {
  calls.push_back({"Text", CRect(at.x, at.y, 0, 0), std::string(utf8), state});
}
void FakeDeviceContext::StretchDib(const CRect& dest, const std::uint8_t*, std::size_t,
                                   const std::uint8_t*, std::size_t) {
  calls.push_back({"StretchDib", dest, {}, state});
}

std::vector<FakeDeviceContext::Call> FakeDeviceContext::CallsOf(std::string_view op) const {
  std::vector<Call> out;
  for (const Call& c : calls)
    if (c.op == op) out.push_back(c);
  return out;
}
