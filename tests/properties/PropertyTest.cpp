// Property rows and lists: value texts, kinds, values, choices and the multi-selection merge.
#include <gtest/gtest.h>

#include "properties/ChoiceSets.h"
#include "properties/Property.h"
#include "properties/PropertyList.h"

TEST(PropertyRows, NumericTextHasAtMostTwoDecimalsWithoutTrailingZeros) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{3, "3"},       {10.5, "10.5"}, {12.5, "12.5"}, {10.0, "10"},   {0.0, "0"},
               {0.25, "0.25"}, {0.125, "0.12"}, {1.999, "2"},  {-2.5, "-2.5"}, {1234567.5, "1234567.5"},
               {100, "100"}};
  for (const auto& c : cases) EXPECT_EQ(CNumericProperty("n", c.value).GetText(), c.text) << c.value;
}

TEST(PropertyRows, TextsOfIntegerColourAndComboRows) {
  EXPECT_EQ(CIntegerProperty("i", -42).GetText(), "-42");
  EXPECT_EQ(CColorProperty("c", RGB(255, 128, 0)).GetText(), "255; 128; 0");
  CComboProperty combo("a", 2, AlignmentChoices());
  EXPECT_EQ(combo.GetText(), "Rechts");
  combo.value = 7;
  EXPECT_EQ(combo.GetText(), "");  // no choice has the value
  EXPECT_EQ(CStringProperty("s", "abc").GetText(), "abc");
}

TEST(PropertyRows, NumbersOfEveryKind) {
  EXPECT_EQ(CNumericProperty("n", 10.5).GetNumber(), 10.5);
  EXPECT_EQ(CIntegerProperty("i", -3).GetNumber(), -3);
  EXPECT_EQ(CComboProperty("c", 700, FontStyleChoices()).GetNumber(), 700);
  // A colour is an unsigned number, also with the high bit set.
  EXPECT_EQ(CColorProperty("c", 0xFFFFFFFFu).GetNumber(), 4294967295.0);
  EXPECT_EQ(CStringProperty("s", "12").GetNumber(), 0.0);
  EXPECT_EQ(CFileProperty("f", "a.png", "x||").GetNumber(), 0.0);
}

TEST(PropertyRows, CloneKeepsClassAndEveryField) {
  CFileProperty file("Datei", "a.png", "Bilder|*.png||");
  file.mixed = true;
  file.readOnly = true;
  auto copy = file.Clone();
  auto* f = dynamic_cast<CFileProperty*>(copy.get());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->name, "Datei");
  EXPECT_EQ(f->type, PropertyType::File);
  EXPECT_TRUE(f->mixed);
  EXPECT_TRUE(f->readOnly);
  EXPECT_EQ(f->value, "a.png");
  EXPECT_EQ(f->filter, "Bilder|*.png||");

  auto suggest = CSuggestProperty("Name", "[Name]", {"[Name]", "[Rang]"}).Clone();
  auto* s = dynamic_cast<CSuggestProperty*>(suggest.get());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->suggestions, (std::vector<std::string>{"[Name]", "[Rang]"}));
  EXPECT_EQ(s->type, PropertyType::String);

  auto combo = CComboProperty("Kursiv", 1, YesNoChoices()).Clone();
  auto* c = dynamic_cast<CComboProperty*>(combo.get());
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->choices, YesNoChoices());
  EXPECT_EQ(c->value, 1);
  EXPECT_NE(dynamic_cast<CFontProperty*>(CFontProperty("f", "Arial").Clone().get()), nullptr);
}

TEST(PropertyRows, KindsCompareTypesAndComboChoices) {
  EXPECT_TRUE(CIntegerProperty("a", 1).IsSameKind(CIntegerProperty("b", 2)));
  EXPECT_FALSE(CIntegerProperty("a", 1).IsSameKind(CNumericProperty("a", 1)));
  // String and suggest rows share the type code; font rows do not.
  EXPECT_TRUE(CStringProperty("a", "x").IsSameKind(CSuggestProperty("a", "x", {})));
  EXPECT_FALSE(CStringProperty("a", "x").IsSameKind(CFontProperty("a", "x")));
  EXPECT_TRUE(CComboProperty("a", 0, YesNoChoices()).IsSameKind(CComboProperty("a", 1, YesNoChoices())));
  EXPECT_FALSE(CComboProperty("a", 1, YesNoChoices()).IsSameKind(CComboProperty("a", 1, OnOffChoices())));
  // Same texts but other values, or the same choices in another order, are another kind.
  EXPECT_FALSE(CComboProperty("a", 1, {{"Nein", 0}, {"Ja", 2}}).IsSameKind(CComboProperty("a", 1, YesNoChoices())));
  EXPECT_FALSE(CComboProperty("a", 1, {{"Ja", 1}, {"Nein", 0}}).IsSameKind(CComboProperty("a", 1, YesNoChoices())));
}

TEST(PropertyRows, ValuesCompareByKind) {
  EXPECT_TRUE(CNumericProperty("a", 10.5).HasSameValue(CNumericProperty("a", 10.5 + 1e-12)));
  EXPECT_FALSE(CNumericProperty("a", 10.5).HasSameValue(CNumericProperty("a", 10.5 + 1e-6)));
  EXPECT_FALSE(CIntegerProperty("a", 1).HasSameValue(CIntegerProperty("a", 2)));
  EXPECT_TRUE(CColorProperty("a", 5).HasSameValue(CColorProperty("a", 5)));
  EXPECT_FALSE(CStringProperty("a", "Arial").HasSameValue(CStringProperty("a", "arial")));
  EXPECT_TRUE(CFontProperty("a", "Arial").HasSameValue(CFontProperty("a", "Arial")));
}

