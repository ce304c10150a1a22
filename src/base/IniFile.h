#pragma once
// INI text files read and written by section and key. Section and key names
// compare without regard to letter case; values are trimmed of blanks and end
// at a NUL. Writing keeps every other line of the file as it was.
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/SafeFile.h"

namespace tarvane {

class IniFile {
  public:
    // False when the file cannot be read, is not a regular file or is larger than
    // any settings file (kSettingsFileLimit); the object is then empty and error
    // (when given) says why.
    bool Load(const std::string& path, FileError* error = nullptr);
    void Parse(const std::string& text);
    // Writes to a temporary file beside the target and renames it over the target
    // (through a symbolic link, over the link's target). A file this object failed
    // to load for any reason but its absence is never replaced: what it holds is
    // unknown here, and writing would lose it.
    bool Save(const std::string& path) const;
    std::string Text() const;

    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
    std::string GetOr(const std::string& section, const std::string& key,
                      const std::string& fallback = "") const;
    // Every key of a section, keys in lower case, read in one pass over the file.
    std::map<std::string, std::string> Section(const std::string& section) const;
    void Set(const std::string& section, const std::string& key, const std::string& value);

  private:
    void Changed() { indexed_ = false; }

    std::vector<std::string> lines_;
    std::string unreadable_; // the path of a failed Load, "" when none
    // "section\nkey" in lower case -> the value Get returns, made on the first Get
    // after a change: language texts are looked up thousands of times a second.
    mutable std::unordered_map<std::string, std::string> index_;
    mutable bool indexed_ = false;
};

// The keys (in lower case) of the first `section` of a file, reading no further
// than its end: a file's head, such as a language file's name and code, without
// parsing every text after it. Empty when the file or section is missing.
std::map<std::string, std::string> ReadIniSection(const std::string& path, const std::string& section);
// Reads one value from a file (empty when the file, section or key is missing).
std::string ReadIniValue(const std::string& path, const std::string& section, const std::string& key);
// Replaces or adds one key; false when the file cannot be written.
bool WriteIniValue(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value);

} // namespace tarvane
