#include "document/Clipboard.h"

#include <new>
#include <stdexcept>

#include "document/LayoutFile.h"
#include "model/FormElementPtrList.h"

std::vector<std::uint8_t> ClipboardPayload(const std::vector<CFormElement*>& elements) {
  CFormElementPtrList clones;
  for (const CFormElement* e : elements) clones.Append(e->Clone());
  return LayoutToBytes(clones);
}

std::vector<std::unique_ptr<CFormElement>> ElementsFromPayload(const std::vector<std::uint8_t>& bytes) {
  CFormElementPtrList read;
  try {
    LayoutFromBytes(bytes, read);
  } catch (const std::exception&) {
    // Archive errors, a newer version (already told), or a payload too large to hold: the paste
    // is abandoned quietly; whatever was read so far goes with the list.
    return {};
  }
  std::vector<CFormElement*> all;
  read.GetAll(all);
  std::vector<std::unique_ptr<CFormElement>> out;
  out.reserve(all.size());
  for (CFormElement* e : all) out.push_back(read.Remove(e));
  return out;
}
