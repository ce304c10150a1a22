// The frame's file commands, its dialogs and closing.
#include <QFile>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QTimer>

#include "base/FieldHelpers.h"
#include "detect/FrmFindRadio.h"
#include "doc/Startup.h"
#include "doc/Undo.h"
#include "frame/FrmSetLanguage.h"
#include "frame/frmAbout.h"
#include "frame/frmMain.h"
#include "guide/FrmGuide.h"
#include "image/CodeplugFile.h"
#include "image/FrmModelInfo.h"
#include "image/ImageOps.h"
#include "link/FrmPassWord.h"
#include "link/FrmSetComm.h"
#include "state/History.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/ToQ.h"

namespace tarvane {

bool frmMain::AskSaveChanges() {
    if (!ImageChanged(p_)) return true;
    switch (TellId(p_, txt::kDocumentUnsavedChangesSave, MsgIcon::Warning, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        // An untitled document asks for a name rather than writing "new.dat" somewhere;
        // when the save does not happen the command stops, so nothing is lost.
        if (p_.Doc.Untitled) return mnuFileSaveAs_Click();
        return SaveDocument(p_.Doc.Path);
    case MsgAnswer::No:
        return true;
    default:
        return false;
    }
}

void frmMain::mnuFileNew_Click() {
    // One question: whether to keep the changes, or else whether to start anew.
    if (ImageChanged(p_)) {
        if (!AskSaveChanges()) return;
    } else if (TellId(p_, txt::kStartNewDocumentCurrent, MsgIcon::Warning, MsgButtons::OkCancel) !=
               MsgAnswer::Ok) {
        return;
    }
    LoadNewDoc();
}

void frmMain::MnuInit_Click() {
    // Stays requested when the questions are cancelled: the next new document uses it.
    p_.InitialSetupRequested = true;
    mnuFileNew_Click();
}

void frmMain::mnuFileOpen_Click() {
    if (!AskSaveChanges()) return;
    const QString path = AskOpenPath ? AskOpenPath(fileFilter_) : QString();
    if (path.isEmpty()) return;
    OpenChosenFile(QFile::encodeName(path).toStdString());
}

// `path` is the file's name as the system knows it (bytes): a name that is not
// valid UTF-8 would not survive a trip through QString.
void frmMain::OpenChosenFile(const std::string& path) {
    CloseCurAllWindows();
    switch (OpenCodeplug(p_, path)) {
    case OpenResult::Opened:
        ShowChannelTable();
        ShowMainTxt();
        Change_Language();
        mdi_->cascadeSubWindows();
        ResetHistory(p_);
        UpdateUndoActions();
        NoteRecentFile(path);
        break;
    case OpenResult::Quit:
        // Another program version takes the file over; this one ends at once.
        ShutDown(p_);
        QApplication::exit(0);
        break;
    case OpenResult::Refused:
        // The image is unchanged: its channel table comes back.
        ShowChannelTable();
        break;
    }
}

namespace {

// ""cb1.dat" will be overwritten. Continue?"
std::string OverwriteQuestion(Program& p, const QString& path) {
    return "\"" + FileNameOf(path.toStdString()) + "\" " + LangText(p, txt::kOverwrittenContinue);
}

} // namespace

bool frmMain::mnuFileSave_Click() {
    // The document's own file is written without a question; overwriting is asked about
    // only when Save As aims at another existing file.
    if (p_.Doc.Untitled) return mnuFileSaveAs_Click();
    return SaveDocument(p_.Doc.Path);
}

QString frmMain::WithEnding(const QString& typed, const char* extension) {
    if (typed.isEmpty()) return {};
    // The dialog only asked about overwriting the name as typed, so an existing
    // file of the name with its ending is asked about here.
    const QString path = ToQ(WithDefaultExtension(typed.toStdString(), extension));
    if (path != typed && QFileInfo::exists(path) &&
        Tell(p_, OverwriteQuestion(p_, path), MsgIcon::Question, MsgButtons::OkCancel) != MsgAnswer::Ok)
        return {};
    return path;
}

bool frmMain::mnuFileSaveAs_Click() {
    // A name typed without an ending is a codeplug.
    const QString path =
        WithEnding(AskSavePath ? AskSavePath(fileFilter_, ToQ(p_.Doc.Path)) : QString(), "dat");
    if (path.isEmpty()) return false;
    // The path becomes current only once the file is written (SaveCodeplug sets it).
    return SaveDocument(QFile::encodeName(path).toStdString());
}

void frmMain::mnuModelInfo_Click() {
    FrmModelInfo dlg(
        p_, [this] { LoadNewDoc(); }, this);
    dlg.exec();
}

void frmMain::mnuComm_Click(bool findAtOnce) {
    FrmSetComm dlg(p_, this);
    OfferFindRadio(dlg, p_);
    if (findAtOnce) QTimer::singleShot(0, &dlg, [&dlg] { dlg.CommandFind_Click(); });
    dlg.exec();
    UpdateStatusPanels();
}

void frmMain::mnuLanguage_Click() {
    FrmSetLanguage dlg(p_, this);
    dlg.exec();
    // The frame is active again.
    CheckLanguageChange();
}

void frmMain::MnuProPassWord_Click() {
    std::string entry = p_.EnteredPassword;
    if (AskPassword(p_, entry, this)) p_.EnteredPassword = entry;
}

void frmMain::mnuHelpGuide_Click() {
    if (auto* open = findChild<FrmGuide*>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto* guide = new FrmGuide(p_, this);
    guide->setAttribute(Qt::WA_DeleteOnClose);
    guide->show();
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout dlg(p_, this);
    dlg.exec();
}

void frmMain::closeEvent(QCloseEvent* e) {
    StorePlacement(*this);
    if (ImageChanged(p_)) {
        const MsgAnswer a =
            TellId(p_, txt::kDocumentUnsavedChangesSave, MsgIcon::Warning, MsgButtons::YesNoCancel);
        // Yes saves as Save does; a save that does not happen keeps the program running.
        if (a == MsgAnswer::Cancel || (a == MsgAnswer::Yes && !mnuFileSave_Click())) {
            e->ignore();
            return;
        }
    }
    AbortTransfer();
    ShutDown(p_);
    CloseCurAllWindows();
    e->accept();
}

} // namespace tarvane
