// Writes the example layouts of this folder with the program's own element model:
//   veltrok-make-examples FOLDER
// ergebnisliste.rep  results list (landscape): title, date, 40 shaded rows with rank, sail number,
//                    name, club, race results, discard and points
// startliste.rep     start list (portrait) of one race
// urkunde.rep        certificate with a picture
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/LayoutFile.h"
#include "model/FormElementPtrList.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "model/Fonts.h"

namespace {

constexpr COLORREF kNavy = RGB(0x0F, 0x3C, 0x78);
constexpr COLORREF kGrey = RGB(0x50, 0x50, 0x50);
constexpr int kBold = 700;

std::unique_ptr<CFormText> Text(int x, int y, const char* text, double points, int align = 0,
                                int weight = 400, COLORREF colour = 0, const char* face = "Arial") {
  auto t = std::make_unique<CFormText>(CPoint{x, y}, text);
  t->font.lfHeight = PointsToFontHeight(points);
  t->font.lfWeight = weight;
  SetFaceName(t->font, face);
  t->alignment = align;
  t->color = colour;
  return t;
}

std::unique_ptr<CFormLine> Line(int x0, int y0, int x1, int y1, COLORREF colour = 0) {
  auto l = std::make_unique<CFormLine>(CPoint{x0, y0}, CPoint{x1, y1});
  l->color = colour;
  return l;
}

struct ColumnSpec {
  const char* code;
  const char* heading;
  int percent;
  int align;  // 0 left, 1 centre, 2 right
  int weight;
};

// A shaded, framed table with a bold heading line above it; headings are aligned like their
// column's cells.
std::unique_ptr<CFormTable> TableWithHeadings(CFormElementPtrList& list, int x, int y, int width, int height,
                                              int fontHeight, const std::vector<ColumnSpec>& specs) {
  auto table = std::make_unique<CFormTable>(CPoint{x, y});
  table->width = width;
  table->height = height;
  table->twoColour = true;
  table->frame = true;
  int left = x;
  for (const ColumnSpec& s : specs) {
    CFormTableEntry c;
    c.name = s.code;
    c.widthPercent = s.percent;
    c.alignment = s.align;
    c.font.lfHeight = fontHeight;
    c.font.lfWeight = s.weight;
    table->AppendColumn(c);
    const int w = width * s.percent / 100;
    const int anchor = s.align == 2 ? left + w - 1 : (s.align == 1 ? left + w / 2 : left + 1);
    list.Append(Text(anchor, y - 14, s.heading, 8, s.align, kBold, kNavy));
    left += w;
  }
  table->maxFontHeight = table->ComputeMaxFontHeight();
  return table;
}

// A picture made here, so that the examples need no outside file: rows top-down, B G R.
std::unique_ptr<CFormImage> Picture(int x, int y, int width, int height, int pw, int ph,
                                    const std::vector<std::uint8_t>& bgr, const char* name) {
  auto img = std::make_unique<CFormImage>();
  img->SetPicture(pw, ph, bgr);
  img->fileName = name;
  img->x = x;
  img->y = y;
  img->width = width;
  img->height = height;
  return img;
}

void Put(std::vector<std::uint8_t>& bgr, int w, int r, int c, COLORREF colour) {
  std::uint8_t* p = &bgr[(static_cast<std::size_t>(r) * w + c) * 3];
  p[0] = GetBValue(colour);
  p[1] = GetGValue(colour);
  p[2] = GetRValue(colour);
}

// A club pennant: blue and white wedges.
std::unique_ptr<CFormImage> Pennant(int x, int y) {
  const int w = 120;
  const int h = 80;
  std::vector<std::uint8_t> bgr(static_cast<std::size_t>(w) * h * 3, 255);
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c)
      if (std::abs(r - h / 2) * w < (w - c) * (h / 2))
        Put(bgr, w, r, c, (c / 15) % 2 == 0 ? RGB(0x0F, 0x6C, 0xBD) : RGB(0xD8, 0x96, 0x00));
  return Picture(x, y, 60, 40, w, h, bgr, "wimpel.bmp");
}

