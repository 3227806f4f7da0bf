// Picture decoding with Qt's image readers (BMP, JPEG, PNG, GIF).
#pragma once

#include "platform/Services.h"

class QtImageDecoder final : public ImageDecoder {
 public:
  // Pictures beyond these are refused from their declared size, before anything is decoded, so a
  // damaged or hostile file cannot make the editor allocate gigabytes.
  static constexpr int kMaxSide = 20000;
  static constexpr long long kMaxPixels = 50'000'000;

  std::optional<DecodedImage> Load(const std::filesystem::path& path) override;
};
