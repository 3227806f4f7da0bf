#include "properties/ChoiceSets.h"

const std::vector<ComboChoice>& YesNoChoices() {
  static const std::vector<ComboChoice> set{{"Nein", 0}, {"Ja", 1}};
  return set;
}

const std::vector<ComboChoice>& AlignmentChoices() {
  static const std::vector<ComboChoice> set{{"Links", 0}, {"Zentriert", 1}, {"Rechts", 2}};
  return set;
}

const std::vector<ComboChoice>& FontStyleChoices() {
  static const std::vector<ComboChoice> set{{"Normal", 400}, {"Fett", 700}};
  return set;
}

const std::vector<ComboChoice>& OrientationChoices() {
  static const std::vector<ComboChoice> set{{"Hochformat", 1}, {"Querformat", 0}};
  return set;
}

const std::vector<ComboChoice>& DuplexChoices() {
  static const std::vector<ComboChoice> set{{"Druckervorgabe", 0},
                                            {"Einseitig", 1},
                                            {"Doppelseitig, lange Kante", 2},
                                            {"Doppelseitig, kurze Kante", 3}};
  return set;
}

const std::vector<ComboChoice>& OnOffChoices() {
  static const std::vector<ComboChoice> set{{"Ein", 1}, {"Aus", 0}};
  return set;
}
