// The catalogue of placeholder codes: the square-bracket codes ("[Name]", "[Lauf01]") that the
// reporting side fills with competition data, each with the translation the user sees in the
// editor, a German description and where the code is offered (free texts, table columns).
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct CCode {
  std::string code;         // as stored in layout files, brackets included
  std::string translation;  // what texts and column names show in the editor; initially the code
  std::string description;  // shown next to the translation in the dialogs
  int flags = 0;            // kCodeForTexts | kCodeForColumns
  friend bool operator==(const CCode&, const CCode&) = default;
};

constexpr int kCodeForTexts = 1;
constexpr int kCodeForColumns = 2;

// The application-wide catalogue, in catalogue order (every list built from it keeps that order).
// Empty until BuildCatalogue().
std::vector<CCode>& placeholderCatalogue();

// Fills the catalogue with the 85 built-in entries, replacing what was there; every translation
// starts equal to its code.
void BuildCatalogue();

// Empties the catalogue (application exit; tests).
void FreeCatalogue();

// Whole-text mappings used when layout texts and column names are read (code to translation) and
// written (translation to code). Only a text equal to a code or translation as a whole, byte for
// byte, is mapped, to the first matching entry; any other text comes back unchanged.
std::string CodeToTranslation(std::string_view text);
std::string TranslationToCode(std::string_view text);