// A dinghy under sail on the water, in a round badge.
std::unique_ptr<CFormImage> Boat(int x, int y, int size) {
  const int n = 240;
  std::vector<std::uint8_t> bgr(static_cast<std::size_t>(n) * n * 3, 255);
  const double c = n / 2.0;
  for (int r = 0; r < n; ++r) {
    for (int col = 0; col < n; ++col) {
      const double dx = col + 0.5 - c;
      const double dy = r + 0.5 - c;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > c) continue;  // outside the badge: white paper
      COLORREF colour = RGB(0xE8, 0xF1, 0xFA);  // sky
      if (d > c - 8) {
        colour = kNavy;  // the ring
      } else {
        const double wave = 160 + 5 * std::sin(col / 12.0);
        if (r > wave) colour = (static_cast<int>((r - wave) / 9) % 2 == 0) ? RGB(0x1F, 0x6F, 0xB5) : RGB(0x3C, 0x8D, 0xD0);
        // Hull: a trapezoid on the waterline.
        if (r >= 140 && r < 158 && col > 60 + (r - 140) && col < 180 - (r - 140) / 2) colour = RGB(0xB0, 0x2A, 0x2A);
        // Mast and the two sails.
        if (col >= 118 && col < 122 && r >= 38 && r < 140) colour = RGB(0x40, 0x30, 0x20);
        if (r >= 40 && r < 134 && col >= 124 && col < 124 + (r - 40) * 0.55) colour = RGB(0xFF, 0xFF, 0xFF);
        if (r >= 60 && r < 134 && col < 116 && col > 116 - (r - 60) * 0.6) colour = RGB(0xF4, 0xC4, 0x30);
      }
      Put(bgr, n, r, col, colour);
    }
  }
  return Picture(x, y, size, size, n, n, bgr, "boot.bmp");
}

std::unique_ptr<CFormElementPtrList> ResultsList() {
  auto list = std::make_unique<CFormElementPtrList>();
  list->portrait = false;  // 705 x 500
  list->Append(Pennant(25, 18));
  list->Append(Text(352, 18, "[Titel]", 20, 1, kBold, kNavy));
  list->Append(Text(352, 48, "Ergebnisliste nach [Laufnr] Läufen", 11, 1));
  list->Append(Text(680, 20, "[Datum]", 9, 2, 400, kGrey));
  list->Append(Text(680, 34, "[Uhrzeit] Uhr", 9, 2, 400, kGrey));
  list->Append(Line(25, 70, 680, 70, kNavy));
  const std::vector<ColumnSpec> columns = {
      {"[Rang]", "Rang", 6, 2, kBold},     {"[Segel]", "Segel-Nr.", 10, 1, 400},
      {"[Name]", "Name", 20, 0, 400},      {"[Verein]", "Verein", 18, 0, 400},
      {"[Lauf01]", "Lauf 1", 8, 1, 400},   {"[Lauf02]", "Lauf 2", 8, 1, 400},
      {"[Lauf03]", "Lauf 3", 8, 1, 400},   {"[Streicher]", "Streicher", 7, 2, 400},
      {"[Punkte]", "Punkte", 7, 2, kBold}, {"[Wertung]", "Wertung", 7, 2, 400},
  };
  // 40 rows of the 8-point column font fit into 360 units; the last per cent keeps the right-aligned
  // figures off the frame.
  list->Append(TableWithHeadings(*list, 25, 92, 655, 360, -80, columns));
  list->Append(Line(25, 464, 680, 464, kNavy));
  list->Append(Text(25, 470, "Veranstalter: [Verein]", 8, 0, 400, kGrey));
  list->Append(Text(680, 470, "Gruppe [Gruppe] · [Laufbez]", 8, 2, 400, kGrey));
  return list;
}

