// Link choices kept in the user setup file: the always-verify choice and the
// echo mode per device, beside whatever else the file holds.
#include <gtest/gtest.h>

#include <fstream>

#include "TestProgram.h"
#include "base/IniFile.h"
#include "link/LinkSettings.h"

namespace tarvane {
namespace {

std::string Text(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(LinkSettings, VerifyChoiceRoundTripsBesideThePortAndMalformedValuesAreOff) {
    auto t = test::MakeTestProgram();
    t->Dirs.SetupFile = test::TempDir() + "/mysetup.ini";
    std::ofstream(t->Dirs.SetupFile) << "[language]\nIsFirstRun=0\ncomPort=3\n[Ports]\nPort3=/dev/ttyUSB0\n";
    const struct {
        const char* stored;
        bool expected;
    } cases[] = {{"1", true}, {"0", false}, {"yes", false}, {"", false}, {"2", false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteIniValue(t->Dirs.SetupFile, "language", "VerifyWrite", c.stored));
        t->Link.VerifyWrite = !c.expected;
        LoadVerifySetting(*t);
        EXPECT_EQ(t->Link.VerifyWrite, c.expected) << c.stored;
    }
    t->Link.VerifyWrite = true;
    ASSERT_TRUE(SaveVerifySetting(*t));
    t->Link.VerifyWrite = false;
    LoadVerifySetting(*t);
    EXPECT_TRUE(t->Link.VerifyWrite);
    EXPECT_EQ(ReadIniValue(t->Dirs.SetupFile, "language", "comPort"), "3");
    EXPECT_EQ(ReadIniValue(t->Dirs.SetupFile, "Ports", "Port3"), "/dev/ttyUSB0");
}

TEST(LinkSettings, EchoModeIsKeptPerDeviceForTheSixteenUsedLastAndOddPathsAreNotKept) {
    auto t = test::MakeTestProgram();
    t->Dirs.SetupFile = test::TempDir() + "/mysetup.ini";
    std::ofstream(t->Dirs.SetupFile)
        << "[language]\ncomPort=2\n[NoEchoMode]\n/dev/old=0\n[Ports]\nPort2=/dev/x\n";
    EXPECT_EQ(LoadNoEchoMode(*t, "/dev/old"), false);
    EXPECT_EQ(LoadNoEchoMode(*t, "/dev/unknown"), std::nullopt);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(SaveNoEchoMode(*t, "/dev/pts/" + std::to_string(i), i % 2 == 0));
    // The sixteen used last stay; the oldest go.
    EXPECT_EQ(LoadNoEchoMode(*t, "/dev/old"), std::nullopt);
    EXPECT_EQ(LoadNoEchoMode(*t, "/dev/pts/3"), std::nullopt);
    EXPECT_EQ(LoadNoEchoMode(*t, "/dev/pts/4"), true);
    EXPECT_EQ(LoadNoEchoMode(*t, "/dev/pts/19"), false);
    // Using one again moves it to the end and changes its value in place.
    ASSERT_TRUE(SaveNoEchoMode(*t, "/dev/pts/4", false));
    ASSERT_TRUE(SaveNoEchoMode(*t, "/dev/pts/new", true));
    EXPECT_EQ(LoadNoEchoMode(*t, "/dev/pts/4"), false);
    EXPECT_EQ(LoadNoEchoMode(*t, "/dev/pts/5"), std::nullopt);
    // The other sections are untouched.
    EXPECT_EQ(ReadIniValue(t->Dirs.SetupFile, "language", "comPort"), "2");
    EXPECT_EQ(ReadIniValue(t->Dirs.SetupFile, "Ports", "Port2"), "/dev/x");
    const std::string before = Text(t->Dirs.SetupFile);
    for (const char* hostile : {"/dev/a=b", "[x]", "/dev/a;b", "", " /dev/lead", "/dev/a\nb=c"}) {
        EXPECT_FALSE(SaveNoEchoMode(*t, hostile, true)) << hostile;
        EXPECT_EQ(LoadNoEchoMode(*t, hostile), std::nullopt) << hostile;
    }
    EXPECT_EQ(Text(t->Dirs.SetupFile), before);
}

} // namespace
} // namespace tarvane
