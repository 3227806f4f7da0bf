// Layouts of a given size for the benchmarks, built in code: a busy results page of texts and
// lines with one 12-column table and one 600 x 400 picture, spread over the portrait page.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/FormElementPtrList.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "model/PageMapper.h"

// A grey 24-bit picture of the given size as a layout stores it.
inline std::unique_ptr<CFormImage> BenchPicture(int width, int height, CPoint at = {250, 400}) {
  auto img = std::make_unique<CFormImage>();
  img->SetPicture(width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3, 0x80));
  img->x = at.x;
  img->y = at.y;
  img->width = 150;
  img->height = 100;
  return img;
}

// `count` elements: the table and the picture, then two texts for every line.
inline void FillBenchPage(CFormElementPtrList& list, int count) {
  auto table = std::make_unique<CFormTable>(CPoint{20, 100});
  for (int i = 0; i < 12; ++i) table->AppendColumn(CFormTableEntry());
  list.Append(std::move(table));
  list.Append(BenchPicture(600, 400));
  for (int i = 2; i < count; ++i) {
    const int x = 5 + (i * 37) % (kPortraitWidth - 60);
    const int y = 5 + (i * 13) % (kPortraitHeight - 20);
    if (i % 3 == 2) {
      list.Append(std::make_unique<CFormLine>(CPoint{x, y}, CPoint{x + 40, y}));
    } else {
      list.Append(std::make_unique<CFormText>(CPoint{x, y}, i % 2 ? "[Name] [Vorname]" : "Ergebnisliste " + std::to_string(i)));
    }
  }
}
