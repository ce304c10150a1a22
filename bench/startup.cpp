// Start-up of tarvane-cps: time from the process start to its frame being shown
// on screen, and the resident memory then. Each run is a fresh process (the
// program's own start-up steps, the same as main()), so the figures include
// loading the libraries. Run under a display, e.g. xvfb-run -a bench_startup.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/Program.h"
#include "app/Startup.h"
#include "app/frmMain.h"

namespace {

// Milliseconds since this process was started, from the kernel's own record.
double MsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) rest >> field; // field 22: start time in clock ticks after boot
    const double startTicks = std::stod(field);
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return uptime * 1000.0 - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

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
    std::setlocale(LC_NUMERIC, "C");
    auto program = std::make_unique<tarvane::Program>();
    tarvane::Program& p = *program;
    tarvane::InstallGuiPrompts(p, nullptr);
    tarvane::StartUp(p, tarvane::CurrentEnvironment(QCoreApplication::applicationFilePath().toStdString()));
    tarvane::frmMain frame(p);
    tarvane::InstallGuiPrompts(p, &frame);
    tarvane::RegisterStandardWindows(frame);
    frame.ShowChannelTable();
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame, 10000)) return 2;
    QApplication::processEvents();
    std::printf("%.1f %ld\n", MsSinceProcessStart(), ResidentKiB());
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
        child.start(QCoreApplication::applicationFilePath(), {"--once"});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed: %s\n", i, child.readAllStandardError().constData());
            return 1;
        }
        double t = 0;
        long r = 0;
        if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %ld", &t, &r) != 2) return 1;
        ms.push_back(t);
        kib.push_back(r);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(kib.begin(), kib.end());
    std::printf("startup: %d runs, frame shown after %.1f ms median (min %.1f, max %.1f)\n", runs, ms[ms.size() / 2],
                ms.front(), ms.back());
    std::printf("startup: resident memory with the frame shown %.1f MiB median (min %.1f, max %.1f)\n",
                double(kib[kib.size() / 2]) / 1024, double(kib.front()) / 1024, double(kib.back()) / 1024);
    return 0;
}
