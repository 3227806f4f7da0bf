// Paste of arbitrary clipboard bytes into a layout: either the whole payload is pasted as one undo
// step that undoes cleanly, or nothing changes at all; never a part of a payload.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "document/Clipboard.h"
#include "document/LayoutFile.h"
#include "document/ReportDoc.h"
#include "model/FormText.h"
#include "platform/Services.h"

namespace {

class BytesOnTheClipboard : public Clipboard {
 public:
  bool HasFormat(std::string_view f) override { return f == kClipboardFormat; }
  bool SetData(std::string_view, const std::vector<std::uint8_t>& b) override {
    bytes = b;
    return true;
  }
  std::optional<std::vector<std::uint8_t>> GetData(std::string_view) override { return bytes; }
  std::vector<std::uint8_t> bytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static BytesOnTheClipboard clipboard;
  services().Install(&clipboard);
  clipboard.bytes.assign(data, data + size);

  CReportDoc doc;
  doc.OnNewDocument();
  doc.AddElement(std::make_unique<CFormText>(CPoint{10, 10}, "[Name]"));
  const std::vector<std::uint8_t> before = LayoutToBytes(doc.elements);
  const std::size_t steps = doc.history.UndoCount();
  doc.Paste();
  if (doc.history.UndoCount() == steps) {
    if (LayoutToBytes(doc.elements) != before) std::abort();  // changed without an undo step
    return 0;
  }
  // Pasted: exactly the payload's elements on top, all selected.
  const std::size_t pasted = ElementsFromPayload(clipboard.bytes).size();
  if (pasted == 0 || static_cast<std::size_t>(doc.elements.GetCount()) != 1 + pasted) std::abort();
  if (static_cast<std::size_t>(doc.elements.CountSelected()) != pasted) std::abort();
  // What was pasted saves and reads back; undo brings back the layout as it was.
  std::vector<std::uint8_t> saved = LayoutToBytes(doc.elements);
  CFormElementPtrList again;
  LayoutFromBytes(saved, again);
  if (LayoutToBytes(again) != saved) std::abort();
  if (!doc.Undo() || LayoutToBytes(doc.elements) != before) std::abort();
  return 0;
}
