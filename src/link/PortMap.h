#pragma once
// Port numbers 1..16 and the device paths behind them. The mapping lives in the
// user setup file, section "Ports", keys "Port1".."Port16", so that a cable keeps
// its number from one run to the next.
#include <array>
#include <string>
#include <vector>

namespace tarvane {

struct Program;

inline constexpr int kPortCount = 16;
using PortMap = std::array<std::string, kPortCount>; // index = number - 1; empty: not mapped

PortMap LoadPortMap(const Program& p);
bool SavePortMap(const Program& p, const PortMap& map);
// Gives every present device that has no number the lowest free one; true when
// the map changed. Devices beyond the sixteenth free number stay unmapped, and
// the classic ports keep the numbers they have without a map.
bool MapNewDevices(PortMap& map, const std::vector<std::string>& presentDevices);
// Any path may be given to a number; a path held by another number moves.
bool AssignPortPath(Program& p, int number, const std::string& path);
// The number of a classic port ("/dev/ttyS2" is 3); 0 for any other device.
int ClassicPortNumber(const std::string& device);
// The device of a number: the mapped path, else the n-th classic port /dev/ttyS(n-1).
std::string PortDevicePath(const Program& p, int number);
// The message of a failed open: 9003, the device and the reason. The serial
// library reports a port locked or held by another program as a permission
// error too, so a refusal is looked at again: a live lock file or a device this
// user may open means "in use" (with the holder's process id when the lock file
// gives it); only a real permission error gets the dialout advice.
std::string PortOpenFailureText(Program& p, const std::string& device, const std::string& reason,
                                bool permissionDenied);
std::string PortOpenFailureText(Program& p, const std::string& device, const std::string& reason,
                                bool permissionDenied, const std::vector<std::string>& lockDirs);

// The process holding a port by a UUCP-style lock file ("LCK.." and the device
// name) in one of the folders; 0 when there is none or its process has ended.
long PortLockHolder(const std::string& device, const std::vector<std::string>& lockDirs);
// The folders serial programs keep their lock files in.
std::vector<std::string> DefaultLockDirs();

} // namespace tarvane
