#include "support/FakeServices.h"

namespace {
std::string Key(std::string_view s, std::string_view e) { return std::string(s) + "/" + std::string(e); }
}  // namespace

int FakeSettings::GetInt(std::string_view s, std::string_view e, int d) {
  auto it = values.find(Key(s, e));
  if (it == values.end()) return d;
  try {
    return std::stoi(it->second);
  } catch (...) {
    return d;
  }
}
void FakeSettings::WriteInt(std::string_view s, std::string_view e, int v) {
  values[Key(s, e)] = std::to_string(v);
  ++writes;
}
std::string FakeSettings::GetString(std::string_view s, std::string_view e, std::string_view d) {
  auto it = values.find(Key(s, e));
  return it == values.end() ? std::string(d) : it->second;
}
void FakeSettings::WriteString(std::string_view s, std::string_view e, std::string_view v) {
  values[Key(s, e)] = std::string(v);
  ++writes;
}

void FakeImages::Add(const std::string& name, int w, int h, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  DecodedImage img;
  img.width = w;
  img.height = h;
  img.bgr.resize(static_cast<std::size_t>(w) * h * 3);
  for (std::size_t i = 0; i + 2 < img.bgr.size(); i += 3) {
    img.bgr[i] = b;
    img.bgr[i + 1] = g;
    img.bgr[i + 2] = r;
  }
  pictures[name] = img;
}
