#include "freq/Bands.h"

#include "base/NumberText.h"

namespace tarvane {
namespace {

struct GroupDef {
    const char* name;
    int16_t base;
    int16_t size;
};

constexpr GroupDef kCbGroups[] = {{"D", 0, 40},    {"CE", 40, 40},  {"U", 80, 40},   {"UK", 120, 40},
                                  {"PL", 160, 40}, {"I2", 200, 40}, {"DE", 240, 80}, {"IN", 320, 40},
                                  {"MEM", 401, 8}, {"EMG", 409, 3}};
constexpr GroupDef kBankGroups[] = {{"A", 0, 40},   {"B", 40, 40},  {"C", 80, 40},   {"D", 120, 40},
                                    {"E", 160, 40}, {"F", 200, 40}, {"G", 240, 40},  {"H", 280, 40},
                                    {"I", 320, 40}, {"J", 360, 40}, {"VFO", 400, 1}, {"MEM", 401, 8},
                                    {"EMG", 409, 3}};

const GroupDef* Find(int group, int band) {
    if (band == kBandCB && group >= 0 && group < 10) return &kCbGroups[group];
    if ((band == kBandHF || band == kBandHAM) && group >= 0 && group < 13) return &kBankGroups[group];
    return nullptr;
}

} // namespace

int16_t GroupBase(int group, int band) {
    const GroupDef* g = Find(group, band);
    return g ? g->base : 0;
}

int16_t GroupSize(int group, int band) {
    const GroupDef* g = Find(group, band);
    return g ? g->size : 0;
}

std::string GroupName(int group, int band) {
    const GroupDef* g = Find(group, band);
    return g ? g->name : "";
}

int GroupByName(std::string_view name, int band) {
    for (int g = 0; g < 13; ++g)
        if (const GroupDef* d = Find(g, band); d && name == d->name) return g;
    return -1;
}

int GroupOfSlot(int slot, int band) {
    if (band == kBandHF || band == kBandHAM) return (slot - 1) / 40;
    if (band != kBandCB) return -1;
    if (slot <= 240) return slot < 1 ? -1 : (slot - 1) / 40;
    if (slot <= 320) return 6;
    if (slot <= 360) return 7;
    if (slot >= 402 && slot <= 409) return 8;
    if (slot >= 410) return 9;
    return -1;
}

std::vector<std::string> GroupListEntries(int band, std::string_view excluded) {
    std::vector<std::string> out;
    for (int g = 0; g <= 12; ++g) {
        std::string n = GroupName(g, band);
        if (!n.empty() && n != excluded) out.push_back(n);
    }
    return out;
}

int MemGroup(int band) {
    return band == kBandCB ? 8 : 11;
}
int EmgGroup(int band) {
    return band == kBandCB ? 9 : 12;
}
int HighestPlanGroup(int band) {
    return band == kBandCB ? 7 : 9;
}

void ParseBandRange(std::string_view text, double& lower, double& upper) {
    lower = 100.0;
    upper = 500.0;
    size_t dash = text.find(" - ");
    if (dash == std::string_view::npos) return;
    if (auto lo = ParseDouble(text.substr(0, dash))) lower = *lo;
    std::string_view rest = text.substr(dash + 3);
    size_t mhz = rest.find(" MHz");
    if (auto hi = ParseDouble(rest.substr(0, mhz))) upper = *hi;
}

} // namespace tarvane
