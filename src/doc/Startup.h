#pragma once
// What the program reads before its first window and writes back at exit.
#include <string>

namespace tarvane {

struct Program;

struct StartupEnvironment {
    std::string ProgramFolder;           // folder holding the running program
    std::string LcAll, LcMessages, Lang; // the locale variables, as found
    std::string ConfigHome;              // $XDG_CONFIG_HOME or ~/.config
};

// The environment of this process.
StartupEnvironment CurrentEnvironment(const std::string& programPath);
// Language index chosen from the locale: 2 for a Chinese (PRC) locale, else 1.
int LanguageFromLocale(const StartupEnvironment& env);
// The install root: the program folder cut before its last separator.
std::string InstallRootOf(const std::string& programFolder);
// Whether start-up may write the user setup file. Commands that only look at or
// make files read it and leave it (and the user's copy) exactly as they were.
enum class SetupAccess { ReadWrite, ReadOnly };

// The user setup file: the install root's, or the user's copy when the root is not writable.
std::string ChooseSetupFile(const std::string& installRoot, const std::string& configHome,
                            SetupAccess access = SetupAccess::ReadWrite);
// The same with the writability of the install root's setup file decided by the
// caller. Read-only, a missing user copy is not made: the shipped file is read.
std::string ChooseSetupFile(const std::string& installRoot, const std::string& configHome, bool rootWritable,
                            SetupAccess access = SetupAccess::ReadWrite);
// The start-up steps that are not windows: version table, language, setup file, initial image, flag file.
void StartUp(Program& p, const StartupEnvironment& env, SetupAccess access = SetupAccess::ReadWrite);
// The shut-down steps that are not windows: the flag file written back.
void ShutDown(Program& p);
// Writes CurrentLanguage (and the port) to the user setup file.
bool WriteSetup(Program& p);
// Tells, once per run, that the setup file could not take a change and why; the
// file is left as it was, so the user's other settings are not lost.
void ReportSetupNotSaved(Program& p);

} // namespace tarvane
