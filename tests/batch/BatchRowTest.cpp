// The log rows and the rule that tells the next radio from the one just done.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestProgram.h"
#include "batch/BatchRow.h"

namespace tarvane {
namespace {

BatchRow Row(const std::string& reason) {
    BatchRow r;
    r.port = "/dev/ttyUSB0";
    std::tm t{};
    t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 8, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 7, t.tm_isdst = -1;
    r.started = std::mktime(&t);
    r.model = "Tarvane", r.band = "CB", r.firmware = "V100", r.serial = "SN 0042";
    r.file = "fleet.dat", r.checksum = "CBF43926";
    r.result = BatchResult::Written, r.mended = 2, r.seconds = 25.04;
    r.reason = reason;
    return r;
}

TEST(BatchLog, OneRadioIsOneLineWithTheFieldsQuotedWhereNeeded) {
    const struct {
        std::string reason, tail;
    } rows[] = {
        {"", "ok,2,25.0,"},
        {"a, b", "ok,2,25.0,\"a, b\""},
        {"say \"x\"", "ok,2,25.0,\"say \"\"x\"\"\""},
        {"port gone\r\n/dev/x: no such file", "ok,2,25.0,port gone; /dev/x: no such file"},
    };
    for (const auto& r : rows) {
        const std::string line = LogLine(Row(r.reason));
        EXPECT_EQ(line,
                  "2026-12-08 09:05:07,/dev/ttyUSB0,Tarvane,CB,V100,SN 0042,fleet.dat,CBF43926," + r.tail)
            << r.reason;
    }
}

TEST(BatchLog, TheHeaderComesOnceAtTheTopOfANewFile) {
    std::tm day{};
    day.tm_mday = 8, day.tm_mon = 11, day.tm_year = 126;
    const std::string path = test::TempDir() + "/" + DailyLogName(day);
    EXPECT_EQ(DailyLogName(day), "programming-20261208.csv");
    ASSERT_TRUE(AppendLogRow(path, Row("")));
    ASSERT_TRUE(AppendLogRow(path, Row("again")));
    std::ifstream in(path);
    std::string first, second, third, more;
    std::getline(in, first), std::getline(in, second), std::getline(in, third);
    EXPECT_EQ(first, LogHeader() + "\r");
    EXPECT_EQ(second, LogLine(Row("")) + "\r");
    EXPECT_EQ(third, LogLine(Row("again")) + "\r");
    EXPECT_FALSE(std::getline(in, more));
    EXPECT_FALSE(AppendLogRow(test::TempDir() + "/no/such/folder/log.csv", Row("")));
}

TEST(BatchLog, ChecksumIsCrc32) {
    const std::string text = "123456789";
    EXPECT_EQ(Checksum(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size())), "CBF43926");
    EXPECT_EQ(Checksum({}), "00000000");
}

RadioIdentity Id(const std::string& model, int type) {
    RadioIdentity id;
    id.RadioModelCode = model;
    id.RadioModelType = static_cast<uint8_t>(type);
    id.RadioFirmwareVersion = "V100";
    return id;
}

TEST(NextRadio, OnlyARadioThatWasSwappedIsProgrammed) {
    using Poll = std::optional<RadioIdentity>;
    const RadioIdentity cb = Id("Tarvane", 0), hf = Id("Tarvane", 1);
    const struct {
        const char* what;
        std::optional<RadioIdentity> done;
        std::vector<Poll> polls;
        std::vector<bool> due;
    } cases[] = {
        {"the same radio still there", cb, {cb, cb, cb}, {false, false, false}},
        {"taken off, then a radio", cb, {cb, Poll{}, Poll{}, cb}, {false, false, false, true}},
        {"another identity at once", cb, {hf}, {true}},
        {"a refused radio left on the port", hf, {hf, hf}, {false, false}},
        {"nothing answered last time", Poll{}, {cb}, {true}},
        {"silence only", cb, {Poll{}, Poll{}}, {false, false}},
    };
    for (const auto& c : cases) {
        NextRadioWait wait;
        wait.Done(c.done);
        for (size_t i = 0; i < c.polls.size(); ++i)
            EXPECT_EQ(wait.Polled(c.polls[i]), c.due[i]) << c.what << ", poll " << i;
    }
}

} // namespace
} // namespace tarvane

namespace tarvane {
namespace {

TEST(BatchLog, TheNewestDailyLogIsOpened) {
    const std::string dir = test::TempDir();
    EXPECT_EQ(NewestLog(dir), "");
    for (const char* name : {"programming-20261207.csv", "programming-20261208.csv",
                             "programming-2026120.csv", "programming-20261209.txt", "zz.csv"})
        std::ofstream(dir + "/" + name) << "x";
    EXPECT_EQ(NewestLog(dir), dir + "/programming-20261208.csv");
}

} // namespace
} // namespace tarvane
