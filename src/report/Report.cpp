#include "report/Report.h"

namespace tarvane {

std::string ReportText(const Report& report) {
    std::string out = report.Title + "\n" + report.HeaderDetail + "\n" + report.Footer + "\n";
    for (const ReportSection& s : report.Sections) {
        out += "\n== " + s.Title + "\n";
        for (const std::string& line : s.Lines)
            out += line + "\n";
        auto row = [&out](const std::vector<std::string>& cells) {
            for (size_t i = 0; i < cells.size(); ++i)
                out += (i ? " | " : "") + cells[i];
            out += "\n";
        };
        if (!s.Table.Columns.empty()) {
            row(s.Table.Columns);
            for (const auto& r : s.Table.Rows)
                row(r);
        }
    }
    return out;
}

} // namespace tarvane
