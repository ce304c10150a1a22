#pragma once
// Frequencies: the 8-digit frequency text of the image (10 Hz units), its
// display form "#0.00000", its 3-byte BCD form in the radio, and the checks
// that move a typed value into the band and onto the 5 kHz raster.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvane {

struct Program;
struct RadioImage;
struct CurrentModel;

// True for the empty text and "FFFFFFFF" (after trimming): no frequency.
bool IsNoFreq(std::string_view text);
// "02696500" -> "26.96500"; "" for no frequency. A text that is not numeric shows
// "Not IsNumeric" and gives the lower band limit as text.
std::string FreqToDisplay(Program& p, std::string_view text);
// Without the message: nullopt-like empty string for texts that are not numeric.
std::string FreqToDisplaySilent(std::string_view text);
// FreqToDisplay with the "125" rule of the CB UK plan and CB memory channels above 27.405.
std::string FreqToGroupDisplay(Program& p, std::string_view text, int group, int band);
// FreqToDisplaySilent with the same rule: "" for no frequency and for texts that are not numeric.
std::string FreqToGroupDisplaySilent(std::string_view text, int group, int band);
// "27.405" -> "02740500" (cut, never rounded). Callers validate with CheckFreq first.
std::string DisplayToFreq(std::string_view text);

double SnapFreq(const CurrentModel& model, double value, double lowOffset);
double ClampFreq(Program& p, double value, double lowOffset, double highOffset);
double ClampEmgFreq(double value);

struct PlanPick {
    double Freq = 0; // MHz
    int Group = -1;  // group of the winning channel, -1 when there was none
    int Index = 0;   // channel index in the group, from 0
};
// The country-plan channel nearest to the value; the lower band limit when none exists.
PlanPick NearestPlanFreq(const RadioImage& image, const CurrentModel& model, double value);

// Validates a typed value for a channel of the group; always returns "#0.00000".
std::string CheckFreq(Program& p, std::string_view value, int group, int band);

std::string FreqToRadioDigits(std::string_view text, int length);
std::array<uint8_t, 3> EncodeFreqBytes(std::string_view text);
std::string DecodeFreqBytes(const uint8_t* bytes);

// Entries of a channel list for a group: optionally the "none" text (14013), then
// the channel numbers present, ascending.
std::vector<std::string> ChannelListEntries(Program& p, int group, int band, bool noneEntry);

} // namespace tarvane
