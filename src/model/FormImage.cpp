#include "model/FormImage.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "model/ElementDialogs.h"
#include "model/FileFormat.h"
#include "platform/Archive.h"
#include "platform/Dib.h"
#include "platform/Paths.h"
#include "platform/Services.h"

const ClassInfo CFormImage::classInfo{"CFormImage", 1, &CFormElement::classInfo,
                                      &CreateSerialObject<CFormImage>};

namespace {
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint16_t kBitmapMagic = 0x4D42;  // "BM"

void PutLe(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) v[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
}  // namespace

std::int32_t DibInt(const std::vector<std::uint8_t>& d, std::size_t at) {
  if (at + 4 > d.size()) return 0;
  return static_cast<std::int32_t>(DibU32(d.data() + at));
}

std::uint16_t DibWord(const std::vector<std::uint8_t>& d, std::size_t at) {
  if (at + 2 > d.size()) return 0;
  return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::vector<std::uint8_t> BuildDib(int w, int h, const std::vector<std::uint8_t>& bgr) {
  if (w < 1 || h < 1) return {};
  const std::uint64_t stride = ((static_cast<std::uint64_t>(w) * 24 + 31) / 32) * 4;
  const std::uint64_t total = kInfoHeaderSize + stride * static_cast<std::uint64_t>(h);
  const std::uint64_t rowBytes = static_cast<std::uint64_t>(w) * 3;
  if (total > std::numeric_limits<std::int32_t>::max() ||
      bgr.size() < rowBytes * static_cast<std::uint64_t>(h))
    return {};
  std::vector<std::uint8_t> dib(static_cast<std::size_t>(total), 0);
  PutLe(dib, 0, kInfoHeaderSize, 4);
  PutLe(dib, 4, static_cast<std::uint32_t>(w), 4);
  PutLe(dib, 8, static_cast<std::uint32_t>(h), 4);  // positive: rows bottom-up
  PutLe(dib, 12, 1, 2);                             // planes
  PutLe(dib, 14, 24, 2);                            // bits per pixel; the rest stays 0 (BI_RGB)
  for (int r = 0; r < h; ++r) {
    const std::size_t src = static_cast<std::size_t>(h - 1 - r) * rowBytes;
    const std::size_t dst = kInfoHeaderSize + static_cast<std::size_t>(r) * stride;
    std::memcpy(dib.data() + dst, bgr.data() + src, rowBytes);
  }
  return dib;
}

CFormImage::CFormImage(CPoint position, std::string name) : fileName(std::move(name)) {
  x = position.x;
  y = position.y;
  width = 50;
  height = 50;
  LoadImageFile();
}

bool CFormImage::HasPicture() const {
  return dib && bitsOffset >= static_cast<int>(kInfoHeaderSize) &&
         static_cast<std::size_t>(bitsOffset) < dib->size();
}

CSize CFormImage::PixelSize() const {
  if (!HasPicture()) return {};
  const std::int64_t h = DibInt(*dib, 8);
  return {DibInt(*dib, 4), static_cast<int>(std::min<std::int64_t>(std::llabs(h), INT32_MAX))};
}

bool CFormImage::SetPicture(int pixelsWide, int pixelsHigh, const std::vector<std::uint8_t>& bgrTopDown) {
  std::vector<std::uint8_t> built = BuildDib(pixelsWide, pixelsHigh, bgrTopDown);
  if (built.empty()) return false;
  dib = std::make_shared<const std::vector<std::uint8_t>>(std::move(built));
  bitsOffset = static_cast<int>(kInfoHeaderSize);
  return true;
}

bool CFormImage::LoadImageFile() {
  if (fileName.empty()) return false;
  ScopedWaitCursor wait;
  const std::optional<DecodedImage> picture =
      services().Images().Load(PathFromUtf8(fileName));
  if (!picture || picture->width < 1 || picture->height < 1) return false;
  if (!SetPicture(picture->width, picture->height, picture->bgr)) return false;
  const int w = picture->width;
  const int h = picture->height;
  if (h < w) {
    width = 100;
    height = static_cast<int>(static_cast<long long>(h) * 100 / w);
  } else {
    height = 100;
    width = static_cast<int>(static_cast<long long>(w) * 100 / h);
  }
  return true;
}

void CFormImage::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    ar.WritePoint({x, y});
    ar.WriteString(fileName);
    ar.WritePoint({width, height});
    if (HasPicture()) {
      ar.WriteByte(1);
      ar.WriteWord(kBitmapMagic);
      ar.WriteDword(static_cast<std::uint32_t>(dib->size() + kFileHeaderSize));
      ar.WriteWord(0);
      ar.WriteWord(0);
      ar.WriteDword(static_cast<std::uint32_t>(bitsOffset + kFileHeaderSize));
      ar.WriteBytes(dib->data(), dib->size());
    } else {
      ar.WriteByte(0);
    }
    if (ar.formatVersion >= kVersionHelper) ar.WriteByte(helper ? 1 : 0);
    return;
  }

