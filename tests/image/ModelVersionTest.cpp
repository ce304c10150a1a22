#include <gtest/gtest.h>

#include <fstream>

#include "TestProgram.h"
#include "image/ModelVersion.h"

namespace tarvane {
namespace {

TEST(VersionTable, ReadsPairsFromTheFile) {
    std::string path = test::TempDir() + "/Version.ini";
    std::ofstream(path) << "[Version]\nCurrentVersion=V100\nSoftVersionCount=2\nFirmVersionCount=3\n"
                           "[Soft]\nVersion0=V100\nVersion1=V200\n"
                           "[Firm]\nFirm0=V100/V100\nFirm1=V200V201\nFirm2=  V200 - V202  \n";
    VersionTable table;
    ASSERT_TRUE(LoadVersionTable(path, table));
    EXPECT_EQ(table.Soft, (std::vector<std::string>{"V100", "V200"}));
    ASSERT_EQ(table.Firm.size(), 3u);
    EXPECT_TRUE(IsFormatSupported(table, "V100", "V100"));
    EXPECT_FALSE(IsFormatSupported(table, "V100", "V201"));
    EXPECT_TRUE(IsFormatSupported(table, "V200", "V202"));
    EXPECT_EQ(ProgramForFormat(table, "V201"), "V200");
    EXPECT_EQ(ProgramForFormat(table, "V300"), "");
}

// A table by which this program would refuse its own files is read as its own
// pair alone, like a missing or malformed one.
TEST(VersionTable, TablesWithoutTheOwnPairOrWithAbsurdCountsFallBack) {
    const std::pair<const char*, const char*> cases[] = {
        {"no Firm entries", "[Version]\nSoftVersionCount=0\nFirmVersionCount=0\n"},
        {"only other pairs",
         "[Version]\nSoftVersionCount=1\nFirmVersionCount=2\n[Firm]\nFirm0=V200/V200\nFirm1=V100/V101\n"},
        {"own pair beyond the count",
         "[Version]\nSoftVersionCount=0\nFirmVersionCount=1\n[Firm]\nFirm0=V200/V200\nFirm1=V100/V100\n"},
        {"huge Firm count",
         "[Version]\nSoftVersionCount=1\nFirmVersionCount=32767\n[Firm]\nFirm0=V100/V100\n"},
        {"huge Soft count",
         "[Version]\nSoftVersionCount=32000\nFirmVersionCount=1\n[Firm]\nFirm0=V100/V100\n"},
        {"negative count", "[Version]\nSoftVersionCount=-1\nFirmVersionCount=1\n[Firm]\nFirm0=V100/V100\n"},
        {"count just over the limit",
         "[Version]\nSoftVersionCount=0\nFirmVersionCount=1001\n[Firm]\nFirm0=V100/V100\n"},
    };
    for (const auto& [name, text] : cases) {
        std::string path = test::TempDir() + "/Version.ini";
        std::ofstream(path) << text;
        VersionTable table;
        EXPECT_FALSE(LoadVersionTable(path, table)) << name;
        EXPECT_EQ(table.Firm, (std::vector<std::pair<std::string, std::string>>{{"V100", "V100"}})) << name;
        EXPECT_TRUE(table.Soft.empty()) << name;
    }
    // The largest count that is still a count is read, and its last entry counts.
    std::string path = test::TempDir() + "/Version.ini";
    std::ofstream(path)
        << "[Version]\nSoftVersionCount=0\nFirmVersionCount=1000\n[Firm]\nFirm999=V100/V100\n";
    VersionTable table;
    EXPECT_TRUE(LoadVersionTable(path, table));
    EXPECT_TRUE(IsFormatSupported(table, "V100", "V100"));
}

TEST(VersionTable, ShippedTableOpensV100) {
    VersionTable table;
    ASSERT_TRUE(LoadVersionTable(std::string(TARVANE_INSTALL_ROOT) + "/Version.ini", table));
    EXPECT_TRUE(IsFormatSupported(table, "V100", "V100"));
}

TEST(ModelVersion, VersionTexts) {
    const std::pair<const char*, bool> cases[] = {{"V100", true},  {"V100  ", true}, {"W100", false},
                                                  {"V10", false},  {"V1x0", false},  {"V1000", false},
                                                  {"", false},     {"v100", false}};
    for (auto [text, ok] : cases) EXPECT_EQ(IsVersionText(text), ok) << "'" << text << "'";
    EXPECT_EQ(VersionDisplay("V102"), "V1.02");
    EXPECT_EQ(VersionDisplay("V100"), "V1.00");
    EXPECT_EQ(TypeName(0), "CB");
    EXPECT_EQ(TypeName(2), "HAM");
    EXPECT_EQ(TypeName(3), "Unknown");
    EXPECT_EQ(TypeName(-1), "Unknown");
    EXPECT_EQ(ModelDisplayName(std::string("Tarvane\0\0", 9)), "Tarvane");
}

TEST(ModelVersion, MismatchTextAndStartingAnotherVersion) {
    auto t = test::MakeTestProgram();
    Program& p = *t;
    std::string text = VersionMismatchText(p, "V102");
    EXPECT_NE(text.find("V1.02"), std::string::npos);
    EXPECT_NE(text.find("\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 5), "V1.00");

    std::string started;
    p.Prompts.startProgram = [&](const std::string& path) {
        started = path;
        return true;
    };
    p.Dirs.InstallRoot = "/opt/t";
    p.Versions.Firm.emplace_back("V300", "V302");
    EXPECT_TRUE(StartProgramFor(p, "V302"));
    EXPECT_EQ(started, "/opt/t/V300/tarvane-cps");
    EXPECT_FALSE(StartProgramFor(p, "V999"));
    EXPECT_TRUE(t.script->Saw("No installed program version handles this file."));
}

} // namespace
} // namespace tarvane
