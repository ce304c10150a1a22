#pragma once
// RFC 4180 CSV: comma-separated fields, records ended by CRLF or LF, fields in
// double quotes may hold commas, quotes ("") and line breaks. The reader takes
// UTF-8 text (a byte-order mark is skipped) and refuses anything else with the
// line where it went wrong; it never reads past its input and bounds every size.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvane {

// Bigger than any channel list this program can hold many times over; a larger
// file is not a channel list and is refused before it is read.
inline constexpr size_t kCsvMaxBytes = 4u << 20;
inline constexpr size_t kCsvMaxFields = 1000;
inline constexpr size_t kCsvMaxFieldBytes = 10000;

enum class CsvError {
    None,
    TooLarge,      // more than kCsvMaxBytes
    Binary,        // a NUL byte: not text
    NotUtf8,       // bytes that are not UTF-8
    OpenQuote,     // a quoted field that never ends
    AfterQuote,    // text between a closing quote and the next comma
    TooManyFields, // more than kCsvMaxFields in a record
    FieldTooLong,  // a field longer than kCsvMaxFieldBytes
};

struct CsvRecord {
    int Line = 0; // line of the file where the record starts, from 1
    std::vector<std::string> Fields;
};

struct CsvTable {
    std::vector<CsvRecord> Records;
    CsvError Error = CsvError::None;
    int ErrorLine = 0;
    bool Ok() const { return Error == CsvError::None; }
};

CsvTable ReadCsv(std::string_view text);

// A field as written: quoted when it holds a comma, a quote, a line break or
// blanks at either end.
std::string CsvField(std::string_view value);
// The fields joined by commas, ended by CRLF.
std::string CsvLine(const std::vector<std::string>& fields);

} // namespace tarvane
