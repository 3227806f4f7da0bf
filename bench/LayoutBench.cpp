// Loading and saving, the work behind open, save, undo snapshots and the clipboard.
// Built and run by scripts/bench, which prints each figure beside its budget.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

#include "BenchLayouts.h"
#include "document/LayoutFile.h"
#include "document/Recovery.h"
#include "platform/LargePages.h"

namespace {

// Resident memory of this process in bytes.
double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

void BM_SaveLayout(benchmark::State& state) {
  CFormElementPtrList list;
  FillBenchPage(list, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(LayoutToBytes(list));
}
BENCHMARK(BM_SaveLayout)->Arg(200)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_LoadLayout(benchmark::State& state) {
  CFormElementPtrList list;
  FillBenchPage(list, static_cast<int>(state.range(0)));
  const auto bytes = LayoutToBytes(list);
  for (auto _ : state) {
    CFormElementPtrList back;
    LayoutFromBytes(bytes, back);
    benchmark::DoNotOptimize(back.GetCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadLayout)->Arg(200)->Arg(10000)->Unit(benchmark::kMillisecond);

// A layout that is almost all picture: a 600 x 400 logo (0.7 MB of rows) or a 12-megapixel
// scan (36 MB, large enough that every read gets fresh pages from the system).
std::vector<std::uint8_t> PictureLayout(int width, int height) {
  CFormElementPtrList list;
  list.Append(BenchPicture(width, height));
  return LayoutToBytes(list);
}

void BM_ReadPictureBytes(benchmark::State& state) {
  const auto bytes = PictureLayout(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    CFormElementPtrList back;
    LayoutFromBytes(bytes, back);
    benchmark::DoNotOptimize(back.GetCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadPictureBytes)->Args({600, 400})->Args({4000, 3000})->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WritePictureBytes(benchmark::State& state) {
  CFormElementPtrList list;
  list.Append(BenchPicture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
  std::size_t size = 0;
  for (auto _ : state) {
    const auto bytes = LayoutToBytes(list);
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_WritePictureBytes)->Args({600, 400})->Args({4000, 3000})->Unit(benchmark::kMillisecond)->UseRealTime();

// Not a budget: the machine's own speed at the time, to read the other figures by. A shared machine's
// memory speed changes from minute to minute, and the full redraw and the picture reading follow
// it. This is the copy of a 12-megapixel picture's bytes into fresh memory and nothing else.
void BM_MachineReference(benchmark::State& state) {
  const std::vector<std::uint8_t> source(std::size_t{36} << 20, 0x80);
  for (auto _ : state) {
    std::vector<std::uint8_t> copy;
    copy.reserve(source.size());
    PrepareLargeBuffer(copy.data(), source.size());
    copy.insert(copy.end(), source.begin(), source.end());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_MachineReference)->Unit(benchmark::kMillisecond)->UseRealTime();

// What 100 undo snapshots of a 12-megapixel picture cost: the clones share one pixel buffer.
void BM_CloneLargePicture(benchmark::State& state) {
  const auto picture = BenchPicture(4000, 3000);
  double growth = 0;
  std::size_t buffers = 0;
  for (auto _ : state) {
    const double before = ResidentBytes();
    std::vector<std::unique_ptr<CFormElement>> clones;
    for (int i = 0; i < 100; ++i) clones.push_back(picture->Clone());
    growth = ResidentBytes() - before;
    std::set<const void*> distinct;
    for (const auto& c : clones) distinct.insert(static_cast<const CFormImage&>(*c).dib.get());
    buffers = distinct.size();
    benchmark::DoNotOptimize(clones.data());
  }
  state.counters["rss_growth_MB"] = growth / (1024.0 * 1024.0);
  state.counters["pixel_buffers"] = static_cast<double>(buffers);
}
BENCHMARK(BM_CloneLargePicture)->Unit(benchmark::kMicrosecond);

void BM_CloneAll(benchmark::State& state) {
  // What a drag or a property change snapshots: a clone of every element (pictures shared).
  CFormElementPtrList list;
  FillBenchPage(list, 200);
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
