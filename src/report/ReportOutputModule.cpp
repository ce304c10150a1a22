// The module "print": the report on Qt Print Support's printers, preview and PDF
// writer. Built as its own shared library, so only a program that prints loads
// Qt Print Support.
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "report/ReportOutput.h"
#include "report/ReportPrinter.h"

namespace tarvane {

namespace {

void SetUpPrinter(QPrinter& printer, const QString& docName) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    printer.setDocName(docName);
}

class PrinterOutput : public ReportOutput {
  public:
    int Print(const Report& report, const ReportPages& pages, QWidget* parent) override {
        QPrinter printer(QPrinter::HighResolution);
        SetUpPrinter(printer, pages.docName);
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) return -1;
        return PrintReport(report, printer, pages.pageText);
    }

    void Preview(const Report& report, const ReportPages& pages, const QString& title,
                 const QString& objectName, QWidget* parent) override {
        QPrinter printer(QPrinter::HighResolution);
        SetUpPrinter(printer, pages.docName);
        QPrintPreviewDialog preview(&printer, parent);
        preview.setObjectName(objectName);
        preview.setWindowTitle(title);
        QObject::connect(
            &preview, &QPrintPreviewDialog::paintRequested, &preview,
            [&report, &pages](QPrinter* target) { PrintReport(report, *target, pages.pageText); });
        preview.exec();
    }

    int Pdf(const Report& report, const ReportPages& pages, const QString& path) override {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        SetUpPrinter(printer, pages.docName);
        return PrintReport(report, printer, pages.pageText);
    }
};

} // namespace

} // namespace tarvane

extern "C" Q_DECL_EXPORT tarvane::ReportOutput* tarvane_report_output(int version) {
    static tarvane::PrinterOutput output;
    return version == tarvane::ReportOutput::kVersion ? &output : nullptr;
}
