// Time to show the 80-channel "DE" group of a CB radio after choosing it, and to
// redraw a full group after a read (new image, then the table opened again and
// every row redrawn). Prints median and worst of many runs, in milliseconds.
#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "TestProgram.h"
#include "base/NumberText.h"
#include "channels/frmCommChInfo.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"

using namespace tarvane;

namespace {

constexpr int kRuns = 40;
constexpr int kDE = 6, kCE = 1;

void FillAllPlans(Program& p, double shift) {
    p.Image.Settings.ChannelCount = 0;
    for (int g = 0; g <= 9; ++g)
        for (int n = 1; n <= GroupSize(g, kBandCB); ++n) {
            const double f = 26.965 + 0.005 * ((n - 1 + static_cast<int>(shift)) % 88);
            AppendChannel(p.Image, GroupBase(g, kBandCB) + n, FormatFixed(f, 5));
        }
}

void Paint(QWidget& w) {
    w.repaint();
    QApplication::processEvents();
}

void Report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-52s median %7.2f ms   worst %7.2f ms   (%d runs, target < 50 ms)\n", what,
                ms[ms.size() / 2], ms.back(), static_cast<int>(ms.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto p = test::MakeTestProgram(kBandCB);
    FillAllPlans(*p, 0);

    frmCommChInfo table(*p);
    table.show();
    Paint(table);
    std::vector<double> choose, redraw, reopen;
    QElapsedTimer t;
    for (int i = 0; i < kRuns; ++i) {
        table.ChooseGroup(kCE);
        Paint(table);
        t.start();
        table.ChooseGroup(kDE);
        Paint(table);
        choose.push_back(t.nsecsElapsed() / 1e6);
    }
    for (int i = 0; i < kRuns; ++i) {
        FillAllPlans(*p, i + 1); // what a read leaves: every channel different
        t.start();
        table.reShowAllGrid();
        Paint(table);
        redraw.push_back(t.nsecsElapsed() / 1e6);
    }
    table.close();
    p->Image.Settings.Features.CurrentGroup = kDE;
    for (int i = 0; i < kRuns; ++i) {
        FillAllPlans(*p, i + 2);
        t.start();
        {
            frmCommChInfo again(*p);
            again.show();
            Paint(again);
            reopen.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    Report("choose \"DE\" (80 rows) and paint", choose);
    Report("redraw the \"DE\" group after a read and paint", redraw);
    Report("open the table on \"DE\" after a read and paint", reopen);
    return 0;
}
