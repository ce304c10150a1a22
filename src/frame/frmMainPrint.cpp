// The frame's print commands: the document report on a printer, in a preview or
// as a PDF file. The printing itself is the module "print", loaded by the first
// print command.
#include <QDateTime>

#include "base/FieldHelpers.h"
#include "frame/frmMain.h"
#include "image/CodeplugFile.h"
#include "report/CodeplugReport.h"
#include "report/ReportOutput.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/Modules.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

// The edit typed but not yet stored belongs on the paper.
const QStringList kEditingWindows{"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures", "FrmDTMF"};

Report DocumentReport(Program& p) {
    const std::string date = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm").toStdString();
    return BuildCodeplugReport(p, FileNameOf(p.Doc.Path), date);
}

ReportPages PagesOf(Program& p) {
    return {ToQ(FileNameOf(p.Doc.Path)), ToQ(LangText(p, txt::kPage))};
}

// The print module, loaded by the first print command; nullptr, said to the user,
// when it cannot be loaded.
ReportOutput* Printing(Program& p) {
    QString error;
    ReportOutput* out = LoadModule<ReportOutput>(p.Dirs.ProgramFolder, "print", kReportOutputEntry, error);
    if (!out) Tell(p, FillIn(LangText(p, txt::kPrintModuleMissing), {error.toStdString()}), MsgIcon::Warning);
    return out;
}

} // namespace

void frmMain::mnuFilePrint_Click() {
    CommitEdits(kEditingWindows);
    ReportOutput* out = Printing(p_);
    if (out && out->Print(DocumentReport(p_), PagesOf(p_), this) == 0)
        TellId(p_, txt::kDocumentCouldNotPrinted, MsgIcon::Warning);
}

void frmMain::mnuFilePrintPreview_Click() {
    CommitEdits(kEditingWindows);
    ReportOutput* out = Printing(p_);
    if (!out) return;
    const QString title = ToQ(WithoutAccessMark(LangText(p_, txt::kPrintPreview)));
    out->Preview(DocumentReport(p_), PagesOf(p_), title, "PrintPreview", this);
}

bool frmMain::ExportPdf(const QString& path) {
    CommitEdits(kEditingWindows);
    ReportOutput* out = Printing(p_);
    if (!out) return false;
    if (out->Pdf(DocumentReport(p_), PagesOf(p_), path) == 0) {
        TellId(p_, txt::kDocumentCouldNotPrinted, MsgIcon::Warning);
        return false;
    }
    return true;
}

void frmMain::mnuFileExportPdf_Click() {
    QString proposed = ToQ(p_.Doc.Path);
    if (proposed.endsWith(".dat", Qt::CaseInsensitive)) proposed.chop(4);
    proposed += ".pdf";
    const QString path = WithEnding(AskPdfPath ? AskPdfPath(proposed) : QString(), "pdf");
    if (path.isEmpty()) return;
    ExportPdf(path);
}

} // namespace tarvane
