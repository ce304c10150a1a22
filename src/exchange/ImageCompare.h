#pragma once
// Field-by-field comparison of two documents, by the names of their JSON form:
// settings by name, channels by group and channel number (not by list order).
#include <string>
#include <vector>

#include "state/RadioImage.h"

namespace tarvane {

struct Difference {
    std::string Where; // "" for the document's own fields, "Channels D 5", "Dtmf.Codes 3", ...
    std::string Field; // empty when the whole element is only on one side
    std::string A, B;  // the values; for a missing element, "" on the side that lacks it
};

std::vector<Difference> CompareImages(const RadioImage& a, const RadioImage& b);
// "Channels D 5: RxFreq: 27.40500 -> 27.39500", "Channels D 6: only in B"
std::string DifferenceText(const Difference& d);

} // namespace tarvane
