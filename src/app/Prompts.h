#pragma once
// How the core talks to the user without knowing who answers: the GUI fills
// these with message boxes and dialogs, the command line with stderr and its
// flags, tests with scripted answers.
#include <functional>
#include <string>

namespace tarvane {

enum class MsgIcon { None, Information, Warning, Question, Critical };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

struct UserPrompts {
    // Show a message and return the button chosen.
    std::function<MsgAnswer(const std::string& text, MsgIcon icon, MsgButtons buttons,
                            const std::string& title)>
        message;
    // The password dialog: fills the entry and returns true on OK.
    std::function<bool(std::string& entry)> password;
    // Start another program detached (not waited for); false when it could not start.
    std::function<bool(const std::string& programPath)> startProgram;
};

// Changes that open windows must follow. Unset members are simply not called.
struct Notifications {
    std::function<void(int slot)> channelRowChanged;  // a channel row must be redrawn
    std::function<void()> channelEditReload;          // the channel edit dialog reloads its fields
    std::function<void()> groupPanelChanged;          // group selections changed
    std::function<void()> toneTipsChanged;            // roger-beep lists must be rebuilt
    std::function<void()> dtmfCodesChanged;           // DTMF code lists must be refilled
    std::function<void()> captionChanged;             // model, band or file name changed
};

// The answer a prompt gives when nobody is there to ask: the safe button.
inline MsgAnswer DefaultAnswer(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::YesNo: return MsgAnswer::No;
    default: return MsgAnswer::Cancel;
    }
}

} // namespace tarvane
