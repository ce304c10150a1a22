// The frame's radio commands: read, write, radio information. The transfers run
// on the port's events and the wait timer; the frame only starts them and
// follows their end.
#include <QApplication>
#include <QMdiArea>
#include <QTimer>

#include "doc/Undo.h"
#include "frame/frmMain.h"
#include "link/FrmProgress.h"
#include "link/FrmRadioInfo.h"
#include "link/LinkSettings.h"
#include "link/RadioLink.h"
#include "link/RadioOps.h"
#include "state/History.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/ListHelpers.h"

namespace tarvane {

bool frmMain::TransferRunning() const {
    return link_ && link_->isRunning();
}

RadioLink* frmMain::NewLink() {
    if (link_) {
        // One transfer at a time; a finished one may still wait for its deletion.
        if (link_->isRunning()) return nullptr;
        link_->deleteLater();
    }
    link_ = new RadioLink(p_, this);
    return link_;
}

RadioLink* frmMain::LinkWithCheckedPort(LinkOperation op) {
    RadioLink* link = NewLink();
    if (!link) return nullptr;
    if (!link->openRadioPort(op)) {
        DropLink();
        emit RadioCommandDone();
        return nullptr;
    }
    return link;
}

void frmMain::DropLink() {
    if (!link_) return;
    // The operation goes back to Idle and the port is closed.
    link_->closePort();
    link_->engine().Prepare(LinkOperation::Idle);
    link_->deleteLater();
    link_ = nullptr;
}

void frmMain::AbortTransfer() {
    if (!link_) return;
    link_->abort();
    link_->closePort();
}

void frmMain::RunWithProgress(RadioLink* link, bool writing) {
    std::string failure; // the last word on a failed transfer: the port went, the radio may hold a mix
    bool cancelled = false;
    bool startFailed = false;
    bool findRadio = false; // nothing answered a read: the user chose to look on every device
    if (!writing) OfferFindWhenSilent(link, findRadio);
    {
        FrmProgress progress(p_, writing, this);
        connect(link, &RadioLink::progress, &progress, &FrmProgress::SetProgressValue);
        connect(link, &RadioLink::phase, &progress, &FrmProgress::SetPhase);
        connect(&progress, &FrmProgress::cancelRequested, link, [link, &cancelled] {
            cancelled = true; // the transfer ends inside abort(): known before its end is handled
            cancelled = link->abort();
        });
        connect(link, &RadioLink::transferClosed, &progress,
                [this, &progress](LinkOperation op, bool success) {
                    progress.Finish();
                    if (op == LinkOperation::ReadRadio && success) {
                        // The document windows go before the success message; the new
                        // document comes from the post-read step.
                        CloseCurAllWindows();
                        ReadOKTimer.start();
                    }
                });
        connect(link, &RadioLink::finished, &progress,
                [this, link, &failure, &cancelled](LinkOperation op, bool success) {
                    if (!success && !cancelled && !p_.QuitRequested) {
                        failure = FailedTransferText(p_, link->engine(), link->lostDevice());
                        if (!failure.empty()) return;
                    }
                    if (!(op == LinkOperation::ReadRadio && success)) emit RadioCommandDone();
                });
        // Loading the window starts the transfer.
        QTimer::singleShot(0, &progress, [link, &progress, &startFailed] {
            if (!link->start()) {
                startFailed = true;
                progress.Finish();
            }
        });
        progress.exec();
    }
    if (!writing) link->setRetryQuestion(nullptr); // it held this call's flag
    if (findRadio) QTimer::singleShot(0, this, [this] { mnuComm_Click(true); });
    if (startFailed) {
        DropLink();
        emit RadioCommandDone();
        return;
    }
    if (!failure.empty()) {
        if (OfferTransferAgain(p_, failure, !link->lostDevice().empty(), link->portPresent())) {
            RunWithProgress(link, writing); // RadioMemoryBlock still holds what was sent
            return;
        }
        emit RadioCommandDone();
    }
}

void frmMain::OfferFindWhenSilent(RadioLink* link, bool& findRadio) {
    // Only when not even the handshake was answered; every other give-up keeps
    // the program's question.
    LinkHost usual;
    AskThroughPrompts(p_, usual);
    link->setRetryQuestion([this, link, &findRadio, ask = usual.askRetry](LinkOperation op) {
        const LinkEngine& engine = link->engine();
        if (op != LinkOperation::ReadRadio || engine.EchoModeConfirmed() ||
            engine.Step() != LinkStep::AwaitHandshakeAck)
            return ask(op);
        const std::string text =
            FillIn(LangText(p_, txt::kNothingAnsweredOn), {link->device().toStdString()}) + "\r\n" +
            LangText(p_, txt::kFindRadioEveryDevice);
        switch (Tell(p_, text, MsgIcon::Question, MsgButtons::YesNoCancel)) {
        case MsgAnswer::Yes:
            findRadio = true;
            return false;
        case MsgAnswer::No:
            return true;
        default:
            return false;
        }
    });
}

void frmMain::mnuReadFromRadio_Click() {
    ShowChannelTable();
    CommitEdits({"frmCommChInfo"});
    RadioLink* link = LinkWithCheckedPort(LinkOperation::ReadRadio);
    if (!link) return;
    link->closePort(); // only checked here: the progress window opens it for the transfer
    if (TellId(p_, txt::kReadWholeConfigurationRadio, MsgIcon::Question, MsgButtons::OkCancel) !=
        MsgAnswer::Ok) {
        DropLink();
        emit RadioCommandDone();
        return;
    }
    PrepareTransferData(p_, LinkOperation::ReadRadio);
    RunWithProgress(link, false);
}

void frmMain::ReadOKTimer_Timer() {
    ReadOKTimer.stop();
    const bool read = PostReadStep(p_);
    ShowMainTxt();
    Change_Language();
    ShowChannelTable();
    mdi_->cascadeSubWindows();
    if (read) {
        ResetHistory(p_);
        UpdateUndoActions();
        KeepReadBackup();
    }
    emit RadioCommandDone();
}

void frmMain::mnuWriteToRadio_Click() {
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures", "FrmDTMF", "FrmRadioInfo"});
    WaitSaveDataTimer.start();
}

void frmMain::WaitSaveDataTimer_Timer() {
    WaitSaveDataTimer.stop();
    RadioLink* link = LinkWithCheckedPort(LinkOperation::WriteRadio);
    if (!link) return;
    link->closePort(); // only checked here: the progress window opens it for the transfer
    if (TellId(p_, txt::kWriteCurrentConfigurationInto, MsgIcon::Question, MsgButtons::OkCancel) !=
            MsgAnswer::Ok ||
        !KeepWriteBackup()) {
        DropLink();
        emit RadioCommandDone();
        return;
    }
    PrepareTransferData(p_, LinkOperation::WriteRadio);
    LoadVerifySetting(p_); // the port dialog's choice
    RunWithProgress(link, true);
}

void frmMain::MnuLocalInfo_Click() {
    UnloadWindowsNamed("FrmRadioInfo");
    ReadRMGDataFromRadio();
}

void frmMain::ReadRMGDataFromRadio() {
    RadioLink* link = LinkWithCheckedPort(LinkOperation::ReadRadioInfo);
    if (!link) return;
    PrepareTransferData(p_, LinkOperation::ReadRadioInfo);
    connect(link, &RadioLink::finished, this, [this, link](LinkOperation, bool success) {
        if (success) {
            QWidget* w = ShowFormOnce("FrmRadioInfo");
            if (auto* info = qobject_cast<FrmRadioInfo*>(w)) info->ShowByData();
        } else if (std::string failure = FailedTransferText(p_, link->engine(), link->lostDevice());
                   !failure.empty()) {
            // Asked once the transfer's own handler has returned.
            QTimer::singleShot(0, this, [this, failure, present = link->portPresent()] {
                if (OfferTransferAgain(p_, failure, true, present))
                    ReadRMGDataFromRadio();
                else
                    emit RadioCommandDone();
            });
            return;
        }
        emit RadioCommandDone();
    });
    if (!link->start()) {
        DropLink();
        emit RadioCommandDone();
    }
}

} // namespace tarvane
