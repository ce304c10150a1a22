#pragma once
// What the optional-features window shows and stores, without the window: the
// entries of its lists, the field behind each list, and the rules of its boxes.
// The emergency window shares the power and roger-beep lists.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "state/RadioImage.h"
#include "state/lang/TextIds.h"

namespace tarvane {

struct Program;

inline constexpr int kOptionListCount = 23;

// Captions of the optional-features lists, in list order (as the window labels them).
inline constexpr TextId kOptionCaptions[kOptionListCount] = {txt::kMemoryChannels,
                                                             txt::kActiveGroup,
                                                             txt::kBeep,
                                                             txt::kTimeOutTimer,
                                                             txt::kBacklight,
                                                             txt::kVolume,
                                                             txt::kSquelch,
                                                             txt::kAutoSquelch,
                                                             txt::kAutoSquelchLevel,
                                                             txt::kRFGain,
                                                             txt::kChannelDisplay,
                                                             txt::kScanType,
                                                             txt::kScanTime,
                                                             txt::kSquelchStepBack,
                                                             txt::kAutoSquelchStepBack,
                                                             txt::kPowerAutomatically,
                                                             txt::kMemoryChannelEditing,
                                                             txt::kScreenSaver,
                                                             txt::kScreenSaverColour,
                                                             txt::kTimeFormat,
                                                             txt::kScreenSaverPowerOff,
                                                             txt::kEmergencyChannelEditing,
                                                             txt::kDisplayMode};

inline constexpr int kOptActiveGroupList = 1; // the group / country option

// The value option list i (0..22) edits; 0 for an unknown i.
int OptionValue(const FeatureBlock& f, int i);
void SetOptionValue(FeatureBlock& f, int i, int value);
// True when the list shows the stored number itself rather than a position.
bool OptionShowsNumber(int i);
std::vector<std::string> OptionEntries(Program& p, int i);
// What list i shows for a stored value: the number itself or its entry; a value
// the list lacks shows as "?" and its number.
std::string OptionValueText(Program& p, int i, int value);
// The list that edits the settings field of this name (the document's JSON
// name, "Beep"); -1 when no list does.
int OptionOfField(std::string_view name);

// Default-channel lists j (1, 2, 4..13); j = 3 does not exist.
inline constexpr int kChAmFmList = 8;
inline constexpr int kChPowerList = 9;
inline constexpr int kChRogerBeepList = 10;
bool IsChannelList(int j);
// The CommonChannel field list j edits; nullptr for an unknown j.
int16_t* DefaultChannelField(ChannelRecord& r, int j);
// Entries of list j; the power list depends on the modulation.
std::vector<std::string> DefaultChannelEntries(Program& p, int j, int amFm);
// Lists that show a number (roger beep, DTMF codes) rather than a position.
bool ChannelListShowsNumber(int j);

// Power levels: texts 15044 and 15045, and 15046 only for FM (amFm 0).
std::vector<std::string> PowerEntries(Program& p, int amFm);
// Text 15030 (none), then the numbers of the tone tips in use.
std::vector<std::string> RogerBeepEntries(Program& p);
// The text a stored roger beep stands for: 1..8 their numeral, anything else text 15030.
std::string RogerBeepText(Program& p, int value);

// Offset box: 5..1000 in steps of 5, 5 when the text is not a number.
int16_t OffsetFromText(std::string_view text);
// SWR box on leaving: the text shown ("#0.0", 7.0..20.0, "20.0" for no number)
// and the value stored, ten times the shown number.
std::pair<std::string, int16_t> SwrFromText(std::string_view text);
std::string SwrText(int16_t stored);

// The CB country selector that stands in for the group option.
std::vector<std::string> CountryEntries();    // "EU", "CE", "UK", "PL", "I2", "DE", "IN"
std::vector<std::string> CountrySubEntries(); // "EI", "UK"
inline constexpr int kCountryWithSubList = 2; // "UK" opens the second list
// The group option a choice stores: the group whose name equals the chosen text,
// where "EI" names the plan "U"; 0 ("D") when no group has the name.
int CountryChoiceToGroup(std::string_view chosen);
// The texts the two lists show for a stored group option ("" in the second list
// when it stays hidden).
std::pair<std::string, std::string> CountryTexts(int stored);

} // namespace tarvane
