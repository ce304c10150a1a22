#include "doc/Startup.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "base/IniFile.h"
#include "base/NumberText.h"
#include "base/SafeFile.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/Languages.h"
#include "state/lang/TextIds.h"

namespace tarvane {
namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Booleans as the setup file has always held them: a number (0 false) or True/False.
std::optional<bool> ParseBool(const std::string& text) {
    std::string t = Trim(text);
    if (auto v = ParseDouble(t)) return *v != 0;
    std::string lower;
    for (char c : t)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "true") return true;
    if (lower == "false") return false;
    return std::nullopt;
}

constexpr const char* kSetupSection = "language";

// The first locale variable that is set decides, as for every other program.
const std::string& LocaleOf(const StartupEnvironment& env) {
    return !env.LcAll.empty() ? env.LcAll : !env.LcMessages.empty() ? env.LcMessages : env.Lang;
}

} // namespace

StartupEnvironment CurrentEnvironment(const std::string& programPath) {
    StartupEnvironment env;
    std::error_code ec;
    fs::path exe = fs::weakly_canonical(fs::path(programPath), ec);
    env.ProgramFolder = exe.parent_path().string();
    env.LcAll = Env("LC_ALL");
    env.LcMessages = Env("LC_MESSAGES");
    env.Lang = Env("LANG");
    env.ConfigHome = Env("XDG_CONFIG_HOME");
    if (env.ConfigHome.empty()) env.ConfigHome = Env("HOME") + "/.config";
    return env;
}

int LanguageFromLocale(const StartupEnvironment& env) {
    return LocaleOf(env).starts_with("zh_CN") ? 2 : 1;
}

std::string InstallRootOf(const std::string& programFolder) {
    size_t cut = programFolder.find_last_of('/');
    if (cut == std::string::npos || cut == 0) return programFolder;
    return programFolder.substr(0, cut);
}

std::string ChooseSetupFile(const std::string& installRoot, const std::string& configHome,
                            SetupAccess access) {
    std::string shared = installRoot + "/language/mysetup.ini";
    std::error_code ec;
    // A linked setup file is written where the link points.
    const std::string target = ResolveLinks(shared);
    const size_t cut = target.find_last_of('/');
    const std::string folder = cut == std::string::npos ? "." : target.substr(0, std::max<size_t>(cut, 1));
    bool writable = ::access(folder.c_str(), W_OK) == 0 &&
                    (!fs::exists(target, ec) || ::access(target.c_str(), W_OK) == 0);
    return ChooseSetupFile(installRoot, configHome, writable, access);
}

std::string ChooseSetupFile(const std::string& installRoot, const std::string& configHome, bool rootWritable,
                            SetupAccess access) {
    std::string shared = installRoot + "/language/mysetup.ini";
    if (rootWritable) return shared;
    // An install root owned by root: each user keeps a copy of the shipped file.
    std::error_code ec;
    std::string own = configHome + "/tarvane-cps/mysetup.ini";
    if (fs::exists(own, ec) || fs::is_symlink(own, ec)) return own;
    if (access == SetupAccess::ReadOnly) return shared;
    // Seeded through the same size and file-type rules as every settings file; a
    // shipped file that cannot be read leaves the copy to the first write.
    std::vector<uint8_t> seed;
    fs::create_directories(configHome + "/tarvane-cps", ec);
    if (ReadWholeFile(shared, seed, kSettingsFileLimit)) WriteFileAtomic(own, seed);
    return own;
}

namespace {

// Loads the setup file; false when something is there that could not be read,
// which is then never overwritten with what little the program knows.
bool LoadSetup(const std::string& path, IniFile& ini) {
    FileError error;
    return ini.Load(path, &error) || (error.fault == FileFault::System && error.code == ENOENT);
}

} // namespace

bool WriteSetup(Program& p) {
    IniFile ini;
    if (!LoadSetup(p.Dirs.SetupFile, ini)) return false;
    ini.Set(kSetupSection, "comPort", std::to_string(p.Link.SerialPortNumber));
    // Older program versions share this file and know only 1 and 2: a further
    // language is kept by its file name beside an index they can read.
    ini.Set(kSetupSection, "CurrentLanguage", std::to_string(p.Lang.Index <= 2 ? p.Lang.Index : 1));
    ini.Set(kSetupSection, "LanguageFile", p.Lang.Index <= 2 ? "" : p.Lang.FileName);
    return ini.Save(p.Dirs.SetupFile);
}

