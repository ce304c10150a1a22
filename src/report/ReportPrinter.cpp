#include "report/ReportPrinter.h"
#include "ui/ToQ.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace tarvane {

namespace {

enum class Face { Body, Bold, Title };

struct Op {
    QRectF rect;
    QString text;
    Face face = Face::Body;
    int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    bool box = false;    // a table cell: framed
    bool shaded = false; // a column title: shaded
};

using Page = std::vector<Op>;

class Layout {
  public:
    Layout(QPrinter& printer, double width, double height) : width_(width), height_(height) {
        body_ = QFont("Sans Serif", 8);
        bold_ = body_;
        bold_.setBold(true);
        title_ = QFont("Sans Serif", 11);
        title_.setBold(true);
        const QFontMetricsF m(body_, &printer);
        line_ = m.lineSpacing();
        pad_ = line_ * 0.2;
        device_ = &printer;
        pages_.emplace_back();
    }

    const QFont& FontOf(Face f) const { return f == Face::Body ? body_ : f == Face::Bold ? bold_ : title_; }
    double Line() const { return line_; }
    std::vector<Page> Take() { return std::move(pages_); }

    void Section(const ReportSection& s) {
        if (s.NewPage && !pages_.back().empty()) Break();
        const double titleH = TextHeight(ToQ(s.Title), Face::Title, width_) + pad_ * 2;
        // A title stays with what follows it.
        double need = titleH + (s.Lines.empty() ? 0 : line_);
        if (!s.Table.Columns.empty()) need += 2 * (line_ + 2 * pad_);
        if (y_ > 0 && y_ + need > height_) Break();
        if (y_ > 0) y_ += line_;
        Add(Op{QRectF(0, y_, width_, titleH), ToQ(s.Title), Face::Title});
        y_ += titleH;
        for (const std::string& l : s.Lines) {
            const double h = TextHeight(ToQ(l), Face::Body, width_);
            if (y_ + h > height_) Break();
            Add(Op{QRectF(0, y_, width_, h), ToQ(l), Face::Body});
            y_ += h;
        }
        if (!s.Table.Columns.empty()) Table(s.Table, ToQ(s.ContinuedTitle));
    }

  private:
    void Add(Op op) { pages_.back().push_back(std::move(op)); }
    void Break() {
        pages_.emplace_back();
        y_ = 0;
    }

    double TextHeight(const QString& text, Face face, double w) const {
        const QFontMetricsF m(FontOf(face), device_);
        return std::max(line_,
                        m.boundingRect(QRectF(0, 0, std::max(w, 1.0), 1e6), Qt::TextWordWrap, text).height());
    }
    // With room to spare: the painter's text layout may round wider than the metrics.
    double Advance(const QString& text, Face face) const {
        return QFontMetricsF(FontOf(face), device_).horizontalAdvance(text) * 1.03;
    }

    // Widths: every column at least its longest word; what is left goes to the
    // columns that want more, in proportion to how much more they want.
    std::vector<double> ColumnWidths(const ReportTable& t) const {
        const size_t n = t.Columns.size();
        std::vector<double> least(n, 0), want(n, 0);
        // A column title may wrap at its spaces; the cells ask for their whole text.
        auto measure = [&](size_t c, const std::string& text, Face face, bool title) {
            const QString s = ToQ(text);
            if (!title) want[c] = std::max(want[c], Advance(s, face) + 2 * pad_);
            for (const QString& word : s.split(' ', Qt::SkipEmptyParts))
                least[c] = std::max(least[c], Advance(word, face) + 2 * pad_);
            want[c] = std::max(want[c], least[c]);
        };
        for (size_t c = 0; c < n; ++c) {
            measure(c, t.Columns[c], Face::Bold, true);
            for (const auto& row : t.Rows)
                if (c < row.size()) measure(c, row[c], Face::Body, false);
        }
        double sumLeast = 0, sumWant = 0;
        for (size_t c = 0; c < n; ++c) {
            sumLeast += least[c];
            sumWant += want[c];
        }
        std::vector<double> w(n);
        if (sumWant <= width_) {
            for (size_t c = 0; c < n; ++c)
                w[c] = want[c];
            w[n - 1] += width_ - sumWant; // the table spans the page
        } else if (sumLeast >= width_) {
            for (size_t c = 0; c < n; ++c)
                w[c] = least[c] * width_ / sumLeast;
        } else {
            const double spare = width_ - sumLeast, wanted = sumWant - sumLeast;
            for (size_t c = 0; c < n; ++c)
                w[c] = least[c] + (want[c] - least[c]) * spare / wanted;
        }
        return w;
    }