std::unique_ptr<CFormElementPtrList> StartList() {
  auto list = std::make_unique<CFormElementPtrList>();  // portrait, 500 x 705
  list->Append(Pennant(30, 22));
  list->Append(Text(250, 24, "[Titel]", 20, 1, kBold, kNavy));
  list->Append(Text(250, 56, "Startliste [Laufbez]", 13, 1));
  list->Append(Text(250, 78, "Lauf [Laufnr] · Gruppe [Gruppe]", 10, 1, 400, kGrey));
  list->Append(Text(470, 24, "[Datum]", 9, 2, 400, kGrey));
  list->Append(Line(30, 100, 470, 100, kNavy));
  const std::vector<ColumnSpec> columns = {
      {"[Rang]", "Nr.", 8, 2, kBold},      {"[Segel]", "Segel-Nr.", 15, 1, 400},
      {"[Vorname]", "Vorname", 17, 0, 400}, {"[Famname]", "Name", 20, 0, 400},
      {"[Verein]", "Verein", 28, 0, 400},   {"[Gruppe]", "Gruppe", 12, 1, 400},
  };
  // 40 rows of the 10-unit column font fit into 450 units.
  list->Append(TableWithHeadings(*list, 30, 124, 440, 450, -100, columns));
  list->Append(Line(30, 600, 470, 600, kNavy));
  list->Append(Text(30, 608, "Start: [Uhrzeit] Uhr", 10, 0, kBold));
  list->Append(Text(30, 628, "Boote, die nicht in dieser Liste stehen, melden sich vor dem Start bei der "
                            "Wettfahrtleitung.", 8, 0, 400, kGrey));
  list->Append(Text(470, 680, "Veranstalter: [Verein]", 8, 2, 400, kGrey));
  return list;
}

std::unique_ptr<CFormElementPtrList> Certificate() {
  auto list = std::make_unique<CFormElementPtrList>();
  const char* serif = "Times New Roman";
  // A double frame around the page.
  for (int inset : {20, 26}) {
    const COLORREF c = inset == 20 ? kNavy : RGB(0xD8, 0x96, 0x00);
    list->Append(Line(inset, inset, 500 - inset, inset, c));
    list->Append(Line(500 - inset, inset, 500 - inset, 705 - inset, c));
    list->Append(Line(500 - inset, 705 - inset, inset, 705 - inset, c));
    list->Append(Line(inset, 705 - inset, inset, inset, c));
  }
  list->Append(Boat(190, 60, 120));
  list->Append(Text(250, 200, "URKUNDE", 36, 1, kBold, kNavy, serif));
  list->Append(Text(250, 262, "[Titel]", 18, 1, 400, 0, serif));
  list->Append(Text(250, 320, "[Vorname] [Famname]", 26, 1, kBold, 0, serif));
  list->Append(Text(250, 366, "[Verein] · Segelnummer [Segel]", 12, 1, 400, kGrey, serif));
  list->Append(Text(250, 420, "belegte den", 14, 1, 400, 0, serif));
  list->Append(Text(250, 448, "[Rang]. Platz", 30, 1, kBold, kNavy, serif));
  list->Append(Text(250, 510, "in der Gruppe [Gruppe]", 14, 1, 400, 0, serif));
  list->Append(Text(130, 600, "[Datum]", 11, 1, 400, 0, serif));
  list->Append(Line(60, 625, 200, 625));
  list->Append(Line(300, 625, 440, 625));
  list->Append(Text(130, 630, "Datum", 9, 1, 400, kGrey, serif));
  list->Append(Text(370, 630, "Wettfahrtleitung", 9, 1, 400, kGrey, serif));
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : ".";
  const struct {
    const char* name;
    std::unique_ptr<CFormElementPtrList> (*make)();
  } examples[] = {{"ergebnisliste.rep", ResultsList}, {"startliste.rep", StartList}, {"urkunde.rep", Certificate}};
  for (const auto& e : examples) {
    const auto list = e.make();
    const auto path = folder / e.name;
    if (!SaveLayoutFile(path, *list)) return 1;
    std::printf("%s\n", path.string().c_str());
  }
  return 0;
}
