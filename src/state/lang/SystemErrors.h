#pragma once
// The system's refusals in the user's language. The common ones (a missing
// file, a device that went away, a busy device, no permission, a full or
// read-only disk) have language texts; any other keeps the system's words.
// One table for the windows and the command line alike.
#include <string>

namespace tarvane {

struct Program;

// The reason for an errno value, as it follows "path: " in a message.
std::string SystemErrorText(Program& p, int errnum);

} // namespace tarvane
