#include "base/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvane {
namespace {

bool Fail(FileError* error, const std::string& path, FileFault fault, int code = 0) {
    if (error) *error = FileError{path, fault, code};
    return false;
}

// What stat says about a file that is about to be read or replaced: a folder
// reads as EISDIR (the system's own words), anything else irregular is refused.
bool CheckRegular(const struct stat& st, FileError* error, const std::string& path) {
    if (S_ISDIR(st.st_mode)) return Fail(error, path, FileFault::System, EISDIR);
    if (!S_ISREG(st.st_mode)) return Fail(error, path, FileFault::NotRegular);
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

void CloseKeepingErrno(int fd) {
    const int saved = errno;
    close(fd);
    errno = saved;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes, off_t at) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = pwrite(fd, bytes.data() + done, bytes.size() - done, at + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Opens without waiting (O_NONBLOCK: a FIFO put in place in between fails at once)
// and checks what was opened, since the name may have been replaced after a stat.
// Returns the descriptor, or -1 with the error filled in.
int OpenRegular(const std::string& path, int flags, struct stat& st, FileError* error) {
    const int fd = open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        Fail(error, path, FileFault::System, errno);
        return -1;
    }
    if (fstat(fd, &st) != 0) {
        CloseKeepingErrno(fd);
        Fail(error, path, FileFault::System, errno);
        return -1;
    }
    if (!CheckRegular(st, error, path)) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::string SystemReason(int code) {
    return std::strerror(code);
}

std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    // As many hops as the system follows; a longer chain is left for the open to report (ELOOP).
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        char buf[PATH_MAX];
        const ssize_t n = readlink(current.c_str(), buf, sizeof buf - 1);
        if (n <= 0) return current;
        std::string target(buf, static_cast<size_t>(n));
        current = target.front() == '/' ? target : FolderOf(current) + "/" + target;
    }
    return current;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t maxBytes, FileError* error) {
    out.clear();
    // Looked at before opening: opening a FIFO or a serial device can wait or
    // change the line, and nothing here ever wants to.
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return Fail(error, path, FileFault::System, errno);
    if (!CheckRegular(st, error, path)) return false;
    if (static_cast<uint64_t>(st.st_size) > maxBytes) return Fail(error, path, FileFault::TooLarge);

    const int fd = OpenRegular(path, O_RDONLY, st, error);
    if (fd < 0) return false;
    // Files such as those under /proc say 0 bytes and have more: the limit holds
    // for what is actually read, not for what stat said.
    out.reserve(std::min(static_cast<size_t>(st.st_size), maxBytes));
    uint8_t chunk[65536];
    for (;;) {
        const size_t room = std::min(sizeof chunk, maxBytes - out.size() + 1);
        const ssize_t n = read(fd, chunk, room);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            CloseKeepingErrno(fd);
            out.clear();
            return Fail(error, path, FileFault::System, errno);
        }
        if (n == 0) break;
        out.insert(out.end(), chunk, chunk + n);
        if (out.size() > maxBytes) {
            close(fd);
            out.clear();
            return Fail(error, path, FileFault::TooLarge);
        }
    }
    close(fd);
    return true;
}

namespace {

// What replacing a file goes by: the file a chain of links ends in (so the links
// stay links), whether it exists and, if so, its stat.
struct Target {
    std::string path;
    bool exists = false;
    struct stat st {};
};

bool FindTarget(const std::string& path, Target& t, FileError* error) {
    t.path = ResolveLinks(path);
    t.exists = stat(t.path.c_str(), &t.st) == 0;
    if (!t.exists && errno != ENOENT) return Fail(error, path, FileFault::System, errno);
    return !t.exists || CheckRegular(t.st, error, path);
}

// A temporary file beside the target. Its name is short, so that a target with
// the longest legal name can be saved.
int MakeTemporary(const Target& t, std::string& tmp) {
    tmp = FolderOf(t.path) + "/.tarvane-XXXXXX";
    return mkostemp(tmp.data(), O_CLOEXEC);
}

} // namespace

bool CanReplaceFile(const std::string& path, FileError* error, size_t bytes) {
    Target t;
    if (!FindTarget(path, t, error)) return false;
    std::string tmp;
    const int fd = MakeTemporary(t, tmp);
    if (fd < 0) return Fail(error, path, FileFault::System, errno);
    // Written and synced for real: a file system that takes the name but not the
    // bytes (full, over quota) says so only here.
    const std::vector<uint8_t> zeros(bytes);
    bool ok = WriteAll(fd, zeros, 0) && fsync(fd) == 0;
    int code = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    unlink(tmp.c_str());
    return ok || Fail(error, path, FileFault::System, code); // a name too long failed in stat already
}

bool WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes, FileError* error) {
    Target t;
    if (!FindTarget(path, t, error)) return false;
    const std::string& target = t.path;
    const std::string folder = FolderOf(target);
    const bool exists = t.exists;
    const struct stat& st = t.st;
    std::string tmp;
    const int fd = MakeTemporary(t, tmp);
    if (fd < 0) return Fail(error, path, FileFault::System, errno);

    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
        // Another user's file saved by an administrator stays that user's; refused
        // for an ordinary user, which keeps the file as the user's own.
        (void)!fchown(fd, st.st_uid, st.st_gid);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes, 0) && fsync(fd) == 0;
    int code = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && rename(tmp.c_str(), target.c_str()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        unlink(tmp.c_str());
        return Fail(error, path, FileFault::System, code);
    }
    // The rename itself is made durable. A file system that cannot sync a folder
    // (EINVAL) has nothing more to do; an I/O error means the save may be lost.
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        const bool synced = fsync(dir) == 0 || errno != EIO;
        CloseKeepingErrno(dir);
        if (!synced) return Fail(error, path, FileFault::System, EIO);
    }
    return true;
}

bool OverwriteFileStart(const std::string& path, std::span<const uint8_t> bytes, FileError* error) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && !CheckRegular(st, error, path)) return false;
    const int fd = OpenRegular(path, O_WRONLY | O_CREAT, st, error);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes, 0);
    int code = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    return ok || Fail(error, path, FileFault::System, code);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat x {
    }, y{};
    return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

std::string TraceTargetProblem(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT ? "" : SystemReason(errno);
    if (!S_ISREG(st.st_mode)) return "not a regular file";
    if (st.st_size == 0) return "";
    // Non-blocking, as every open of ours: nothing may wait before Ctrl+C works.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return SystemReason(errno);
    char head[7] = {};
    const ssize_t got = read(fd, head, sizeof head);
    close(fd);
    if (got != static_cast<ssize_t>(sizeof head) || std::string_view(head, sizeof head) != "# open ")
        return "exists and is not a trace: give a new name or remove it";
    return "";
}

} // namespace tarvane
