#include "placeholders/PlaceholderCheck.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/FormTable.h"
#include "model/FormText.h"
#include "placeholders/Catalogue.h"
#include "support/LayoutFixtures.h"

void PrintTo(const PlaceholderFinding& f, std::ostream* os) {
  *os << '{' << f.offset << ", " << f.token << ", " << f.suggestion << '}';
}

namespace {

class PlaceholderCheck : public ::testing::Test {
 protected:
  void SetUp() override { BuildCatalogue(); }
  void TearDown() override { FreeCatalogue(); }
  static void Translate(const std::string& code, const std::string& translation) {
    for (CCode& c : placeholderCatalogue())
      if (c.code == code) c.translation = translation;
  }
};

TEST_F(PlaceholderCheck, TextsOfATable) {
  struct Case {
    const char* text;
    std::vector<PlaceholderFinding> expected;
  } cases[] = {
      {"[Name]", {}},
      {"Sieger: [Name] aus [Verein]", {}},
      {"[Nmae]", {{0, "[Nmae]", "[Name]"}}},
      {"Gewicht [kg]", {{8, "[kg]", ""}}},
      {"[Lauf40]", {}},
      {"[Lauf41]", {{0, "[Lauf41]", ""}}},  // one digit from five races: no single guess
      {"Rang [rang] von [AnzSegler]", {{5, "[rang]", "[Rang]"}}},
      {"[AnzLaufe]", {{0, "[AnzLaufe]", "[AnzLäufe]"}}},
      {"ä [Tittel]", {{3, "[Tittel]", "[Titel]"}}},  // offset in bytes of the UTF-8 text
      // Ordinary text, not tokens: a space inside, empty, too long, unclosed.
      {"[siehe oben] [] [", {}},
      {"[abcdefghijklmnopqrstuvwxyzabcdefghijklm]", {}},  // 41 characters
      {"[abcdefghijklmnopqrstuvwxyzabcdefghijkl]", {{0, "[abcdefghijklmnopqrstuvwxyzabcdefghijkl]", ""}}},
      {"[Zeile\r\nzwei]", {}},
      {"[[Name] [[Nmae]", {{9, "[Nmae]", "[Name]"}}},
      {"[Rang][Xyz]", {{6, "[Xyz]", ""}}},
  };
  for (const Case& c : cases) EXPECT_EQ(FindUnknownPlaceholders(c.text), c.expected) << c.text;
}

TEST_F(PlaceholderCheck, WholeTranslatedTextCountsAsItsCode) {
  Translate("[Name]", "[Teilnehmer]");
  EXPECT_TRUE(FindUnknownPlaceholders("[Teilnehmer]").empty());
  // Inside a longer text the translation is stored as written and prints literally.
  ASSERT_EQ(FindUnknownPlaceholders("Sieger: [Teilnehmer]").size(), 1u);
}

TEST_F(PlaceholderCheck, LayoutFindingsNameElementAndColumn) {
  CFormElementPtrList list;
  Add(list, std::make_unique<CFormText>(CPoint{0, 0}, "Lauf [Laufnr] von [Titel]"));
  auto table = std::make_unique<CFormTable>(CPoint{0, 0});
  CFormTableEntry rank, name;
  rank.name = "[Rang]";
  name.name = "[Nmae] ([Verien])";
  table->AppendColumn(rank);
  table->AppendColumn(name);
  Add(list, std::move(table));
  Add(list, std::make_unique<CFormText>(CPoint{0, 0}, "[Datum] [Uhrziet]"));

  const std::vector<LayoutFinding> found = CheckLayoutPlaceholders(list);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(DescribeFinding(found[0]), "Element 2 (CFormTable), Spalte 2: [Nmae] – vielleicht [Name]");
  EXPECT_EQ(DescribeFinding(found[1]), "Element 2 (CFormTable), Spalte 2: [Verien] – vielleicht [Verein]");
  EXPECT_EQ(found[1].finding.offset, 8u);
  EXPECT_EQ(DescribeFinding(found[2]), "Element 3 (CFormText): [Uhrziet] – vielleicht [Uhrzeit]");
}

}  // namespace
