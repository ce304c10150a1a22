// The serial adapter on a real pseudo-terminal: port numbers mapped to typed
// paths, presence, the device lock, and a transfer through the number.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "TestProgram.h"
#include "link/RadioLink.h"
#include "link/SerialPorts.h"
#include "sim/SimHost.h"
#include "state/lang/LangText.h"

using namespace tarvane;

namespace {

// A simulated radio in a child process, linked at a path of its own.
struct ChildRadio {
    std::string link;
    pid_t pid = -1;
    explicit ChildRadio(const std::string& dir) : link(dir + "/radio-" + std::to_string(getpid())) {
        pid = fork();
        if (pid == 0) {
            SimOptions o;
            o.link = link;
            o.paced = false;
            _exit(RunSimulator(o));
        }
        for (int i = 0; i < 500 && !std::filesystem::is_symlink(link); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    void Stop() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
    ~ChildRadio() { Stop(); }
};

// The radio's end of a pseudo-terminal, driven by hand from the test.
struct HandRadio {
    int master = -1;
    std::string slave;
    HandRadio() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master);
        unlockpt(master);
        termios t{};
        tcgetattr(master, &t);
        cfmakeraw(&t);
        tcsetattr(master, TCSANOW, &t);
        slave = ptsname(master);
    }
    ~HandRadio() { close(master); }
    void Put(const Bytes& bytes) const {
        QVERIFY(write(master, bytes.data(), bytes.size()) == ssize_t(bytes.size()));
    }
    // Reads exactly n bytes, letting the program's events run meanwhile.
    Bytes Take(size_t n) const {
        Bytes got;
        QElapsedTimer clock;
        clock.start();
        while (got.size() < n && clock.elapsed() < 3000) {
            QCoreApplication::processEvents();
            pollfd pfd{master, POLLIN, 0};
            if (poll(&pfd, 1, 5) <= 0) continue;
            uint8_t buf[256];
            const ssize_t r = read(master, buf, std::min(sizeof buf, n - got.size()));
            if (r > 0) got.insert(got.end(), buf, buf + r);
        }
        return got;
    }
};

} // namespace

class SerialPortsTest : public QObject {
    Q_OBJECT
  private slots:
    void typedPathTakesTheNumberAndIsPresentWhileItExists() {
        auto t = test::MakeTestProgram();
        ChildRadio radio(test::TempDir());
        QVERIFY(std::filesystem::is_symlink(radio.link));
        QVERIFY(AssignRadioPort(*t, 16, QString::fromStdString(radio.link)));
        QList<PortEntry> ports = ListRadioPorts(*t);
        QCOMPARE(ports.size(), 16);
        QCOMPARE(ports[15].number, 16);
        QCOMPARE(ports[15].device, QString::fromStdString(radio.link));
        QVERIFY(ports[15].present);
        radio.Stop();
        ports = ListRadioPorts(*t);
        QCOMPARE(ports[15].device, QString::fromStdString(radio.link)); // the number keeps its path
        QVERIFY(!ports[15].present);
    }

    void secondOpenOfTheSameDeviceFailsWithTheDeviceNamed() {
        auto t = test::MakeTestProgram();
        ChildRadio radio(test::TempDir());
        QVERIFY(AssignRadioPort(*t, 3, QString::fromStdString(radio.link)));
        t->Link.SerialPortNumber = 3;
        RadioLink first(*t);
        QVERIFY(first.openRadioPort(LinkOperation::ReadRadioInfo));
        RadioLink second(*t);
        QVERIFY(!second.openRadioPort(LinkOperation::ReadRadioInfo));
        QCOMPARE(t.script->shown.size(), size_t{1});
        const std::string shown = t.script->shown[0].text;
        // Held by this very process: "in use", naming it, and no permission advice.
        std::string inUse = LangText(*t, 32602_txt);
        inUse.replace(inUse.find("%1"), 2, std::to_string(getpid()));
        QVERIFY(shown.starts_with(LangText(*t, 9003_txt) + "\r\n" + radio.link + "\r\n" + inUse));
        QVERIFY(shown.find("dialout") == std::string::npos);
        QCOMPARE(t.script->shown[0].icon, MsgIcon::Critical);
        first.closePort();
        QVERIFY(second.openRadioPort(LinkOperation::ReadRadioInfo));
    }

