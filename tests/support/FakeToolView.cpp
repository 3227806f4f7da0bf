#include "support/FakeToolView.h"

namespace {
// Hands its calls to the view's log when the tool lets go of it.
class LoggedContext : public FakeDeviceContext {
 public:
  explicit LoggedContext(std::vector<Call>& log) : log_(log) {}
  ~LoggedContext() override { log_.insert(log_.end(), calls.begin(), calls.end()); }

 private:
  std::vector<Call>& log_;
};
}  // namespace

FakeToolView::FakeToolView() : mapper(CPageMapper::ForPage(kPortraitWidth, kPortraitHeight, kPortraitWidth, kPortraitHeight)) {}

std::unique_ptr<DeviceContext> FakeToolView::ClientDC() { return std::make_unique<LoggedContext>(drawn); }

std::vector<FakeDeviceContext::Call> FakeToolView::Drawn(std::string_view op) const {
  std::vector<FakeDeviceContext::Call> out;
  for (const auto& c : drawn)
    if (c.op == op) out.push_back(c);
  return out;
}
