#pragma once
// Whole files read and replaced as if they were hostile: codeplugs, settings
// files, language files. Reading never blocks on a FIFO or device and never takes
// more than a stated number of bytes; replacing never clobbers a link, a device,
// a FIFO or a folder, and leaves the old file whole when anything fails.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvane {

enum class FileFault {
    None,
    System,     // the system refused: `code` holds errno
    NotRegular, // a FIFO, device node or socket where a file was expected
    TooLarge,   // more bytes than the caller accepts
};

// Why a file could not be read or written, and which file.
struct FileError {
    std::string path;
    FileFault fault = FileFault::None;
    int code = 0; // errno when fault is System

    explicit operator bool() const { return fault != FileFault::None; }
};

// More than any settings or language file ever holds.
inline constexpr size_t kSettingsFileLimit = 1 << 20;
// The default for callers that name no limit of their own.
inline constexpr size_t kDefaultReadLimit = 16 << 20;

// Reads a whole regular file of at most maxBytes into out. A folder is refused
// with EISDIR, other non-regular files as NotRegular, without reading or waiting.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t maxBytes = kDefaultReadLimit,
                   FileError* error = nullptr);

// Replaces the file's contents: a temporary file beside the target, flushed,
// renamed over it and the folder synced. A symbolic link is followed and kept;
// a target that exists and is not a regular file is refused and left alone.
// The mode (and, where allowed, the owner) of a replaced file is kept.
bool WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes, FileError* error = nullptr);

// Whether WriteFileAtomic could replace the file now, found out without touching
// it: for a command that must not learn after a long transfer that its output
// cannot be written. The temporary file it would write is made beside the target
// with `bytes` bytes, synced and removed again, so a full file system is known too.
bool CanReplaceFile(const std::string& path, FileError* error = nullptr, size_t bytes = 0);

// Writes bytes at the start of a regular file in place, creating it when missing;
// the rest of the file stays. A non-regular file is left alone.
bool OverwriteFileStart(const std::string& path, std::span<const uint8_t> bytes, FileError* error = nullptr);

// The final target of a chain of symbolic links (the path itself when it is no
// link); a dangling link gives the path it points to.
std::string ResolveLinks(const std::string& path);
// True when both paths name one existing file (the same device and inode, so
// also through links and other spellings of the path).
bool SameFile(const std::string& a, const std::string& b);
// Why a path cannot take a byte trace of ours ("" when it can): a trace goes to a
// new file or grows one that already is a trace (it starts "# open "); anything
// else there, or anything but a regular file, is left alone.
std::string TraceTargetProblem(const std::string& path);

// The system's own words for an errno value.
std::string SystemReason(int code);

} // namespace tarvane
