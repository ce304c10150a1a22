// Which cells of the channel table open an editor, by group, column and channel.
#include <gtest/gtest.h>

#include "channels/ChannelRules.h"
#include "freq/Bands.h"
#include "state/RadioImage.h"

namespace tarvane {
namespace {

enum class Row { Empty, NoFreq, PublicOff, PublicOn };

struct CellCase {
    const char* name;
    int band, group, column;
    Row row;
    CellEdit expected;
};

TEST(ChannelRules, CellsOfTheChannelTable) {
    constexpr int kCE = 1, kVFO = 10;
    const CellCase cases[] = {
        {"number", kBandHF, 0, 0, Row::PublicOff, CellEdit::None},
        {"past the last column", kBandHF, 0, 8, Row::PublicOff, CellEdit::None},
        {"CB plan frequency", kBandCB, kCE, 1, Row::PublicOff, CellEdit::None},
        {"CB emergency frequency", kBandCB, EmgGroup(kBandCB), 1, Row::PublicOff, CellEdit::Text},
        {"bank frequency", kBandHAM, 0, 1, Row::PublicOn, CellEdit::Text},
        {"frequency of an empty slot", kBandHF, 0, 1, Row::Empty, CellEdit::Text},
        {"Public of an empty slot", kBandHF, 0, 2, Row::Empty, CellEdit::None},
        {"Scan without a frequency", kBandHF, 0, 6, Row::NoFreq, CellEdit::None},
        {"dialog of an empty slot", kBandHF, 0, 7, Row::Empty, CellEdit::Dialog},
        {"Public", kBandHF, 0, 2, Row::PublicOn, CellEdit::List},
        {"DUP while Public is on", kBandHF, 0, 3, Row::PublicOn, CellEdit::None},
        {"offset while Public is on", kBandHF, 0, 4, Row::PublicOn, CellEdit::None},
        {"DUP while Public is off", kBandHF, 0, 3, Row::PublicOff, CellEdit::List},
        {"offset while Public is off", kBandHF, 0, 4, Row::PublicOff, CellEdit::Text},
        {"TSQ while Public is on", kBandHF, 0, 5, Row::PublicOn, CellEdit::List},
        {"Scan in the VFO", kBandHF, kVFO, 6, Row::PublicOn, CellEdit::None},
        {"Scan in a bank", kBandHAM, 0, 6, Row::PublicOn, CellEdit::List},
    };
    for (const CellCase& c : cases) {
        ChannelRecord r;
        r.RxFreq.Assign(c.row == Row::NoFreq ? "FFFFFFFF" : "02800000");
        r.Public = c.row == Row::PublicOn ? 1 : 0;
        EXPECT_EQ(ChannelCellEdit(c.group, c.column, c.row == Row::Empty ? nullptr : &r, c.band), c.expected)
            << c.name;
    }
}

} // namespace
} // namespace tarvane
