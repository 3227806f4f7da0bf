// The translation table file: reading all or nothing, start-up order, saving with its messages.
#include "placeholders/TranslationFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "document/LayoutFile.h"
#include "model/FormElementPtrList.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "placeholders/Catalogue.h"
#include "platform/Errors.h"
#include "platform/TextCodec.h"
#include "support/Bytes.h"
#include "support/FakeServices.h"
#include "support/LayoutFixtures.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

CCode& Entry(const std::string& code) {
  for (CCode& c : placeholderCatalogue())
    if (c.code == code) return c;
  ADD_FAILURE() << code << " missing";
  static CCode none;
  return none;
}

// One record as the file holds it (short string prefixes, Windows-1252 bytes).
Bytes& Record(Bytes& b, std::string_view code, std::string_view translation,
              std::string_view description, int flags) {
  return b.str(code).str(translation).str(description).i32(flags);
}

class TranslationFile : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildCatalogue();
    dir = fs::temp_directory_path() /
          ("veltrok-trn-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    folders.appData = dir / "appdata";
    folders.program = dir / "program";
    fs::create_directories(folders.program);
    scope.With<ShellFolders>(&folders);
  }
  void TearDown() override {
    FreeCatalogue();
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, ec);
    fs::remove_all(dir);
  }
  fs::path WriteAt(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return p;
  }
  fs::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    return WriteAt(dir / name, bytes);
  }

  fs::path dir;
  FakeFolders folders;
  ScopedServices scope;
};

TEST_F(TranslationFile, UserFileLivesUnderOrvikVeltrokAndTheDefaultBesideTheProgram) {
  EXPECT_EQ(UserTranslationFile(), dir / "appdata" / "Orvik" / "Veltrok" / "Report.trn");
  EXPECT_EQ(DefaultTranslationFile(), dir / "program" / "Report.trn");
  folders.appData.clear();
  folders.program.clear();
  EXPECT_TRUE(UserTranslationFile().empty());
  EXPECT_TRUE(DefaultTranslationFile().empty());
}

TEST_F(TranslationFile, SavedFileHoldsAllEightyFiveRecordsAndReadsBack) {
  Entry("[Name]").translation = "Teilnehmer";
  Entry("[AnzLäufe]").description = "Wie viele Läufe gesegelt wurden";
  Entry("[Leer]").flags = 3;
  const std::vector<CCode> edited = placeholderCatalogue();

  // Folders that do not exist yet are created.
  std::string error;
  ASSERT_TRUE(SaveTranslations(error)) << error;
  const std::string bytes = Slurp(UserTranslationFile());

  // 1234, the count, then per entry three prefixed strings and the flags.
  std::size_t expected = 8;
  for (const CCode& c : edited) {
    expected += 1 + codec::Utf8ToCp1252(c.code).size() + 1 + codec::Utf8ToCp1252(c.translation).size() +
                1 + codec::Utf8ToCp1252(c.description).size() + 4;
  }
  EXPECT_EQ(bytes.size(), expected);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\xD2\x04\x00\x00\x55\x00\x00\x00", 8));
  // "[AnzLäufe]" is stored as Windows-1252.
  EXPECT_NE(bytes.find("[AnzL\xE4ufe]"), std::string::npos);
  // Nothing but the file stays behind in its folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(UserTranslationFile().parent_path()), fs::directory_iterator()), 1);

  BuildCatalogue();
  ASSERT_TRUE(ReadTranslationFile(UserTranslationFile()));
  EXPECT_EQ(placeholderCatalogue(), edited);
}

TEST_F(TranslationFile, AppliesRecordsByCodeIgnoringTheMarkUnknownCodesAndEarlierDuplicates) {
  const std::vector<CCode> before = placeholderCatalogue();
  Bytes b;
  b.u32(0xDEADBEEF).i32(4);
  Record(b, "[Name]", "Teilnehmer", "Wer segelt", 2);
  Record(b, "[Unbekannt]", "x", "y", 3);
  Record(b, "[Rang]", "Platz", "erst", 3);
  Record(b, "[Rang]", "Pl.", "zuletzt", 1);
  ASSERT_TRUE(ReadTranslationFile(Write("a.trn", b.data)));
  EXPECT_EQ(Entry("[Name]"), (CCode{"[Name]", "Teilnehmer", "Wer segelt", 2}));
  EXPECT_EQ(Entry("[Rang]"), (CCode{"[Rang]", "Pl.", "zuletzt", 1}));
  EXPECT_EQ(placeholderCatalogue().size(), 85u);
  // Every other entry keeps its built-in values.
  int changed = 0;
  for (std::size_t i = 0; i < before.size(); ++i) changed += !(before[i] == placeholderCatalogue()[i]);
  EXPECT_EQ(changed, 2);

  // No records at all is a valid file that changes nothing.
  BuildCatalogue();
  ASSERT_TRUE(ReadTranslationFile(Write("leer.trn", Bytes().i32(1234).i32(0).data)));
  EXPECT_EQ(placeholderCatalogue(), before);
}

