// veltrok-cli: the layout editor's companion for work without a display.
//   veltrok-cli info FILE.rep          version, page settings and one line per element
//   veltrok-cli resave IN.rep OUT.rep  load and save again in the current format
//   veltrok-cli png IN.rep OUT.png [--width PIXELS] [--marks]  the page as the editor draws it
//   veltrok-cli pdf IN.rep OUT.pdf     the page printed with the sample data, as a PDF file
//   veltrok-cli check FILE.rep...      unknown placeholder codes, one line each
// Exit codes: 0 ok, 1 the file could not be read or written, 2 usage, 3 check found codes.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "cli/Info.h"
#include "cli/Pdf.h"
#include "cli/Png.h"
#include "document/LayoutFile.h"
#include "model/FormElementPtrList.h"
#include "placeholders/Catalogue.h"
#include "placeholders/PlaceholderCheck.h"
#include "placeholders/TranslationFile.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/UserFolders.h"

namespace {

// Messages the editor would show in a box go to stderr here, in the same German words.
class StderrMessages : public MessageService {
 public:
  MessageResult Show(std::string_view text, MessageIcon, MessageButtons buttons) override {
    std::cerr << text << '\n';
    return buttons == MessageButtons::ok ? MessageResult::ok : MessageResult::cancel;
  }
};

// The folder of this program, where the installation's default translation table lies.
std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && !self.empty()) return self.parent_path();
  if (!argv0 || !*argv0) return {};
  const std::filesystem::path given = std::filesystem::absolute(PathFromUtf8(argv0), ec);
  return ec ? std::filesystem::path() : given.parent_path();
}

int Usage() {
  std::cerr << "Aufruf:\n"
               "  veltrok-cli info DATEI.rep\n"
               "  veltrok-cli resave EIN.rep AUS.rep\n"
               "  veltrok-cli png EIN.rep AUS.png [--width PIXEL] [--marks]\n"
               "  veltrok-cli pdf EIN.rep AUS.pdf\n"
               "  veltrok-cli check DATEI.rep...\n";
  return 2;
}

// Checks every named layout, so a whole season's folder can be checked at once. An unreadable
// file is reported (its message on stderr) and the others are still checked.
int Check(int count, char** files) {
  bool unreadable = false, found = false;
  for (int i = 0; i < count; ++i) {
    CFormElementPtrList list;
    if (!LoadLayoutFile(PathFromUtf8(files[i]), list).ok()) {
      std::cerr << files[i] << ": konnte nicht gelesen werden.\n";
      unreadable = true;
      continue;
    }
    for (const LayoutFinding& f : CheckLayoutPlaceholders(list)) {
      std::cout << files[i] << ": " << DescribeFinding(f) << '\n';
      found = true;
    }
  }
  return unreadable ? 1 : found ? 3 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  StderrMessages messages;
  services().Install(&messages);
  SystemShellFolders folders(ProgramFolder(argc > 0 ? argv[0] : nullptr));
  services().Install(&folders);
  // The same translation table as the editor's, so texts show and print as they do there.
  BuildCatalogue();
  LoadTranslations();

  const std::string_view command = argc > 1 ? argv[1] : "";
  if (command == "info" && argc == 3) {
    CFormElementPtrList list;
    const LoadResult r = LoadLayoutFile(PathFromUtf8(argv[2]), list);
    if (!r.ok()) return 1;
    std::cout << DescribeLayout(list, r.version);
    return 0;
  }
  if (command == "resave" && argc == 4) {
    CFormElementPtrList list;
    if (!LoadLayoutFile(PathFromUtf8(argv[2]), list).ok()) return 1;
    return SaveLayoutFile(PathFromUtf8(argv[3]), list) ? 0 : 1;
  }
  if (command == "check" && argc >= 3) return Check(argc - 2, argv + 2);
  if (command == "png" && argc >= 4) {
    int width = 1000;
    bool marks = false;
    for (int i = 4; i < argc; ++i) {
      const std::string_view option = argv[i];
      if (option == "--marks") {
        marks = true;
      } else if (option == "--width" && i + 1 < argc) {
        char* end = nullptr;
        const long w = std::strtol(argv[++i], &end, 10);
        if (!end || *end != '\0' || w < 10 || w > 20000) {
          std::cerr << "Die Breite muss eine ganze Zahl zwischen 10 und 20000 sein.\n";
          return 2;
        }
        width = static_cast<int>(w);
      } else {
        return Usage();
      }
    }
    CFormElementPtrList list;
    if (!LoadLayoutFile(PathFromUtf8(argv[2]), list).ok()) return 1;
    if (!WriteLayoutPng(list, PathFromUtf8(argv[3]), width, marks)) {
      std::cerr << "Das Bild konnte nicht geschrieben werden.\n";
      return 1;
    }
    return 0;
  }
  if (command == "pdf" && argc == 4) {
    CFormElementPtrList list;
    if (!LoadLayoutFile(PathFromUtf8(argv[2]), list).ok()) return 1;
    if (!WriteLayoutPdfFile(list, PathFromUtf8(argv[3]))) {
      std::cerr << "Die PDF-Datei konnte nicht geschrieben werden.\n";
      return 1;
    }
    return 0;
  }
  return Usage();
}
