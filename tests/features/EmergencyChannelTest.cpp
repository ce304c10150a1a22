// Loading a referenced channel into an emergency record.
#include <gtest/gtest.h>

#include "features/emergency/EmergencyChannel.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"

namespace tarvane {
namespace {

struct Fixture {
    RadioImage image;
    Fixture() {
        AppendChannel(image, 52, "28.40000"); // bank "B", channel 12
        ChannelRecord& ch = image.Channels[0];
        ch.Scan = 0;
        ch.TSQ = 1;
        ch.RDCT = 7;
        ch.TDCT = 50;
        ch.DUP = 1;
        ch.OffSetFre = 600;
        ch.Tx_Power = 2;
        ch.Add_Sub_5K = 1;
        ch.RBTone = 3;
        ChannelRecord& common = image.Settings.CommonChannel;
        common.DUP = 2;
        common.OffSetFre = 100;
        common.HI_CUT = 1;
        common.BUSY = 1;
        common.NB = 0;
        common.AM_FM = 1;
        common.RBTone = 5;
        common.DTMF_BOT = 1;
        common.DTMF_EOT = 2;
        common.DTMF_Call = 3;
        common.Tx_Power = 1;
        common.Add_Sub_5K = 0;
        common.TSQ = 0;
        common.RDCT = 99;
    }
};

TEST(EmergencyChannel, PublicChannelTakesTheTwelveSettingsFromTheCommonChannel) {
    Fixture fx;
    EmergencyRecord e;
    e.EmgGroup = 1;
    e.EmgChannel = 12;
    ASSERT_TRUE(LoadEmergencyChannel(fx.image, e));
    const ChannelRecord& c = e.Channel;
    EXPECT_EQ(c.RxFreq.Trimmed(), "02840000");
    EXPECT_EQ(c.Scan, 0);
    EXPECT_EQ(c.TSQ, 1);
    EXPECT_EQ(c.RDCT, 7);
    EXPECT_EQ(c.TDCT, 50);
    EXPECT_EQ(c.DUP, 2);
    EXPECT_EQ(c.OffSetFre, 100);
    EXPECT_EQ(c.HI_CUT, 1);
    EXPECT_EQ(c.BUSY, 1);
    EXPECT_EQ(c.NB, 0);
    EXPECT_EQ(c.AM_FM, 1);
    EXPECT_EQ(c.RBTone, 5);
    EXPECT_EQ(c.DTMF_BOT, 1);
    EXPECT_EQ(c.DTMF_EOT, 2);
    EXPECT_EQ(c.DTMF_Call, 3);
    EXPECT_EQ(c.Tx_Power, 1);
    EXPECT_EQ(c.Add_Sub_5K, 0);
}

TEST(EmergencyChannel, PrivateChannelKeepsItsOwnSettings) {
    Fixture fx;
    fx.image.Channels[0].Public = 0;
    EmergencyRecord e;
    e.EmgGroup = 1;
    e.EmgChannel = 12;
    ASSERT_TRUE(LoadEmergencyChannel(fx.image, e));
    EXPECT_EQ(e.Channel.DUP, 1);
    EXPECT_EQ(e.Channel.OffSetFre, 600);
    EXPECT_EQ(e.Channel.Tx_Power, 2);
    EXPECT_EQ(e.Channel.Add_Sub_5K, 1);
    EXPECT_EQ(e.Channel.RBTone, 3);
    EXPECT_EQ(e.Channel.NB, 1);
}

TEST(EmergencyChannel, MissingOrNoChannelCopiesNothing) {
    Fixture fx;
    AppendChannel(fx.image, 40, "27.00000");
    for (auto [group, channel] : {std::pair{1, 13}, {1, 0}, {-1, 92}, {10, 12}, {0, 41}}) {
        EmergencyRecord e;
        e.EmgGroup = static_cast<int16_t>(group);
        e.EmgChannel = static_cast<int16_t>(channel);
        const EmergencyRecord before = e;
        EXPECT_FALSE(LoadEmergencyChannel(fx.image, e)) << group << "/" << channel;
        EXPECT_EQ(e, before);
    }
}

} // namespace
} // namespace tarvane
