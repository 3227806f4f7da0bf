// Writes the seed inputs of the fuzz targets: layouts of every element kind and file version,
// small bitmaps of every depth the picture decoder reads, clipboard payloads and translation tables.
//   fuzz_make_seeds OUTDIR   (creates OUTDIR/layout, OUTDIR/dib, OUTDIR/paste and OUTDIR/trn)
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "document/LayoutFile.h"
#include "model/FormAlias.h"
#include "model/FormElementPtrList.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "placeholders/Catalogue.h"
#include "platform/TextCodec.h"
#include "support/Bytes.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> EveryKind(bool helperImage) {
  CFormElementPtrList list;
  list.Append(std::make_unique<CFormText>(CPoint{50, 40}, "Ergebnisliste [Titel]\r\nzweite Zeile"));
  list.Append(std::make_unique<CFormLine>(CPoint{50, 80}, CPoint{450, 80}));
  auto table = std::make_unique<CFormTable>(CPoint{50, 100});
  CFormTableEntry rank, name;
  rank.name = "[Rang]";
  name.name = "[Name]";
  table->AppendColumn(rank);
  table->AppendColumn(name);
  table->twoColour = true;
  list.Append(std::move(table));
  auto img = std::make_unique<CFormImage>();
  img->SetPicture(3, 2, std::vector<std::uint8_t>(3 * 2 * 3, 0x80));
  img->helper = helperImage;
  list.Append(std::move(img));
  auto alias = std::make_unique<CFormAlias>();
  alias->name = "Kopf";
  list.Append(std::move(alias));
  return LayoutToBytes(list);
}

// BITMAPINFOHEADER + table (+ masks) in front of the pixels, as the picture decoder takes them.
std::vector<std::uint8_t> Dib(int bpp, std::uint32_t compression, int width, int height,
                              const std::vector<std::uint32_t>& extra) {
  Bytes b;
  b.u32(40).i32(width).i32(height).u16(1).u16(static_cast<std::uint16_t>(bpp)).u32(compression);
  b.u32(0).i32(2835).i32(2835).u32(0).u32(0);
  for (std::uint32_t v : extra) b.u32(v);
  const std::size_t header = b.data.size();
  const int stride = (width * bpp + 31) / 32 * 4;
  for (int i = 0; i < stride * (height < 0 ? -height : height); ++i) b.u8(static_cast<std::uint8_t>(i * 37));
  // The fuzz target's first four bytes: where the header ends, then the target size.
  Bytes framed;
  framed.u16(static_cast<std::uint16_t>(header)).u8(24).u8(20).raw(b.data);
  return framed.data;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Aufruf: fuzz_make_seeds AUSGABEORDNER\n";
    return 2;
  }
  const fs::path out = argv[1];
  fs::create_directories(out / "layout");
  fs::create_directories(out / "dib");
  fs::create_directories(out / "paste");
  fs::create_directories(out / "trn");

  Write(out / "layout" / "every-kind.rep", EveryKind(false));
  Write(out / "layout" / "helper-image.rep", EveryKind(true));  // written as 4716
  Bytes old;
  old.i32(4711).u16(1).newClass("CFormText").point(5, 6).point(0, 0).point(10, 10).str("alt").i32(0);
  old.rawFont(-120, 400, "Arial");
  Write(out / "layout" / "v4711.rep", old.data);
  Bytes refs;
  refs.i32(4714).i32(1).u16(3).newClass("CFormLine").point(1, 1).point(9, 9).i32(0);
  refs.classRef(1).point(2, 2).point(8, 8).i32(255).classRef(1).point(3, 3).point(7, 7).i32(0);
  Write(out / "layout" / "class-refs.rep", refs.data);

  std::vector<std::uint32_t> gray1{0x000000, 0xFFFFFF};
  std::vector<std::uint32_t> gray16, gray256;
  for (std::uint32_t i = 0; i < 16; ++i) gray16.push_back(i * 0x111111);
  for (std::uint32_t i = 0; i < 256; ++i) gray256.push_back(i * 0x010101);
  Write(out / "dib" / "1bit.bin", Dib(1, 0, 9, 3, gray1));
  Write(out / "dib" / "4bit.bin", Dib(4, 0, 5, 3, gray16));
  Write(out / "dib" / "8bit.bin", Dib(8, 0, 3, -2, gray256));
  Write(out / "dib" / "16bit.bin", Dib(16, 0, 3, 2, {}));
  Write(out / "dib" / "16bit-565.bin", Dib(16, 3, 3, 2, {0xF800, 0x07E0, 0x001F}));
  Write(out / "dib" / "24bit.bin", Dib(24, 0, 3, 2, {}));
  Write(out / "dib" / "32bit-fields.bin", Dib(32, 3, 2, 2, {0xFF0000, 0x00FF00, 0x0000FF}));
  // Clipboard payloads are layout streams of the copied elements.
  Write(out / "paste" / "every-kind.bin", EveryKind(false));
  Write(out / "paste" / "helper-image.bin", EveryKind(true));
  Write(out / "paste" / "class-refs.bin", refs.data);

  // The whole catalogue with a few translations, as the translation dialog writes it.
  BuildCatalogue();
  Bytes trn;
  trn.u32(1234).i32(static_cast<std::int32_t>(placeholderCatalogue().size()));
  for (const CCode& c : placeholderCatalogue()) {
    const std::string translation = c.code == "[Name]" ? "Teilnehmer" : c.translation;
    trn.str(codec::Utf8ToCp1252(c.code)).str(codec::Utf8ToCp1252(translation))
        .str(codec::Utf8ToCp1252(c.description)).i32(c.flags);
  }
  Write(out / "trn" / "catalogue.trn", trn.data);
  Write(out / "trn" / "empty.trn", Bytes().i32(1234).i32(0).data);
  return 0;
}
