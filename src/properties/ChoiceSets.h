// The fixed drop-down lists of the combo rows, in drop-down order.
#pragma once

#include <vector>

#include "properties/Property.h"

const std::vector<ComboChoice>& YesNoChoices();        // "Nein" 0, "Ja" 1
const std::vector<ComboChoice>& AlignmentChoices();    // "Links" 0, "Zentriert" 1, "Rechts" 2
const std::vector<ComboChoice>& FontStyleChoices();    // "Normal" 400, "Fett" 700
const std::vector<ComboChoice>& OrientationChoices();  // "Hochformat" 1, "Querformat" 0
const std::vector<ComboChoice>& DuplexChoices();       // printer default, simplex, long, short edge
const std::vector<ComboChoice>& OnOffChoices();        // "Ein" 1, "Aus" 0
