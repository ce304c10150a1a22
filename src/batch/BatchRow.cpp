#include "batch/BatchRow.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace tarvane {

namespace {

// One row is one line: a reason told over several lines is joined with "; ".
std::string OneLine(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n'))
                ++i;
            out += "; ";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Quoted(const std::string& raw) {
    const std::string field = OneLine(raw);
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

bool SameIdentity(const RadioIdentity& a, const RadioIdentity& b) {
    return a.RadioModelCode == b.RadioModelCode && a.RadioModelType == b.RadioModelType &&
           a.RadioFirmwareVersion == b.RadioFirmwareVersion;
}

} // namespace

const char* ResultWord(BatchResult result) {
    switch (result) {
    case BatchResult::Pending:
        return "pending";
    case BatchResult::Written:
        return "ok";
    case BatchResult::Failed:
        return "failed";
    case BatchResult::Refused:
        return "refused";
    case BatchResult::Interrupted:
        return "interrupted";
    }
    return "";
}

std::string LogHeader() {
    return "date_time,port,model,band,firmware,serial_number,file,checksum,result,blocks_mended,seconds,note";
}

std::string LogLine(const BatchRow& row) {
    std::tm local{};
    localtime_r(&row.started, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", row.seconds);
    const std::vector<std::string> fields = {stamp,
                                             row.port,
                                             row.model,
                                             row.band,
                                             row.firmware,
                                             row.serial,
                                             row.file,
                                             row.checksum,
                                             ResultWord(row.result),
                                             std::to_string(row.mended),
                                             seconds,
                                             row.reason};
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += (i ? "," : "") + Quoted(fields[i]);
    return line;
}

std::string DailyLogName(const std::tm& day) {
    char name[40];
    std::strftime(name, sizeof name, "programming-%Y%m%d.csv", &day);
    return name;
}

std::string NewestLog(const std::string& folder) {
    namespace fs = std::filesystem;
    std::string newest;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // "programming-" + 8 digits + ".csv": the date sorts as text.
        if (name.size() != 24 || name.rfind("programming-", 0) != 0 || name.substr(20) != ".csv") continue;
        if (name > newest) newest = name;
    }
    return newest.empty() ? std::string() : (fs::path(folder) / newest).string();
}

bool AppendLogRow(const std::string& path, const BatchRow& row) {
    struct stat st {};
    const bool fresh = stat(path.c_str(), &st) != 0 || st.st_size == 0;
    std::ofstream out(path, std::ios::app | std::ios::binary);
    if (!out) return false;
    if (fresh) out << LogHeader() << "\r\n";
    out << LogLine(row) << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

std::string Checksum(std::span<const uint8_t> bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    char text[12];
    std::snprintf(text, sizeof text, "%08X", crc ^ 0xFFFFFFFFu);
    return text;
}

void NextRadioWait::Done(const std::optional<RadioIdentity>& radio) {
    last_ = radio;
    // A port where nothing answered has already been seen silent.
    silence_ = !radio.has_value();
}

bool NextRadioWait::Polled(const std::optional<RadioIdentity>& answer) {
    if (!answer) {
        silence_ = true;
        return false;
    }
    if (silence_ || !last_ || !SameIdentity(*last_, *answer)) return true;
    return false;
}

} // namespace tarvane