  const CPoint p = ar.ReadPoint();
  x = p.x;
  y = p.y;
  fileName = ar.ReadString();
  const CPoint s = ar.ReadPoint();
  width = s.x;
  height = s.y;
  const std::uint8_t hasPicture = ar.ReadByte();
  dib.reset();
  bitsOffset = 0;
  helper = false;
  if (hasPicture == 1) {
    std::uint8_t fileHeader[kFileHeaderSize];
    if (ar.Remaining() < kFileHeaderSize)
      Archive::Fail(ArchiveException::Cause::generic, "Bildkopf unvollständig");
    ar.ReadBytes(fileHeader, kFileHeaderSize);
    const auto magic = static_cast<std::uint16_t>(fileHeader[0] | (fileHeader[1] << 8));
    const std::uint32_t offset = static_cast<std::uint32_t>(fileHeader[10]) |
                                 (static_cast<std::uint32_t>(fileHeader[11]) << 8) |
                                 (static_cast<std::uint32_t>(fileHeader[12]) << 16) |
                                 (static_cast<std::uint32_t>(fileHeader[13]) << 24);
    if (magic != kBitmapMagic || offset < kFileHeaderSize + kInfoHeaderSize)
      Archive::Fail(ArchiveException::Cause::generic, "ungültiger Bildkopf");
    const std::uint64_t headerBytes = offset - kFileHeaderSize;
    if (ar.Remaining() < headerBytes)
      Archive::Fail(ArchiveException::Cause::endOfFile, "unerwartetes Dateiende");
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(headerBytes));
    ar.ReadBytes(buffer.data(), buffer.size());

    // Pixel-data length from the header. Row size and row count are checked against what the
    // stream still holds before they are multiplied, so no field value can wrap the product.
    const std::int64_t bw = DibInt(buffer, 4);
    const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(static_cast<std::int64_t>(DibInt(buffer, 8))));
    const std::int64_t bits = DibWord(buffer, 14);
    const std::int64_t rowUnits = (bits * bw + 31) / 32;
    if (rowUnits < 0) Archive::Fail(ArchiveException::Cause::generic, "ungültige Bildbreite");
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(rowUnits) * 4;
    const std::uint64_t remaining = ar.Remaining();
    if (rows != 0 && rowBytes > remaining / rows)
      Archive::Fail(ArchiveException::Cause::endOfFile, "unerwartetes Dateiende");
    const std::uint64_t pixelBytes = rows * rowBytes;
    buffer.reserve(buffer.size() + static_cast<std::size_t>(pixelBytes));
    ar.ReadBytesInto(buffer, static_cast<std::size_t>(pixelBytes));
    dib = std::make_shared<const std::vector<std::uint8_t>>(std::move(buffer));
    bitsOffset = static_cast<int>(headerBytes);
  }
  if (ar.formatVersion >= kVersionHelper) helper = ar.ReadByte() != 0;
}

