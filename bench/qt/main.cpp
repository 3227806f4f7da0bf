// Runs the editor benchmarks inside a QApplication on the offscreen platform.
// --device-pixel-ratio=2 runs them on a screen with two device pixels per logical pixel.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include <QApplication>
#include <QByteArray>

#include "placeholders/Catalogue.h"
#include "platform/qt/TextCache.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    constexpr const char* kRatio = "--device-pixel-ratio=";
    if (std::strncmp(argv[i], kRatio, std::strlen(kRatio)) == 0) {
      qputenv("QT_SCALE_FACTOR", QByteArray(argv[i] + std::strlen(kRatio)));
      continue;
    }
    args.push_back(argv[i]);
  }
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  text_cache::CacheLargeGlyphs();  // as the editor does
  QApplication app(count, args.data());
  // The codes the layouts use are known, as in the editor: no marks under "[Name]".
  BuildCatalogue();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
