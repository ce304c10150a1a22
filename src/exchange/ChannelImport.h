#pragma once
// Channel lists in from CSV: rows from this program, from other radio programmers
// or from a spreadsheet go through the same edit operation and checks as typing
// into the channel table, and each adjusted or refused row is reported.
#include <string>
#include <string_view>
#include <vector>

#include "state/RadioImage.h"

namespace tarvane {

struct Program;

enum class RowOutcome { Taken, Adjusted, Refused };

struct ImportRow {
    int Line = 0;
    int Group = -1;  // -1 when the row names no place
    int Channel = 0; // number within the group
    RowOutcome Outcome = RowOutcome::Taken;
    std::vector<std::string> Notes; // why adjusted or refused, in the current language
};

struct ImportOptions {
    int Group = -1; // group filled by rows without this program's own columns; -1: the shown group
    int First = 1;  // first channel number filled in it
};

struct ImportResult {
    std::string FileError; // not empty: the file is no channel list, nothing is imported
    std::vector<ImportRow> Rows;
    RadioImage Image; // the document after the import, refused rows left out
    int Count(RowOutcome outcome) const;
};

// Works on a copy: the document is not touched. Prompts are not shown.
ImportResult ImportChannels(const Program& p, std::string_view csv, const ImportOptions& options);
// "Line 7, group D channel 5: adjusted: frequency 27.40750 MHz taken as 27.40500 MHz"
std::string ImportRowText(Program& p, const ImportRow& row);
std::string ImportSummary(Program& p, const ImportResult& result);

// Reads a file for import; false with a message in the current language when it
// cannot be read or is too large to be a channel list.
bool ReadCsvFile(Program& p, const std::string& path, std::string& text, std::string& error);

} // namespace tarvane
