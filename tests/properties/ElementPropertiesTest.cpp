// The property rows of every element type and how their edits are written back.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/FormAlias.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "model/Fonts.h"
#include "placeholders/Catalogue.h"
#include "properties/ChoiceSets.h"
#include "properties/ElementProperties.h"
#include "support/FakeServices.h"

namespace {

struct RowSpec {
  std::string name;
  PropertyType type;
  std::string text;
};

void ExpectRows(const CFormElement& e, const std::vector<RowSpec>& expected) {
  const PropertyList rows = e.FillProperties();
  ASSERT_EQ(rows.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(rows[i].name, expected[i].name) << i;
    EXPECT_EQ(rows[i].type, expected[i].type) << expected[i].name;
    EXPECT_EQ(rows[i].GetText(), expected[i].text) << expected[i].name;
    EXPECT_FALSE(rows[i].mixed);
  }
}

const CComboProperty& Combo(const PropertyList& rows, const std::string& name) {
  return dynamic_cast<const CComboProperty&>(*rows.FindRow(name));
}

CFormText SampleText() {
  CFormText t({12, 34}, "Ergebnisliste");
  t.alignment = 1;
  t.font.lfHeight = -84;
  t.font.lfWeight = 700;
  t.font.lfItalic = 1;
  SetFaceName(t.font, "Times New Roman");
  t.color = RGB(10, 20, 30);
  return t;
}

CFormTableEntry Column(const std::string& name, int width) {
  CFormTableEntry c;
  c.name = name;
  c.widthPercent = width;
  return c;
}

}  // namespace

TEST(ElementProperties, BaseElementHasNoRowsAndIgnoresEdits) {
  CFormElement e;
  EXPECT_TRUE(e.FillProperties().empty());
  e.ApplyProperty("X", 5, "");  // nothing to write, nothing breaks
}

TEST(ElementProperties, TextRowsInOrder) {
  ExpectRows(SampleText(), {{"Text", PropertyType::String, "Ergebnisliste"},
                            {"X", PropertyType::Integer, "12"},
                            {"Y", PropertyType::Integer, "34"},
                            {"Ausrichtung", PropertyType::Combo, "Zentriert"},
                            {"Schriftart", PropertyType::Font, "Times New Roman"},
                            {"Schriftgrad (pt)", PropertyType::Numeric, "10"},
                            {"Schriftschnitt", PropertyType::Combo, "Fett"},
                            {"Kursiv", PropertyType::Combo, "Ja"},
                            {"Farbe", PropertyType::Color, "10; 20; 30"}});
  const PropertyList rows = SampleText().FillProperties();
  EXPECT_EQ(Combo(rows, "Ausrichtung").choices, AlignmentChoices());
  EXPECT_EQ(Combo(rows, "Schriftschnitt").choices, FontStyleChoices());
  EXPECT_EQ(Combo(rows, "Kursiv").choices, YesNoChoices());
  EXPECT_EQ(rows.FindRow("Schriftgrad (pt)")->GetNumber(), 10.0);
}

TEST(ElementProperties, TextEditsWriteTheirAttribute) {
  const struct {
    const char* name;
    double number;
    const char* text;
    void (*check)(const CFormText&);
  } cases[] = {
      {"Text", 0, "Neu", [](const CFormText& t) { EXPECT_EQ(t.text, "Neu"); }},
      {"X", 7.5, "", [](const CFormText& t) { EXPECT_EQ(t.x, 8); }},      // half up
      {"Y", -7.5, "", [](const CFormText& t) { EXPECT_EQ(t.y, -7); }},    // half up, not away
      {"Ausrichtung", 2, "", [](const CFormText& t) { EXPECT_EQ(t.alignment, 2); }},
      {"Schriftart", 0, "Courier New", [](const CFormText& t) { EXPECT_EQ(FaceName(t.font), "Courier New"); }},
      {"Schriftgrad (pt)", 10.3, "", [](const CFormText& t) { EXPECT_EQ(t.font.lfHeight, -88); }},
      {"Schriftgrad (pt)", 0, "", [](const CFormText& t) { EXPECT_EQ(t.font.lfHeight, -84); }},
      {"Schriftgrad (pt)", -4, "", [](const CFormText& t) { EXPECT_EQ(t.font.lfHeight, -84); }},
      {"Schriftgrad (pt)", std::nan(""), "", [](const CFormText& t) { EXPECT_EQ(t.font.lfHeight, -84); }},
      {"Schriftschnitt", 400, "", [](const CFormText& t) { EXPECT_EQ(t.font.lfWeight, 400); }},
      {"Kursiv", 0, "", [](const CFormText& t) { EXPECT_EQ(t.font.lfItalic, 0); }},
      {"Kursiv", 0.4, "", [](const CFormText& t) { EXPECT_EQ(t.font.lfItalic, 0); }},
      {"Farbe", RGB(1, 2, 3), "", [](const CFormText& t) { EXPECT_EQ(t.color, RGB(1, 2, 3)); }},
      {"Breite", 99, "", [](const CFormText& t) { EXPECT_EQ(t.x, 12); }},  // not a text row
      {"farbe", 5, "", [](const CFormText& t) { EXPECT_EQ(t.color, RGB(10, 20, 30)); }},
  };
  for (const auto& c : cases) {
    CFormText t = SampleText();
    t.ApplyProperty(c.name, c.number, c.text);
    SCOPED_TRACE(c.name);
    c.check(t);
  }
}

