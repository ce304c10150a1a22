#include "sim/SimHost.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>

#include "image/CodeplugFile.h"

namespace tarvane {

namespace {

volatile std::sig_atomic_t gStop = 0;
void OnSignal(int) {
    gStop = 1;
}

constexpr int64_t kByteNs = 1'000'000'000 / 960; // one 10-bit character at 9600 baud
constexpr int64_t kPieceGapNs = 300'000;         // unpaced split replies: far enough apart to be read apart

// The radio's files: raw memory (7424 bytes) and information area (256 bytes).
bool LoadRawFile(const std::string& path, std::span<uint8_t> out) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes) || bytes.size() != out.size()) return false;
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return true;
}

bool SaveRawFile(const std::string& path, std::span<const uint8_t> bytes) {
    return WriteFileAtomic(path, bytes);
}

int64_t Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// Absolute deadlines: a relative sleep per byte would add its own lateness up.
void SleepUntil(int64_t at) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(at / 1'000'000'000);
    ts.tv_nsec = static_cast<long>(at % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR && !gStop) {
    }
}

bool MakeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t); // a fresh pty echoes, translates CR/LF and eats ^C, ^D, ^Z and XON/XOFF
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

class Host {
  public:
    Host(const SimOptions& o, int master) : o_(o), master_(master), radio_(o.setup) {}

    bool Load() {
        struct stat st {};
        if (o_.startMemory) radio_.memory = *o_.startMemory;
        if (!o_.memoryFile.empty() && !o_.memoryFromCodeplug && stat(o_.memoryFile.c_str(), &st) == 0 &&
            !LoadRawFile(o_.memoryFile, radio_.memory)) {
            std::fprintf(stderr, "%s: not a radio memory file of %d bytes\n", o_.memoryFile.c_str(),
                         kRadioMemorySize);
            return false;
        }
        if (!o_.infoFile.empty() && stat(o_.infoFile.c_str(), &st) == 0 &&
            !LoadRawFile(o_.infoFile, radio_.info)) {
            std::fprintf(stderr, "%s: not an information area file of %d bytes\n", o_.infoFile.c_str(),
                         kRadioInfoSize);
            return false;
        }
        if (o_.passwordSet) radio_.SetPassword(o_.password);
        if (!o_.traceFile.empty() && !OpenTrace()) return false;
        start_ = Now();
        return Save();
    }

    // The rules of every trace of ours: a regular file, never waited on (a FIFO put
    // in its place fails at once), begun with the line that marks it as a trace.
    bool OpenTrace() {
        const int fd =
            open(o_.traceFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
        struct stat st{};
        if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
            close(fd);
            errno = EINVAL;
        } else if (fd >= 0 && (trace_ = fdopen(fd, "a"))) {
            std::fprintf(trace_, "# open %s\n", o_.link.c_str());
            return true;
        } else if (fd >= 0) {
            close(fd);
        }
        std::fprintf(stderr, "%s: %s\n", o_.traceFile.c_str(), std::strerror(errno));
        return false;
    }

    bool Save() {
        bool ok = true;
        if (!o_.memoryFile.empty() && !o_.memoryFromCodeplug)
            ok = SaveRawFile(o_.memoryFile, radio_.memory) && ok;
        if (!o_.infoFile.empty()) ok = SaveRawFile(o_.infoFile, radio_.info) && ok;
        if (!ok) std::fprintf(stderr, "tarvane-cli simulate: the radio files could not be written\n");
        return ok;
    }

    ~Host() {
        if (trace_) std::fclose(trace_);
    }

    int Run() {
        uint8_t buf[4096];
        while (!gStop) {
            WriteDue();
            int timeoutMs = 200;
            if (!out_.empty()) {
                const int64_t wait = out_.begin()->first - Now();
                if (wait <= 2'000'000) {
                    SleepUntil(out_.begin()->first);
                    continue;
                }
                timeoutMs = static_cast<int>((wait - 1'500'000) / 1'000'000);
            }
            pollfd pfd{master_, POLLIN, 0};
            const int r = poll(&pfd, 1, timeoutMs);
            if (r < 0 && errno != EINTR) return 1;
            if (r <= 0 || !(pfd.revents & POLLIN)) continue;
            const ssize_t n = read(master_, buf, sizeof buf);
            if (n > 0) Handle(std::span<const uint8_t>(buf, static_cast<size_t>(n)), Now());
        }
        return Save() ? 0 : 1;
    }

