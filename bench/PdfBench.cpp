// `veltrok-cli pdf` of the example results list: the whole command as a user runs it (start-up,
// loading, printing, writing; wall time and the child's peak memory), and the printing alone
// inside one process.
//
// The kernel starts a child's peak memory at the size of the process that started it, so the
// command's own figure shows only when this benchmark runs in a fresh process of its own (as
// scripts/bench runs it); `launcher_rss_MB` shows what the figure cannot be told apart from.
//   cmake -B build-bench -DVELTROK_BUILD_BENCH=ON && cmake --build build-bench --target veltrok_bench
//   build-bench/veltrok_bench --benchmark_filter=Pdf
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#ifdef __linux__
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
extern char** environ;
#endif

#ifdef VELTROK_BENCH_WITH_QT
#include <QGuiApplication>
#include <QString>

#include "document/LayoutFile.h"
#include "model/FormElementPtrList.h"
#include "placeholders/Catalogue.h"
#include "view/qt/ReportPrinting.h"
#endif

namespace {

const std::filesystem::path kResultsList = std::filesystem::path(VELTROK_EXAMPLES_DIR) / "ergebnisliste.rep";

std::filesystem::path OutputPath() { return std::filesystem::temp_directory_path() / "veltrok-bench-liste.pdf"; }

#ifdef __linux__
// The peak resident memory of this process so far, in kB.
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmHWM:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 10, '\n');
  }
  return 0;
}

void BM_CliPdfResultsList(benchmark::State& state) {
  const std::string cli = VELTROK_CLI_PATH;
  const std::string in = kResultsList.string();
  const std::string out = OutputPath().string();
  char* argv[] = {const_cast<char*>(cli.c_str()), const_cast<char*>("pdf"), const_cast<char*>(in.c_str()),
                  const_cast<char*>(out.c_str()), nullptr};
  long peakKb = 0;
  long launcherKb = 0;
  double cpuMs = 0;
  for (auto _ : state) {
    launcherKb = std::max(launcherKb, ResidentKb());
    pid_t pid = 0;
    if (posix_spawn(&pid, cli.c_str(), nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("veltrok-cli could not be started");
      break;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("veltrok-cli pdf failed");
      break;
    }
    peakKb = std::max(peakKb, usage.ru_maxrss);
    cpuMs += (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
             (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  }
  // The wall time counts waiting for a busy machine too; the child's own processor time does not.
  state.counters["peak_rss_MB"] = static_cast<double>(peakKb) / 1024.0;
  state.counters["launcher_rss_MB"] = static_cast<double>(launcherKb) / 1024.0;
  state.counters["child_cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
  std::filesystem::remove(OutputPath());
}
BENCHMARK(BM_CliPdfResultsList)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(10)
    ->ReportAggregatesOnly(true);
#endif

#ifdef VELTROK_BENCH_WITH_QT
void BM_PrintResultsListToPdf(benchmark::State& state) {
  if (!QGuiApplication::instance()) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "veltrok_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
  }
  BuildCatalogue();
  CFormElementPtrList list;
  if (!LoadLayoutFile(kResultsList, list).ok()) {
    state.SkipWithError("the example could not be read");
    return;
  }
  const QString out = QString::fromStdString(OutputPath().string());
  for (auto _ : state) {
    if (!WriteLayoutPdf(list, out)) {
      state.SkipWithError("the PDF could not be written");
      break;
    }
  }
  std::filesystem::remove(OutputPath());
}
BENCHMARK(BM_PrintResultsListToPdf)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
