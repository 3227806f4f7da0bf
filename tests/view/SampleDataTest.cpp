#include "view/SampleData.h"

#include <gtest/gtest.h>

namespace {

const LocalTimeSource kNinthDecember = [] { return std::optional<LocalTime>(LocalTime{2026, 12, 9, 8, 5}); };
const LocalTimeSource kNoTime = [] { return std::optional<LocalTime>(); };

std::vector<std::pair<std::string, std::string>> Pairs(const std::vector<CFormEnvAttrib>& a) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& e : a) out.emplace_back(e.code, e.value);
  return out;
}

using Pair = std::pair<std::string, std::string>;

}  // namespace

TEST(SampleData, DateAndTimeCodesComeFirstInTheirFormats) {
  struct Case {
    const char* what;
    LocalTimeSource clock;
    std::vector<Pair> expected;
  } cases[] = {
      {"9 December 2026, 08:05", kNinthDecember,
       {{"[Datum]", "9/12/2026"}, {"[Tag]", "9"}, {"[Monat]", "12"}, {"[Jahr]", "2026"},
        {"[Uhrzeit]", "8:05"}, {"[Stunde]", "8"}, {"[Minute]", "05"}}},
      {"midnight, 31 January", [] { return std::optional<LocalTime>(LocalTime{2027, 1, 31, 0, 0}); },
       {{"[Datum]", "31/1/2027"}, {"[Tag]", "31"}, {"[Monat]", "1"}, {"[Jahr]", "2027"},
        {"[Uhrzeit]", "0:00"}, {"[Stunde]", "0"}, {"[Minute]", "00"}}},
      {"no local time", kNoTime,
       {{"[Datum]", "0/0/0"}, {"[Tag]", "0"}, {"[Monat]", "0"}, {"[Jahr]", "0"},
        {"[Uhrzeit]", "-1:-1"}, {"[Stunde]", "-1"}, {"[Minute]", "-1"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Pairs(NewPageAttributes(c.clock)), c.expected);
    const SamplePrintData data(c.clock);
    const auto& page = data.Env().attributes;
    ASSERT_GE(page.size(), 7u);
    EXPECT_EQ(Pairs({page.begin(), page.begin() + 7}), c.expected);
  }
}

TEST(SampleData, EveryDateCodeTakesItsOwnReadingOfTheClock) {
  // A clock that moves on by a minute at each reading: the codes show successive minutes.
  int readings = 0;
  const LocalTimeSource ticking = [&readings] {
    const int m = readings++;
    return std::optional<LocalTime>(LocalTime{2026, 12, 9, 8, m});
  };
  const auto a = NewPageAttributes(ticking);
  EXPECT_EQ(readings, 7);
  EXPECT_EQ(a[4].value, "8:04");
  EXPECT_EQ(a[6].value, "06");
}

TEST(SampleData, PageValuesFollowTheDateCodesAndRowsCountUp) {
  const SamplePrintData data(kNinthDecember);
  const CFormEnv& env = data.Env();
  const std::vector<Pair> all = Pairs(env.attributes);
  const std::vector<Pair> page(all.begin() + 7, all.end());
  EXPECT_EQ(page, (std::vector<Pair>{{"[Titel]", "Testregatta"}, {"[Verein]", "Testverein"},
                                     {"[Laufbez]", "Einteilungslauf"}, {"[Laufnr]", "5"},
                                     {"[Gruppe]", "B"}, {"[Name]", "TestName"}, {"[Vorname]", "Test"},
                                     {"[Famname]", "Name"}, {"[Segel]", "AUT00"}, {"[Segel2]", "AUT00"},
                                     {"[Rang]", "1"}}));
  ASSERT_NE(env.rows, nullptr);
  ASSERT_EQ(env.rows->size(), 40u);
  for (int i : {0, 1, 39}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Pairs((*env.rows)[static_cast<std::size_t>(i)].attributes),
              (std::vector<Pair>{{"[Leer]", ""}, {"[Gruppe]", "A"}, {"[Rang]", std::to_string(i + 1)},
                                 {"[Segel]", "AUT00"}, {"[Segel2]", "AUT00"}, {"[Name]", "TestName"},
                                 {"[Vorname]", "Test"}, {"[Famname]", "Name"}, {"[Verein]", "TestVerein"},
                                 {"[Wertung]", std::to_string(i + 100)},
                                 {"[Streicher]", std::to_string(2 * i + 10)},
                                 {"[Punkte]", std::to_string(i + 90)}}));
  }
}

TEST(SampleData, AddAppendsWhileSetReplacesTheFirstEntryOfTheCode) {
  std::vector<CFormEnvAttrib> a;
  AddAttribute(a, "[Name]", "Erster");
  AddAttribute(a, "[Name]", 7);
  SetAttribute(a, "[Name]", "Neu");
  SetAttribute(a, "[Rang]", -3);
  SetAttribute(a, "[name]", "klein");  // codes compare exactly
  EXPECT_EQ(Pairs(a), (std::vector<Pair>{{"[Name]", "Neu"}, {"[Name]", "7"}, {"[Rang]", "-3"}, {"[name]", "klein"}}));
}

TEST(SampleData, TextsAreFilledWithThePageValues) {
  const SamplePrintData data(kNinthDecember);
  const auto& page = data.Env().attributes;
  const struct {
    const char* text;
    const char* printed;
  } cases[] = {
      {"Lauf [Laufnr] von [Titel]", "Lauf 5 von Testregatta"},
      {"[Name] und [Name]", "TestName und [Name]"},  // only the first occurrence
      {"[Datum] [Uhrzeit]", "9/12/2026 8:05"},
      {"[Stunde]:[Minute]", "8:05"},
      {"[Punkte]", "[Punkte]"},  // a row value, not a page value
      {"[Lauf01]", "[Lauf01]"},  // no sample value at all
      {"[Rang]. [Gruppe]", "1. B"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplacePlaceholders(page, c.text), c.printed) << c.text;
}
