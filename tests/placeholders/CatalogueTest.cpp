#include "placeholders/Catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

namespace {

// Every test starts from a freshly built catalogue and leaves it empty, so no test depends on
// what another one changed.
class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildCatalogue(); }
  void TearDown() override { FreeCatalogue(); }

  static CCode& Entry(const std::string& code) {
    auto& cat = placeholderCatalogue();
    auto it = std::find_if(cat.begin(), cat.end(), [&](const CCode& c) { return c.code == code; });
    if (it == cat.end()) ADD_FAILURE() << code << " missing";
    static CCode none;
    return it == cat.end() ? none : *it;
  }
};

std::size_t CountWithFlag(int flag) {
  const auto& cat = placeholderCatalogue();
  return static_cast<std::size_t>(
      std::count_if(cat.begin(), cat.end(), [&](const CCode& c) { return (c.flags & flag) != 0; }));
}

TEST_F(CatalogueTest, HasEightyFiveEntriesInCatalogueOrder) {
  const auto& cat = placeholderCatalogue();
  ASSERT_EQ(cat.size(), 85u);
  EXPECT_EQ(cat.front(), (CCode{"[Altersklasse]", "[Altersklasse]",
                                "Für wen gedruckt wird: Gesamt, Allg. Klasse oder Junioren",
                                kCodeForTexts}));
  EXPECT_EQ(cat[9].code, "[Jury1]");
  EXPECT_EQ(cat[11].code, "[Jury3]");
  EXPECT_EQ(cat[12].code, "[Jahr]");
  EXPECT_EQ(cat[15].code, "[Leer]");
  EXPECT_EQ(cat[18].code, "[Lauf01]");
  EXPECT_EQ(cat[57].code, "[Lauf40]");
  EXPECT_EQ(cat[58].code, "[LosNr]");
  EXPECT_EQ(cat[62].code, "[Observer1]");
  EXPECT_EQ(cat[65].code, "[Observer4]");
  EXPECT_EQ(cat[66].code, "[Punkte]");
  EXPECT_EQ(cat.back(),
            (CCode{"[Wertung]", "[Wertung]",
                   "Die Punkteanzahl eines Teilnehmers vor Abzug der Streichpunkte (Summe aller "
                   "Läufe)",
                   kCodeForTexts | kCodeForColumns}));
}

TEST_F(CatalogueTest, RaceResultsAreNumberedWithTwoDigitsAndShareOneDescription) {
  const auto& cat = placeholderCatalogue();
  ASSERT_EQ(cat.size(), 85u);
  EXPECT_EQ(cat[24].code, "[Lauf07]");
  EXPECT_EQ(cat[24].description, cat[18].description);
  EXPECT_EQ(cat[24].description, "Das Ergebnis des Teilnehmers in diesem Lauf");
  for (int n = 1; n <= 40; ++n) {
    char code[16];
    std::snprintf(code, sizeof code, "[Lauf%02d]", n);
    const CCode& e = cat[static_cast<std::size_t>(17 + n)];
    EXPECT_EQ(e.code, code);
    EXPECT_EQ(e.flags, kCodeForTexts | kCodeForColumns) << code;
    EXPECT_EQ(e.description, cat[18].description) << code;
  }
  EXPECT_EQ(Entry("[Jury2]").description, "Ein Mitglied der Jury");
  EXPECT_EQ(Entry("[Observer3]").description, "Ein Beobachter der Regatta");
}

TEST_F(CatalogueTest, CodesAreUniqueBracketedAndStartTranslatedAsThemselves) {
  std::set<std::string> seen;
  for (const CCode& e : placeholderCatalogue()) {
    EXPECT_TRUE(seen.insert(e.code).second) << e.code << " twice";
    ASSERT_GE(e.code.size(), 3u);
    EXPECT_EQ(e.code.front(), '[');
    EXPECT_EQ(e.code.back(), ']');
    EXPECT_EQ(e.translation, e.code);
    EXPECT_FALSE(e.description.empty()) << e.code;
    EXPECT_TRUE(e.flags == 1 || e.flags == 2 || e.flags == 3) << e.code;
  }
}

