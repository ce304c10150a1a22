#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestProgram.h"
#include "base/IniFile.h"

namespace tarvane {
namespace {

TEST(IniFile, ReadsTrimmedValuesWithoutRegardToCase) {
    IniFile ini;
    ini.Parse("; comment\r\n[Language]\r\n  IsFirstRun =  1  \r\ncomPort=3\r\n[Other]\r\ncomPort=9\r\n");
    EXPECT_EQ(ini.GetOr("language", "isfirstrun"), "1");
    EXPECT_EQ(ini.GetOr("LANGUAGE", "comPort"), "3");
    EXPECT_EQ(ini.GetOr("Other", "comPort"), "9");
    EXPECT_FALSE(ini.Get("language", "missing"));
    EXPECT_FALSE(ini.Get("nosuch", "comPort"));
}

TEST(IniFile, ValueEndsAtNulAndLongValuesAreCut) {
    IniFile ini;
    ini.Parse(std::string("[s]\nk=abc\0def\nlong=", 19) + std::string(600, 'x') + "\n");
    EXPECT_EQ(ini.GetOr("s", "k"), "abc");
    EXPECT_EQ(ini.GetOr("s", "long").size(), 511u);
}

TEST(IniFile, WritingReplacesOrAddsAndKeepsOtherLines) {
    std::string path = test::TempDir() + "/setup.ini";
    std::ofstream(path) << "; keep me\n[language]\nIsFirstRun=1\ncomPort=1\n\n[Ports]\nPort1=/dev/ttyUSB0\n";
    ASSERT_TRUE(WriteIniValue(path, "language", "comPort", "4"));
    ASSERT_TRUE(WriteIniValue(path, "language", "CurrentLanguage", "2"));
    ASSERT_TRUE(WriteIniValue(path, "New", "Key", "v"));
    IniFile ini;
    ASSERT_TRUE(ini.Load(path));
    EXPECT_EQ(ini.GetOr("language", "comPort"), "4");
    EXPECT_EQ(ini.GetOr("language", "CurrentLanguage"), "2");
    EXPECT_EQ(ini.GetOr("language", "IsFirstRun"), "1");
    EXPECT_EQ(ini.GetOr("Ports", "Port1"), "/dev/ttyUSB0");
    EXPECT_EQ(ini.GetOr("New", "Key"), "v");
    // The added key lands in its own section, not at the end of the file.
    std::string text = ini.Text();
    EXPECT_LT(text.find("CurrentLanguage"), text.find("[Ports]"));
    EXPECT_EQ(text.rfind("; keep me", 0), 0u);
}

TEST(IniFile, MissingFileReadsEmptyAndIsCreatedOnWrite) {
    std::string path = test::TempDir() + "/none.ini";
    EXPECT_EQ(ReadIniValue(path, "language", "comPort"), "");
    ASSERT_TRUE(WriteIniValue(path, "language", "comPort", "2"));
    EXPECT_EQ(ReadIniValue(path, "language", "comPort"), "2");
}

TEST(IniFile, UnwritablePathReportsFailure) {
    std::string dir = test::TempDir();
    std::filesystem::create_directory(dir + "/folder.ini");
    EXPECT_FALSE(WriteIniValue(dir + "/folder.ini", "s", "k", "v"));
    EXPECT_FALSE(WriteIniValue(dir + "/no/such/dir/x.ini", "s", "k", "v"));
}

} // namespace
} // namespace tarvane
