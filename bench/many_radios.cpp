// Three paced simulators written at once against one write: tarvane-cli write
// with three --port (every radio read back) and with one --port, with and
// without --verify. Not a test: it prints figures.
//
//   make -C <build> bench_many_radios tarvane-cli && <build>/bench/bench_many_radios
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

const std::string kCli = std::string(TARVANE_PROGRAM_DIR) + "/tarvane-cli";

pid_t Spawn(std::vector<std::string> args, bool quiet) {
    args.insert(args.begin(), kCli);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, kCli.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Seconds a command takes, and its exit status.
std::pair<double, int> Timed(const std::vector<std::string>& args) {
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    waitpid(Spawn(args, true), &status, 0);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {took.count(), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

} // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("tarvane-bench-many-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "cb.dat").string();
    Timed({"new", "--type", "CB", "--out", file});
    std::vector<pid_t> sims;
    std::vector<std::string> links;
    for (int i = 0; i < 3; ++i) {
        links.push_back((dir / ("radio" + std::to_string(i))).string());
        sims.push_back(Spawn({"simulate", "--link", links.back()}, true));
    }
    for (const std::string& l : links)
        while (!fs::is_symlink(l))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto one = Timed({"write", file, "--port", links[0]});
    const auto verified = Timed({"write", file, "--port", links[0], "--verify"});
    const auto three = Timed({"write", file, "--port", links[0], "--port", links[1], "--port", links[2]});
    std::printf("one write:                   %6.2f s (exit %d)\n", one.first, one.second);
    std::printf("one write --verify:          %6.2f s (exit %d)\n", verified.first, verified.second);
    std::printf("three radios (read back):    %6.2f s (exit %d)\n", three.first, three.second);
    std::printf("three / one write --verify:  %6.3f\n", three.first / verified.first);
    std::printf("three / one write:           %6.3f\n", three.first / one.first);
    for (pid_t pid : sims) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    fs::remove_all(dir);
    return 0;
}
