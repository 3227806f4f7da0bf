// Small helpers shared by the layout tests.
#pragma once

#include <memory>
#include <vector>

#include "document/LayoutFile.h"
#include "model/FormAlias.h"
#include "model/FormImage.h"
#include "model/FormElementPtrList.h"
#include "support/Bytes.h"

// Appends an element and returns a plain pointer to it (the list owns it).
template <class T>
T* Add(CFormElementPtrList& list, std::unique_ptr<T> element) {
  T* raw = element.get();
  list.Append(std::move(element));
  return raw;
}

// A placeholder rectangle: the simplest element to test list and document rules with.
inline std::unique_ptr<CFormAlias> Box(int x, int y = 0, int w = 10, int h = 10) {
  auto b = std::make_unique<CFormAlias>();
  b->x = x;
  b->y = y;
  b->width = w;
  b->height = h;
  return b;
}

// Reads the bytes into a fresh list; throws what the reader throws.
inline std::unique_ptr<CFormElementPtrList> Read(const std::vector<std::uint8_t>& bytes) {
  auto list = std::make_unique<CFormElementPtrList>();
  LayoutFromBytes(bytes, *list);
  return list;
}

// A picture element of one grey shade (pixel rows vary slightly when `vary` is set, so that
// the picture is not a single colour), placed at x, y with the given size in page units.
inline std::unique_ptr<CFormImage> ShadedPicture(int x, int y, int width, int height, int pixelsWide,
                                                 int pixelsHigh, std::uint8_t shade, bool helper = false,
                                                 bool vary = false) {
  std::vector<std::uint8_t> bgr(static_cast<std::size_t>(pixelsWide) * pixelsHigh * 3, shade);
  if (vary)
    for (std::size_t i = 0; i < bgr.size(); ++i) bgr[i] = static_cast<std::uint8_t>(shade + i % 7);
  auto img = std::make_unique<CFormImage>();
  img->SetPicture(pixelsWide, pixelsHigh, bgr);
  img->helper = helper;
  img->x = x;
  img->y = y;
  img->width = width;
  img->height = height;
  return img;
}
