// A picture in a rectangle of the page. The picture is converted once to a bottom-up 24-bit
// device-independent bitmap kept in memory and stored inside the layout, so a layout prints the
// same picture when the image file is gone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/FormElement.h"

using DibBuffer = std::shared_ptr<const std::vector<std::uint8_t>>;

class CFormImage : public CFormRectElement {
 public:
  static const ClassInfo classInfo;
  const ClassInfo& GetRuntimeClass() const override { return classInfo; }

  CFormImage() = default;
  // The image tool: 50 x 50 at the point, then the picture is loaded if the file can be read.
  CFormImage(CPoint position, std::string fileName);

  void Serialize(Archive& ar) override;
  std::unique_ptr<CFormElement> Clone() const override;
  void CopyFrom(const CFormElement& other) override;
  void Draw(DeviceContext& dc, const CPageMapper& mapper) override;
  void DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour) override;
  void Print(DeviceContext& dc, int page, const CPageMapper& mapper, const CFormEnv& data) override;
  bool EditInDialog() override;
  PropertyList FillProperties() const override;
  void ApplyProperty(std::string_view name, double number, std::string_view text) override;

  // Loads `fileName`; on success takes the picture and sizes the element to 100 units along the
  // longer side. A failed load changes nothing.
  bool LoadImageFile();
  // Takes pixels (rows top-down, three bytes B, G, R each) as its picture, stored as a 24-bit
  // bitmap. False, and nothing changed, when they make none.
  bool SetPicture(int pixelsWide, int pixelsHigh, const std::vector<std::uint8_t>& bgrTopDown);
  bool HasPicture() const;
  // Has a picture whose stored form can be drawn (not every compression a file may hold can).
  bool CanDrawPicture() const;
  // (biWidth, |biHeight|) of the picture, or (0, 0) without one.
  CSize PixelSize() const;

  std::string fileName;
  DibBuffer dib;       // shared read-only between an element and its clones
  int bitsOffset = 0;  // offset of the pixel rows inside dib
  bool helper = false; // shown behind everything in the editor, never printed

 private:
  void Blit(DeviceContext& dc, int x, int y, int w, int h) const;
};

// Builds the packed 24-bit bottom-up bitmap (40-byte header, rows padded to 4 bytes) of a
// decoded picture; empty when the picture is empty or too large to address.
std::vector<std::uint8_t> BuildDib(int width, int height, const std::vector<std::uint8_t>& bgrTopDown);
// Reads a bitmap header field from a packed bitmap.
std::int32_t DibInt(const std::vector<std::uint8_t>& dib, std::size_t offset);
std::uint16_t DibWord(const std::vector<std::uint8_t>& dib, std::size_t offset);
