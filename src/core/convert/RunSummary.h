#pragma once
// The counts of a run as people read them: each count with its noun in the
// number the count takes, in the language in use, saying what the user will
// see on the display (screens, icons, libraries) and what became of the rest.
#include <string>
#include <vector>

#include "convert/ConversionRun.h"

namespace tessel {

// One phrase per count; counts of what a run may not have (icons, copies,
// skipped or unused files, warnings) are left out when they are zero.
std::vector<std::string> CountTexts(const RunTotals& totals);

// The phrases joined as the language joins a list.
std::string CountsPhrase(const RunTotals& totals);

// The few counts a status line has room for: screens, icons, files written,
// warnings.
std::string ShortCountsPhrase(const RunTotals& totals);

}  // namespace tessel
