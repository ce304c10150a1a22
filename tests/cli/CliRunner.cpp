#include "CliRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>

#include "TestProgram.h"
#include "image/CodeplugFile.h"
#include "memory/RadioMemory.h"

extern char** environ;

namespace tarvane::test {

namespace {

const std::string kCli = std::string(TARVANE_PROGRAM_DIR) + "/tarvane-cli";

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int Spawn(const std::vector<std::string>& args, const std::string& out, const std::string& err) {
    // The backups of reads and writes go to a folder of the tests, never the user's.
    static const bool dataHome = setenv("XDG_DATA_HOME", (TempDir() + "/data").c_str(), 0) == 0;
    (void)dataHome;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(kCli.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    if (posix_spawn(&pid, kCli.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace

RunningCli::RunningCli(const std::vector<std::string>& args) : dir_(TempDir()) {
    pid_ = Spawn(args, dir_ + "/out", dir_ + "/err");
}

CliResult RunningCli::Wait() {
    CliResult r;
    if (pid_ < 0) return r;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = Slurp(dir_ + "/out");
    r.err = Slurp(dir_ + "/err");
    return r;
}

void RunningCli::Signal(int sig) {
    if (pid_ > 0) kill(pid_, sig);
}

CliResult RunCli(const std::vector<std::string>& args) {
    return RunningCli(args).Wait();
}

SimulatedRadio::SimulatedRadio(const std::vector<std::string>& options, const std::string& folder)
    : folder_(folder.empty() ? TempDir() : folder) {
    // A name of its own: the serial port locks by the link's name.
    static int counter = 0;
    link_ = folder_ + "/radio-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    std::vector<std::string> args{"simulate",   "--link", link_,      "--unpaced", "--memory",
                                  MemoryFile(), "--info", InfoFile(), "--trace",   folder_ + "/sim-trace"};
    args.insert(args.end(), options.begin(), options.end());
    pid_ = Spawn(args, folder_ + "/sim-out", folder_ + "/sim-err");
    for (int i = 0; i < 500 && pid_ > 0 && !ready_; ++i) {
        std::error_code ec;
        ready_ = std::filesystem::is_symlink(link_, ec);
        if (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

SimulatedRadio::~SimulatedRadio() {
    Stop();
}

void SimulatedRadio::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::vector<unsigned char> SimulatedRadio::Memory() const {
    return ReadBytes(MemoryFile());
}
std::vector<unsigned char> SimulatedRadio::Info() const {
    return ReadBytes(InfoFile());
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::vector<unsigned char> EncodedFile(const std::string& path) {
    auto t = MakeTestProgram();
    EXPECT_EQ(OpenCodeplug(*t, path), OpenResult::Opened);
    EncodeRadioMemory(*t);
    return {t->RadioMemoryBlock.begin(), t->RadioMemoryBlock.end()};
}

} // namespace tarvane::test
