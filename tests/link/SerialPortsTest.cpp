// The serial adapter on a real pseudo-terminal: port numbers mapped to typed
// paths, presence, the device lock, and a transfer through the number.
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "TestProgram.h"
#include "app/lang/LangText.h"
#include "link/RadioLink.h"
#include "link/SerialPorts.h"
#include "sim/SimHost.h"

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
        QVERIFY(shown.starts_with(LangText(*t, 9003_txt) + "\r\n" + radio.link + ": "));
        QCOMPARE(t.script->shown[0].icon, MsgIcon::Critical);
        first.closePort();
        QVERIFY(second.openRadioPort(LinkOperation::ReadRadioInfo));
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
