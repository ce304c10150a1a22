#include "ui/Twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

namespace tarvane {

namespace {

// The design font's line height and mean letter width in pixels (9 pt sans at 96 dpi).
constexpr double kDesignHeight = 13.97;
constexpr double kDesignLetter = 7.40;

double LetterWidth(const QFontMetricsF& m) {
    static const QString letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return m.horizontalAdvance(letters) / letters.size();
}

} // namespace

double FontScale(const QFont& font) {
    // Every layout asks this dozens of times, mostly of the same font; measuring
    // the letters each time was a good part of opening a window.
    static QFont measured;
    static double scale = 0;
    if (scale > 0 && font == measured) return scale;
    const QFontMetricsF m(font);
    measured = font;
    scale = std::max({1.0, m.height() / kDesignHeight, LetterWidth(m) / kDesignLetter});
    return scale;
}

double FontScale() {
    return FontScale(QApplication::font());
}

int Px(int designPixels) {
    return static_cast<int>(std::lround(designPixels * FontScale()));
}

int Twips(int twips) {
    return static_cast<int>(std::lround(twips * FontScale() / kTwipsPerPixel));
}

int TextWidth(const QWidget* widget, const QString& text) {
    QString plain = text;
    plain.replace("&&", "\x01").remove('&').replace("\x01", "&");
    return static_cast<int>(std::ceil(QFontMetricsF(widget->font()).horizontalAdvance(plain)));
}

int WidthForTexts(int designPixels, std::initializer_list<const QWidget*> widgets) {
    int need = Px(designPixels);
    for (const QWidget* w : widgets) {
        if (!w) continue;
        if (auto* l = qobject_cast<const QLabel*>(w)) {
            need = std::max(need, TextWidth(l, l->text()) + 2 * l->margin() + 2 * l->frameWidth() + 2);
        } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
            need = std::max(need, w->sizeHint().width());
        } else if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
            need = std::max(need, b->sizeHint().width());
        }
    }
    return need;
}

int WidthForItems(int designPixels, std::initializer_list<const QComboBox*> lists) {
    int need = Px(designPixels);
    for (const QComboBox* list : lists) {
        if (!list) continue;
        QStyleOptionComboBox opt;
        opt.initFrom(list);
        opt.rect = QRect(0, 0, 400, std::max(list->height(), Px(22)));
        opt.editable = list->isEditable();
        const QRect field =
            list->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, list);
        const int chrome = opt.rect.width() - field.width();
        for (int i = 0; i < list->count(); ++i)
            need = std::max(need, TextWidth(list, list->itemText(i)) + chrome + 4);
    }
    return need;
}

int FitHeaderToTexts(QTableWidget* table, int designHeight) {
    QHeaderView* header = table->horizontalHeader();
    const bool wrap = header->defaultAlignment() & Qt::TextWordWrap;
    const int margin = std::max(4, header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header));
    const QFontMetrics m(header->font());
    int height = Px(designHeight), total = 0;
    for (int c = 0; c < table->columnCount(); ++c) {
        if (table->isColumnHidden(c)) continue;
        const QTableWidgetItem* item = table->horizontalHeaderItem(c);
        const QString text = item ? item->text() : QString();
        int widest = 0;
        for (const QString& word : wrap ? text.split(' ', Qt::SkipEmptyParts) : QStringList{text})
            widest = std::max(widest, m.horizontalAdvance(word));
        const int width = std::max(table->columnWidth(c), widest + 2 * margin + 4);
        table->setColumnWidth(c, width);
        total += width;
        const int flags = Qt::AlignCenter | (wrap ? Qt::TextWordWrap : 0);
        const QRect r = m.boundingRect(QRect(0, 0, width - 2 * margin, 10000), flags, text);
        height = std::max(height, r.height() + 4); // the text is centred: a little air above and below
    }
    header->setFixedHeight(height);
    return total;
}

} // namespace tarvane
