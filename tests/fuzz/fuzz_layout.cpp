// The layout reader on arbitrary bytes: no crash, no sanitizer report, no huge allocation; and a
// layout that loads saves to bytes that load again to the very same bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "document/LayoutFile.h"
#include "model/FormElementPtrList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CFormElementPtrList list;
  try {
    LayoutFromBytes(std::vector<std::uint8_t>(data, data + size), list);
  } catch (...) {
    return 0;  // refused as a whole: the reader's answer to damaged files
  }
  const std::vector<std::uint8_t> saved = LayoutToBytes(list);
  CFormElementPtrList again;
  try {
    LayoutFromBytes(saved, again);
  } catch (...) {
    std::abort();  // what we wrote ourselves must read back
  }
  if (LayoutToBytes(again) != saved) std::abort();
  return 0;
}