TEST_F(CatalogueTest, TextListOffersEightyFourAndColumnChoiceSixty) {
  EXPECT_EQ(CountWithFlag(kCodeForTexts), 84u);
  EXPECT_EQ(CountWithFlag(kCodeForColumns), 60u);
  EXPECT_EQ(Entry("[Leer]").flags, kCodeForColumns);
  EXPECT_EQ(Entry("[Datum]").flags, kCodeForTexts);
  EXPECT_EQ(Entry("[Name]").flags, kCodeForTexts | kCodeForColumns);
}

TEST_F(CatalogueTest, GermanTextsAreUtf8) {
  EXPECT_EQ(placeholderCatalogue()[4].code, "[AnzL" "\xC3\xA4" "ufe]");
  EXPECT_EQ(Entry("[Verein]").description,
            "Der Verein eines Teilnehmers; au" "\xC3\x9F" "erhalb von Tabellen besser "
            "[Veranstalter] verwenden");
  EXPECT_EQ(Entry("[Quarz]").description,
            "Die Liste der zur Verf" "\xC3\xBC" "gung stehenden Quarze eines Teilnehmers");
}

TEST_F(CatalogueTest, BuildingAgainReplacesChangedEntries) {
  Entry("[Name]").translation = "Teilnehmer";
  placeholderCatalogue().push_back(CCode{"[Extra]", "[Extra]", "", kCodeForTexts});
  BuildCatalogue();
  EXPECT_EQ(placeholderCatalogue().size(), 85u);
  EXPECT_EQ(Entry("[Name]").translation, "[Name]");
}

TEST_F(CatalogueTest, UntranslatedCatalogueMapsEveryCodeToItself) {
  for (const CCode& e : placeholderCatalogue()) {
    EXPECT_EQ(CodeToTranslation(e.code), e.code);
    EXPECT_EQ(TranslationToCode(e.code), e.code);
  }
}

TEST_F(CatalogueTest, OnlyWholeTextsAreMapped) {
  Entry("[Name]").translation = "Teilnehmer";
  EXPECT_EQ(CodeToTranslation("[Name]"), "Teilnehmer");
  EXPECT_EQ(TranslationToCode("Teilnehmer"), "[Name]");

  EXPECT_EQ(CodeToTranslation("Herr [Name]"), "Herr [Name]");
  EXPECT_EQ(CodeToTranslation("[Name] "), "[Name] ");
  EXPECT_EQ(CodeToTranslation("[Name][Name]"), "[Name][Name]");
  EXPECT_EQ(TranslationToCode("Teilnehmer:"), "Teilnehmer:");
  EXPECT_EQ(TranslationToCode("Teilnehme"), "Teilnehme");
  EXPECT_EQ(CodeToTranslation(""), "");
  EXPECT_EQ(TranslationToCode(""), "");
  // A translation is not a code, and a code no longer translated as itself is not a translation.
  EXPECT_EQ(CodeToTranslation("Teilnehmer"), "Teilnehmer");
  EXPECT_EQ(TranslationToCode("[Name]"), "[Name]");
}

TEST_F(CatalogueTest, MappingIsCaseSensitive) {
  Entry("[Name]").translation = "Teilnehmer";
  EXPECT_EQ(CodeToTranslation("[name]"), "[name]");
  EXPECT_EQ(CodeToTranslation("[NAME]"), "[NAME]");
  EXPECT_EQ(TranslationToCode("teilnehmer"), "teilnehmer");
  EXPECT_EQ(CodeToTranslation("[anzl" "\xC3\xA4" "ufe]"), "[anzl" "\xC3\xA4" "ufe]");
}

TEST_F(CatalogueTest, FirstEntryWinsWhenTranslationsCoincide) {
  Entry("[Vorname]").translation = "Name";
  Entry("[Name]").translation = "Name";
  Entry("[Famname]").translation = "Name";
  // "[Famname]" comes first in catalogue order, "[Vorname]" last.
  EXPECT_EQ(TranslationToCode("Name"), "[Famname]");
  EXPECT_EQ(CodeToTranslation("[Vorname]"), "Name");
}

TEST_F(CatalogueTest, EmptyCatalogueMapsNothing) {
  Entry("[Name]").translation = "Teilnehmer";
  FreeCatalogue();
  EXPECT_TRUE(placeholderCatalogue().empty());
  EXPECT_EQ(CodeToTranslation("[Name]"), "[Name]");
  EXPECT_EQ(TranslationToCode("Teilnehmer"), "Teilnehmer");
}

}  // namespace
