#pragma once
// The languages the program speaks are the files of its language folder. Each
// file names itself in a [Language] section (Name in its own language, Code for
// the locale). English (index 1) and Chinese (index 2) keep the indexes the setup
// file has always stored; the others follow from 3 on, in file-name order.
#include <string>
#include <vector>

namespace tarvane {

struct Program;

struct LanguageEntry {
    std::string FileName; // "german.ini"
    std::string Name;     // "Deutsch"; the file name without ".ini" where the file gives none
    std::string Code;     // "de"; "" where the file gives none
};

// English and Chinese first (English even without its file: its texts are
// compiled in), then every other *.ini of the folder's language/ subfolder.
std::vector<LanguageEntry> ListLanguages(const std::string& programFolder);
// The language of a locale ("de_DE.UTF-8" -> the entry whose Code is "de"); 0 when none.
int LanguageForLocale(const std::vector<LanguageEntry>& languages, const std::string& locale);

// Switches to the language of a file of the list; false (nothing changed) when
// the folder holds no such language.
bool SetLanguageFile(Program& p, const std::string& fileName);
// The locale code of the current language ("en" where the file gives none).
std::string LanguageCode(const Program& p);

} // namespace tarvane