void ReportSetupNotSaved(Program& p) {
    if (p.Dirs.SetupFaultTold) return;
    p.Dirs.SetupFaultTold = true;
    // The reason is found again: reading it, or else making the file that would replace it.
    std::vector<uint8_t> bytes;
    FileError error;
    if (ReadWholeFile(p.Dirs.SetupFile, bytes, kSettingsFileLimit, &error))
        CanReplaceFile(p.Dirs.SetupFile, &error);
    const std::string reason = error.fault == FileFault::System ? SystemReason(error.code)
                               : error.fault == FileFault::NotRegular
                                   ? LangText(p, txt::kNotRegularFileDevice)
                               : error.fault == FileFault::TooLarge ? LangText(p, txt::kTooLargeSettingsFile)
                                                                    : SystemReason(EIO);
    Tell(p, FillIn(LangText(p, txt::kSetupNotSaved), {p.Dirs.SetupFile, reason}), MsgIcon::Warning);
}

void StartUp(Program& p, const StartupEnvironment& env, SetupAccess access) {
    p.Dirs.ProgramFolder = env.ProgramFolder;
    p.Dirs.InstallRoot = InstallRootOf(env.ProgramFolder);

    LoadVersionTable(p.Dirs.InstallRoot + "/Version.ini", p.Versions);
    p.Link.NoEchoMode = false;
    p.InitialSetupRequested = false;

    const int localeLanguage = LanguageFromLocale(env);
    SetLanguage(p, localeLanguage);
    if (localeLanguage == 1) {
        if (const int further = LanguageForLocale(ListLanguages(p.Dirs.ProgramFolder), LocaleOf(env));
            further >= 3)
            SetLanguage(p, further);
    }
    p.Lang.ShownIndex = p.Lang.Index;

    p.Model = CurrentModel{};
    p.EnteredPassword.clear();
    p.Link.SerialPortNumber = 1;

    p.Dirs.SetupFile = ChooseSetupFile(p.Dirs.InstallRoot, env.ConfigHome, access);
    IniFile setup;
    const bool writable = LoadSetup(p.Dirs.SetupFile, setup) && access == SetupAccess::ReadWrite;
    const std::string found = setup.Text();
    // A missing or unreadable value falls back to the defaults instead of stopping.
    bool firstRun = ParseBool(setup.GetOr(kSetupSection, "IsFirstRun")).value_or(true);
    auto port = ToInt16(setup.GetOr(kSetupSection, "comPort"));
    p.Link.SerialPortNumber = (port && *port >= 1 && *port <= 16) ? *port : 1;
    int languageIndex = localeLanguage;
    if (firstRun) {
        setup.Set(kSetupSection, "IsFirstRun", "0");
    } else {
        auto stored = ToInt16(setup.GetOr(kSetupSection, "CurrentLanguage"));
        if (stored && (*stored == 1 || *stored == 2)) {
            SetLanguage(p, *stored);
            p.Lang.ShownIndex = p.Lang.Index;
        }
        if (stored) languageIndex = *stored;
        // A further language by its file; one that is gone leaves the index's language.
        if (const std::string file = setup.GetOr(kSetupSection, "LanguageFile");
            !file.empty() && SetLanguageFile(p, file))
            p.Lang.ShownIndex = p.Lang.Index;
    }
    setup.Set(kSetupSection, "comPort", std::to_string(p.Link.SerialPortNumber));
    // An unknown index is written back as it was found; the texts follow the locale.
    if (firstRun) {
        setup.Set(kSetupSection, "CurrentLanguage", std::to_string(p.Lang.Index <= 2 ? p.Lang.Index : 1));
        if (p.Lang.Index > 2) setup.Set(kSetupSection, "LanguageFile", p.Lang.FileName);
    } else {
        setup.Set(kSetupSection, "CurrentLanguage", std::to_string(languageIndex));
    }
    // Values as they were found are not written again: the safe write flushes to
    // the disk, which a start should not wait for.
    if (writable && setup.Text() != found) setup.Save(p.Dirs.SetupFile);

    InitImage(p);

    // Four bytes are all the flag file holds; anything else there is not it.
    std::vector<uint8_t> flags;
    if (ReadWholeFile(p.Dirs.ProgramFolder + "/Setting.ini", flags, kSettingsFileLimit) &&
        flags.size() >= 4) {
        std::copy_n(flags.begin(), 4, p.FlagBytes.begin());
    } else {
        p.FlagBytes = {0, 0, 0, 1};
    }
}

void ShutDown(Program& p) {
    // Errors here are ignored: the program is ending either way. Only a flag file
    // that can be read (or is missing) is written: a FIFO, device or huge file in
    // its place is left alone rather than waited on or written into.
    const std::string path = p.Dirs.ProgramFolder + "/Setting.ini";
    std::vector<uint8_t> current;
    FileError error;
    if (ReadWholeFile(path, current, kSettingsFileLimit, &error) ||
        (error.fault == FileFault::System && error.code == ENOENT))
        OverwriteFileStart(path, p.FlagBytes);
}

} // namespace tarvane
