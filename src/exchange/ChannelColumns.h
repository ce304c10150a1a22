#pragma once
// The one table of CSV columns for channels, read in both directions: export
// fills ChannelValues from a record and writes each column; import reads each
// column into ChannelValues and applies them to a record. The first 21 columns are
// the common exchange format of radio programmers, the rest this radio's own.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarvane {

struct ChannelRecord;

// One row's values; a column absent from a file, or an empty cell, leaves its
// value unset and the channel field alone.
struct ChannelValues {
    std::optional<std::string> Location, Name;
    std::optional<int64_t> FreqHz, OffsetHz;
    std::optional<std::string> Duplex;           // "", "+", "-" (others are refused on import)
    std::optional<std::string> ToneMode;         // "", "Tone", "TSQL", "DTCS", "Cross"
    std::optional<int> RToneTenths, CToneTenths; // CTCSS in tenths of a hertz
    std::optional<int> DtcsCode, RxDtcsCode;     // DCS codes by their octal digits (23 for "023")
    std::optional<std::string> DtcsPolarity, CrossMode, Mode, TStep, Skip, Power, Comment;
    // This radio's own columns.
    std::optional<std::string> Group;
    std::optional<int> GroupChannel;
    std::optional<int> Busy, NoiseBlanker, HighCut, CommonData, ToneSquelch; // 0 off, 1 on
    std::optional<int> RogerBeep, DtmfBot, DtmfEot, DtmfCall;
};

struct ColumnDef {
    const char* Name;
    std::string (*Write)(const ChannelValues&);
    // Reads a cell that is not empty; false when the text is no value of the column.
    bool (*Read)(std::string_view cell, ChannelValues&);
    // An empty cell is the value "" (simplex, no tone, scanned) rather than "leave alone".
    bool EmptyIsValue = false;
};

inline constexpr int kStandardColumns = 21;
std::span<const ColumnDef> ChannelColumns();
// Index of the column whose name matches (case and surrounding blanks ignored), -1 if none.
int FindChannelColumn(std::string_view name);

// Power level names of the exchange files, level 0..2.
std::span<const char* const> PowerNames();
// Tone codes of the record from the exchange values, 0 off; -1 when a value
// is none this radio offers.
int CtcssCodeOfTenths(int tenths);
int DcsCodeOfOctal(int octal);

// The values of a channel: its group and number in the group give the "…125" plans
// their real frequency. Unused tone columns get the format's defaults.
ChannelValues ValuesOfRecord(const ChannelRecord& r, int group, int channel, int band);

// "27.601250" from hertz.
std::string MHzText(int64_t hz);

} // namespace tarvane
