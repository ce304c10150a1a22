// A full read and a full write against the paced simulator, with and without
// an echoing cable: the wire-time limit (bytes on the wire / 960 per second),
// the measured time and their ratio. Not a test: it prints figures.
//
//   make -C <build> bench_transfer && <build>/bench/bench_transfer
#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "link/RadioLink.h"
#include "sim/SimHost.h"
#include "sim/VirtualLine.h"
#include "state/Program.h"

namespace {

using namespace tarvane;

void QuietPrompts(Program& p) {
    p.Prompts.message = [](const std::string&, MsgIcon, MsgButtons b, const std::string&) {
        return b == MsgButtons::OkCancel ? MsgAnswer::Cancel : DefaultAnswer(b);
    };
    p.Versions.Firm.emplace_back(kProgramFormatVersion, kProgramFormatVersion);
}

// Bytes on the wire in one transfer: every packet and every reply. An echo runs
// alongside the packet it copies and adds no time.
size_t WireBytes(LinkOperation op) {
    Program p;
    QuietPrompts(p);
    p.Link.NoEchoMode = true;
    RadioResponder radio;
    radio.SetPassword("");
    VirtualLine line(p, radio);
    size_t bytes = 0;
    line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        out = radio.Feed(packet);
        bytes += packet.size();
        for (const SimReply& r : out)
            bytes += r.bytes.size();
        return true;
    };
    line.Run(op);
    return bytes;
}

double Measure(LinkOperation op, bool echo, const std::string& device) {
    Program p;
    QuietPrompts(p);
    p.Link.NoEchoMode = !echo; // no handshake time-out in the figure
    for (size_t i = 0; i < p.RadioMemoryBlock.size(); ++i)
        p.RadioMemoryBlock[i] = static_cast<uint8_t>(i * 7);
    RadioLink link(p);
    link.setDevice(QString::fromStdString(device));
    if (!link.openRadioPort(op)) return -1;
    bool ok = false;
    QObject::connect(&link, &RadioLink::finished, [&ok](LinkOperation, bool success) {
        ok = success;
        QCoreApplication::exit(0);
    });
    QElapsedTimer clock;
    clock.start();
    link.start();
    QCoreApplication::exec();
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    return ok ? seconds : -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("%-6s %-8s %12s %12s %8s\n", "op", "cable", "limit s", "measured s", "ratio");
    for (bool echo : {false, true}) {
        const std::string dir =
            std::filesystem::temp_directory_path() / ("tarvane-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        const std::string device = dir + (echo ? "/radio-echo" : "/radio");
        const pid_t child = fork();
        if (child == 0) {
            SimOptions o;
            o.link = device;
            o.echo = echo;
            o.paced = true;
            _exit(RunSimulator(o));
        }
        for (int i = 0; i < 300 && !std::filesystem::is_symlink(device); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        for (LinkOperation op : {LinkOperation::ReadRadio, LinkOperation::WriteRadio}) {
            const double limit = static_cast<double>(WireBytes(op)) / 960.0;
            const double measured = Measure(op, echo, device);
            std::printf("%-6s %-8s %12.3f %12.3f %8.4f\n", op == LinkOperation::ReadRadio ? "read" : "write",
                        echo ? "echo" : "no echo", limit, measured, measured / limit);
            std::fflush(stdout);
        }
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
        std::filesystem::remove_all(dir);
    }
    return 0;
}
