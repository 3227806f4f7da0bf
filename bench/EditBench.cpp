// Pasting 1000 elements into a page and taking the paste back: the document's part of the two
// commands (reading the clipboard's layout stream, adding and selecting the elements, the undo
// snapshot), without a view to redraw. Built and run by scripts/bench.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "BenchLayouts.h"
#include "document/ReportDoc.h"
#include "platform/Services.h"

namespace {

class MemoryClipboard : public Clipboard {
 public:
  bool HasFormat(std::string_view format) override { return data_.count(std::string(format)) != 0; }
  bool SetData(std::string_view format, const std::vector<std::uint8_t>& bytes) override {
    data_[std::string(format)] = bytes;
    return true;
  }
  std::optional<std::vector<std::uint8_t>> GetData(std::string_view format) override {
    const auto it = data_.find(std::string(format));
    if (it == data_.end()) return std::nullopt;
    return it->second;
  }

 private:
  std::map<std::string, std::vector<std::uint8_t>> data_;
};

// A page of 1000 elements, all of them copied to the clipboard.
struct CopiedPage {
  CopiedPage() {
    services().Install(&clipboard);
    FillBenchPage(doc.elements, 1000);
    std::vector<CFormElement*> all;
    doc.elements.GetAll(all);
    for (CFormElement* e : all) doc.elements.Select(e);
    doc.CopySelection();
  }
  ~CopiedPage() { services().Install(static_cast<Clipboard*>(nullptr)); }
  MemoryClipboard clipboard;
  CReportDoc doc;
};

void BM_Paste1000(benchmark::State& state) {
  CopiedPage page;
  for (auto _ : state) {
    page.doc.Paste();
    state.PauseTiming();
    page.doc.Undo();
    state.ResumeTiming();
  }
  state.counters["elements"] = page.doc.elements.GetCount();
}
BENCHMARK(BM_Paste1000)->Unit(benchmark::kMillisecond);

void BM_UndoPaste1000(benchmark::State& state) {
  CopiedPage page;
  for (auto _ : state) {
    state.PauseTiming();
    page.doc.Paste();
    state.ResumeTiming();
    page.doc.Undo();
  }
  state.counters["elements"] = page.doc.elements.GetCount();
}
BENCHMARK(BM_UndoPaste1000)->Unit(benchmark::kMillisecond);

}  // namespace
