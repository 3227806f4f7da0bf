// The user's translation table on arbitrary bytes: read completely or not at all. A file that is
// refused leaves every translation and description as it was; none makes the reader allocate
// what the file does not hold.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "placeholders/Catalogue.h"
#include "placeholders/TranslationFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("veltrok-fuzz-" + std::to_string(::getpid()) + ".trn");
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  BuildCatalogue();
  const std::vector<CCode> before = placeholderCatalogue();
  const bool read = ReadTranslationFile(file);
  const std::vector<CCode>& after = placeholderCatalogue();
  if (after.size() != before.size()) std::abort();
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (after[i].code != before[i].code) std::abort();  // codes are never renamed
    if (!read && after[i] != before[i]) std::abort();   // refused: nothing changed
  }
  return 0;
}
