#pragma once
// Looks for radios on many serial devices at once: one port and one protocol
// engine each, all driven by Qt's event loop (no threads). Each engine runs
// the handshake and the identification request, then "END": nothing beyond
// the identity is read and nothing is written. The findings come in as each
// device finishes; a silent one takes its four handshakes (about 0.6 s).
//
//   RadioDetector detector(p.Versions);
//   connect(&detector, &RadioDetector::found, ...);   // index into findings()
//   connect(&detector, &RadioDetector::finished, ...);
//   detector.start(DetectionCandidates(p));
#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "detect/PortFinding.h"

namespace tarvane {

struct Program;
struct VersionTable;

// Every serial device of the machine: by-id names where they exist, other
// present devices, and the paths mapped to port numbers in the setup file.
std::vector<std::string> DetectionCandidates(const Program& p);

class RadioDetector : public QObject {
    Q_OBJECT
  public:
    explicit RadioDetector(const VersionTable& versions, QObject* parent = nullptr);
    ~RadioDetector() override;

    // Starts every device at once; found and finished may come before it returns
    // (a device that cannot be opened). An empty list finishes at once.
    void start(const std::vector<std::string>& devices);
    // Ends every exchange still running ("END" sent, ports closed).
    void stop();
    bool running() const { return left_ > 0; }
    // In the order the devices were given; a device still being tried has an empty port.
    const std::vector<PortFinding>& findings() const { return findings_; }
    // Where lock files and processes are looked at (tests point it elsewhere).
    SystemView view = DefaultSystemView();

  signals:
    void found(int index);
    void finished();

  private:
    struct Probe;
    void Done(int run, int index, PortFinding finding);

    const VersionTable& versions_;
    std::vector<std::unique_ptr<Probe>> probes_;
    std::vector<PortFinding> findings_;
    int left_ = 0;
    int run_ = 0;
};

} // namespace tarvane
