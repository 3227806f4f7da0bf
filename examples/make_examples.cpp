// Writes the example layouts of this folder with the program's own element model:
//   veltrok-make-examples FOLDER
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "document/LayoutFile.h"
#include "model/FormAlias.h"
#include "model/FormElementPtrList.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "model/Fonts.h"

namespace {

std::unique_ptr<CFormText> Text(int x, int y, const char* text, double points, int align = 0,
                                int weight = 400, COLORREF colour = 0) {
  auto t = std::make_unique<CFormText>(CPoint{x, y}, text);
  t->font.lfHeight = PointsToFontHeight(points);
  t->font.lfWeight = weight;
  t->alignment = align;
  t->color = colour;
  return t;
}

CFormTableEntry Column(const char* name, int percent, int align = 0, int weight = 400) {
  CFormTableEntry c;
  c.name = name;
  c.widthPercent = percent;
  c.alignment = align;
  c.font.lfWeight = weight;
  return c;
}

// A small club pennant: blue and white wedges, generated so that no outside picture is needed.
std::unique_ptr<CFormImage> Pennant(int x, int y) {
  const int w = 120;
  const int h = 80;
  std::vector<std::uint8_t> bgr(static_cast<std::size_t>(w) * h * 3);
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      const bool inside = std::abs(r - h / 2) * w < (w - c) * (h / 2);
      const bool stripe = inside && (c / 15) % 2 == 0;
      std::uint8_t* p = &bgr[(static_cast<std::size_t>(r) * w + c) * 3];
      if (!inside) {
        p[0] = p[1] = p[2] = 255;
      } else if (stripe) {
        p[0] = 0xBD; p[1] = 0x6C; p[2] = 0x0F;
      } else {
        p[0] = 0x00; p[1] = 0x96; p[2] = 0xD8;
      }
    }
  }
  auto img = std::make_unique<CFormImage>();
  img->dib = std::make_shared<const std::vector<std::uint8_t>>(BuildDib(w, h, bgr));
  img->bitsOffset = 40;
  img->fileName = "wimpel.bmp";
  img->x = x;
  img->y = y;
  img->width = 60;
  img->height = 40;
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : ".";
  CFormElementPtrList list;
  list.Append(Pennant(30, 25));
  list.Append(Text(250, 30, "[Titel]", 18, 1, 700, RGB(0x0F, 0x3C, 0x78)));
  list.Append(Text(250, 62, "Ergebnisliste nach [AnzLäufe] Läufen", 11, 1));
  list.Append(Text(470, 30, "[Datum]", 9, 2));
  list.Append(std::make_unique<CFormLine>(CPoint{30, 90}, CPoint{470, 90}));
  auto table = std::make_unique<CFormTable>(CPoint{30, 100});
  table->width = 440;
  table->height = 540;
  table->twoColour = true;
  table->frame = true;
  table->AppendColumn(Column("[Rang]", 8, 2, 700));
  table->AppendColumn(Column("[Segel]", 12, 1));
  table->AppendColumn(Column("[Name]", 34));
  table->AppendColumn(Column("[Verein]", 24));
  table->AppendColumn(Column("[Punkte]", 10, 2));
  table->AppendColumn(Column("[Wertung]", 12, 2));
  table->maxFontHeight = table->ComputeMaxFontHeight();
  list.Append(std::move(table));
  list.Append(std::make_unique<CFormLine>(CPoint{30, 660}, CPoint{470, 660}));
  list.Append(Text(30, 668, "Veranstalter: [Veranstalter]", 8));
  list.Append(Text(470, 668, "Jury: [Jury1], [Jury2], [Jury3]", 8, 2));
  auto alias = std::make_unique<CFormAlias>();
  alias->name = "Sponsor";
  alias->x = 400;
  alias->y = 20;
  alias->width = 70;
  alias->height = 0;
  list.Append(std::move(alias));
  const auto path = folder / "ergebnisliste.rep";
  if (!SaveLayoutFile(path, list)) return 1;
  std::printf("%s\n", path.string().c_str());
  return 0;
}