TEST(PropertyRows, FindChoiceValueMatchesWholeTextsExactly) {
  CComboProperty duplex("d", 0, DuplexChoices());
  int value = -1;
  EXPECT_TRUE(duplex.FindChoiceValue("Doppelseitig, kurze Kante", value));
  EXPECT_EQ(value, 3);
  EXPECT_FALSE(duplex.FindChoiceValue("doppelseitig, kurze kante", value));
  EXPECT_FALSE(duplex.FindChoiceValue("Doppelseitig", value));
  EXPECT_FALSE(duplex.FindChoiceValue("", value));
  EXPECT_EQ(value, 3);
}

namespace {
PropertyList TextLike(int alignment, int x, COLORREF colour) {
  PropertyList list;
  list.Emplace<CStringProperty>("Text", "Hallo");
  list.Emplace<CIntegerProperty>("X", x);
  list.Emplace<CIntegerProperty>("Y", 5);
  list.Emplace<CComboProperty>("Ausrichtung", alignment, AlignmentChoices());
  list.Emplace<CColorProperty>("Farbe", colour);
  return list;
}

std::vector<std::string> Names(const PropertyList& list) {
  std::vector<std::string> names;
  for (const auto& row : list) names.push_back(row->name);
  return names;
}
}  // namespace

TEST(PropertyLists, IntersectionOfTwoTextsMarksDifferingRowsMixed) {
  PropertyList rows;
  rows.AssignRows(TextLike(0, 10, RGB(1, 2, 3)));
  rows.IntersectRows(TextLike(2, 10, RGB(9, 9, 9)));
  ASSERT_EQ(Names(rows), (std::vector<std::string>{"Text", "X", "Y", "Ausrichtung", "Farbe"}));
  EXPECT_FALSE(rows.FindRow("X")->mixed);
  EXPECT_TRUE(rows.FindRow("Ausrichtung")->mixed);
  // The first element's values stay: the colour row still knows a colour to show.
  EXPECT_TRUE(rows.FindRow("Farbe")->mixed);
  EXPECT_EQ(rows.FindRow("Farbe")->GetNumber(), RGB(1, 2, 3));
  EXPECT_EQ(rows.FindRow("Ausrichtung")->GetNumber(), 0);
}

TEST(PropertyLists, IntersectionKeepsOnlyCommonRowsOfTheSameKindInFirstOrder) {
  PropertyList table;
  table.Emplace<CIntegerProperty>("X", 1);
  table.Emplace<CIntegerProperty>("Y", 2);
  table.Emplace<CIntegerProperty>("Breite", 3);
  table.Emplace<CComboProperty>("Rahmen", 1, YesNoChoices());
  table.Emplace<CComboProperty>("Kursiv", 1, YesNoChoices());
  PropertyList other;
  other.Emplace<CIntegerProperty>("Y", 2);
  other.Emplace<CIntegerProperty>("X", 1);
  other.Emplace<CNumericProperty>("Breite", 3);                    // same name, other kind
  other.Emplace<CComboProperty>("Rahmen", 1, OnOffChoices());      // other choice set
  other.Emplace<CIntegerProperty>("Nur hier", 0);                  // ignored
  other.Emplace<CComboProperty>("Kursiv", 1, YesNoChoices());
  table.IntersectRows(other);
  EXPECT_EQ(Names(table), (std::vector<std::string>{"X", "Y", "Kursiv"}));
  for (const auto& row : table) EXPECT_FALSE(row->mixed);
}

TEST(PropertyLists, IntersectionMatchesTheFirstNamesakeAndKeepsMixedOnce) {
  PropertyList a;
  a.Emplace<CIntegerProperty>("X", 1);
  PropertyList b;
  b.Emplace<CIntegerProperty>("X", 1);
  b.Emplace<CIntegerProperty>("X", 2);
  a.IntersectRows(b);
  EXPECT_FALSE(a.FindRow("X")->mixed);
  PropertyList c;
  c.Emplace<CIntegerProperty>("X", 3);
  a.IntersectRows(c);
  EXPECT_TRUE(a.FindRow("X")->mixed);
  a.IntersectRows(b);  // mixed once stays mixed, even against an equal value
  EXPECT_TRUE(a.FindRow("X")->mixed);
  a.IntersectRows(a);
  EXPECT_EQ(a.size(), 1u);
}

TEST(PropertyLists, AssignClearAndFind) {
  PropertyList a = TextLike(1, 4, 0);
  PropertyList b;
  b.Emplace<CIntegerProperty>("alt", 1);
  b.AssignRows(a);
  EXPECT_EQ(Names(b), Names(a));
  EXPECT_NE(&b[0], &a[0]);  // clones, not shared rows
  b.AssignRows(b);
  EXPECT_EQ(b.size(), a.size());
  EXPECT_EQ(b.FindRow("X")->GetText(), "4");
  EXPECT_EQ(b.FindRow("x"), nullptr);
  EXPECT_EQ(b.At(99), nullptr);
  b.ClearRows();
  EXPECT_TRUE(b.empty());
  EXPECT_EQ(b.FindRow("X"), nullptr);
}
