#pragma once
// The radio image: every record of a configuration as the editors see it.
// Field order and widths follow the codeplug file; the file layout itself lives
// in CodeplugFile.cpp, the radio-memory layout with the channel and feature codecs.
#include <array>
#include <cstdint>
#include <string>

#include "base/FixedText.h"

namespace tarvane {

inline constexpr int kMaxChannels = 412;
inline constexpr int kRadioMemorySize = 7424; // radio addresses 0x0000..0x1CFF
inline constexpr int kRadioInfoSize = 256;    // radio addresses 0x3E00..0x3EFF
inline constexpr int kRadioInfoBase = 0x3E00;

struct ChannelRecord {
    int16_t SlotNumber = 0;
    int16_t IsBlank = 0;
    int16_t Scan = 0;
    FixedText<8> RxFreq;
    int16_t OffSetFre = 0;
    int16_t RDCT = 0;
    int16_t TDCT = 0;
    int16_t DUP = 0;
    int16_t HI_CUT = 0;
    int16_t BUSY = 0;
    int16_t NB = 0;
    int16_t Add_Sub_5K = 0;
    int16_t AM_FM = 0;
    int16_t Tx_Power = 0;
    int16_t Public = 0;
    int16_t RBTone = 0;
    int16_t DTMF_BOT = 0;
    int16_t DTMF_EOT = 0;
    int16_t DTMF_Call = 0;
    int16_t TSQ = 0;
    std::array<int16_t, 7> Reserved{}; // carried in files only
    bool operator==(const ChannelRecord&) const = default;
};

struct VersionTag {
    FixedText<7> ModelCode;
    int16_t ModelType = 0;
    FixedText<4> FormatVersion;
    bool operator==(const VersionTag&) const = default;
};

// Indexes into FeatureBlock::Options (block offsets 88..120).
enum OptionIndex : int {
    kOptBeep = 0,             // 88
    kOptTimeOutTimer = 1,     // 90
    kOptBacklight = 2,        // 92
    kOptVolume = 3,           // 94
    kOptSquelch = 4,          // 96
    kOptAsqFun = 5,           // 98
    kOptAsqValue = 6,         // 100
    kOptGainControl = 7,      // 102
    kOptChannelDisplay = 8,   // 104
    kOptScanType = 9,         // 106
    kOptScanTime = 10,        // 108
    kOptSquelchStepBack = 11, // 110
    kOptAsqStepBack = 12,     // 112
    kOptAutoPowerOn = 13,     // 114
    kOptMemEditAllowed = 14,  // 116
    kOptSwrInUse = 15,        // 118
    kOptSwrLimit = 16,        // 120
    kOptionCount = 17
};

// Indexes into FeatureBlock::Display (block offsets 142..148).
enum DisplayIndex : int {
    kDispScreenSaver = 0,       // 142
    kDispScreenSaverColour = 1, // 144
    kDispTimeFormat = 2,        // 146
    kDispScreenSaverOff = 3,    // 148
};

// 158 bytes in a file; the byte offsets of each member are in CodeplugFile.cpp.
struct FeatureBlock {
    int16_t CurrentGroup = 0;                   // 0: group shown in the channel table / selected in the radio
    int16_t MemChannelUse = 0;                  // 2
    int16_t ActiveGroup = 0;                    // 4: active group / country mode
    int16_t MemChannelSel = 0;                  // 6: memory channel number - 1
    std::array<int16_t, 10> GroupEnabled{};     // 8
    std::array<int16_t, 10> WorkChannel{};      // 28
    std::array<int16_t, 10> GroupEmgChannel1{}; // 48
    std::array<int16_t, 10> GroupEmgChannel2{}; // 68
    std::array<int16_t, kOptionCount> Options{}; // 88
    std::array<uint8_t, 10> GroupEmgAmFm1{};     // 122
    std::array<uint8_t, 10> GroupEmgAmFm2{};     // 132
    std::array<int16_t, 4> Display{};            // 142
    uint8_t EmgChannelSel = 0;                   // 150
    uint8_t EmgEditAllowed = 0;                  // 151
    uint8_t DisplayMode = 0;                     // 152
    std::array<uint8_t, 5> Reserved{};           // 153: carried unchanged
    bool operator==(const FeatureBlock&) const = default;
};

struct DtmfCodeEntry {
    int16_t Length = 0; // 0..16; anything else counts as 0
    FixedText<16> Code;
    bool operator==(const DtmfCodeEntry&) const = default;
};

struct DtmfBlock {
    int16_t DtmfRate = 0;
    int16_t FirstDigitTime = 0;
    int16_t FirstDigitDelay = 0;
    int16_t StarHashTime = 0;
    int16_t DKeySetting = 0;
    int16_t DtmfDisplay = 0;
    std::array<DtmfCodeEntry, 16> Codes{};
    std::array<uint8_t, 20> Reserved{}; // carried unchanged
    bool operator==(const DtmfBlock&) const = default;
};

struct TonePair {
    int16_t Tone = 0;     // 10 Hz units, 0 = rest
    int16_t Duration = 0; // 10 ms units, 0 = unused
    bool operator==(const TonePair&) const = default;
};

struct ToneTipRecord {
    std::array<TonePair, 14> Pairs{};
    int16_t LoopCount = 0;
    int16_t LoopInterval = 0;
    bool operator==(const ToneTipRecord&) const = default;
};

struct EmergencyRecord {
    int16_t EmgGroup = 0;
    int16_t EmgChannel = 0;
    ChannelRecord Channel;
    bool operator==(const EmergencyRecord&) const = default;
};

inline constexpr int kKeyTableSize = 19; // KeyMode, then 18 key functions

struct SettingsRecord {
    VersionTag Version;
    int16_t ChannelCount = 0;
    FeatureBlock Features;
    ChannelRecord CommonChannel;
    std::array<int16_t, kKeyTableSize> KeyTable{};
    DtmfBlock Dtmf;
    std::array<ToneTipRecord, 8> ToneTips{};
    std::array<EmergencyRecord, 2> Emergency{};
    bool operator==(const SettingsRecord&) const = default;
};

struct RadioImage {
    SettingsRecord Settings;
    std::array<ChannelRecord, kMaxChannels> Channels{};

    // Slots in use, clamped so hostile counts never index past the list.
    int UsedCount() const {
        int n = Settings.ChannelCount;
        return n < 0 ? 0 : (n > kMaxChannels ? kMaxChannels : n);
    }
    bool operator==(const RadioImage&) const = default;
};

// The radio information record: filled with initial values for a new document
// and replaced by the decode of the radio's information area.
struct RadioInfoRecord {
    int16_t ModelType = 0;
    std::array<FixedText<16>, 4> Head16{}; // info texts D, E, F (bytes 48..95); the fourth has no place
    FixedText<96> TextG;                   // 96..191
    std::string SoftVersion = "V1.00";
    std::string ModelCode;
    std::string TextC;                     // 44..47, variable length
    FixedText<8> TextA;                    // 32..39
    FixedText<4> TextB;                    // 40..43
    std::array<FixedText<16>, 4> Tail16{}; // info texts H, I, J, K (bytes 192..255)
};

struct CurrentModel {
    std::string ModelCode = "Tarvane";
    int16_t ModelType = 0;
    std::string BandText = "26.965 - 27.405 MHz";
    double LowerLimit = 26.965;
    double UpperLimit = 27.405;
};

struct DocumentState {
    std::string Path = "new.dat";
    bool Untitled = true;
};

} // namespace tarvane
