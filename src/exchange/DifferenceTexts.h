#pragma once
// The differences of two documents in the words of the windows: a channel's
// fields by the channel table's and edit dialog's names, the optional features,
// keys and DTMF rate by their windows' captions, values as their lists show
// them, in the current language. Other fields keep their data names.
#include <string>
#include <vector>

#include "exchange/ImageCompare.h"

namespace tarvane {

struct Program;

// One line per difference worth showing ("Channel D 5: Scan: Add -> Del"); a
// field the windows do not show (a copy of another, an inner flag) gives none.
// `otherName` names the second document ("cb1.dat", "Radio").
std::vector<std::string> ShownDifferences(Program& p, const std::vector<Difference>& differences,
                                          const std::string& otherName);

} // namespace tarvane
