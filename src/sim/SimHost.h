#pragma once
// Hosts the radio responder on a pseudo-terminal: "tarvane-cli simulate".
// The slave side is linked at a path the program can open as its serial port.
#include <optional>
#include <string>

#include "sim/RadioResponder.h"
#include "state/MemoryMap.h"

namespace tarvane {

struct SimOptions {
    std::string link;       // symlink made to the pty slave
    std::string memoryFile; // 7424 bytes, loaded at start (if present) and saved after each write session
    // The memory when memoryFile is missing (the band's factory configuration) or
    // is a codeplug (its radio memory); nullopt: all zeros.
    std::optional<RadioMemory> startMemory;
    bool memoryFromCodeplug = false; // memoryFile is a codeplug: never loaded as memory nor rewritten
    std::string infoFile;            // 256 bytes, the same
    std::string traceFile;           // every request and reply with a timestamp
    std::string password;            // put into the information area when passwordSet
    bool passwordSet = false;
    bool echo = false; // an echoing cable: every received byte is sent straight back
    bool paced = true; // replies at the 9600-baud byte rate, by absolute deadlines
    RadioSetup setup;
};

// Runs until SIGINT or SIGTERM. Returns a process exit status; problems go to stderr.
int RunSimulator(const SimOptions& options);

} // namespace tarvane
