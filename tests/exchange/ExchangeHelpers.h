#pragma once
// Reading exported channel lists by column name, and writing small ones.
#include <map>
#include <string>
#include <vector>

#include "TestProgram.h"
#include "exchange/CsvFile.h"
#include "image/InitialValues.h"

namespace tarvane::test {

using CsvRow = std::map<std::string, std::string>;

// A test program holding a new document of the band, as File > New makes it.
inline TestProgram NewDocumentProgram(int band) {
    TestProgram t = MakeTestProgram(band);
    InitImage(*t);
    t->Image.Settings.Version.ModelType = static_cast<int16_t>(band);
    return t;
}

// The data rows of a CSV text, each cell under its header name.
inline std::vector<CsvRow> CsvRows(const std::string& text) {
    const CsvTable t = ReadCsv(text);
    std::vector<CsvRow> rows;
    if (!t.Ok() || t.Records.empty()) return rows;
    const auto& header = t.Records[0].Fields;
    for (size_t i = 1; i < t.Records.size(); ++i) {
        CsvRow row;
        for (size_t c = 0; c < header.size() && c < t.Records[i].Fields.size(); ++c)
            row[header[c]] = t.Records[i].Fields[c];
        rows.push_back(row);
    }
    return rows;
}

// A file in the exchange format's columns: the header, then each row's cells in
// the header's order (missing cells empty).
inline std::string CsvOf(const std::vector<std::string>& header, const std::vector<CsvRow>& rows) {
    std::string out = CsvLine(header);
    for (const CsvRow& row : rows) {
        std::vector<std::string> cells;
        for (const std::string& h : header) {
            auto it = row.find(h);
            cells.push_back(it == row.end() ? "" : it->second);
        }
        out += CsvLine(cells);
    }
    return out;
}

inline const std::vector<std::string>& ForeignHeader() {
    static const std::vector<std::string> h = {
        "Location", "Name",         "Frequency",  "Duplex",    "Offset", "Tone",  "rToneFreq", "cToneFreq",
        "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",   "TStep", "Skip",      "Power"};
    return h;
}

} // namespace tarvane::test
