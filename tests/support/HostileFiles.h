#pragma once
// Things that sit where a file is expected and must never crash, hang or be
// replaced: folders, FIFOs without a writer, devices, files whose reads fail,
// huge sparse files, dangling links and link loops. Header only, for the file,
// settings-file and command-line tests.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace tarvane::test {

enum class Hostile { Folder, Fifo, DevZero, ProcMem, HugeSparse, Dangling, LinkLoop, LinkToFifo };

struct HostileCase {
    Hostile kind;
    const char* name;
    const char* reason; // what the program says about it
};

inline constexpr const char* kNotRegular = "not a regular file (a device, pipe or socket)";

inline constexpr HostileCase kHostileCases[] = {
    {Hostile::Folder, "folder", "Is a directory"},
    {Hostile::Fifo, "FIFO without a writer", kNotRegular},
    {Hostile::DevZero, "link to /dev/zero", kNotRegular},
    {Hostile::ProcMem, "link to /proc/self/mem (reads fail)", "Input/output error"},
    {Hostile::HugeSparse, "2 GB sparse file", nullptr}, // the reason depends on the reader's limit
    {Hostile::Dangling, "dangling link", "No such file or directory"},
    {Hostile::LinkLoop, "link loop", "Too many levels of symbolic links"},
    {Hostile::LinkToFifo, "link to a FIFO", kNotRegular},
};

// Puts the hostile thing at path; true when it is there.
inline bool PlaceHostile(Hostile kind, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::remove_all(path, ec);
    switch (kind) {
    case Hostile::Folder:
        return fs::create_directory(path, ec);
    case Hostile::Fifo:
        return mkfifo(path.c_str(), 0644) == 0;
    case Hostile::DevZero:
        return symlink("/dev/zero", path.c_str()) == 0;
    case Hostile::ProcMem:
        return symlink("/proc/self/mem", path.c_str()) == 0;
    case Hostile::HugeSparse: {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool ok = fd >= 0 && ftruncate(fd, off_t{2} << 30) == 0;
        if (fd >= 0) close(fd);
        return ok;
    }
    case Hostile::Dangling:
        return symlink((path + ".nowhere").c_str(), path.c_str()) == 0;
    case Hostile::LinkLoop:
        fs::remove(path + ".loop", ec);
        return symlink((path + ".loop").c_str(), path.c_str()) == 0 &&
               symlink(path.c_str(), (path + ".loop").c_str()) == 0;
    case Hostile::LinkToFifo:
        fs::remove(path + ".fifo", ec);
        return mkfifo((path + ".fifo").c_str(), 0644) == 0 &&
               symlink((path + ".fifo").c_str(), path.c_str()) == 0;
    }
    return false;
}

// True when the thing is still what PlaceHostile made: nothing replaced or filled it.
inline bool StillHostile(Hostile kind, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    switch (kind) {
    case Hostile::Folder:
        return fs::is_directory(fs::symlink_status(path, ec)) && fs::is_empty(path, ec);
    case Hostile::Fifo:
        return fs::is_fifo(fs::symlink_status(path, ec));
    case Hostile::DevZero:
        return fs::read_symlink(path, ec) == "/dev/zero";
    case Hostile::ProcMem:
        return fs::read_symlink(path, ec) == "/proc/self/mem";
    case Hostile::HugeSparse: {
        // Still a hole from its first byte: nothing was written into it.
        const int fd = open(path.c_str(), O_RDONLY);
        char head[4] = {1, 1, 1, 1};
        const bool zero =
            fd >= 0 && read(fd, head, 4) == 4 && head[0] == 0 && head[1] == 0 && head[2] == 0 && head[3] == 0;
        if (fd >= 0) close(fd);
        return zero && fs::file_size(path, ec) == (uintmax_t{2} << 30);
    }
    case Hostile::Dangling:
        return fs::is_symlink(path, ec) && !fs::exists(path + ".nowhere", ec);
    case Hostile::LinkLoop:
        return fs::is_symlink(path, ec) && fs::is_symlink(path + ".loop", ec);
    case Hostile::LinkToFifo:
        return fs::is_symlink(path, ec) && fs::is_fifo(fs::symlink_status(path + ".fifo", ec));
    }
    return false;
}

// Runs body as an ordinary user (uid/gid 65534) in a child process when the
// tests run as root, for whom permissions mean nothing; directly otherwise.
// Returns what body returned ("" meaning all was as expected).
inline std::string AsOrdinaryUser(const std::function<std::string()>& body) {
    if (geteuid() != 0) return body();
    int fds[2];
    if (pipe(fds) != 0) return "no pipe";
    const pid_t child = fork();
    if (child < 0) return "no fork";
    if (child == 0) {
        close(fds[0]);
        std::string result = "could not become an ordinary user";
        if (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0) result = body();
        (void)!write(fds[1], result.data(), result.size());
        _exit(0);
    }
    close(fds[1]);
    std::string result;
    char buf[512];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;)
        result.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return result;
}

} // namespace tarvane::test
