#pragma once
// A printable report: titled sections of lines and tables of texts, with the
// page header it carries. The core fills it; a window lays it out on pages
// (printer, preview, PDF), and ReportText gives it as plain text.
#include <string>
#include <vector>

namespace tarvane {

struct ReportTable {
    std::vector<std::string> Columns;
    std::vector<std::vector<std::string>> Rows; // each as many cells as columns
};

struct ReportSection {
    std::string Title;
    std::string ContinuedTitle;     // heads the table again on each further page it runs onto
    bool NewPage = false;           // starts at the top of a page
    std::vector<std::string> Lines; // shown before the table
    ReportTable Table;              // none when it has no columns
};

struct Report {
    std::string Title;        // left in every page header
    std::string HeaderDetail; // right in every page header (model, band, file)
    std::string Footer;       // left in every page footer (the date); the page number goes right
    std::vector<ReportSection> Sections;
};

// One line per header, title, line and table row; cells separated by " | ".
std::string ReportText(const Report& report);

} // namespace tarvane
