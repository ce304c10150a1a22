#pragma once
// A Program for tests: staged data files, scripted answers, every message recorded.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "state/Program.h"

namespace tarvane::test {

struct Shown {
    std::string text;
    MsgIcon icon;
    MsgButtons buttons;
};

struct Script {
    std::vector<Shown> shown;                           // every message, in order
    std::deque<MsgAnswer> answers;                      // answers to give; the safe default when empty
    std::deque<std::pair<bool, std::string>> passwords; // (OK?, entry) for the password dialog
    int passwordAsked = 0;

    bool Saw(const std::string& text) const;
    size_t Count(const std::string& text) const;
};

// A program with the staged language files, the given band and the built-in
// initial image (no Init/ file). The script lives as long as the program.
struct TestProgram {
    std::unique_ptr<Program> program = std::make_unique<Program>();
    std::shared_ptr<Script> script = std::make_shared<Script>();
    Program& operator*() { return *program; }
    Program* operator->() { return program.get(); }
};

TestProgram MakeTestProgram(int modelType = 0);

// A fresh empty folder for files of one test, removed at exit of the test binary.
std::string TempDir();

} // namespace tarvane::test
