#pragma once
// The report on paper, in a preview or as a PDF file, as the frame's print
// commands use it. It lives in the module "print" (ReportOutputModule.cpp with
// ReportPrinter.cpp), so Qt Print Support is loaded when a print command first
// runs, not at start-up.
#include <QString>

#include "report/Report.h"

class QWidget;

namespace tarvane {

// What every page carries: the document's name for the print queue, and the page
// footer with "%1" and "%2" for the page number and the page count.
struct ReportPages {
    QString docName;
    QString pageText;
};

class ReportOutput {
  public:
    static constexpr int kVersion = 1;
    virtual ~ReportOutput() = default;
    // Asks for a printer and prints: the pages printed, 0 when the printer could
    // not be painted on, -1 when the user cancelled.
    virtual int Print(const Report& report, const ReportPages& pages, QWidget* parent) = 0;
    // The print preview, modal, named `objectName`, with `title` as its caption.
    virtual void Preview(const Report& report, const ReportPages& pages, const QString& title,
                         const QString& objectName, QWidget* parent) = 0;
    // Writes a PDF file: the pages written, 0 when it could not be written.
    virtual int Pdf(const Report& report, const ReportPages& pages, const QString& path) = 0;
};

// The module's entry, `ReportOutput* entry(int version)`: the output, kept by the
// module, or nullptr for another version.
inline constexpr const char* kReportOutputEntry = "tarvane_report_output";

} // namespace tarvane