    void echoExpectationFoundOnceServesTheNextTransfer() {
        auto t = test::MakeTestProgram();
        ChildRadio radio(test::TempDir()); // a cable without echo
        t->Link.NoEchoMode = false;
        const std::string trace = test::TempDir() + "/trace";
        int handshakes[2] = {0, 0};
        for (int run = 0; run < 2; ++run) {
            RadioLink link(*t);
            link.setDevice(QString::fromStdString(radio.link));
            QVERIFY(link.setTraceFile(QString::fromStdString(trace)));
            QSignalSpy finished(&link, &RadioLink::finished);
            QVERIFY(link.openRadioPort(LinkOperation::ReadRadioInfo));
            QVERIFY(link.start());
            QVERIFY(finished.wait(5000));
            QVERIFY(finished.at(0).at(1).toBool());
            QFile f(QString::fromStdString(trace));
            QVERIFY(f.open(QIODevice::ReadOnly));
            handshakes[run] = static_cast<int>(f.readAll().count(" tx 50 52 4f 47 52 41 4d\n")) -
                              (run == 0 ? 0 : handshakes[0]);
        }
        QCOMPARE(handshakes[0], 2); // the echo expectation timed out once
        QCOMPARE(handshakes[1], 1); // the next transfer starts without echo
        QVERIFY(t->Link.NoEchoMode);
    }

    void aPacketStillGoingOutIsNeverCutShort() {
        // A late reply taken for the next packet makes the program send again
        // before the radio has read the last packet: both must reach it whole.
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = true;
        HandRadio radio;
        RadioLink link(*t);
        link.setDevice(QString::fromStdString(radio.slave));
        QVERIFY(link.openRadioPort(LinkOperation::WriteRadio));
        QVERIFY(link.start());
        QCOMPARE(radio.Take(7), HandshakePacket::encode());
        radio.Put(HandshakeAck::encode());
        QCOMPARE(radio.Take(1), IdentRequest::encode());
        IdentReply id;
        id.modelCode = "Tarvane";
        id.firmwareVersion = "V100";
        id.flags = kFlagCtcssDcs;
        radio.Put(id.encode());
        QCOMPARE(radio.Take(4), ReadRequest{0x3E10}.encode());
        DataBlock password;
        password.address = 0x3E10;
        password.data.fill(0xFF);
        radio.Put(password.encode());
        QCOMPARE(radio.Take(22).at(2), uint8_t{0x00}); // block 0x0000
        // Two acknowledgements handled back to back, as two pieces of input
        // delivered before the port got round to writing: the packet sent for
        // the first must not be lost when the second makes the program send again.
        link.engine().OnBytes(Bytes{kAck});
        QCOMPARE(link.engine().BlockAddress(), 0x0010);
        link.engine().OnBytes(Bytes{kAck});
        QCOMPARE(link.engine().BlockAddress(), 0x0020);
        const Bytes both = radio.Take(44);
        QCOMPARE(both.size(), size_t{44});
        QCOMPARE((Bytes(both.begin(), both.begin() + 4)), (Bytes{'W', 0x00, 0x10, 0x10}));
        QCOMPARE((Bytes(both.begin() + 22, both.begin() + 26)), (Bytes{'W', 0x00, 0x20, 0x10}));
        link.abort();
    }

    void transferRunsThroughTheMappedNumber() {
        auto t = test::MakeTestProgram();
        ChildRadio radio(test::TempDir());
        QVERIFY(AssignRadioPort(*t, 7, QString::fromStdString(radio.link)));
        t->Link.SerialPortNumber = 7;
        RadioLink link(*t);
        QSignalSpy finished(&link, &RadioLink::finished);
        QSignalSpy closed(&link, &RadioLink::transferClosed);
        QVERIFY(link.openRadioPort(LinkOperation::ReadRadioInfo));
        QVERIFY(link.start());
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.at(0).at(1).toBool(), true);
        QCOMPARE(closed.size(), 1);
        QVERIFY(!link.isPortOpen());
        QCOMPARE(t->RadioInfo.ModelType, int16_t{0}); // the simulator's default radio is a CB one
    }
};

QTEST_GUILESS_MAIN(SerialPortsTest)
#include "SerialPortsTest.moc"
