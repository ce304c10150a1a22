// The frame's print commands: the document report on a printer, in a preview or
// as a PDF file.
#include <QDateTime>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "base/FieldHelpers.h"
#include "frame/frmMain.h"
#include "image/CodeplugFile.h"
#include "report/CodeplugReport.h"
#include "report/ReportPrinter.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

void SetUpPrinter(QPrinter& printer, const QString& title) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    printer.setDocName(title);
}

Report DocumentReport(Program& p) {
    const std::string date = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm").toStdString();
    return BuildCodeplugReport(p, FileNameOf(p.Doc.Path), date);
}

} // namespace

void frmMain::mnuFilePrint_Click() {
    // What is typed but not yet stored belongs on the paper.
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures", "FrmDTMF"});
    const Report report = DocumentReport(p_);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, ToQ(FileNameOf(p_.Doc.Path)));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (PrintReport(report, printer, ToQ(LangText(p_, txt::kPage))) == 0)
        TellId(p_, txt::kDocumentCouldNotPrinted, MsgIcon::Warning);
}

void frmMain::mnuFilePrintPreview_Click() {
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures", "FrmDTMF"});
    const Report report = DocumentReport(p_);
    const QString pageText = ToQ(LangText(p_, txt::kPage));
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, ToQ(FileNameOf(p_.Doc.Path)));
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName("PrintPreview");
    preview.setWindowTitle(ToQ(WithoutAccessMark(LangText(p_, txt::kPrintPreview))));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&report, &pageText](QPrinter* target) { PrintReport(report, *target, pageText); });
    preview.exec();
}

bool frmMain::ExportPdf(const QString& path) {
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures", "FrmDTMF"});
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    SetUpPrinter(printer, ToQ(FileNameOf(p_.Doc.Path)));
    if (PrintReport(DocumentReport(p_), printer, ToQ(LangText(p_, txt::kPage))) == 0) {
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