TEST(ElementProperties, FontSizeWeightAndFaceNameRules) {
  CFormText t = SampleText();
  t.ApplyProperty(kFontSizeRow, 10.3, "");
  EXPECT_EQ(t.FillProperties().FindRow(kFontSizeRow)->GetText(), "10.5");
  // A medium weight shows as "Normal"; choosing "Normal" writes 400.
  t.font.lfWeight = 500;
  EXPECT_EQ(t.FillProperties().FindRow("Schriftschnitt")->GetText(), "Normal");
  t.font.lfWeight = 600;
  EXPECT_EQ(t.FillProperties().FindRow("Schriftschnitt")->GetText(), "Fett");
  t.font.lfWeight = 500;
  t.ApplyProperty("Schriftschnitt", 400, "");
  EXPECT_EQ(t.font.lfWeight, 400);
  // The record holds 31 bytes of face name.
  t.ApplyProperty("Schriftart", 0, std::string(40, 'A'));
  EXPECT_EQ(FaceName(t.font), std::string(31, 'A'));
}

TEST(ElementProperties, NumbersBeyondAnyPageStayInRange) {
  CFormText t = SampleText();
  t.ApplyProperty("X", 1e300, "");
  EXPECT_EQ(t.x, kCoordinateLimit);
  t.ApplyProperty("Y", -std::numeric_limits<double>::infinity(), "");
  EXPECT_EQ(t.y, -kCoordinateLimit);
  t.ApplyProperty("X", std::nan(""), "");
  EXPECT_EQ(t.x, 0);
  t.ApplyProperty(kFontSizeRow, 1e12, "");
  EXPECT_LT(t.font.lfHeight, 0);  // a huge size is held, never wrapped
  EXPECT_EQ(RoundHalfUp(-0.5), 0);
  EXPECT_EQ(RoundHalfUp(2.5), 3);
  EXPECT_EQ(RoundHalfUp(1e20), std::numeric_limits<int>::max());
  EXPECT_EQ(RoundHalfUp(-1e20), std::numeric_limits<int>::min());
}

TEST(ElementProperties, LineRowsAndEdits) {
  CFormLine line({1, 2}, {30, 40});
  line.color = RGB(0, 0, 255);
  ExpectRows(line, {{"Von X", PropertyType::Integer, "1"},
                    {"Von Y", PropertyType::Integer, "2"},
                    {"Nach X", PropertyType::Integer, "30"},
                    {"Nach Y", PropertyType::Integer, "40"},
                    {"Farbe", PropertyType::Color, "0; 0; 255"}});
  line.ApplyProperty("Von X", 5, "");
  line.ApplyProperty("Von Y", 6, "");
  line.ApplyProperty("Nach X", 7, "");
  line.ApplyProperty("Nach Y", 8, "");
  line.ApplyProperty("Farbe", 0xFF00, "");
  line.ApplyProperty("X", 99, "");
  EXPECT_EQ(line.from, CPoint(5, 6));
  EXPECT_EQ(line.to, CPoint(7, 8));
  EXPECT_EQ(line.color, 0xFF00u);
}

TEST(ElementProperties, PlaceholderRowsAndEdits) {
  CFormAlias a;
  a.x = 1;
  a.y = 2;
  a.width = 3;
  a.height = -4;
  ExpectRows(a, {{"X", PropertyType::Integer, "1"},
                 {"Y", PropertyType::Integer, "2"},
                 {"Breite", PropertyType::Integer, "3"},
                 {"Höhe", PropertyType::Integer, "-4"}});
  a.ApplyProperty("Breite", 50, "");
  a.ApplyProperty("Höhe", 60, "");
  a.ApplyProperty("Name", 0, "zz");
  EXPECT_EQ(a.width, 50);
  EXPECT_EQ(a.height, 60);
  EXPECT_EQ(a.name, "");
}

