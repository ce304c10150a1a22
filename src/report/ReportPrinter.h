#pragma once
// Lays a report out on the pages of a printer (paper, preview or PDF): a header
// and "Page n of m" on every page, sections that ask for it on a new page, table
// columns fitted to the page width with wrapped cells, the section's heading and
// the table's column titles again at the top of each page it runs onto.
#include <QString>

#include "report/Report.h"

class QPrinter;

namespace tarvane {

// `pageText` holds "%1" and "%2" for the page number and the page count. The
// number of pages printed; 0 when the printer could not be painted on.
int PrintReport(const Report& report, QPrinter& printer, const QString& pageText);

} // namespace tarvane
