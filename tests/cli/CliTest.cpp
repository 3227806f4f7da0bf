// veltrok-cli run as a program, as scripts and users run it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "document/LayoutFile.h"
#include "model/FormElementPtrList.h"
#include "model/FormImage.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "support/Bytes.h"
#include "support/LayoutFixtures.h"
#include "support/Tools.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
  int exitCode;
  std::string out;
  std::string err;
};

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("veltrok-cli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const fs::path p = dir / name;
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<std::streamsize>(bytes.size()));
    return p;
  }

  CliRun Cmd(const std::string& args) {
    const fs::path out = dir / "stdout.txt";
    const fs::path err = dir / "stderr.txt";
    // The user's own translation table stays out of the tests: each has its own settings folder.
    const std::string line = "XDG_CONFIG_HOME=" + (dir / "config").string() + " " +
                             std::string(VELTROK_CLI_PATH) + " " + args + " >" + out.string() +
                             " 2>" + err.string();
    const int status = std::system(line.c_str());
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return {code, Slurp(out), Slurp(err)};
  }

  fs::path dir;
};

// A layout in the current form with one element of every kind.
std::vector<std::uint8_t> CurrentLayout() {
  Bytes b;
  b.i32(4715).i32(0).i32(3).u16(5);
  b.newClass("CFormText").point(50, 40).point(-60, 0).point(120, 30).str("Ergebnis\r\nliste").i32(1)
      .font(-160, 700, "Arial").i32(0x0000FF);
  b.newClass("CFormLine").point(50, 80).point(450, 80).i32(0);
  b.newClass("CFormTable").point(50, 100).point(400, 500).i32(1).i32(80).i32(1).u16(2);
  b.str("[Rang]").i32(20).i32(2).font(-80, 400, "Arial").i32(0);
  b.str("[Name]").i32(60).i32(0).font(-80, 400, "Arial").i32(0);
  b.newClass("CFormImage").point(10, 10).str("C:\\Bilder\\logo.png").point(50, 50).u8(0);
  b.newClass("CFormAlias").point(1, 2).str("Kopf").point(3, 4);
  return b.data;
}

