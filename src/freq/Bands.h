#pragma once
// Channel groups of each band: slot n of a group is base + n.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvane {

inline constexpr int kBandCB = 0;
inline constexpr int kBandHF = 1;
inline constexpr int kBandHAM = 2;

int16_t GroupBase(int group, int band);
int16_t GroupSize(int group, int band);
// -1 for a slot in no group (CB slots 361..401) or an unknown band.
int GroupOfSlot(int slot, int band);
std::string GroupName(int group, int band);
// Group number of a name, -1 when none.
int GroupByName(std::string_view name, int band);
// The entries FillGroupList puts into a list: group names 0..12 in order, without
// empty names and without the excluded one.
std::vector<std::string> GroupListEntries(int band, std::string_view excluded = "");
// Memory and emergency group numbers of a band (8/9 on CB, 11/12 otherwise).
int MemGroup(int band);
int EmgGroup(int band);
// Highest country-plan or bank group (7 on CB, 9 otherwise).
int HighestPlanGroup(int band);

// Lower and upper limit from a text such as "26.965 - 27.405 MHz";
// 100.0 and 500.0 where a part cannot be read.
void ParseBandRange(std::string_view text, double& lower, double& upper);

} // namespace tarvane
