#pragma once
// Model names and the version table: which codeplug format versions this program
// opens, and which installed program version handles any other.
#include <string>
#include <utility>
#include <vector>

#include "state/VersionTable.h"

namespace tarvane {

struct Program;

// Reads Version.ini. A missing, unreadable or malformed file (counts that are not
// numbers or above 1000, no pair by which this program opens its own format)
// gives this program's own pair V100/V100 (and false), so the program still
// starts and opens its own files.
bool LoadVersionTable(const std::string& path, VersionTable& table);
// The same from the file's text.
bool ParseVersionTable(const std::string& text, VersionTable& table);

// "CB", "HF", "HAM" or "Unknown".
std::string TypeName(int modelType);
// The band range text of a type; empty for a type other than 0, 1, 2.
std::string BandTextForType(int modelType);
// The model name shown: the code without trailing blanks and NULs.
std::string ModelDisplayName(const std::string& code);

bool IsVersionText(const std::string& text);
bool IsFormatSupported(const VersionTable& table, const std::string& programVersion,
                       const std::string& formatVersion);
std::string ProgramForFormat(const VersionTable& table, const std::string& formatVersion);
// "V102" is shown as "V1.02".
std::string VersionDisplay(const std::string& version);
std::string VersionMismatchText(Program& p, const std::string& formatVersion);
// Starts the program version that handles the format, detached; shows 9063 when none.
// Returns true when a program was started.
bool StartProgramFor(Program& p, const std::string& formatVersion);

} // namespace tarvane