TEST_F(Cli, InfoDescribesEveryElement) {
  const CliRun r = Cmd("info " + Write("a.rep", CurrentLayout()).string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "version 4715\n"
            "orientation landscape\n"
            "duplex 3\n"
            "elements 5\n"
            "1 CFormText x=50 y=40 width=120 height=30 align=1 color=#FF0000 font=\"Arial\" "
            "height=-160 weight=700 italic=0 text=\"Ergebnis\\r\\nliste\"\n"
            "2 CFormLine from=50,80 to=450,80 color=#000000\n"
            "3 CFormTable x=50 y=100 width=400 height=500 columns=2 twocolour=1 frame=1 "
            "maxfontheight=80\n"
            "  column 1 width=20 align=2 color=#000000 font=\"Arial\" height=-80 weight=400 "
            "italic=0 name=\"[Rang]\"\n"
            "  column 2 width=60 align=0 color=#000000 font=\"Arial\" height=-80 weight=400 "
            "italic=0 name=\"[Name]\"\n"
            "4 CFormImage x=10 y=10 width=50 height=50 picture=none helper=0 "
            "file=\"C:\\\\Bilder\\\\logo.png\"\n"
            "5 CFormAlias x=1 y=2 width=3 height=4 name=\"Kopf\"\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(Cli, ResaveReproducesCurrentFormatByteForByte) {
  const auto bytes = CurrentLayout();
  const fs::path in = Write("in.rep", bytes);
  const CliRun r = Cmd("resave " + in.string() + " " + (dir / "out.rep").string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Slurp(dir / "out.rep"), std::string(bytes.begin(), bytes.end()));
}

TEST_F(Cli, ResaveRewritesOlderVersionInCurrentForm) {
  Bytes old;
  old.i32(4711).u16(1).newClass("CFormText").point(5, 6).point(0, 0).point(10, 10).str("alt").i32(0);
  old.rawFont(-120, 400, "Arial");
  const CliRun r = Cmd("resave " + Write("old.rep", old.data).string() + " " + (dir / "new.rep").string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  Bytes expected;
  expected.i32(4714).i32(1).u16(1).newClass("CFormText").point(5, 6).point(0, 0).point(10, 10)
      .str("alt").i32(0).font(-120, 400, "Arial").i32(0);
  EXPECT_EQ(Slurp(dir / "new.rep"), std::string(expected.data.begin(), expected.data.end()));
}

TEST_F(Cli, UnreadableFilesGiveGermanMessagesAndExitOne) {
  struct Case {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::string message;
  } cases[] = {
      {"newer.rep", Bytes().i32(4717).i32(1).i32(0).u16(0).data,
       "Dieses Layout wurde mit einer neueren Programmversion erstellt\nund kann mit dieser "
       "Version nicht gelesen werden.\n\nBitte installieren Sie die aktuelle Programmversion.\n"},
      {"cut.rep", Bytes().i32(4714).i32(1).u16(1).newClass("CFormLine").point(1, 1).data,
       "Unerwartetes Dateiformat.\n"},
      {"class.rep", Bytes().i32(4714).i32(1).u16(1).newClass("CFormKreis").data,
       "Unerwartetes Dateiformat.\n"},
  };
  for (const Case& c : cases) {
    const fs::path in = Write(c.name, c.bytes);
    const fs::path out = dir / ("out-" + c.name);
    const CliRun info = Cmd("info " + in.string());
    EXPECT_EQ(info.exitCode, 1) << c.name;
    EXPECT_EQ(info.err, c.message) << c.name;
    EXPECT_EQ(info.out, "") << c.name;
    const CliRun resave = Cmd("resave " + in.string() + " " + out.string());
    EXPECT_EQ(resave.exitCode, 1) << c.name;
    EXPECT_FALSE(fs::exists(out)) << c.name;
  }
  const CliRun missing = Cmd("info " + (dir / "fehlt.rep").string());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "Fehler beim Öffnen des Dokuments.\n");
}

TEST_F(Cli, PngDrawsThePageAtTheRequestedWidth) {
  const fs::path in = Write("a.rep", CurrentLayout());
  const fs::path out = dir / "a.png";
  const CliRun r = Cmd("png " + in.string() + " " + out.string() + " --width 400");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string png = Slurp(out);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  // IHDR: width and height, big-endian. The layout is landscape: 400 x 283 pixels.
  const auto be = [&png](std::size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  EXPECT_EQ(be(16), 400);
  EXPECT_EQ(be(20), 283);
  EXPECT_EQ(Cmd("png " + in.string() + " " + out.string() + " --width abc").exitCode, 2);
  EXPECT_EQ(Cmd("png " + in.string() + " " + out.string() + " --farbig").exitCode, 2);
  EXPECT_EQ(Cmd("png " + in.string() + " " + out.string() + " --marks --width 400").exitCode, 0);
  EXPECT_EQ(Cmd("png " + (dir / "fehlt.rep").string() + " " + out.string()).exitCode, 1);
}

TEST_F(Cli, ReadsTheUsersTranslationTableAsTheEditorDoes) {
  const auto bytes = CurrentLayout();
  const fs::path in = Write("in.rep", bytes);
  Bytes trn;
  trn.i32(1234).i32(1).str("[Name]").str("Teilnehmer").str("Der Name").i32(3);
  const fs::path table = dir / "config" / "Orvik" / "Veltrok" / "Report.trn";
  fs::create_directories(table.parent_path());
  Write("config/Orvik/Veltrok/Report.trn", trn.data);

  const CliRun info = Cmd("info " + in.string());
  ASSERT_EQ(info.exitCode, 0) << info.err;
  EXPECT_NE(info.out.find("name=\"Teilnehmer\""), std::string::npos) << info.out;
  EXPECT_EQ(info.out.find("name=\"[Name]\""), std::string::npos);
  // Files keep the codes.
  ASSERT_EQ(Cmd("resave " + in.string() + " " + (dir / "out.rep").string()).exitCode, 0);
  EXPECT_EQ(Slurp(dir / "out.rep"), std::string(bytes.begin(), bytes.end()));

  // A damaged table is ignored as a whole.
  trn.data.pop_back();
  Write("config/Orvik/Veltrok/Report.trn", trn.data);
  const CliRun damaged = Cmd("info " + in.string());
  ASSERT_EQ(damaged.exitCode, 0) << damaged.err;
  EXPECT_NE(damaged.out.find("name=\"[Name]\""), std::string::npos);
  EXPECT_EQ(damaged.err, "");
}

TEST_F(Cli, PdfPrintsOneA4PageWithSampleTextsAndLosslessPictures) {
  CFormElementPtrList list;
  list.portrait = false;
  list.Append(ShadedPicture(300, 10, 80, 40, 16, 8, 10, true, true));  // a helper image: never printed
  list.Append(ShadedPicture(20, 10, 80, 40, 16, 8, 200, false, true));
  list.Append(std::make_unique<CFormText>(CPoint{200, 20}, "Lauf [Laufnr] von [Titel]"));
  auto table = std::make_unique<CFormTable>(CPoint{20, 80});
  table->width = 600;
  table->height = 410;
  CFormTableEntry rank;
  rank.name = "[Rang]";
  rank.widthPercent = 20;
  rank.alignment = 2;
  CFormTableEntry name;
  name.name = "[Name] [Lauf01]";
  name.widthPercent = 60;
  table->AppendColumn(rank);
  table->AppendColumn(name);
  list.Append(std::move(table));
  const fs::path in = dir / "liste.rep";
  ASSERT_TRUE(SaveLayoutFile(in, list));
  const fs::path out = dir / "liste.pdf";

  const CliRun r = Cmd("pdf " + in.string() + " " + out.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Slurp(out).substr(0, 5), "%PDF-");
  EXPECT_EQ(r.err, "");  // standard error is for the tool's own messages

  const std::string info = RunTool("pdfinfo " + out.string());
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
  EXPECT_NE(info.find("842 x 595 pts (A4)"), std::string::npos) << info;  // landscape

  // Real text: the page values, then the ranks 1 to 40 in order with the row values.
  const std::string text = RunTool("pdftotext -layout " + out.string() + " -");
  EXPECT_NE(text.find("Lauf 5 von Testregatta"), std::string::npos) << text;
  std::vector<int> ranks;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    int rankValue = 0;
    char rest[64] = {};
    if (std::sscanf(line.c_str(), " %d %63[^\n]", &rankValue, rest) == 2 &&
        std::string(rest).rfind("TestName [Lauf01]", 0) == 0)
      ranks.push_back(rankValue);
  }
  std::vector<int> expected(40);
  for (int k = 0; k < 40; ++k) expected[static_cast<std::size_t>(k)] = k + 1;
  EXPECT_EQ(ranks, expected) << text;

  // One picture (the helper image is left out), stored without lossy compression.
  const std::string images = RunTool("pdfimages -list " + out.string());
  std::istringstream rows(images);
  std::vector<std::string> pictureRows;
  for (std::string line; std::getline(rows, line);)
    if (line.find(" image ") != std::string::npos) pictureRows.push_back(line);
  ASSERT_EQ(pictureRows.size(), 1u) << images;
  EXPECT_NE(pictureRows[0].find("    16     8 "), std::string::npos) << images;
  EXPECT_EQ(pictureRows[0].find("jpeg"), std::string::npos) << images;
}

TEST_F(Cli, PdfFailuresLeaveTheTargetAsItWas) {
  const fs::path in = Write("a.rep", CurrentLayout());
  const fs::path broken = Write("kaputt.rep", Bytes().i32(4714).i32(1).u16(1).newClass("CFormKreis").data);
  const fs::path out = dir / "alt.pdf";
  std::ofstream(out) << "alt";

  const CliRun unreadable = Cmd("pdf " + broken.string() + " " + out.string());
  EXPECT_EQ(unreadable.exitCode, 1);
  EXPECT_EQ(unreadable.err, "Unerwartetes Dateiformat.\n");
  EXPECT_EQ(Slurp(out), "alt");

  const fs::path nowhere = dir / "fehlt" / "a.pdf";
  const CliRun unwritable = Cmd("pdf " + in.string() + " " + nowhere.string());
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_NE(unwritable.err.find("Die PDF-Datei konnte nicht geschrieben werden."), std::string::npos);
  EXPECT_FALSE(fs::exists(nowhere));
  // Nothing half-written is left beside the target either.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 5);

  EXPECT_EQ(Cmd("pdf " + in.string()).exitCode, 2);
  EXPECT_EQ(Cmd("pdf " + in.string() + " " + out.string() + " zuviel").exitCode, 2);
  EXPECT_EQ(Slurp(out), "alt");
}

TEST_F(Cli, ExamplesAreCurrentLoadableAndPrintable) {
  // The examples in the source folder are exactly what their generator writes today.
  const std::string line = std::string(VELTROK_MAKE_EXAMPLES_PATH) + " " + dir.string() + " >/dev/null";
  ASSERT_EQ(std::system(line.c_str()), 0);
  int count = 0;
  for (const auto& entry : fs::directory_iterator(VELTROK_EXAMPLES_DIR)) {
    if (entry.path().extension() != ".rep") continue;
    ++count;
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    EXPECT_EQ(Slurp(entry.path()), Slurp(dir / name)) << "run veltrok-make-examples examples";
    EXPECT_EQ(Cmd("info " + entry.path().string()).exitCode, 0);
    const fs::path pdf = dir / (name + ".pdf");
    const CliRun r = Cmd("pdf " + entry.path().string() + " " + pdf.string());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(RunTool("pdftotext " + pdf.string() + " -").find("Testregatta"), std::string::npos);
  }
  EXPECT_EQ(count, 3);

  // The results list shows the ranks 1 to 40 in order.
  const std::string text = RunTool("pdftotext -layout " + (dir / "ergebnisliste.rep.pdf").string() + " -");
  std::vector<int> ranks;
  std::istringstream lines(text);
  for (std::string l; std::getline(lines, l);) {
    int rank = 0;
    char sail[16] = {};
    if (std::sscanf(l.c_str(), " %d %15s", &rank, sail) == 2 && std::string(sail) == "AUT00") ranks.push_back(rank);
  }
  std::vector<int> expected(40);
  for (int k = 0; k < 40; ++k) expected[static_cast<std::size_t>(k)] = k + 1;
  EXPECT_EQ(ranks, expected) << text;
}

TEST_F(Cli, CheckListsUnknownCodesOfManyFiles) {
  const fs::path clean = Write("clean.rep", CurrentLayout());
  Bytes b;
  b.i32(4714).i32(1).u16(2);
  b.newClass("CFormText").point(5, 6).point(0, 0).point(10, 10).str("[Nmae]").i32(0)
      .font(-120, 400, "Arial").i32(0);
  b.newClass("CFormTable").point(50, 100).point(400, 500).i32(0).i32(80).i32(0).u16(1);
  b.str("[Lauf41]").i32(20).i32(0).font(-80, 400, "Arial").i32(0);
  const fs::path damaged = Write("damaged.rep", b.data);

  CliRun r = Cmd("check " + clean.string());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "");

  r = Cmd("check " + clean.string() + " " + damaged.string());
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.out, damaged.string() + ": Element 1 (CFormText): [Nmae] – vielleicht [Name]\n" +
                       damaged.string() + ": Element 2 (CFormTable), Spalte 1: [Lauf41]\n");

  // An unreadable file is named; the others are still checked.
  r = Cmd("check " + (dir / "fehlt.rep").string() + " " + damaged.string());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("fehlt.rep: konnte nicht gelesen werden."), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("[Nmae]"), std::string::npos);
}

TEST_F(Cli, UsageErrorsExitTwo) {
  EXPECT_EQ(Cmd("").exitCode, 2);
  EXPECT_EQ(Cmd("info").exitCode, 2);
  EXPECT_EQ(Cmd("resave only-one.rep").exitCode, 2);
  EXPECT_EQ(Cmd("zeichne a.rep").exitCode, 2);
  EXPECT_EQ(Cmd("check").exitCode, 2);
}

}  // namespace