TEST(ElementProperties, ImageRowsAndEdits) {
  CFormImage image;
  image.x = 10;
  image.y = 20;
  image.width = 200;
  image.height = 100;
  image.fileName = "/bilder/logo.png";
  ExpectRows(image, {{"X", PropertyType::Integer, "10"},
                     {"Y", PropertyType::Integer, "20"},
                     {"Breite", PropertyType::Integer, "200"},
                     {"Höhe", PropertyType::Integer, "100"},
                     {"Datei", PropertyType::File, "/bilder/logo.png"},
                     {"Hilfsbild (nicht drucken)", PropertyType::Combo, "Nein"}});
  const PropertyList rows = image.FillProperties();
  EXPECT_EQ(dynamic_cast<const CFileProperty&>(*rows.FindRow("Datei")).filter,
            "Bilder (*.bmp;*.jpg;*.jpeg;*.png;*.gif)|*.bmp;*.jpg;*.jpeg;*.png;*.gif|Alle Dateien (*.*)|*.*||");
  image.ApplyProperty("Hilfsbild (nicht drucken)", 1, "");
  EXPECT_TRUE(image.helper);
  image.ApplyProperty("Höhe", 33.49, "");
  EXPECT_EQ(image.height, 33);
}

TEST(ElementProperties, NewImageFileKeepsTheWidthAndTakesTheAspect) {
  FakeImages images;
  images.Add("/neu.png", 640, 480);
  images.Add("/hoch.png", 10, 40);
  ScopedServices scope;
  scope.With(&images);
  CFormImage image;
  image.width = 200;
  image.height = 30;
  image.fileName = "/alt.png";

  image.ApplyProperty("Datei", 0, "/neu.png");
  EXPECT_EQ(image.fileName, "/neu.png");
  EXPECT_EQ(image.width, 200);
  EXPECT_EQ(image.height, 150);
  EXPECT_EQ(image.PixelSize(), CSize(640, 480));

  image.ApplyProperty("Datei", 0, "/hoch.png");
  EXPECT_EQ(image.width, 200);
  EXPECT_EQ(image.height, 800);

  // The same name again loads nothing; a file that does not load changes nothing.
  const int loads = images.loads;
  image.ApplyProperty("Datei", 0, "/hoch.png");
  EXPECT_EQ(images.loads, loads);
  image.ApplyProperty("Datei", 0, "/fehlt.png");
  EXPECT_EQ(image.fileName, "/hoch.png");
  EXPECT_EQ(image.width, 200);
  EXPECT_EQ(image.height, 800);
  EXPECT_EQ(image.PixelSize(), CSize(10, 40));
}

TEST(ElementProperties, TableRowsWithColumnGroups) {
  BuildCatalogue();
  CFormTable table({5, 6});
  table.frame = true;
  table.AppendColumn(Column("[Name]", 40));
  table.AppendColumn(Column("[Rang]", 40));
  table.AppendColumn(Column("", 30));
  const PropertyList rows = table.FillProperties();
  ASSERT_EQ(rows.size(), 7u + 3 * 8);
  const char* elementRows[] = {"X", "Y", "Breite", "Höhe", "Rahmen", "Zweifarbig", "Spaltenbreiten gesamt (%)"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(rows[i].name, elementRows[i]);
  EXPECT_EQ(rows.FindRow("Rahmen")->GetText(), "Ja");
  EXPECT_EQ(rows.FindRow("Zweifarbig")->GetText(), "Nein");
  const CProperty* sum = rows.FindRow("Spaltenbreiten gesamt (%)");
  EXPECT_EQ(sum->GetText(), "110");  // no limit at 100
  EXPECT_TRUE(sum->readOnly);
  EXPECT_EQ(sum->type, PropertyType::Integer);
  const char* columnRows[] = {"Name", "Breite (%)", "Ausrichtung", "Schriftart", "Schriftgrad (pt)",
                              "Schriftschnitt", "Kursiv", "Farbe"};
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 8; ++r)
      EXPECT_EQ(rows[7 + c * 8 + r].name, "Spalte " + std::to_string(c + 1) + "/" + columnRows[r]);
  EXPECT_EQ(rows.FindRow("Spalte 2/Name")->GetText(), "[Rang]");
  EXPECT_EQ(rows.FindRow("Spalte 3/Breite (%)")->GetText(), "30");
  EXPECT_EQ(rows.FindRow("Spalte 1/Schriftgrad (pt)")->GetText(), "9.5");
  EXPECT_FALSE(rows.FindRow("Spalte 1/Breite (%)")->readOnly);

  // Name suggestions: the column codes' translations in catalogue order.
  const auto& name = dynamic_cast<const CSuggestProperty&>(*rows.FindRow("Spalte 1/Name"));
  std::vector<std::string> expected;
  for (const CCode& c : placeholderCatalogue())
    if (c.flags & kCodeForColumns) expected.push_back(c.translation);
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(name.suggestions, expected);
  FreeCatalogue();
}

