#include "link/SerialPorts.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <map>

#include "link/PortMap.h"
#include "state/Program.h"

namespace tarvane {

namespace {

struct Present {
    std::string path;
    QString description;
    QString systemLocation;
};

std::vector<Present> DiscoverPorts() {
    // The by-id names stay the same whichever USB socket the cable is in.
    std::map<QString, QString> byId; // canonical device -> by-id link
    const QDir dir(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : dir.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot))
        byId[link.canonicalFilePath()] = link.absoluteFilePath();
    std::vector<Present> found;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString location = info.systemLocation();
        auto id = byId.find(QFileInfo(location).canonicalFilePath());
        const QString path = id != byId.end() ? id->second : location;
        QString description = info.description();
        if (!info.manufacturer().isEmpty()) description += QStringLiteral(" (") + info.manufacturer() + ")";
        found.push_back({path.toStdString(), description, location});
    }
    return found;
}

} // namespace

QList<PortEntry> ListRadioPorts(Program& p) {
    const std::vector<Present> present = DiscoverPorts();
    PortMap map = LoadPortMap(p);
    std::vector<std::string> paths;
    for (const Present& d : present)
        paths.push_back(d.path);
    if (MapNewDevices(map, paths)) SavePortMap(p, map);

    QList<PortEntry> entries;
    for (int n = 1; n <= kPortCount; ++n) {
        PortEntry e;
        e.number = n;
        e.device = QString::fromStdString(PortDevicePath(p, n));
        for (const Present& d : present)
            if (QString::fromStdString(d.path) == e.device || d.systemLocation == e.device) {
                e.present = true;
                e.description = d.description;
            }
        // A typed path (a simulator's pty link) is there when it exists; the
        // classic /dev/ttyS nodes exist whether or not a port is behind them.
        if (!e.present && !e.device.startsWith(QStringLiteral("/dev/ttyS")))
            e.present = QFileInfo::exists(e.device);
        entries.push_back(e);
    }
    return entries;
}

bool AssignRadioPort(Program& p, int number, const QString& path) {
    return AssignPortPath(p, number, QFile::encodeName(path.trimmed()).toStdString());
}

} // namespace tarvane
