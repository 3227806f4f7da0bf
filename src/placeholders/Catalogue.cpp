#include "placeholders/Catalogue.h"

#include <cstdio>
#include <utility>

namespace {

constexpr int kBoth = kCodeForTexts | kCodeForColumns;

// One row of the built-in list. A row with count > 1 stands for the codes prefix + number + "]"
// for the numbers 1..count, all with the same flags and description, the number written with at
// least `digits` digits (the race results always have two: "[Lauf01]" to "[Lauf40]").
struct BuiltIn {
  const char* code;  // the whole code, or the prefix of a numbered series
  int count;
  int digits;
  int flags;
  const char* description;
};

constexpr BuiltIn kBuiltIn[] = {
    {"[Altersklasse]", 1, 0, kCodeForTexts,
     "Für wen gedruckt wird: Gesamt, Allg. Klasse oder Junioren"},
    {"[Aufsteiger]", 1, 0, kCodeForTexts,
     "Die Verteilung der Aufsteiger, falls ein Wertungssystem dies vorsieht"},
    {"[Aufsteiger-Einteilung]", 1, 0, kCodeForTexts,
     "Die Verteilung der Aufsteiger während der Einteilungsläufe, falls ein System dies vorsieht"},
    {"[AnzGruppen]", 1, 0, kCodeForTexts, "Die Anzahl der Gruppen in der Regatta"},
    {"[AnzLäufe]", 1, 0, kCodeForTexts, "Die Anzahl der vollständig gesegelten Durchgänge"},
    {"[AnzSegler]", 1, 0, kCodeForTexts, "Die Anzahl der Teilnehmer"},
    {"[Datum]", 1, 0, kCodeForTexts, "Das aktuelle Tagesdatum"},
    {"[Famname]", 1, 0, kBoth, "Der Familienname eines Teilnehmers"},
    {"[Gruppe]", 1, 0, kBoth, "Die aktuelle Gruppe in der ein Teilnehmer segelt oder segeln wird"},
    {"[Jury", 3, 1, kCodeForTexts, "Ein Mitglied der Jury"},
    {"[Jahr]", 1, 0, kCodeForTexts, "Das aktuelle Jahr"},
    {"[Jugend]", 1, 0, kBoth, "Ist der Teilnehmer ein Jugendlicher (Ja/Nein)"},
    {"[Klasse]", 1, 0, kBoth, "Die Klasse in der diese Regatta gesegelt wird"},
    {"[Leer]", 1, 0, kCodeForColumns, "Eine leere Tabellenspalte"},
    {"[Laufbez]", 1, 0, kCodeForTexts, "Bezeichnung des Laufes (Einteilungslauf, Normal)"},
    {"[Laufnr]", 1, 0, kCodeForTexts, "Nummer des Laufes"},
    {"[Lauf", 40, 2, kBoth, "Das Ergebnis des Teilnehmers in diesem Lauf"},
    {"[LosNr]", 1, 0, kBoth, "Die Losnummer des Teilnehmers"},
    {"[Name]", 1, 0, kBoth, "Der vollständige Name eines Teilnehmers (Familienname Vorname)"},
    {"[Minute]", 1, 0, kCodeForTexts, "Die aktuelle Minute"},
    {"[Monat]", 1, 0, kCodeForTexts, "Die aktuelle Monatsnummer"},
    {"[Observer", 4, 1, kCodeForTexts, "Ein Beobachter der Regatta"},
    {"[Punkte]", 1, 0, kBoth,
     "Die Punkteanzahl eines Teilnehmers nach Abzug der Streichpunkte (danach richtet sich der "
     "Rang)"},
    {"[Quarz]", 1, 0, kBoth, "Die Liste der zur Verfügung stehenden Quarze eines Teilnehmers"},
    {"[Quarz-benutzt]", 1, 0, kBoth, "Der für diesen Teilnehmer eingeteilte Quarz"},
    {"[Rang]", 1, 0, kBoth, "Die Platzierung des Teilnehmers in der Punkteliste"},
    {"[Rangliste1]", 1, 0, kBoth, "Die Punkte, die der Teilnehmer in der Rangliste 1 erreicht hat"},
    {"[Rangliste2]", 1, 0, kBoth, "Die Punkte, die der Teilnehmer in der Rangliste 2 erreicht hat"},
    {"[Segel]", 1, 0, kBoth, "Die dem Segler zugewiesene Segelnummer"},
    {"[Segel2]", 1, 0, kBoth,
     "Die bei dieser Veranstaltung benutzte Segelnummer (Ersatz-Segelnummer, sonst die "
     "zugewiesene)"},
    {"[Spezial]", 1, 0, kBoth, "Sonderwertung (DNS, DNF ...) eines Teilnehmers in einem Lauf"},
    {"[Streicher]", 1, 0, kBoth, "Die Streichpunkteanzahl eines Teilnehmers"},
    {"[Startstelle]", 1, 0, kCodeForTexts, "Die Startstelle"},
    {"[Stunde]", 1, 0, kCodeForTexts, "Die aktuelle Stunde"},
    {"[Tag]", 1, 0, kCodeForTexts, "Die aktuelle Tagnummer"},
    {"[Titel]", 1, 0, kCodeForTexts, "Der Titel der Regatta"},
    {"[Uhrzeit]", 1, 0, kCodeForTexts, "Die aktuelle Uhrzeit"},
    {"[Veranstalter]", 1, 0, kCodeForTexts, "Der Veranstalter der Regatta"},
    {"[Verein]", 1, 0, kBoth,
     "Der Verein eines Teilnehmers; außerhalb von Tabellen besser [Veranstalter] verwenden"},
    {"[Vorname]", 1, 0, kBoth, "Der Vorname eines Teilnehmers"},
    {"[Wertung]", 1, 0, kBoth,
     "Die Punkteanzahl eines Teilnehmers vor Abzug der Streichpunkte (Summe aller Läufe)"},
};

// The list above has fewer rows than the array has room for; the empty tail is skipped.
std::string NumberedCode(const BuiltIn& row, int number) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%0*d", row.digits, number);
  return std::string(row.code) + digits + "]";
}

}  // namespace

std::vector<CCode>& placeholderCatalogue() {
  static std::vector<CCode> catalogue;
  return catalogue;
}

void BuildCatalogue() {
  std::vector<CCode> entries;
  entries.reserve(85);
  for (const BuiltIn& row : kBuiltIn) {
    for (int number = 1; number <= row.count; ++number) {
      std::string code = row.count == 1 ? std::string(row.code) : NumberedCode(row, number);
      entries.push_back(CCode{code, code, row.description, row.flags});
    }
  }
  placeholderCatalogue() = std::move(entries);
}

void FreeCatalogue() {
  // Give the memory back, not just the entries: this runs at application exit.
  std::vector<CCode>().swap(placeholderCatalogue());
}

std::string CodeToTranslation(std::string_view text) {
  for (const CCode& entry : placeholderCatalogue()) {
    if (entry.code == text) return entry.translation;
  }
  return std::string(text);
}

std::string TranslationToCode(std::string_view text) {
  // First entry wins: when the user gives two codes the same translation, a text written back
  // gets the earlier code.
  for (const CCode& entry : placeholderCatalogue()) {
    if (entry.translation == text) return entry.code;
  }
  return std::string(text);
}