TEST(ElementProperties, TableColumnEdits) {
  CFormTable table({0, 0});
  table.AppendColumn(Column("a", 40));
  table.AppendColumn(Column("b", 40));
  const struct {
    const char* name;
    double number;
    const char* text;
    int column;
    void (*check)(const CFormTableEntry&);
  } cases[] = {
      {"Spalte 2/Name", 0, "[Club]", 1, [](const CFormTableEntry& c) { EXPECT_EQ(c.name, "[Club]"); }},
      {"Spalte 1/Breite (%)", 150, "", 0, [](const CFormTableEntry& c) { EXPECT_EQ(c.widthPercent, 100); }},
      {"Spalte 1/Breite (%)", -5, "", 0, [](const CFormTableEntry& c) { EXPECT_EQ(c.widthPercent, 0); }},
      {"Spalte 1/Breite (%)", 33.5, "", 0, [](const CFormTableEntry& c) { EXPECT_EQ(c.widthPercent, 34); }},
      {"Spalte 2/Ausrichtung", 2, "", 1, [](const CFormTableEntry& c) { EXPECT_EQ(c.alignment, 2); }},
      {"Spalte 2/Schriftart", 0, "Courier New", 1, [](const CFormTableEntry& c) { EXPECT_EQ(FaceName(c.font), "Courier New"); }},
      {"Spalte 2/Schriftgrad (pt)", 0, "", 1, [](const CFormTableEntry& c) { EXPECT_EQ(c.font.lfHeight, -80); }},
      {"Spalte 2/Schriftschnitt", 700, "", 1, [](const CFormTableEntry& c) { EXPECT_EQ(c.font.lfWeight, 700); }},
      {"Spalte 2/Kursiv", 1, "", 1, [](const CFormTableEntry& c) { EXPECT_EQ(c.font.lfItalic, 1); }},
      {"Spalte 1/Farbe", 255, "", 0, [](const CFormTableEntry& c) { EXPECT_EQ(c.color, 255u); }},
      {"Spalte 01/Breite (%)", 7, "", 0, [](const CFormTableEntry& c) { EXPECT_EQ(c.widthPercent, 7); }},
      {"Spalte 2x/Breite (%)", 7, "", 1, [](const CFormTableEntry& c) { EXPECT_EQ(c.widthPercent, 7); }},
  };
  for (const auto& c : cases) {
    CFormTable t = table;
    t.ApplyProperty(c.name, c.number, c.text);
    SCOPED_TRACE(c.name);
    c.check(*t.ColumnAt(c.column));
  }
}

TEST(ElementProperties, TableColumnNamesOutsideTheTableAreIgnored) {
  CFormTable table({0, 0});
  table.AppendColumn(Column("a", 40));
  const CFormTable before = table;
  for (const char* name : {"Spalte 0/Breite (%)", "Spalte 2/Breite (%)", "Spalte /Breite (%)",
                           "Spalte 99999999999999/Breite (%)", "Spalte 1/Unbekannt", "Spalte 1",
                           "spalte 1/Breite (%)", "Spalten 1/Breite (%)"}) {
    table.ApplyProperty(name, 5, "x");
    EXPECT_EQ(table.columns, before.columns) << name;
    EXPECT_EQ(table.width, before.width) << name;
  }
}

TEST(ElementProperties, TableElementEditsAndMaxFontHeight) {
  CFormTable table({0, 0});
  table.AppendColumn(Column("a", 40));
  table.AppendColumn(Column("b", 40));
  table.ApplyProperty("Spalte 2/Schriftgrad (pt)", 20, "");
  EXPECT_EQ(table.ColumnAt(1)->font.lfHeight, PointsToFontHeight(20));
  EXPECT_EQ(table.maxFontHeight, -PointsToFontHeight(20));
  table.ApplyProperty("Spalte 2/Schriftgrad (pt)", 5, "");
  EXPECT_EQ(table.maxFontHeight, 80);  // the first column's 9.5 pt is now the largest

  table.ApplyProperty("X", 11, "");
  table.ApplyProperty("Y", 12, "");
  table.ApplyProperty("Breite", 13, "");
  table.ApplyProperty("Höhe", 14, "");
  table.ApplyProperty("Rahmen", 1, "");
  table.ApplyProperty("Zweifarbig", 1, "");
  table.ApplyProperty("Spaltenbreiten gesamt (%)", 50, "");  // read-only: nothing to write
  EXPECT_EQ(table.GetBounds(), CRect(11, 12, 24, 26));
  EXPECT_TRUE(table.frame);
  EXPECT_TRUE(table.twoColour);
  EXPECT_EQ(table.ColumnAt(0)->widthPercent, 40);
  EXPECT_EQ(table.ColumnAt(1)->widthPercent, 40);
}
