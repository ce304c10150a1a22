#include "exchange/CsvFile.h"

#include <algorithm>

namespace tarvane {
namespace {

// Length of the UTF-8 sequence at the position, 0 when it is not one
// (overlong forms, surrogates and values past U+10FFFF included).
size_t Utf8Length(std::string_view s, size_t at) {
    const auto b = [&](size_t i) { return static_cast<unsigned char>(s[at + i]); };
    const unsigned char c = b(0);
    if (c < 0x80) return 1;
    size_t n;
    unsigned lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (at + n > s.size()) return 0;
    if (b(1) < lo || b(1) > hi) return 0;
    for (size_t i = 2; i < n; ++i)
        if (b(i) < 0x80 || b(i) > 0xBF) return 0;
    return n;
}

// The first line holding a NUL byte or bytes that are not UTF-8.
CsvError CheckText(std::string_view s, int& line) {
    // A NUL anywhere marks binary data, whatever comes before it.
    if (size_t nul = s.find('\0'); nul != std::string_view::npos) {
        line = 1 + static_cast<int>(std::count(s.begin(), s.begin() + static_cast<long>(nul), '\n'));
        return CsvError::Binary;
    }
    line = 1;
    for (size_t i = 0; i < s.size();) {
        if (s[i] == '\n') ++line;
        const size_t n = Utf8Length(s, i);
        if (n == 0) return CsvError::NotUtf8;
        i += n;
    }
    return CsvError::None;
}

} // namespace

CsvTable ReadCsv(std::string_view text) {
    CsvTable table;
    auto fail = [&table](CsvError e, int line) {
        table.Records.clear();
        table.Error = e;
        table.ErrorLine = line;
        return table;
    };
    if (text.size() > kCsvMaxBytes) return fail(CsvError::TooLarge, 0);
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    int badLine = 0;
    if (CsvError e = CheckText(text, badLine); e != CsvError::None) return fail(e, badLine);

    const size_t n = text.size();
    size_t pos = 0;
    int line = 1;
    while (pos < n) {
        CsvRecord record;
        record.Line = line;
        bool endOfRecord = false;
        while (!endOfRecord) {
            std::string field;
            if (pos < n && text[pos] == '"') {
                const int startLine = line;
                ++pos;
                while (true) {
                    if (pos >= n) return fail(CsvError::OpenQuote, startLine);
                    const char c = text[pos];
                    if (c == '"') {
                        if (pos + 1 < n && text[pos + 1] == '"') {
                            field += '"';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        break;
                    }
                    if (c == '\n') ++line;
                    field += c;
                    ++pos;
                    if (field.size() > kCsvMaxFieldBytes) return fail(CsvError::FieldTooLong, startLine);
                }
                if (pos < n && text[pos] != ',' && text[pos] != '\r' && text[pos] != '\n')
                    return fail(CsvError::AfterQuote, line);
            } else {
                const size_t end = text.find_first_of(",\r\n", pos);
                const size_t stop = end == std::string_view::npos ? n : end;
                if (stop - pos > kCsvMaxFieldBytes) return fail(CsvError::FieldTooLong, line);
                field.assign(text.substr(pos, stop - pos));
                pos = stop;
            }
            record.Fields.push_back(std::move(field));
            if (pos >= n) {
                endOfRecord = true;
            } else if (text[pos] == ',') {
                ++pos;
                if (pos >= n) record.Fields.emplace_back(); // "a," ends with an empty field
                endOfRecord = pos >= n;
            } else {
                // CRLF, LF, or a lone CR as old spreadsheets end lines.
                if (text[pos] == '\r' && pos + 1 < n && text[pos + 1] == '\n') ++pos;
                ++pos;
                ++line;
                endOfRecord = true;
            }
            // Counted after the empty field a closing comma adds, which is one too.
            if (record.Fields.size() > kCsvMaxFields) return fail(CsvError::TooManyFields, record.Line);
        }
        table.Records.push_back(std::move(record));
    }
    return table;
}

std::string CsvField(std::string_view value) {
    // A leading U+FEFF is quoted too, or a reader would take it for a byte-order mark.
    const bool quote = value.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!value.empty() && (value.front() == ' ' || value.back() == ' ')) ||
                       value.starts_with("\xEF\xBB\xBF");
    if (!quote) return std::string(value);
    std::string out = "\"";
    for (char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += CsvField(fields[i]);
    }
    return out + "\r\n";
}

} // namespace tarvane
