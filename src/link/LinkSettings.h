#pragma once
// Link choices kept in the user setup file from one run to the next: whether
// every write is read back (section "language", key "VerifyWrite", beside
// "comPort"), and for the command line the echo expectation that last worked
// on each device (section "NoEchoMode", the device path as key), so that a
// cable without echo does not wait out a handshake time-out on every run.
#include <optional>
#include <string>

namespace tarvane {

struct Program;

// p.Link.VerifyWrite from the setup file; a missing or malformed value is off.
void LoadVerifySetting(Program& p);
bool SaveVerifySetting(const Program& p);

// The echo mode last kept for a device; nothing when none is known.
std::optional<bool> LoadNoEchoMode(const Program& p, const std::string& device);
// Written only when it differs from what the file holds. A path that cannot
// be an INI key (holding '=', ';', '[', ']' or a line break) is not kept.
bool SaveNoEchoMode(const Program& p, const std::string& device, bool noEcho);

} // namespace tarvane
