// Start-up of tarvane-cps: time from starting the process to its frame being
// shown on screen, and the resident memory then. Each run is a fresh process
// going through the program's own start-up steps (the same as main()), so the
// figures include loading the libraries. Run under a display, e.g.
// xvfb-run -a stage/V100/tarvane-bench-startup [runs].
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "doc/Startup.h"
#include "frame/frmMain.h"
#include "state/Program.h"

namespace {

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

int Once(int argc, char** argv) {
    QApplication app(argc, argv);
    auto program = std::make_unique<tarvane::Program>();
    auto frame = tarvane::StartApplication(*program);
    if (!QTest::qWaitForWindowExposed(frame.get(), 10000)) return 2;
    QApplication::processEvents();
    std::printf("%ld\n", ResidentKiB());
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--once") return Once(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    QCoreApplication app(argc, argv);
    std::vector<double> ms;
    std::vector<long> kib;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        QElapsedTimer clock;
        clock.start();
        child.start(QCoreApplication::applicationFilePath(), {"--once"});
        // The child speaks once its frame is on screen.
        if (!child.waitForReadyRead(30000)) {
            std::fprintf(stderr, "run %d failed: %s\n", i, child.readAllStandardError().constData());
            return 1;
        }
        const double t = double(clock.nsecsElapsed()) / 1e6;
        child.waitForFinished(30000);
        long r = 0;
        if (child.exitCode() != 0 || std::sscanf(child.readAllStandardOutput().constData(), "%ld", &r) != 1)
            return 1;
        ms.push_back(t);
        kib.push_back(r);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(kib.begin(), kib.end());
    std::printf("startup: %d runs, frame shown after %.1f ms median (min %.1f, max %.1f)\n", runs,
                ms[ms.size() / 2], ms.front(), ms.back());
    std::printf("startup: resident memory with the frame shown %.1f MiB median (min %.1f, max %.1f)\n",
                double(kib[kib.size() / 2]) / 1024, double(kib.front()) / 1024, double(kib.back()) / 1024);
    return 0;
}
