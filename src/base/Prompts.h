#pragma once
// How the core talks to the user without knowing who answers: the GUI fills
// these with message boxes and dialogs, the command line with stderr and its
// flags, tests with scripted answers.
#include <functional>
#include <string>

#include "base/Signal.h"

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

// Changes that open windows must follow. A window subscribes when it is made
// and keeps the Subscription as a member, so it stops listening when it goes.
struct Notifications {
    Signal<int> channelRowChanged; // a channel row (slot) must be redrawn
    Signal<> channelEditReload;    // the channel edit dialog reloads its fields
    Signal<> groupPanelChanged;    // group selections changed
    Signal<> toneTipsChanged;      // roger-beep lists must be rebuilt
    Signal<> dtmfCodesChanged;     // DTMF code lists must be refilled
    Signal<> captionChanged;       // model, band or file name changed
    Signal<> imageReplaced;        // the working image changed as a whole: show it again
};

// The answer a prompt gives when nobody is there to ask: the safe button.
inline MsgAnswer DefaultAnswer(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return MsgAnswer::No;
    default:
        return MsgAnswer::Cancel;
    }
}

} // namespace tarvane