std::unique_ptr<CFormElement> CFormImage::Clone() const { return CloneOf(*this); }

void CFormImage::CopyFrom(const CFormElement& other) {
  const auto& o = static_cast<const CFormImage&>(other);
  CopyGeometry(o);
  fileName = o.fileName;
  dib = o.dib;
  bitsOffset = o.bitsOffset;
  helper = o.helper;
}

void CFormImage::Blit(DeviceContext& dc, int bx, int by, int bw, int bh) const {
  if (!HasPicture()) return;
  const auto offset = static_cast<std::size_t>(bitsOffset);
  dc.StretchDib(CRect(bx, by, bx + bw, by + bh), dib->data(), offset, dib->data() + offset,
                dib->size() - offset);
}

bool CFormImage::CanDrawPicture() const {
  if (!HasPicture()) return false;
  const auto offset = static_cast<std::size_t>(bitsOffset);
  return ReadDibFormat(dib->data(), offset, dib->size() - offset).has_value();
}

void CFormImage::Draw(DeviceContext& dc, const CPageMapper& mapper) {
  const CPoint a = mapper.ToDevice(x, y);
  const CPoint b = mapper.ToDevice(x + width, y + height);
  // A picture stored in a form we cannot draw shows the empty frame, so the element stays visible.
  if (CanDrawPicture()) {
    Blit(dc, a.x, a.y, b.x - a.x, b.y - a.y);
  } else {
    dc.Rectangle(CRect(a, b));  // with the caller's pen and brush
  }
  if (helper) {
    ScopedSave save(dc);
    dc.SetBrush(Brush::Null());
    dc.SetPen(Pen{Pen::Style::dash, 0, RGB(128, 128, 128)});
    dc.SetTransparentText(true);
    dc.Rectangle(CRect(a, b));
  }
}

void CFormImage::DrawSelected(DeviceContext& dc, const CPageMapper& mapper, COLORREF colour) {
  const CPoint a = mapper.ToDevice(x, y);
  const CPoint b = mapper.ToDevice(x + width, y + height);
  if (HasPicture()) Blit(dc, a.x, a.y, b.x - a.x, b.y - a.y);
  ScopedSave save(dc);
  dc.SetBrush(Brush::Null());
  dc.SetPen(Pen::Solid(0, colour));
  dc.Rectangle(CRect(a, b));
  DrawHandles(dc, a.x, a.y, b.x, b.y, true);
}

void CFormImage::Print(DeviceContext& dc, int, const CPageMapper& mapper, const CFormEnv&) {
  if (!HasPicture()) return;
  const CPoint a = mapper.ToDevice(x, y);
  const CPoint size = mapper.ToDevice(width, height);
  Blit(dc, a.x, a.y, size.x, size.y);
}

bool CFormImage::EditInDialog() {
  ElementDialogService& dialogs = ElementDialogs();
  ImageDialogValues v;
  v.fileName = fileName;
  v.displayWidth = width;
  v.displayHeight = height;
  const CSize pixels = PixelSize();
  v.pixelWidth = pixels.cx;
  v.pixelHeight = pixels.cy;
  v.helper = helper;
  if (!dialogs.RunImageDialog(v)) return false;

  const int w0 = width;
  const int h0 = height;
  helper = v.helper;
  if (v.fileName == fileName && HasPicture()) {
    width = v.displayWidth;
    height = v.displayHeight;
    return true;
  }
  const std::string oldName = fileName;
  fileName = v.fileName;
  const bool loaded = LoadImageFile();
  if (!loaded && !fileName.empty()) {
    services().Messages().Show("Das Bild konnte nicht geladen werden.", MessageIcon::exclamation,
                               MessageButtons::ok);
    fileName = oldName;
  }
  if (!loaded || v.displayWidth != w0 || v.displayHeight != h0) {
    width = v.displayWidth;
    height = v.displayHeight;
  }
  return true;
}