    double Row(const std::vector<std::string>& cells, const std::vector<double>& w, Face face, bool shaded,
               bool measureOnly) {
        double h = line_;
        for (size_t c = 0; c < w.size(); ++c)
            h = std::max(h, TextHeight(c < cells.size() ? ToQ(cells[c]) : QString(), face, w[c] - 2 * pad_));
        h += 2 * pad_;
        if (measureOnly) return h;
        double x = 0;
        for (size_t c = 0; c < w.size(); ++c) {
            Op op{QRectF(x, y_, w[c], h), c < cells.size() ? ToQ(cells[c]) : QString(), face};
            op.box = true;
            op.shaded = shaded;
            Add(std::move(op));
            x += w[c];
        }
        y_ += h;
        return h;
    }

    // On each further page the table runs onto, its section's heading and column titles come again.
    void Table(const ReportTable& t, const QString& continued) {
        const std::vector<double> w = ColumnWidths(t);
        const double headH = Row(t.Columns, w, Face::Bold, true, true);
        if (y_ + headH + line_ > height_) Break();
        y_ += pad_;
        Row(t.Columns, w, Face::Bold, true, false);
        for (const auto& r : t.Rows) {
            const double h = Row(r, w, Face::Body, false, true);
            if (y_ + h > height_) {
                Break();
                if (!continued.isEmpty()) {
                    const double titleH = TextHeight(continued, Face::Title, width_) + pad_ * 2;
                    Add(Op{QRectF(0, y_, width_, titleH), continued, Face::Title});
                    y_ += titleH + pad_;
                }
                Row(t.Columns, w, Face::Bold, true, false);
            }
            Row(r, w, Face::Body, false, false);
        }
    }

    QPrinter* device_ = nullptr;
    QFont body_, bold_, title_;
    double width_, height_, line_ = 10, pad_ = 2, y_ = 0;
    std::vector<Page> pages_;
};

} // namespace

int PrintReport(const Report& report, QPrinter& printer, const QString& pageText) {
    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    const QRectF paper = printer.pageLayout().paintRectPixels(printer.resolution());
    const double w = paper.width(), h = paper.height();
    // The body lies between the header and the footer bands.
    Layout probe(printer, w, h);
    const double band = probe.Line() * 2;
    Layout layout(printer, w, h - 2 * band);
    for (const ReportSection& s : report.Sections)
        layout.Section(s);
    std::vector<Page> pages = layout.Take();
    if (pages.size() > 1 && pages.back().empty()) pages.pop_back();

    const int count = static_cast<int>(pages.size());
    const QPen thin(Qt::black, std::max(1.0, printer.resolution() / 200.0));
    for (int i = 0; i < count; ++i) {
        if (i > 0) printer.newPage();
        painter.setPen(thin);
        painter.setFont(layout.FontOf(Face::Bold));
        const QRectF head(0, 0, w, band * 0.75);
        painter.drawText(head, Qt::AlignLeft | Qt::AlignVCenter, ToQ(report.Title));
        painter.setFont(layout.FontOf(Face::Body));
        painter.drawText(head, Qt::AlignRight | Qt::AlignVCenter, ToQ(report.HeaderDetail));
        painter.drawLine(QPointF(0, band * 0.8), QPointF(w, band * 0.8));
        const QRectF foot(0, h - band * 0.75, w, band * 0.75);
        painter.drawLine(QPointF(0, h - band * 0.8), QPointF(w, h - band * 0.8));
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter, ToQ(report.Footer));
        painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter, QString(pageText).arg(i + 1).arg(count));

        painter.save();
        painter.translate(0, band);
        const double pad = layout.Line() * 0.2;
        for (const Op& op : pages[static_cast<size_t>(i)]) {
            if (op.shaded) painter.fillRect(op.rect, QColor(225, 225, 225));
            if (op.box) painter.drawRect(op.rect);
            painter.setFont(layout.FontOf(op.face));
            const QRectF inner = op.box ? op.rect.adjusted(pad, pad, -pad, -pad) : op.rect;
            painter.drawText(inner, op.flags, op.text);
        }
        painter.restore();
    }
    painter.end();
    return count;
}

} // namespace tarvane
