#pragma once
// Everything program-wide lives here, made once at start-up. Core functions take
// what they need by reference; tests make their own Program.
#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "base/IniFile.h"
#include "base/Prompts.h"
#include "state/History.h"
#include "state/LinkState.h"
#include "state/RadioImage.h"
#include "state/VersionTable.h"

namespace tarvane {

struct Paths {
    std::string ProgramFolder;                   // holds the programs, language/, Init/, Setting.ini
    std::string InstallRoot;                     // holds Version.ini and language/mysetup.ini
    std::string SetupFile;                       // the user setup file actually used
    bool SetupFaultTold = false;                 // a change it could not take was reported
    std::string ProgramFileName = "tarvane-cps"; // started for another format version
};

struct LanguageState {
    int Index = 1;      // 1 English, 2 Chinese
    int ShownIndex = 1; // index of the texts on screen, to notice a change
    std::string FileName = "english.ini";
};

struct Program {
    RadioImage Image;
    RadioImage Baseline;
    CurrentModel Model;
    DocumentState Doc;
    RadioInfoRecord RadioInfo;
    std::array<uint8_t, kRadioMemorySize> RadioMemoryBlock{};
    std::array<uint8_t, kRadioInfoSize> RadioInfoBlock{};
    std::string EnteredPassword;
    LinkState Link;

    LanguageState Lang;
    Paths Dirs;
    VersionTable Versions;
    bool InitialSetupRequested = false;
    std::array<uint8_t, 4> FlagBytes{0, 0, 0, 1};
    int16_t ChannelTableChannel = 1; // current channel number of the channel table

    UserPrompts Prompts;
    Notifications Notify;
    EditHistory History;        // undo and redo of the working image
    bool QuitRequested = false; // set where the program must end (switching program version)

    // Parsed language file, re-read when the file name changes.
    IniFile LangCache;
    std::string LangCachePath;
};

} // namespace tarvane
