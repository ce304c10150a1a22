// Import speed: 10,000 CSV rows, as 25 imports of a full 400-channel list of a
// HAM radio (banks A to J, with this program's own columns), and 10,000 rows of a
// foreign list (no group columns) filling one bank over and over. Prints rows a
// second; build in Release to compare.
#include <chrono>
#include <cstdio>

#include "TestProgram.h"
#include "base/NumberText.h"
#include "exchange/ChannelColumns.h"
#include "exchange/ChannelImport.h"
#include "exchange/CsvFile.h"
#include "freq/Bands.h"
#include "image/InitialValues.h"

using namespace tarvane;

namespace {

constexpr int kRows = 10000;

std::string OwnList() {
    std::string out = CsvLine({"Frequency", "Duplex", "Offset", "Tone", "rToneFreq", "Mode", "Power", "Group",
                               "GroupChannel", "BusyLockout", "NoiseBlanker"});
    for (int g = 0; g < 10; ++g)
        for (int n = 1; n <= 40; ++n)
            out += CsvLine({FormatFixed(28.0 + 0.005 * (g * 40 + n), 6), n % 2 ? "" : "-", "0.100000",
                            n % 3 ? "" : "Tone", "88.5", n % 5 ? "FM" : "AM", "Low", GroupName(g, kBandHAM),
                            std::to_string(n), "On", "Off"});
    return out;
}

std::string ForeignList(int rows) {
    std::string out = CsvLine({"Location", "Name", "Frequency", "Duplex", "Offset", "Tone", "Mode", "Skip"});
    for (int i = 0; i < rows; ++i)
        out += CsvLine(
            {std::to_string(i), "", FormatFixed(29.0 + 0.01 * (i % 60), 6), "", "0.000000", "", "FM", ""});
    return out;
}

template <class F> double RowsPerSecond(int rows, F run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return rows / s;
}

} // namespace

int main() {
    auto p = test::MakeTestProgram(kBandHAM);
    InitImage(*p);
    p->Image.Settings.Version.ModelType = kBandHAM;
    const std::string own = OwnList();
    int taken = 0;
    const double ownRate = RowsPerSecond(kRows, [&] {
        for (int i = 0; i < kRows / 400; ++i)
            taken += ImportChannels(*p, own, {}).Count(RowOutcome::Taken);
    });
    std::printf("full 400-channel lists, own columns: %9.0f rows/s  (%.3f ms a row, %d taken)\n", ownRate,
                1000.0 / ownRate, taken);
    // A foreign list fills bank A from channel 1; past channel 40 its rows are refused.
    const std::string foreign = ForeignList(40);
    const double foreignRate = RowsPerSecond(kRows, [&] {
        for (int i = 0; i < kRows / 40; ++i)
            ImportChannels(*p, foreign, {0, 1});
    });
    std::printf("40-row foreign lists into bank A:     %9.0f rows/s  (%.3f ms a row)\n", foreignRate,
                1000.0 / foreignRate);
    const std::string big = ForeignList(kRows);
    const double bigRate = RowsPerSecond(kRows, [&] { ImportChannels(*p, big, {0, 1}); });
    std::printf("one foreign list of %d rows:        %9.0f rows/s  (%.3f ms a row)\n", kRows, bigRate,
                1000.0 / bigRate);
    return 0;
}
