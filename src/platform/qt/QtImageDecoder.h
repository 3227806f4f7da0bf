// Picture decoding with Qt's image readers (BMP, JPEG, PNG, GIF).
#pragma once

#include "platform/Services.h"

class QtImageDecoder final : public ImageDecoder {
 public:
  // Pictures with more pixels are refused from their declared size, before anything is decoded,
  // so a damaged or hostile file cannot make the editor allocate gigabytes. A long thin picture
  // is as small as its pixel count says; no side on its own is limited.
  static constexpr long long kMaxPixels = 50'000'000;

  std::optional<DecodedImage> Load(const std::filesystem::path& path) override;
};
