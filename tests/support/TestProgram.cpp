#include "TestProgram.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "state/lang/LangText.h"

namespace tarvane::test {

bool Script::Saw(const std::string& text) const {
    return Count(text) > 0;
}

size_t Script::Count(const std::string& text) const {
    return static_cast<size_t>(
        std::count_if(shown.begin(), shown.end(), [&](const Shown& s) { return s.text == text; }));
}

TestProgram MakeTestProgram(int modelType) {
    TestProgram t;
    Program& p = *t.program;
    p.Dirs.ProgramFolder = TARVANE_PROGRAM_DIR;
    p.Dirs.InstallRoot = TARVANE_INSTALL_ROOT;
    p.Dirs.SetupFile = TempDir() + "/mysetup.ini";
    p.Versions.Firm.emplace_back("V100", "V100");
    SetLanguage(p, 1);
    auto script = t.script;
    p.Prompts.message = [script](const std::string& text, MsgIcon icon, MsgButtons buttons,
                                 const std::string&) {
        script->shown.push_back({text, icon, buttons});
        if (script->answers.empty()) return DefaultAnswer(buttons);
        MsgAnswer a = script->answers.front();
        script->answers.pop_front();
        return a;
    };
    p.Prompts.password = [script](std::string& entry) {
        ++script->passwordAsked;
        if (script->passwords.empty()) return false;
        auto [ok, text] = script->passwords.front();
        script->passwords.pop_front();
        if (ok) entry = text;
        return ok;
    };
    p.Prompts.startProgram = [](const std::string&) { return false; };
    SetModelType(p, modelType);
    InitBuiltInImage(p);
    return t;
}

std::string TempDir() {
    namespace fs = std::filesystem;
    static int counter = 0;
    fs::path dir = fs::temp_directory_path() /
                   ("tarvane-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    fs::remove_all(dir);
    fs::create_directories(dir);
    static struct Cleanup {
        std::vector<fs::path> dirs;
        ~Cleanup() {
            std::error_code ec;
            for (auto& d : dirs)
                fs::remove_all(d, ec);
        }
    } cleanup;
    cleanup.dirs.push_back(dir);
    return dir.string();
}

} // namespace tarvane::test