  private:
    void Trace(const char* direction, std::span<const uint8_t> bytes) {
        if (!trace_) return;
        std::fprintf(trace_, "%12.3f %s", static_cast<double>(Now() - start_) / 1e6, direction);
        for (uint8_t b : bytes)
            std::fprintf(trace_, " %02x", b);
        std::fputc('\n', trace_);
        std::fflush(trace_);
    }

    void WriteDue() {
        const int64_t now = Now();
        Bytes due;
        while (!out_.empty() && out_.begin()->first <= now) {
            due.insert(due.end(), out_.begin()->second.begin(), out_.begin()->second.end());
            out_.erase(out_.begin());
        }
        if (due.empty()) return;
        Trace("tx", due);
        size_t done = 0;
        while (done < due.size()) {
            const ssize_t w = write(master_, due.data() + done, due.size() - done);
            if (w > 0) {
                done += static_cast<size_t>(w);
            } else if (w < 0 && errno == EINTR) {
                continue;
            } else {
                break; // nobody reading and the queue full: the bytes are lost, as on a wire
            }
        }
    }

    void Push(int64_t at, Bytes bytes) { out_.emplace(at, std::move(bytes)); }

    void Handle(std::span<const uint8_t> bytes, int64_t arrived) {
        Trace("rx", bytes);
        const int64_t n = static_cast<int64_t>(bytes.size());
        // The bytes came at once through the pty; on a wire they take their time.
        const int64_t begin = o_.paced ? std::max(arrived, rxFree_) : arrived;
        const int64_t end = o_.paced ? begin + n * kByteNs : arrived;
        rxFree_ = end;
        if (o_.echo) {
            if (o_.paced) {
                for (int64_t i = 0; i < n; ++i)
                    Push(begin + (i + 1) * kByteNs, Bytes{bytes[static_cast<size_t>(i)]});
            } else {
                Push(arrived, Bytes(bytes.begin(), bytes.end()));
            }
        }
        const int endsBefore = radio_.ends;
        for (const SimReply& r : radio_.Feed(bytes)) {
            int64_t t = std::max(end + static_cast<int64_t>(r.delayMs) * 1'000'000, txFree_);
            if (o_.paced) {
                for (uint8_t b : r.bytes)
                    Push(t += kByteNs, Bytes{b});
            } else {
                const size_t piece = r.pieceBytes > 0 ? static_cast<size_t>(r.pieceBytes) : r.bytes.size();
                for (size_t i = 0; i < r.bytes.size(); i += piece) {
                    const size_t len = std::min(piece, r.bytes.size() - i);
                    Push(t, Bytes(r.bytes.begin() + static_cast<long>(i),
                                  r.bytes.begin() + static_cast<long>(i + len)));
                    t += kPieceGapNs;
                }
            }
            txFree_ = t;
        }
        // The files follow each completed session, so a test can look at them at once.
        if (radio_.ends != endsBefore && radio_.memoryChanged) {
            radio_.memoryChanged = false;
            Save();
        }
    }

    const SimOptions& o_;
    int master_;
    RadioResponder radio_;
    std::multimap<int64_t, Bytes> out_; // equal deadlines keep their order
    int64_t rxFree_ = 0;
    int64_t txFree_ = 0;
    int64_t start_ = 0;
    std::FILE* trace_ = nullptr;
};

} // namespace

int RunSimulator(const SimOptions& options) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::fprintf(stderr, "tarvane-cli simulate: no pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    const char* name = ptsname(master);
    // Keep the slave open ourselves: when the program closes it, the master
    // would otherwise report a hang-up on every poll and spin.
    const int slave = name ? open(name, O_RDWR | O_NOCTTY) : -1;
    if (slave < 0 || !MakeRaw(master) || !MakeRaw(slave)) {
        std::fprintf(stderr, "tarvane-cli simulate: the pseudo-terminal cannot be set up: %s\n",
                     std::strerror(errno));
        return 1;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    Host host(options, master);
    if (!host.Load()) return 1;

    struct stat st {};
    if (lstat(options.link.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(options.link.c_str());
    if (symlink(name, options.link.c_str()) != 0) {
        std::fprintf(stderr, "tarvane-cli simulate: cannot link %s: %s\n", options.link.c_str(),
                     std::strerror(errno));
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::fprintf(stderr, "simulating a radio on %s, linked at %s\n", name, options.link.c_str());

    const int status = host.Run();
    unlink(options.link.c_str());
    close(slave);
    close(master);
    return status;
}

} // namespace tarvane
