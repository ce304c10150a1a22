#pragma once
// SIGINT and SIGTERM for the radio commands of tarvane-cli.
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tarvane {

// SIGINT and SIGTERM reach the event loop through a pipe: the transfer then
// ends as a cancel does ("END", port closed) instead of leaving the radio in
// programming mode and a half-written output file.
inline int gSignalPipe[2] = {-1, -1};
inline volatile std::sig_atomic_t gSignal = 0;

inline void OnSignal(int sig) {
    gSignal = sig;
    if (gSignalPipe[1] >= 0) {
        const char c = 1;
        [[maybe_unused]] const ssize_t n = write(gSignalPipe[1], &c, 1);
    }
}

class SignalCatcher {
  public:
    SignalCatcher() {
        gSignal = 0;
        if (pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) gSignalPipe[0] = gSignalPipe[1] = -1;
        struct sigaction sa {};
        sa.sa_handler = OnSignal;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGINT, &sa, &oldInt_);
        sigaction(SIGTERM, &sa, &oldTerm_);
    }
    ~SignalCatcher() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
        for (int& fd : gSignalPipe) {
            if (fd >= 0) close(fd);
            fd = -1;
        }
    }
    int ReadFd() const { return gSignalPipe[0]; }
    int Signal() const { return gSignal; }

  private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

// The exit status of a command ended by a signal, as a shell reports it.
inline int InterruptedStatus(int sig) {
    return 128 + sig;
}

} // namespace tarvane
