// The engine's questions and outcomes in the program's words. Apart from
// RadioOps.cpp so that the engine's fuzz target links without the codecs.
#include <string>

#include "image/ModelVersion.h"
#include "link/RadioInfoArea.h"
#include "link/RadioOps.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

bool AskRetry(Program& p, LinkOperation op) {
    // The information read goes on from the block that timed out: "Retry" says so.
    if (op == LinkOperation::ReadRadioInfo)
        return TellId(p, txt::kRadioDoesNotAnswer, MsgIcon::Question, MsgButtons::RetryCancel) ==
               MsgAnswer::Retry;
    return TellId(p, txt::kRadioDoesNotAnswer, MsgIcon::Question, MsgButtons::OkCancel) == MsgAnswer::Ok;
}

void TellIdentityMismatch(Program& p, IdentityMismatch mismatch, const RadioIdentity& radio) {
    switch (mismatch) {
    case IdentityMismatch::ModelType:
        TellId(p, txt::kRadioAnotherBandType, MsgIcon::Warning, MsgButtons::Ok);
        return;
    case IdentityMismatch::Version:
        if (Tell(p, VersionMismatchText(p, radio.RadioFirmwareVersion), MsgIcon::None, MsgButtons::YesNo) ==
            MsgAnswer::Yes) {
            StartProgramFor(p, radio.RadioFirmwareVersion);
            p.QuitRequested = true;
        }
        return;
    case IdentityMismatch::Model:
        Tell(p,
             LangText(p, txt::kFileRadioBelongsAnother) + "\r\nPC is " + ModelDisplayName(p.Model.ModelCode) +
                 "\r\nRadio is " + ModelDisplayName(radio.RadioModelCode),
             MsgIcon::None, MsgButtons::Ok);
        return;
    }
}

void TellNotice(Program& p, LinkNotice notice, int count) {
    switch (notice) {
    case LinkNotice::FeatureUnsupported:
        Tell(p, "CTCSS/DCS Function is invalid,\r\nSome features will not work.", MsgIcon::Warning);
        return;
    case LinkNotice::PasswordFailure:
        Tell(p, "PassWord Failure!", MsgIcon::None, MsgButtons::Ok);
        return;
    case LinkNotice::BlocksNotTaken:
        Tell(p,
             FillIn(LangText(p, txt::kBlocksDidNotTake),
                    {std::to_string(count), std::to_string(kRewriteRounds)}),
             MsgIcon::Critical, MsgButtons::Ok);
        return;
    }
}

void TellSuccess(Program& p, LinkOperation op) {
    if (op == LinkOperation::Identify) return; // the finding is the answer
    if (op == LinkOperation::ReadRadioInfo) {
        if (!DecodeRadioInfo(p.RadioInfoBlock, p.RadioInfo)) Tell(p, "Country Mode Error!");
        return;
    }
    TellId(p, op == LinkOperation::ReadRadio ? txt::kRadioRead : txt::kRadioWritten, MsgIcon::None,
           MsgButtons::Ok);
}

} // namespace

LinkContext LinkContextOf(Program& p) {
    return LinkContext{p.RadioMemoryBlock, p.RadioInfoBlock, p.Link, p.EnteredPassword, p.Model, p.Versions};
}

void AskThroughPrompts(Program& p, LinkHost& host) {
    host.askRetry = [&p](LinkOperation op) { return AskRetry(p, op); };
    host.askPassword = [&p](std::string& entry) { return p.Prompts.password && p.Prompts.password(entry); };
    host.identityMismatch = [&p](IdentityMismatch mismatch, const RadioIdentity& radio) {
        TellIdentityMismatch(p, mismatch, radio);
    };
    host.notice = [&p](LinkNotice notice, int count) { TellNotice(p, notice, count); };
    host.succeeded = [&p](LinkOperation op) { TellSuccess(p, op); };
}

std::string FailedTransferText(Program& p, const LinkEngine& engine, const std::string& lostDevice) {
    std::string text;
    if (!lostDevice.empty()) text = FillIn(LangText(p, txt::kRadioWentAway), {lostDevice});
    if (engine.LeftRadioMixed()) text += (text.empty() ? "" : "\r\n") + LangText(p, txt::kRadioMayHoldMix);
    return text;
}

bool OfferTransferAgain(Program& p, const std::string& text, bool lost, bool portPresent) {
    if (!portPresent) {
        Tell(p, text + (lost ? "\r\n" + LangText(p, txt::kConnectThenStartAgain) : ""), MsgIcon::Warning);
        return false;
    }
    const std::string back = lost ? "\r\n" + LangText(p, txt::kPortThereAgain) : "";
    return Tell(p, text + back + "\r\n" + LangText(p, txt::kStartTransferAgainNow), MsgIcon::Question,
                MsgButtons::YesNo) == MsgAnswer::Yes;
}

} // namespace tarvane
