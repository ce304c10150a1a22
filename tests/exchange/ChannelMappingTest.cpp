// One table of channels and the cells they are exported as; each case is then
// imported back into a channel holding other values and must give the record again.
#include <gtest/gtest.h>

#include "ExchangeHelpers.h"
#include "TestProgram.h"
#include "exchange/ChannelExport.h"
#include "exchange/ChannelImport.h"
#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"

namespace tarvane {
namespace {

struct MappingCase {
    const char* name;
    int band, group, channel;
    const char* freq; // typed as in the channel table ("" keeps the initial one)
    int rdct, tdct, dup, offset, amfm, power, scan;
    test::CsvRow cells; // expected cells of the exported row
};

// clang-format off
const MappingCase kCases[] = {
    {"no tones", kBandHAM, 0, 1, "28.01000", 0, 0, 0, 100, 0, 0, 1,
     {{"Frequency", "28.010000"}, {"Tone", ""}, {"rToneFreq", "88.5"}, {"cToneFreq", "88.5"}, {"DtcsCode", "023"},
      {"DtcsPolarity", "NN"}, {"RxDtcsCode", "023"}, {"CrossMode", "Tone->Tone"}, {"Duplex", ""}, {"Offset", "0.100000"},
      {"Mode", "FM"}, {"Power", "Low"}, {"Skip", ""}, {"TStep", "5.00"}}},
    {"transmit CTCSS only", kBandHAM, 0, 2, "29.62000", 0, 12, 2, 100, 0, 2, 1,
     {{"Tone", "Tone"}, {"rToneFreq", "100.0"}, {"Duplex", "-"}, {"Offset", "0.100000"}, {"Power", "High"}}},
    {"same CTCSS both ways", kBandHAM, 0, 3, "", 38, 38, 1, 1000, 0, 1, 0,
     {{"Tone", "TSQL"}, {"rToneFreq", "250.3"}, {"cToneFreq", "250.3"}, {"Duplex", "+"}, {"Offset", "1.000000"},
      {"Power", "Medium"}, {"Skip", "S"}}},
    {"same DCS both ways", kBandHF, 1, 4, "", 142, 142, 0, 5, 1, 1, 1,
     {{"Tone", "DTCS"}, {"DtcsCode", "754"}, {"RxDtcsCode", "754"}, {"Offset", "0.005000"}, {"Mode", "AM"}}},
    {"CTCSS to CTCSS", kBandHF, 0, 5, "", 1, 2, 0, 100, 0, 0, 1,
     {{"Tone", "Cross"}, {"CrossMode", "Tone->Tone"}, {"rToneFreq", "71.9"}, {"cToneFreq", "67.0"}}},
    {"DCS transmit only", kBandHAM, 0, 6, "", 0, 39, 0, 100, 0, 0, 1,
     {{"Tone", "Cross"}, {"CrossMode", "DTCS->"}, {"DtcsCode", "023"}}},
    {"CTCSS out, DCS in", kBandHAM, 0, 7, "", 40, 5, 0, 100, 0, 0, 1,
     {{"Tone", "Cross"}, {"CrossMode", "Tone->DTCS"}, {"rToneFreq", "79.7"}, {"RxDtcsCode", "025"}}},
    {"DCS out, CTCSS in", kBandHAM, 0, 8, "", 20, 100, 0, 100, 0, 0, 1,
     {{"Tone", "Cross"}, {"CrossMode", "DTCS->Tone"}, {"DtcsCode", "364"}, {"cToneFreq", "131.8"}}},
    {"CTCSS receive only", kBandHAM, 0, 9, "", 33, 0, 0, 100, 0, 0, 1,
     {{"Tone", "Cross"}, {"CrossMode", "->Tone"}, {"cToneFreq", "210.7"}}},
    {"DCS receive only", kBandHAM, 1, 1, "28.50000", 60, 0, 0, 100, 0, 0, 1,
     {{"Tone", "Cross"}, {"CrossMode", "->DTCS"}, {"RxDtcsCode", "131"}}},
    {"two different DCS", kBandHAM, 1, 2, "28.50500", 39, 40, 0, 100, 0, 0, 1,
     {{"Tone", "Cross"}, {"CrossMode", "DTCS->DTCS"}, {"DtcsCode", "025"}, {"RxDtcsCode", "023"}}},
    {"two different CTCSS receive and send", kBandHAM, 1, 3, "28.51000", 12, 13, 0, 100, 0, 0, 1,
     {{"Tone", "Cross"}, {"CrossMode", "Tone->Tone"}, {"rToneFreq", "103.5"}, {"cToneFreq", "100.0"}}},
    {"VFO of an HF radio", kBandHF, 10, 1, "25.61500", 0, 0, 0, 100, 0, 0, 0,
     {{"Frequency", "25.615000"}, {"Group", "VFO"}, {"GroupChannel", "1"}, {"Skip", "S"}}},
    {"HF memory channel 5 kHz below the band", kBandHF, 11, 2, "25.61000", 0, 0, 0, 100, 0, 0, 1,
     {{"Frequency", "25.610000"}, {"Group", "MEM"}}},
    {"UK plan channel: the real frequency", kBandCB, 3, 1, "", 0, 0, 0, 100, 0, 0, 1,
     {{"Frequency", "27.601250"}, {"Group", "UK"}, {"GroupChannel", "1"}, {"Mode", "FM"}}},
    {"UK plan, last channel", kBandCB, 3, 40, "", 0, 0, 0, 100, 0, 0, 1, {{"Frequency", "27.991250"}}},
    {"CB memory channel on a UK frequency", kBandCB, 8, 8, "27.60125", 0, 0, 0, 100, 0, 0, 1,
     {{"Frequency", "27.601250"}, {"Group", "MEM"}, {"GroupChannel", "8"}}},
    {"CB emergency channel", kBandCB, 9, 3, "27.06500", 0, 0, 0, 100, 1, 1, 1,
     {{"Frequency", "27.065000"}, {"Group", "EMG"}, {"Mode", "AM"}}},
    {"CEPT channel 23 in plan D", kBandCB, 0, 23, "", 0, 0, 0, 100, 0, 0, 1, {{"Frequency", "27.255000"}}},
};
// clang-format on

ChannelRecord& At(Program& p, int group, int channel) {
    const int i = FindChannelSlot(p.Image, GroupBase(group, p.Model.ModelType) + channel);
    EXPECT_GE(i, 0);
    return p.Image.Channels[static_cast<size_t>(i < 0 ? 0 : i)];
}

void Put(Program& p, const MappingCase& c, int rdct, int tdct, int dup, int offset, int amfm, int power,
         int scan) {
    for (auto [column, value] : {std::pair{kColRdct, rdct},
                                 {kColTdct, tdct},
                                 {kColDup, dup},
                                 {kColOffSetFre, offset},
                                 {kColAmFm, amfm},
                                 {kColTxPower, power},
                                 {kColScan, scan}})
        SetChannelField(p, c.group, c.channel, column, std::to_string(value));
}

TEST(ChannelMapping, ExportedCellsAndBackAgain) {
    for (const MappingCase& c : kCases) {
        SCOPED_TRACE(c.name);
        auto tp = test::NewDocumentProgram(c.band);
        Program& p = *tp;
        if (*c.freq) SetChannelField(p, c.group, c.channel, kColRxFreq, c.freq);
        Put(p, c, c.rdct, c.tdct, c.dup, c.offset, c.amfm, c.power, c.scan);
        const ChannelRecord wanted = At(p, c.group, c.channel);

        const std::string csv = ExportChannels(p, c.group);
        const auto rows = test::CsvRows(csv);
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const test::CsvRow& r) {
            return r.at("GroupChannel") == std::to_string(c.channel);
        });
        ASSERT_NE(row, rows.end());
        EXPECT_EQ(row->at("Group"), GroupName(c.group, c.band));
        for (const auto& [column, value] : c.cells)
            EXPECT_EQ(row->at(column), value) << column;

        // Back into the same channel after every carried field was changed.
        Put(p, c, 7, 9, c.dup == 1 ? 2 : 1, 555, 0, 0, 1 - c.scan);
        const ImportResult result = ImportChannels(p, csv, {});
        ASSERT_TRUE(result.FileError.empty()) << result.FileError;
        EXPECT_EQ(result.Count(RowOutcome::Taken), static_cast<int>(rows.size()));
        p.Image = result.Image;
        EXPECT_EQ(At(p, c.group, c.channel), wanted);
    }
}

} // namespace
} // namespace tarvane
