// Shared pieces of the elements' property rows: row names, the image filter, and the number
// conversions that turn a value typed in the pane into an element attribute.
#pragma once

#include <string>
#include <string_view>

inline constexpr const char* kFontSizeRow = "Schriftgrad (pt)";
inline constexpr const char* kColumnWidthSumRow = "Spaltenbreiten gesamt (%)";
inline constexpr const char* kColumnRowPrefix = "Spalte ";
inline constexpr const char* kImageFilter =
    "Bilder (*.bmp;*.jpg;*.jpeg;*.png;*.gif)|*.bmp;*.jpg;*.jpeg;*.png;*.gif|Alle Dateien (*.*)|*.*||";

// Coordinates and sizes typed into the pane stay within this many page units of the origin, far
// beyond any page, so that sums of position and size can never leave the int range.
inline constexpr int kCoordinateLimit = 1'000'000;

// floor(number + 0.5), held within the int range; not-a-number gives 0.
int RoundHalfUp(double number);
// RoundHalfUp held within +-kCoordinateLimit.
int RoundCoordinate(double number);

// "Spalte n/" for the 0-based column index.
std::string ColumnPrefix(int columnIndex);
// Whether `name` is a column row "Spalte n/attribute"; if so, `index` is n - 1 (n read from the
// eighth character up to the first non-digit; -1 when there is no usable number) and `attribute`
// what follows the first '/'.
bool ParseColumnRow(std::string_view name, int& index, std::string_view& attribute);
