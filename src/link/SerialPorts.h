#pragma once
// The sixteen port numbers as the port dialog shows them: each with its device,
// a description and whether it is there now. Present devices come from
// QSerialPortInfo (by their stable /dev/serial/by-id name where one exists);
// a device seen for the first time gets the lowest free number, kept in the
// user setup file. Pseudo-terminals and links are never listed by the system:
// any path can be given to a number with AssignRadioPort.
#include <QList>
#include <QString>

namespace tarvane {

struct Program;

struct PortEntry {
    int number = 0;      // 1..16
    QString device;      // the path opened for this number
    QString description; // from the system listing; empty for a typed path
    bool present = false;
};

// Runs discovery (numbering new devices) and returns the sixteen entries.
QList<PortEntry> ListRadioPorts(Program& p);
// Gives the path to the number (a path held by another number moves); false
// when the number is outside 1..16 or the setup file cannot be written.
bool AssignRadioPort(Program& p, int number, const QString& path);

} // namespace tarvane
