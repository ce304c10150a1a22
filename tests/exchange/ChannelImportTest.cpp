// Import of channel lists written elsewhere: the radio programmer's own CSV,
// spreadsheets, hand-made files; values that are adjusted by the typing rules;
// rows that are refused; files that are no channel list at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "ExchangeHelpers.h"
#include "TestProgram.h"
#include "exchange/ChannelImport.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"

namespace tarvane {
namespace {

constexpr int kA = 0, kB = 1;

std::string ReadData(const std::string& name) {
    std::ifstream in(std::string(EXCHANGE_DATA) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const ChannelRecord* Find(const RadioImage& image, int band, int group, int channel) {
    const int i = FindChannelSlot(image, GroupBase(group, band) + channel);
    return i < 0 ? nullptr : &image.Channels[static_cast<size_t>(i)];
}

struct Expect {
    int channel;
    const char* freq; // frequency text of the record
    int rdct, tdct, dup, offset, amfm, scan;
};

void ExpectChannels(const RadioImage& image, int band, int group, std::initializer_list<Expect> wanted) {
    for (const Expect& e : wanted) {
        SCOPED_TRACE("channel " + std::to_string(e.channel));
        const ChannelRecord* r = Find(image, band, group, e.channel);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->RxFreq.Trimmed(), e.freq);
        EXPECT_EQ(r->RDCT, e.rdct);
        EXPECT_EQ(r->TDCT, e.tdct);
        EXPECT_EQ(r->DUP, e.dup);
        EXPECT_EQ(r->OffSetFre, e.offset);
        EXPECT_EQ(r->AM_FM, e.amfm);
        EXPECT_EQ(r->Scan, e.scan);
    }
}

// Written by the radio programmer itself (Debian's package, its CSV driver's own
// save): no power, no cross mode, none of this radio's columns; "NFM" for FM,
// locations from 0. The rows fill bank B from 1.
TEST(ChannelImport, FileWrittenByTheRadioProgrammer) {
    auto p = test::NewDocumentProgram(kBandHAM);
    const ImportResult r = ImportChannels(*p, ReadData("chirp-written.csv"), {kB, 1});
    ASSERT_TRUE(r.FileError.empty()) << r.FileError;
    ASSERT_EQ(r.Rows.size(), 6u);
    EXPECT_EQ(r.Count(RowOutcome::Taken), 6);
    EXPECT_EQ(r.Rows[0].Line, 2);
    ExpectChannels(r.Image, kBandHAM, kB,
                   {{1, "02960000", 0, 0, 0, 600, 0, 1},
                    {2, "02962000", 0, 12, 2, 100, 0, 1},
                    {3, "02964000", 18, 18, 2, 100, 0, 1},
                    {4, "02966000", 142, 142, 0, 600, 0, 0},
                    {5, "02900000", 0, 0, 0, 600, 1, 1},
                    {6, "02850000", 0, 0, 1, 600, 0, 1}});
    // The document itself is untouched until the result is taken.
    EXPECT_EQ(Find(p->Image, kBandHAM, kB, 1), nullptr);
}

// Written by LibreOffice from a spreadsheet (plain, from .xlsx, with formulas shown
// as formulas): columns in another order, an unknown column, numbers without
// trailing zeros, quoted text with commas and quotes, UTF-8 names, LF line ends.
// Made from data/spreadsheet-channels.fods with
//   soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' (plain),
//   the same from the file converted to .xlsx first, and with ...,false,true,false,true
//   appended to the filter options (formulas written as formulas).
TEST(ChannelImport, FilesWrittenByASpreadsheet) {
    for (const char* name :
         {"libreoffice-plain.csv", "libreoffice-from-xlsx.csv", "libreoffice-formulas.csv"}) {
        SCOPED_TRACE(name);
        auto p = test::NewDocumentProgram(kBandHAM);
        const ImportResult r = ImportChannels(*p, ReadData(name), {kB, 3});
        ASSERT_TRUE(r.FileError.empty()) << r.FileError;
        ASSERT_EQ(r.Rows.size(), 5u);
        ExpectChannels(r.Image, kBandHAM, kB,
                       {{3, "02850000", 0, 0, 0, 100, 0, 1},
                        {4, "02962000", 14, 14, 2, 100, 0, 1},
                        {5, "02900000", 0, 0, 0, 100, 1, 0},
                        {6, "02930000", 0, 0, 0, 100, 0, 1}});
        // The last row's frequency is a broken formula (an error cell or the formula itself).
        EXPECT_EQ(r.Rows[4].Outcome, RowOutcome::Refused);
        EXPECT_EQ(r.Rows[4].Line, 6);
        EXPECT_EQ(Find(r.Image, kBandHAM, kB, 7), nullptr);
    }
}

TEST(ChannelImport, HandMadeFileWithBomCrlfQuotesAndReorderedColumns) {
    auto p = test::NewDocumentProgram(kBandHF);
    const std::string text =
        "\xEF\xBB\xBF\"Skip\",Mode,\"Frequency\",Extra,Duplex,\"Offset\",Group,GroupChannel\r\n"
        "S,AM,\"27,5\",x,,,,\r\n" // a decimal comma is no frequency
        "\"S\",FM,\"28.000\",\"a\r\nb\",+,0.6,C,7\r\n"
        ",,\r\n" // an empty row from the spreadsheet
        ",\"AM\",27.3,,,,,\r\n";
    const ImportResult r = ImportChannels(*p, text, {kB, 10});
    ASSERT_TRUE(r.FileError.empty()) << r.FileError;
    ASSERT_EQ(r.Rows.size(), 3u);
    EXPECT_EQ(r.Rows[0].Outcome, RowOutcome::Refused);
    EXPECT_EQ(r.Rows[0].Line, 2);
    EXPECT_EQ(r.Rows[1].Line, 3);
    EXPECT_EQ(r.Rows[2].Line, 6); // the quoted line break counts
    ExpectChannels(r.Image, kBandHF, 2, {{7, "02800000", 0, 0, 1, 600, 0, 0}});
    // The refused row took no channel: the next foreign row is channel 10.
    ExpectChannels(r.Image, kBandHF, kB, {{10, "02730000", 0, 0, 0, 100, 1, 1}});
}

// Values that the channel table would change too; the row is taken as changed and says so.
TEST(ChannelImport, ValuesAdjustedByTheTypingRules) {
    struct Case {
        const char* name;
        int band, group;
        test::CsvRow row;
        const char* freq;
        const char* note; // part of the note
        int power = -1;
    } cases[] = {
        {"off the 5 kHz raster",
         kBandHAM,
         kB,
         {{"Frequency", "28.0123"}},
         "02801000",
         "28.012300 MHz taken as 28.010000 MHz"},
        {"CB memory channel between two plan channels: the first in list order",
         kBandCB,
         8,
         {{"Frequency", "27.2175"}},
         "02721500",
         "27.217500 MHz taken as 27.215000 MHz"},
        {"10 Hz below the Hz",
         kBandHAM,
         kB,
         {{"Frequency", "28.000004"}},
         "02800000",
         "28.000004 MHz taken as"},
        {"offset off the 5 kHz step",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Duplex", "-"}, {"Offset", "0.123"}},
         "02910000",
         "offset 0.123000 MHz taken as 0.120000 MHz"},
        {"offset above 1 MHz",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Duplex", "+"}, {"Offset", "1.6"}},
         "02910000",
         "taken as 1.000000 MHz"},
        {"top power with AM",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Mode", "AM"}, {"Power", "High"}},
         "02910000",
         "power High is for FM only: taken as Medium",
         1},
        {"power in watts",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Power", "5.0W"}},
         "02910000",
         "power \"5.0W\" is not a level",
         0},
        {"AM on an FM-only plan",
         kBandCB,
         1,
         {{"Frequency", "26.975"}, {"Mode", "AM"}},
         "02697500",
         "FM only"},
        {"priority scan",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Skip", "P"}},
         "02910000",
         "taken as scanned"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto p = test::NewDocumentProgram(c.band);
        const ImportResult r = ImportChannels(*p, test::CsvOf(test::ForeignHeader(), {c.row}), {c.group, 2});
        ASSERT_EQ(r.Rows.size(), 1u) << r.FileError;
        EXPECT_EQ(r.Rows[0].Outcome, RowOutcome::Adjusted);
        ASSERT_EQ(r.Rows[0].Notes.size(), 1u);
        EXPECT_NE(r.Rows[0].Notes[0].find(c.note), std::string::npos) << r.Rows[0].Notes[0];
        const ChannelRecord* rec = Find(r.Image, c.band, c.group, 2);
        ASSERT_NE(rec, nullptr);
        EXPECT_EQ(rec->RxFreq.Trimmed(), c.freq);
        if (c.power >= 0) {
            EXPECT_EQ(rec->Tx_Power, c.power);
        }
        if (std::string(c.name) == "top power with AM") {
            EXPECT_EQ(rec->AM_FM, 1);
        } else if (std::string(c.name) == "AM on an FM-only plan") {
            EXPECT_EQ(rec->AM_FM, 0);
        }
    }
}

// Rows the radio cannot take: each is refused with its line and reason, and the
// image stays exactly as it was.
TEST(ChannelImport, RefusedRowsChangeNothing) {
    struct Case {
        const char* name;
        int band, group;
        test::CsvRow row;
        const char* reason;
    } cases[] = {
        {"split duplex", kBandHAM, kB, {{"Frequency", "29.1"}, {"Duplex", "split"}}, "duplex \"split\""},
        {"duplex off", kBandHAM, kB, {{"Frequency", "29.1"}, {"Duplex", "off"}}, "duplex \"off\""},
        {"single sideband", kBandHF, kB, {{"Frequency", "28.4"}, {"Mode", "USB"}}, "mode \"USB\""},
        {"wide FM", kBandHAM, kB, {{"Frequency", "29.1"}, {"Mode", "WFM"}}, "mode \"WFM\""},
        {"reversed tone squelch",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Tone", "TSQL-R"}},
         "tone mode \"TSQL-R\""},
        {"a tone the radio lacks",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Tone", "Tone"}, {"rToneFreq", "69.3"}},
         "tone 69.3 Hz"},
        {"a DCS code the radio lacks",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Tone", "DTCS"}, {"DtcsCode", "017"}},
         "DCS code 017"},
        {"reversed DCS polarity",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Tone", "DTCS"}, {"DtcsCode", "023"}, {"DtcsPolarity", "NR"}},
         "polarity \"NR\""},
        {"unknown cross mode",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Tone", "Cross"}, {"CrossMode", "Tone->NN"}},
         "cross mode \"Tone->NN\""},
        {"no frequency", kBandHAM, kB, {{"Mode", "FM"}}, "no frequency"},
        {"frequency not a number",
         kBandHAM,
         kB,
         {{"Frequency", "29,1"}},
         "\"29,1\" is not a value of column Frequency"},
        {"formula", kBandHAM, kB, {{"Frequency", "=28+1"}}, "formula: =28+1"},
        {"formula with a sign",
         kBandHAM,
         kB,
         {{"Frequency", "29.1"}, {"Name", "+cmd|' /C calc'!A0"}},
         "formula"},
        {"at-sign formula", kBandHAM, kB, {{"Frequency", "29.1"}, {"Power", "@SUM(1)"}}, "formula"},
        {"skip value unknown", kBandHAM, kB, {{"Frequency", "29.1"}, {"Skip", "X"}}, "skip \"X\""},
        {"a country plan's fixed frequency",
         kBandCB,
         0,
         {{"Frequency", "26.985"}},
         "26.985000 MHz is not channel 2 of plan D"},
        {"past the end of the group", kBandHAM, 10, {{"Frequency", "29.1"}}, "group VFO has no channel 2"},
        // Out of band: moved to the edge it would be another channel, so it is refused.
        {"2 m frequency on a 10 m radio",
         kBandHAM,
         kB,
         {{"Frequency", "146.010"}},
         "146.010000 MHz lies outside this channel's range, 28.000000 - 29.700000 MHz"},
        {"below the band", kBandHAM, kB, {{"Frequency", "27.99"}}, "27.990000 MHz lies outside"},
        {"below a HAM memory channel's range", kBandHAM, 11, {{"Frequency", "27.99499"}}, "27.995000 -"},
        {"above the band", kBandHF, kB, {{"Frequency", "31"}}, "31.000000 MHz lies outside"},
        {"CB emergency above its range", kBandCB, 9, {{"Frequency", "27.5"}}, "26.960000 - 27.405000 MHz"},
        {"CB memory channel past every plan", kBandCB, 8, {{"Frequency", "146.01"}}, "lies outside"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto p = test::NewDocumentProgram(c.band);
        const RadioImage before = p->Image;
        const std::string text = test::CsvOf(test::ForeignHeader(), {c.row});
        const ImportResult r = ImportChannels(*p, text, {c.group, 2});
        ASSERT_EQ(r.Rows.size(), 1u) << r.FileError;
        EXPECT_EQ(r.Rows[0].Outcome, RowOutcome::Refused);
        EXPECT_EQ(r.Rows[0].Line, 2);
        const std::string shown = ImportRowText(*p, r.Rows[0]);
        EXPECT_NE(shown.find(c.reason), std::string::npos) << shown;
        EXPECT_EQ(shown.rfind("Line 2", 0), 0u) << shown;
        EXPECT_TRUE(r.Image == before);
    }
}

TEST(ChannelImport, OwnColumnsPlaceRowsAndAreChecked) {
    auto p = test::NewDocumentProgram(kBandCB);
    const std::vector<std::string> header = {"Frequency", "Group",   "GroupChannel",
                                             "RogerBeep", "DtmfBot", "CommonData"};
    // CB memory channel on a UK frequency; a plan's channel must keep its frequency;
    // a plan channel that does not exist cannot be made; an unknown group; channel 0.
    p->Image.Settings.ToneTips = {};   // no tone tip in use
    p->Image.Settings.Dtmf.Codes = {}; // and no DTMF code
    const std::string text = test::CsvOf(
        header,
        {{{"Frequency", "27.601250"},
          {"Group", "MEM"},
          {"GroupChannel", "3"},
          {"RogerBeep", "4"},
          {"DtmfBot", "17"},
          {"CommonData", "Off"}},
         {{"Frequency", "27.6"}, {"Group", "UK"}, {"GroupChannel", "1"}},
         {{"Frequency", "27.601250"}, {"Group", "UK"}, {"GroupChannel", "1"}, {"CommonData", "perhaps"}},
         {{"Frequency", "27.0"}, {"Group", "XX"}, {"GroupChannel", "1"}},
         {{"Frequency", "27.0"}, {"Group", "EMG"}, {"GroupChannel", "0"}}});
    const ImportResult r = ImportChannels(*p, text, {});
    ASSERT_EQ(r.Rows.size(), 5u) << r.FileError;
    EXPECT_EQ(r.Rows[0].Outcome, RowOutcome::Adjusted);
    const ChannelRecord* mem = Find(r.Image, kBandCB, 8, 3);
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(mem->RxFreq.Trimmed(), "02760100");
    EXPECT_EQ(mem->RBTone, 0);   // tone tip 4 is not in use
    EXPECT_EQ(mem->DTMF_BOT, 0); // 17 is past the codes
    EXPECT_EQ(mem->Public, 0);
    EXPECT_EQ(r.Rows[1].Outcome, RowOutcome::Refused);
    EXPECT_EQ(r.Rows[2].Outcome, RowOutcome::Refused); // "perhaps" is no switch
    EXPECT_EQ(r.Rows[3].Outcome, RowOutcome::Refused);
    EXPECT_EQ(r.Rows[4].Outcome, RowOutcome::Refused);
}

// A channel is filled by one row of a file: a later row for it is refused with the
// line of the first, whether it names the place or fills the next channel.
TEST(ChannelImport, SecondRowForAChannelIsRefused) {
    auto p = test::NewDocumentProgram(kBandHAM);
    const std::string text = test::CsvOf({"Frequency", "Group", "GroupChannel"},
                                         {{{"Frequency", "29.1"}, {"Group", "B"}, {"GroupChannel", "2"}},
                                          {{"Frequency", "29.2"}, {"Group", "B"}, {"GroupChannel", "2"}},
                                          {{"Frequency", "29.3"}},
                                          {{"Frequency", "29.4"}}});
    const ImportResult r = ImportChannels(*p, text, {kB, 1});
    ASSERT_EQ(r.Rows.size(), 4u) << r.FileError;
    const RowOutcome outcomes[] = {RowOutcome::Taken, RowOutcome::Refused, RowOutcome::Taken,
                                   RowOutcome::Refused};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(r.Rows[i].Outcome, outcomes[i]) << "line " << r.Rows[i].Line;
    EXPECT_NE(ImportRowText(*p, r.Rows[1]).find("line 2 already fills this channel"), std::string::npos);
    EXPECT_NE(ImportRowText(*p, r.Rows[3]).find("line 2 already fills"), std::string::npos);
    EXPECT_EQ(Find(r.Image, kBandHAM, kB, 2)->RxFreq.Trimmed(), "02910000");
}

TEST(ChannelImport, FilesThatAreNoChannelList) {
    auto p = test::NewDocumentProgram(kBandHAM);
    const RadioImage before = p->Image;
    struct Case {
        const char* name;
        std::string text;
        const char* message;
    } cases[] = {
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "it holds binary data"},
        {"Latin-1 text", "Frequency,Name\n29.1,K\xF6ln\n", "(line 2): it is not UTF-8 text"},
        {"UTF-16",
         std::string("\xFF\xFE"
                     "F\0r\0",
                     6),
         "(line 1)"},
        {"no Frequency column", "Location,Name\n1,A\n", "no Frequency column"},
        {"empty", "", "no Frequency column"},
        {"header only", "Frequency\r\n", "holds no channels"},
        {"open quote", "Frequency\n\"29.1\n", "(line 2): a quoted field is never closed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult r = ImportChannels(*p, c.text, {});
        EXPECT_NE(r.FileError.find(c.message), std::string::npos) << r.FileError;
        EXPECT_TRUE(r.Image == before);
    }
    // Too many or too few fields in one row refuse that row, with its line.
    const ImportResult r = ImportChannels(*p, "Frequency,Mode\n29.1,FM,x\n29.2\n29.3,FM,,\n", {kB, 1});
    ASSERT_EQ(r.Rows.size(), 3u);
    EXPECT_EQ(r.Rows[0].Outcome, RowOutcome::Refused);
    EXPECT_NE(r.Rows[0].Notes[0].find("3 fields, the first line has 2"), std::string::npos);
    EXPECT_EQ(r.Rows[1].Outcome, RowOutcome::Refused);
    EXPECT_EQ(r.Rows[2].Outcome, RowOutcome::Taken); // trailing empty cells are harmless
}

// A file of a gigabyte (sparse, so the test stays cheap) is refused before it is read.
TEST(ChannelImport, HugeFileIsRefusedUnread) {
    auto p = test::NewDocumentProgram(kBandHAM);
    const std::string path = test::TempDir() + "/huge.csv";
    { std::ofstream(path) << "Frequency\n29.1\n"; }
    std::filesystem::resize_file(path, 1ull << 30);
    std::string text, error;
    EXPECT_FALSE(ReadCsvFile(*p, path, text, error));
    EXPECT_NE(error.find("larger than 4 MB"), std::string::npos) << error;
    EXPECT_TRUE(text.empty());
    // Nothing that is not a regular file is read: not a folder, not a FIFO (which would block).
    const std::string fifo = test::TempDir() + "/pipe.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& bad : {test::TempDir() + "/missing.csv", test::TempDir(), fifo}) {
        error.clear();
        EXPECT_FALSE(ReadCsvFile(*p, bad, text, error));
        EXPECT_NE(error.find("cannot be read"), std::string::npos) << bad;
    }
}

} // namespace
} // namespace tarvane
