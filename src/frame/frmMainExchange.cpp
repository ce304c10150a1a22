// The frame's exchange commands: channels to and from CSV files, and the
// comparison of the open document with a codeplug file or with the radio. The
// work is the core's (src/exchange); these only choose files and show reports.
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QMdiArea>
#include <QTimer>

#include "base/FieldHelpers.h"
#include "exchange/ChannelExport.h"
#include "exchange/ChannelImport.h"
#include "exchange/FrmCompare.h"
#include "exchange/FrmImportPreview.h"
#include "exchange/ImageCompare.h"
#include "frame/frmMain.h"
#include "freq/Bands.h"
#include "image/CodeplugFile.h"
#include "link/FrmProgress.h"
#include "link/RadioLink.h"
#include "link/RadioOps.h"
#include "memory/RadioMemory.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

// A copy of the program for reading another document into: it shows its
// messages, but notifies no window and starts no other program.
Program ScratchOf(const Program& p) {
    Program s = p; // a copy's notifications reach no window
    s.Prompts.startProgram = [](const std::string&) { return false; };
    return s;
}

} // namespace

void frmMain::mnuExportChannels_Click() {
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit"});
    const int band = p_.Model.ModelType;
    QStringList choices{ToQ(LangText(p_, txt::kAllGroups))};
    for (int g = 0; g <= 12; ++g)
        if (GroupSize(g, band) > 0) choices << ToQ(GroupName(g, band));
    bool chosen = false;
    const QString choice =
        QInputDialog::getItem(this, ToQ(WithoutAccessMark(LangText(p_, txt::kExportChannels))),
                              ToQ(LangText(p_, txt::kGroup_32875)), choices, 0, false, &chosen);
    if (!chosen) return;
    const int group = choice == choices[0] ? -1 : GroupByName(choice.toStdString(), band);
    const QString proposed = QFileInfo(ToQ(p_.Doc.Path)).completeBaseName() + ".csv";
    const QString path = WithEnding(
        AskSavePath ? AskSavePath(ToQ(LangText(p_, txt::kCSVFilesCsv)), proposed) : QString(), "csv");
    if (path.isEmpty()) return;
    int rows = 0;
    const std::string text = ExportChannels(p_, group, &rows);
    if (!WriteFileAtomic(QFile::encodeName(path).toStdString(),
                         std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()))) {
        Tell(p_, LangText(p_, txt::kFileCouldNotRead) + "\r\n" + path.toStdString(), MsgIcon::Warning);
        return;
    }
    Tell(p_, FillIn(LangText(p_, txt::kChannelsWritten), {std::to_string(rows), path.toStdString()}),
         MsgIcon::Information);
}

void frmMain::mnuImportChannels_Click() {
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit"});
    const QString path = AskOpenPath ? AskOpenPath(ToQ(LangText(p_, txt::kCSVFilesCsv))) : QString();
    if (path.isEmpty()) return;
    std::string text, error;
    if (!ReadCsvFile(p_, QFile::encodeName(path).toStdString(), text, error)) {
        Tell(p_, error, MsgIcon::Warning);
        return;
    }
    FrmImportPreview preview(p_, std::move(text), QFileInfo(path).fileName(), this);
    if (!preview.Result().FileError.empty()) {
        Tell(p_, preview.Result().FileError, MsgIcon::Warning);
        return;
    }
    if (preview.exec() != QDialog::Accepted) return;
    // As File > Open does: the windows go and come back on the new image.
    CloseCurAllWindows();
    p_.Image = preview.Result().Image;
    ShowChannelTable();
    ShowMainTxt();
    mdi_->cascadeSubWindows();
}

void frmMain::mnuCompareFile_Click() {
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures", "FrmDTMF"});
    const QString path = AskOpenPath ? AskOpenPath(ToQ(LangText(p_, txt::kCodeplugFilesDat))) : QString();
    if (path.isEmpty()) return;
    Program other = ScratchOf(p_);
    if (OpenCodeplug(other, QFile::encodeName(path).toStdString()) != OpenResult::Opened) return;
    FrmCompare dlg(p_, CompareImages(p_.Image, other.Image), QFileInfo(path).fileName(), this);
    dlg.exec();
}

void frmMain::mnuCompareRadio_Click() {
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures", "FrmDTMF"});
    RadioLink* link = LinkWithCheckedPort(LinkOperation::ReadRadio);
    if (!link) return;
    link->closePort();
    // The read fills the link's memory block only; the document stays as it is.
    PrepareTransferData(p_, LinkOperation::ReadRadio);
    bool read = false, startFailed = false;
    {
        // "The radio has been read" would suggest the document was replaced; the
        // comparison that follows is the answer instead.
        const UserPrompts prompts = p_.Prompts;
        const std::string readText = LangText(p_, txt::kRadioRead);
        p_.Prompts.message = [prompts, readText](const std::string& text, MsgIcon icon, MsgButtons buttons,
                                                 const std::string& title) {
            if (text == readText) return MsgAnswer::Ok;
            return prompts.message ? prompts.message(text, icon, buttons, title) : DefaultAnswer(buttons);
        };
        struct Restore {
            Program& p;
            UserPrompts prompts;
            ~Restore() { p.Prompts = prompts; }
        } restore{p_, prompts};
        FrmProgress progress(p_, false, this);
        connect(link, &RadioLink::progress, &progress, &FrmProgress::SetProgressValue);
        connect(&progress, &FrmProgress::cancelRequested, link, [link] { link->abort(); });
        connect(link, &RadioLink::transferClosed, &progress, [&progress, &read](LinkOperation, bool success) {
            read = success;
            progress.Finish();
        });
        QTimer::singleShot(0, &progress, [link, &progress, &startFailed] {
            if (!link->start()) {
                startFailed = true;
                progress.Finish();
            }
        });
        progress.exec();
    }
    if (startFailed) DropLink();
    emit RadioCommandDone();
    if (!read) return;
    Program radio = ScratchOf(p_);
    if (!PostReadStep(radio)) return;
    // The document as the radio would hold it after a write, so that only what a
    // radio keeps is compared (not the file's own fields).
    Program mine = ScratchOf(p_);
    EncodeRadioMemory(mine);
    if (!DecodeRadioMemory(mine)) return;
    FrmCompare dlg(p_, CompareImages(mine.Image, radio.Image), ToQ(LangText(p_, txt::kRadio)), this);
    dlg.exec();
}

} // namespace tarvane
