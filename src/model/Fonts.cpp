#include "model/Fonts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/FileFormat.h"
#include "platform/Archive.h"

namespace {
constexpr double kMmPerPoint = 0.35277777777777775;
constexpr double kMmPerUnit = 0.42;

LOGFONTA DefaultFont(int height) {
  LOGFONTA f;
  f.lfHeight = height;
  f.lfWeight = 400;
  f.lfOutPrecision = 4;
  f.lfClipPrecision = 32;
  SetFaceName(f, "Arial");
  return f;
}
}  // namespace

int PointsToFontHeight(double points) {
  // Sizes beyond any paper are held at 10000 pt so that the height stays an int.
  const double clamped = std::clamp(points, -10000.0, 10000.0);
  const double half = std::floor(2 * clamped + 0.5) * 0.5;
  return -static_cast<int>(std::floor(half * kMmPerPoint / kMmPerUnit * 10 + 0.5));
}

double FontHeightToPoints(int height) {
  const double magnitude = std::abs(static_cast<double>(height));
  return std::floor(magnitude / 10 * kMmPerUnit / kMmPerPoint * 2 + 0.5) * 0.5;
}

LOGFONTA CreateElementFont(const LOGFONTA& font, const CPageMapper& mapper) {
  LOGFONTA f = font;
  const int magnitude = font.lfHeight == INT32_MIN ? INT32_MAX : std::abs(font.lfHeight);
  const int device = mapper.ToDevice(0, magnitude).y - mapper.ToDevice(0, 0).y;
  f.lfHeight = device / -10;
  return f;
}

LOGFONTA DefaultTextFont() { return DefaultFont(-160); }
LOGFONTA DefaultColumnFont() { return DefaultFont(-80); }

void WriteFont(Archive& ar, const LOGFONTA& f) {
  ar.WriteInt(f.lfHeight);
  ar.WriteInt(f.lfWidth);
  ar.WriteInt(f.lfEscapement);
  ar.WriteInt(f.lfOrientation);
  ar.WriteInt(f.lfWeight);
  ar.WriteByte(f.lfItalic);
  ar.WriteByte(f.lfUnderline);
  ar.WriteByte(f.lfStrikeOut);
  ar.WriteByte(f.lfCharSet);
  ar.WriteByte(f.lfOutPrecision);
  ar.WriteByte(f.lfClipPrecision);
  ar.WriteByte(f.lfQuality);
  ar.WriteByte(f.lfPitchAndFamily);
  ar.WriteAnsiString(FaceNameBytes(f));
}

LOGFONTA ReadFont(Archive& ar) {
  LOGFONTA f;
  if (ar.formatVersion < kVersionFieldFonts) {
    std::uint8_t raw[kLogFontSize];
    ar.ReadBytes(raw, kLogFontSize);
    f = LogFontFromBytes(raw);
    f.lfFaceName[kFaceNameMax] = '\0';
    return f;
  }
  f.lfHeight = ar.ReadInt();
  f.lfWidth = ar.ReadInt();
  f.lfEscapement = ar.ReadInt();
  f.lfOrientation = ar.ReadInt();
  f.lfWeight = ar.ReadInt();
  f.lfItalic = ar.ReadByte();
  f.lfUnderline = ar.ReadByte();
  f.lfStrikeOut = ar.ReadByte();
  f.lfCharSet = ar.ReadByte();
  f.lfOutPrecision = ar.ReadByte();
  f.lfClipPrecision = ar.ReadByte();
  f.lfQuality = ar.ReadByte();
  f.lfPitchAndFamily = ar.ReadByte();
  SetFaceNameBytes(f, ar.ReadAnsiString());
  return f;
}
