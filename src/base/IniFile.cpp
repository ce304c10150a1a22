#include "base/IniFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "base/NumberText.h"

namespace tarvane {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// "[name]" -> name, else nullopt.
std::optional<std::string> SectionOf(std::string_view line) {
    const std::string_view t = TrimView(line);
    if (t.size() >= 2 && t.front() == '[') {
        size_t close = t.find(']');
        if (close != std::string_view::npos) return std::string(TrimView(t.substr(1, close - 1)));
    }
    return std::nullopt;
}

bool KeyOf(std::string_view line, std::string& key, std::string& value) {
    const std::string_view t = TrimView(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return false;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return false;
    key = TrimView(t.substr(0, eq));
    value = t.substr(eq + 1);
    return true;
}

std::string CleanValue(std::string v) {
    size_t nul = v.find('\0');
    if (nul != std::string::npos) v.resize(nul);
    v = Trim(v);
    if (v.size() > 511) v.resize(511);
    return v;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

bool IniFile::Load(const std::string& path, FileError* error) {
    lines_.clear();
    unreadable_.clear();
    Changed();
    // A FIFO, device or huge file in place of a settings file reads as missing.
    std::vector<uint8_t> bytes;
    FileError why;
    if (!ReadWholeFile(path, bytes, kSettingsFileLimit, &why)) {
        if (why.fault != FileFault::System || why.code != ENOENT) unreadable_ = path;
        if (error) *error = why;
        return false;
    }
    Parse(std::string(bytes.begin(), bytes.end()));
    return true;
}

void IniFile::Parse(const std::string& text) {
    lines_.clear();
    Changed();
    std::string_view s = text;
    if (s.substr(0, 3) == "\xEF\xBB\xBF") s.remove_prefix(3); // UTF-8 byte order mark
    size_t start = 0;
    while (start < s.size()) {
        size_t nl = s.find('\n', start);
        std::string line(s.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(line);
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
}

std::string IniFile::Text() const {
    std::string out;
    for (const auto& l : lines_)
        out += l + "\n";
    return out;
}

bool IniFile::Save(const std::string& path) const {
    if (!unreadable_.empty() && (path == unreadable_ || SameFile(path, unreadable_))) return false;
    std::string text = Text();
    return WriteFileAtomic(
        path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::optional<std::string> IniFile::Get(const std::string& section, const std::string& key) const {
    if (!indexed_) {
        index_.clear();
        std::string in, k, v;
        bool inSection = false;
        for (const auto& line : lines_) {
            if (auto sec = SectionOf(line)) {
                in = Lower(*sec) + "\n";
                inSection = true;
                continue;
            }
            if (inSection && KeyOf(line, k, v))
                index_.emplace(in + Lower(k), CleanValue(v)); // the first counts
        }
        indexed_ = true;
    }
    auto it = index_.find(Lower(section) + "\n" + Lower(key));
    if (it == index_.end()) return std::nullopt;
    return it->second;
}

std::map<std::string, std::string> IniFile::Section(const std::string& section) const {
    std::map<std::string, std::string> keys;
    bool in = false;
    std::string k, v;
    for (const auto& line : lines_) {
        if (auto sec = SectionOf(line)) {
            in = SameName(*sec, section);
            continue;
        }
        if (!in || !KeyOf(line, k, v)) continue;
        for (char& c : k)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        keys.emplace(k, CleanValue(v)); // the first of two equal keys counts, as in Get
    }
    return keys;
}

std::string IniFile::GetOr(const std::string& section, const std::string& key,
                           const std::string& fallback) const {
    auto v = Get(section, key);
    return v ? *v : fallback;
}

void IniFile::Set(const std::string& section, const std::string& key, const std::string& value) {
    Changed();
    bool in = false;
    std::optional<size_t> lastOfSection;
    std::string k, v;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (auto sec = SectionOf(lines_[i])) {
            in = SameName(*sec, section);
            if (in) lastOfSection = i;
            continue;
        }
        if (!in) continue;
        if (KeyOf(lines_[i], k, v) && SameName(k, key)) {
            lines_[i] = k + "=" + value;
            return;
        }
        if (!Trim(lines_[i]).empty()) lastOfSection = i;
    }
    if (lastOfSection) {
        lines_.insert(lines_.begin() + static_cast<long>(*lastOfSection) + 1, key + "=" + value);
        return;
    }
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.push_back("");
    lines_.push_back("[" + section + "]");
    lines_.push_back(key + "=" + value);
}

std::map<std::string, std::string> ReadIniSection(const std::string& path, const std::string& section) {
    std::map<std::string, std::string> keys;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, kSettingsFileLimit)) return keys;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3); // UTF-8 byte order mark
    bool in = false;
    std::string k, v;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (auto sec = SectionOf(line)) {
            if (in) break; // the rest of the file is not read
            in = SameName(*sec, section);
        } else if (in && KeyOf(line, k, v)) {
            keys.emplace(Lower(k), CleanValue(v)); // the first of two equal keys counts, as in Get
        }
    }
    return keys;
}

std::string ReadIniValue(const std::string& path, const std::string& section, const std::string& key) {
    IniFile f;
    if (!f.Load(path)) return "";
    return f.GetOr(section, key);
}

bool WriteIniValue(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) {
    IniFile f;
    f.Load(path); // a missing file is created
    f.Set(section, key, value);
    return f.Save(path);
}

} // namespace tarvane