TEST_F(TranslationFile, DamagedFilesChangeNothing) {
  const std::vector<CCode> before = placeholderCatalogue();
  Bytes good;
  good.i32(1234).i32(2);
  Record(good, "[Name]", "Teilnehmer", "d", 3);
  Record(good, "[Rang]", "Platz", "d", 3);
  std::vector<std::uint8_t> truncated = good.data;
  truncated.resize(truncated.size() - 3);  // the second record's flags cut short

  Bytes hugeCount;
  hugeCount.i32(1234).u32(0x80000000u);
  Record(hugeCount, "[Name]", "Teilnehmer", "d", 3);
  Bytes bigCount;
  bigCount.i32(1234).u32(0x7FFFFFFFu);
  Record(bigCount, "[Name]", "Teilnehmer", "d", 3);
  Bytes hugeString;  // a prefix claiming nearly 4 GB
  hugeString.i32(1234).i32(1).str("[Name]").u8(0xFF).u16(0xFFFF).u32(0xFFFFFFF0u).raw("Teilnehmer");
  Bytes wideString;  // the wide-string marker with a length the file cannot hold
  wideString.i32(1234).i32(1).str("[Name]").u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(0x7FFFFFFFu);
  std::vector<std::uint8_t> noise(4096);
  std::uint32_t seed = 12345;
  for (auto& byte : noise) {
    seed = seed * 1103515245u + 12345u;
    byte = static_cast<std::uint8_t>(seed >> 16);
  }

  const struct {
    const char* name;
    fs::path path;
  } cases[] = {
      {"truncated", Write("truncated.trn", truncated)},
      {"count 2^31", Write("hugecount.trn", hugeCount.data)},
      {"count 2^31-1", Write("bigcount.trn", bigCount.data)},
      {"string of gigabytes", Write("hugestring.trn", hugeString.data)},
      {"wide string", Write("wide.trn", wideString.data)},
      {"random bytes", Write("noise.trn", noise)},
      {"three bytes", Write("short.trn", std::vector<std::uint8_t>{0xD2, 0x04, 0})},
      {"empty file", Write("empty.trn", std::vector<std::uint8_t>{})},
      {"missing", dir / "missing.trn"},
      {"a folder", dir},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(ReadTranslationFile(c.path)) << c.name;
    EXPECT_EQ(placeholderCatalogue(), before) << c.name;
  }
}

TEST_F(TranslationFile, StartUpPrefersTheUserFileAndFallsBackToTheDefault) {
  Bytes user;
  user.i32(1234).i32(1);
  Record(user, "[Name]", "Teilnehmer", "d", 3);
  Bytes fallback;
  fallback.i32(1234).i32(2);
  Record(fallback, "[Name]", "Segler", "d", 3);
  Record(fallback, "[Rang]", "Platz", "d", 3);
  WriteAt(DefaultTranslationFile(), fallback.data);

  // No user file: the default.
  LoadTranslations();
  EXPECT_EQ(Entry("[Name]").translation, "Segler");
  EXPECT_EQ(Entry("[Rang]").translation, "Platz");

  // A readable user file: only that one.
  BuildCatalogue();
  WriteAt(UserTranslationFile(), user.data);
  LoadTranslations();
  EXPECT_EQ(Entry("[Name]").translation, "Teilnehmer");
  EXPECT_EQ(Entry("[Rang]").translation, "[Rang]");

  // A damaged user file: the default, and nothing of the damaged file.
  BuildCatalogue();
  std::vector<std::uint8_t> cut = user.data;
  cut.pop_back();
  WriteAt(UserTranslationFile(), cut);
  LoadTranslations();
  EXPECT_EQ(Entry("[Name]").translation, "Segler");

  // Neither readable: the built-in catalogue stands.
  BuildCatalogue();
  fs::remove(DefaultTranslationFile());
  LoadTranslations();
  EXPECT_EQ(Entry("[Name]").translation, "[Name]");
}

