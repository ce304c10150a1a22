// Start-up of tarvane-cps beside a bare Qt window (a main window with a menu and
// a label, tarvane-bench-startup-bare): the time from starting the process to its
// first window being on screen, and the resident memory and shared libraries
// then; for tarvane-cps also the time until its channel table has been drawn,
// which follows the first frame. The runs of the two alternate, so a busy
// machine slows both alike. Each frame run is a fresh process going through the
// program's own start-up (the same as main()) and linking what tarvane-cps
// links, so the figures include loading the libraries. Run under a display, e.g.
// xvfb-run -a stage/V100/tarvane-bench-startup [runs]. For a profiler, one start
// alone: tarvane-bench-startup --once (until the table is drawn) or --once-frame
// (until the first frame).
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "StartupChild.h"
#include "doc/Startup.h"
#include "frame/frmMain.h"
#include "state/Program.h"

namespace {

int Once(int argc, char** argv, bool firstFrameOnly) {
    QApplication app(argc, argv);
    auto program = std::make_unique<tarvane::Program>();
    auto frame = tarvane::StartApplication(*program);
    if (frame->isVisible() && frame->windowHandle() && frame->windowHandle()->isExposed()) {
        startup_bench::PrintProcessFigures();
        return 0;
    }
    startup_bench::ExposeWatch watch(*frame, firstFrameOnly ? nullptr : "MSFlexGrid1");
    return app.exec();
}

struct Runs {
    std::vector<double> ms;
    std::vector<double> tableMs; // tarvane-cps only
    std::vector<double> mib;
    std::vector<long> libraries;
    std::vector<double> cpuMs;
};

// One run of `program`; false when it did not show its window.
bool Run(const QString& program, const QStringList& args, Runs& into) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    const long long startNs = startup_bench::MonotonicNs();
    child.start(program, args);
    // The child speaks once its window is on screen.
    if (!child.waitForReadyRead(30000)) {
        std::fprintf(stderr, "%s did not show a window: %s\n", qPrintable(program),
                     child.readAllStandardError().constData());
        return false;
    }
    const double t = double(clock.nsecsElapsed()) / 1e6;
    child.waitForFinished(30000);
    long rss = 0, libraries = 0;
    long long cpuUs = 0, tableNs = 0;
    const int figures = std::sscanf(child.readAllStandardOutput().constData(), "%ld %ld %lld %lld", &rss,
                                    &libraries, &cpuUs, &tableNs);
    if (child.exitCode() != 0 || figures < 3) return false;
    if (figures == 4) into.tableMs.push_back(double(tableNs - startNs) / 1e6);
    into.cpuMs.push_back(double(cpuUs) / 1000);
    into.ms.push_back(t);
    into.mib.push_back(double(rss) / 1024);
    into.libraries.push_back(libraries);
    return true;
}

template <class T> T Median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Print(const char* what, const Runs& r) {
    std::printf(
        "startup: %-12s first window after %6.1f ms median (min %.1f, max %.1f), %5.1f ms of processor "
        "time, %5.1f MiB, %ld shared libraries\n",
        what, Median(r.ms), *std::min_element(r.ms.begin(), r.ms.end()),
        *std::max_element(r.ms.begin(), r.ms.end()), Median(r.cpuMs), Median(r.mib), Median(r.libraries));
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--once") return Once(argc, argv, false);
    if (argc > 1 && std::string(argv[1]) == "--once-frame") return Once(argc, argv, true);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const QString bare = QFileInfo(self).absolutePath() + "/tarvane-bench-startup-bare";
    Runs frame, plain;
    for (int i = 0; i < runs; ++i) {
        // Alternating which goes first, so neither always finds the files cached by the other.
        const bool frameFirst = i % 2 == 0;
        if (!Run(frameFirst ? self : bare, frameFirst ? QStringList{"--once"} : QStringList{},
                 frameFirst ? frame : plain))
            return 1;
        if (!Run(frameFirst ? bare : self, frameFirst ? QStringList{} : QStringList{"--once"},
                 frameFirst ? plain : frame))
            return 1;
    }
    std::printf("startup: %d runs of each, interleaved\n", runs);
    Print("tarvane-cps", frame);
    Print("bare window", plain);
    std::printf("startup: ratio %.2fx (median time of tarvane-cps / median time of the bare window), "
                "%.2fx in processor time, %ld against %ld shared libraries\n",
                Median(frame.ms) / Median(plain.ms), Median(frame.cpuMs) / Median(plain.cpuMs),
                Median(frame.libraries), Median(plain.libraries));
    // Each run of one beside the run of the other just before or after it: a
    // moment when the machine is busy slows both of the pair alike.
    std::vector<double> pairs;
    for (size_t i = 0; i < std::min(frame.ms.size(), plain.ms.size()); ++i)
        pairs.push_back(frame.ms[i] / plain.ms[i]);
    std::printf(
        "startup: ratio %.2fx as the median of the %zu pairs run back to back, %.2fx of the fastest runs\n",
        Median(pairs), pairs.size(),
        *std::min_element(frame.ms.begin(), frame.ms.end()) /
            *std::min_element(plain.ms.begin(), plain.ms.end()));
    if (!frame.tableMs.empty())
        std::printf("startup: tarvane-cps channel table drawn after %.1f ms median (min %.1f, max %.1f), "
                    "%.2fx the bare window's first frame\n",
                    Median(frame.tableMs), *std::min_element(frame.tableMs.begin(), frame.tableMs.end()),
                    *std::max_element(frame.tableMs.begin(), frame.tableMs.end()),
                    Median(frame.tableMs) / Median(plain.ms));
    return 0;
}
