#pragma once
// Runs tarvane-cli from the staged program folder, and a simulated radio on a
// pseudo-terminal beside it, for the end-to-end tests.
#include <string>
#include <vector>

namespace tarvane::test {

struct CliResult {
    int status = -1; // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

CliResult RunCli(const std::vector<std::string>& args);

// The same, started now and waited for later.
class RunningCli {
  public:
    explicit RunningCli(const std::vector<std::string>& args);
    CliResult Wait();
    // Sends a signal to the running program (Ctrl+C is SIGINT).
    void Signal(int sig);

  private:
    std::string dir_;
    int pid_ = -1;
};

// "tarvane-cli simulate --unpaced" linked at a fresh path in its own folder;
// memory.bin and info.bin there are the radio's files. Stopped on destruction.
class SimulatedRadio {
  public:
    explicit SimulatedRadio(const std::vector<std::string>& options, const std::string& folder = "");
    ~SimulatedRadio();
    SimulatedRadio(const SimulatedRadio&) = delete;
    SimulatedRadio& operator=(const SimulatedRadio&) = delete;

    bool Ready() const { return ready_; }
    // Ends the simulator; its files then hold everything it was sent.
    void Stop();
    const std::string& Link() const { return link_; }
    std::string MemoryFile() const { return folder_ + "/memory.bin"; }
    std::string InfoFile() const { return folder_ + "/info.bin"; }
    std::vector<unsigned char> Memory() const;
    std::vector<unsigned char> Info() const;

  private:
    std::string folder_;
    std::string link_;
    int pid_ = -1;
    bool ready_ = false;
};

// Writes bytes to a file; false on failure.
bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::string& path);
// The radio memory the write command sends for a codeplug file.
std::vector<unsigned char> EncodedFile(const std::string& path);

} // namespace tarvane::test