TEST_F(TranslationFile, LayoutsShowTranslationsAndStoreCodes) {
  Bytes b;
  b.i32(1234).i32(1);
  Record(b, "[Name]", "Teilnehmer", "d", 3);
  ASSERT_TRUE(ReadTranslationFile(Write("a.trn", b.data)));

  Bytes layout;
  layout.i32(4714).i32(1).u16(3);
  layout.newClass("CFormText").point(10, 10).point(0, 0).point(50, 20).str("[Name]").i32(0)
      .font(-160, 400, "Arial").i32(0);
  layout.classRef(1).point(10, 40).point(0, 0).point(50, 20).str("[Name] und [Rang]").i32(0)
      .font(-160, 400, "Arial").i32(0);
  layout.newClass("CFormTable").point(10, 100).point(300, 200).i32(0).i32(80).i32(0).u16(1);
  layout.str("[Name]").i32(50).i32(0).font(-80, 400, "Arial").i32(0);
  auto list = Read(layout.data);
  ASSERT_EQ(list->GetCount(), 3);
  EXPECT_EQ(dynamic_cast<CFormText*>(list->At(0))->text, "Teilnehmer");
  EXPECT_EQ(dynamic_cast<CFormText*>(list->At(1))->text, "[Name] und [Rang]");
  EXPECT_EQ(dynamic_cast<CFormTable*>(list->At(2))->columns.front().name, "Teilnehmer");
  // Saved again, the file holds the codes exactly as before.
  EXPECT_EQ(LayoutToBytes(*list), layout.data);
}

TEST_F(TranslationFile, SaveFailuresGiveTheirMessagesAndKeepTheOldFile) {
  std::string error;
  // No application-data folder.
  folders.appData.clear();
  EXPECT_FALSE(SaveTranslations(error));
  EXPECT_EQ(error, "Der Ordner für Anwendungsdaten wurde nicht gefunden.");

  // A folder that cannot be created: a file stands where a folder must be.
  folders.appData = Write("datei", std::vector<std::uint8_t>{1}) / "sub";
  error.clear();
  EXPECT_FALSE(SaveTranslations(error));
  const std::string folder = (folders.appData / "Orvik" / "Veltrok").string();
  EXPECT_EQ(error.rfind("Der Ordner " + folder + " konnte nicht angelegt werden (Fehler ", 0), 0u) << error;
  EXPECT_EQ(error.substr(error.size() - 2), ").");
  EXPECT_NE(error.find_first_of("123456789", ("Der Ordner " + folder).size()), std::string::npos);

  // A write that fails half way leaves the previous file as it was, and no temporary file.
  folders.appData = dir / "appdata";
  const fs::path file = WriteAt(UserTranslationFile(), Bytes().i32(1234).i32(0).data);
  const std::string old = Slurp(file);
  class FullDisk : public ByteStream {
   public:
    std::size_t Read(void*, std::size_t) override { return 0; }
    void Write(const void*, std::size_t n) override {
      if ((written += n) > 100)
        throw FileException(FileException::Cause::diskFull, "x",
                            "Es ist nicht genügend Speicherplatz vorhanden, um Report.trn zu schreiben.");
    }
    std::uint64_t Remaining() const override { return 0; }
    std::size_t written = 0;
  };
  error.clear();
  EXPECT_FALSE(SaveTranslations(error, [](const fs::path&) { return std::make_unique<FullDisk>(); }));
  EXPECT_EQ(error, "Es ist nicht genügend Speicherplatz vorhanden, um Report.trn zu schreiben.");
  EXPECT_EQ(Slurp(file), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1);

  // A folder the user may not write to: the platform's reason.
  if (::geteuid() != 0) {
    fs::permissions(file.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    error.clear();
    EXPECT_FALSE(SaveTranslations(error));
    EXPECT_NE(error.find("verweigert"), std::string::npos) << error;
    fs::permissions(file.parent_path(), fs::perms::owner_all);
    EXPECT_EQ(Slurp(file), old);
  }
}

}  // namespace
