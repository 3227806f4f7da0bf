// Loading and saving a full page, the work behind open, save, undo snapshots and the clipboard.
//   cmake -B build-bench -DVELTROK_BUILD_BENCH=ON && cmake --build build-bench --target veltrok_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "document/LayoutFile.h"
#include "document/Recovery.h"
#include "model/FormElementPtrList.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"

namespace {

// A busy results page: 150 texts, 50 lines, a 12-column table and a 600 x 400 picture.
void FillPage(CFormElementPtrList& list) {
  for (int i = 0; i < 150; ++i) list.Append(std::make_unique<CFormText>(CPoint{10 + i, 20 + i}, "[Name] [Vorname]"));
  for (int i = 0; i < 50; ++i) list.Append(std::make_unique<CFormLine>(CPoint{0, i * 10}, CPoint{500, i * 10}));
  auto table = std::make_unique<CFormTable>(CPoint{20, 100});
  for (int i = 0; i < 12; ++i) table->AppendColumn(CFormTableEntry());
  list.Append(std::move(table));
  auto img = std::make_unique<CFormImage>();
  img->dib = std::make_shared<const std::vector<std::uint8_t>>(
      BuildDib(600, 400, std::vector<std::uint8_t>(600 * 400 * 3, 0x80)));
  img->bitsOffset = 40;
  list.Append(std::move(img));
}

void BM_SaveLayout(benchmark::State& state) {
  CFormElementPtrList list;
  FillPage(list);
  for (auto _ : state) benchmark::DoNotOptimize(LayoutToBytes(list));
}
BENCHMARK(BM_SaveLayout);

void BM_LoadLayout(benchmark::State& state) {
  CFormElementPtrList list;
  FillPage(list);
  const auto bytes = LayoutToBytes(list);
  for (auto _ : state) {
    CFormElementPtrList back;
    LayoutFromBytes(bytes, back);
    benchmark::DoNotOptimize(back.GetCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadLayout);

void BM_CloneAll(benchmark::State& state) {
  // What a drag or a property change snapshots: a clone of every element (pictures shared).
  CFormElementPtrList list;
  FillPage(list);
  std::vector<CFormElement*> all;
  list.GetAll(all);
  for (auto _ : state) {
    for (CFormElement* e : all) benchmark::DoNotOptimize(e->Clone());
  }
}
BENCHMARK(BM_CloneAll);

void BM_WriteRecoveryCopy(benchmark::State& state) {
  // What the autosave timer does on the event loop: a 10 000-element layout serialised and
  // written (temporary file, then renamed) with its side record.
  CFormElementPtrList list;
  for (int i = 0; i < 10000; ++i)
    list.Append(std::make_unique<CFormText>(CPoint{i % 500, i / 20}, "[Name] [Vorname]"));
  const auto dir = std::filesystem::temp_directory_path() / ("veltrok-bench-" + std::to_string(::getpid()));
  RecoveryFolder folder(dir);
  RecoveryRecord record;
  record.originalPath = "/home/regatta/ergebnis.rep";
  for (auto _ : state) benchmark::DoNotOptimize(folder.Write("bench", LayoutToBytes(list), record));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WriteRecoveryCopy)->Unit(benchmark::kMillisecond);

}  // namespace
