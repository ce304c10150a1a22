// tarvane-cli detect: every serial device tried at once for a radio, with the
// identification only; one line (or one JSON object) per device.
#include <QCoreApplication>
#include <cstdio>

#include "cli/Cli.h"
#include "detect/RadioDetector.h"
#include "exchange/ImageJson.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

int CliDetect(Program& p, const CliArgs& args) {
    auto given = args.lists.find("--port");
    const std::vector<std::string> devices =
        given != args.lists.end() ? given->second : DetectionCandidates(p);
    if (devices.empty()) {
        std::fprintf(stderr, "%s\n", LangText(p, txt::kNoSerialDevice).c_str());
        return kExitFailed;
    }
    RadioDetector detector(p.Versions);
    QObject::connect(&detector, &RadioDetector::finished, [] { QCoreApplication::exit(0); });
    detector.start(devices);
    if (detector.running()) QCoreApplication::exec();

    const std::vector<PortFinding>& findings = detector.findings();
    if (args.Has("--json")) {
        Json all = Json::Arr();
        for (const PortFinding& f : findings)
            all.Push(FindingJson(p, f));
        std::printf("%s\n", WriteJson(all).c_str());
    } else {
        for (const PortFinding& f : findings) {
            std::string line = f.port + ": " + StatusWord(f.status) + ": " + FindingSummary(p, f);
            if (const std::string advice = FindingAdvice(p, f); !advice.empty()) line += " " + advice;
            std::printf("%s\n", line.c_str());
        }
    }
    return DetectExitStatus(findings);
}

} // namespace tarvane
