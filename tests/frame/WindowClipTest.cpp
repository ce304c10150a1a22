// Every window in every language and at small and large fonts: no label, button,
// list entry, group title, tab, header, cell or tree text is wider or taller than
// its control, and no control sticks out of its window.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "EveryDialog.h"
#include "GuiTestSupport.h"
#include "exchange/FrmCompare.h"
#include "exchange/FrmImportPreview.h"
#include "features/emergency/Frm_EMG.h"
#include "features/memfreq/Frm_Mem_Freq.h"
#include "frame/ChannelWindows.h"
#include "frame/FrmSetLanguage.h"
#include "frame/frmAbout.h"
#include "freq/Bands.h"
#include "image/FrmModelInfo.h"
#include "link/FrmPassWord.h"
#include "link/FrmProgress.h"
#include "link/FrmSetComm.h"
#include "state/lang/Languages.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

QString Size(QSize s) {
    return QString("%1x%2").arg(s.width()).arg(s.height());
}

int Advance(const QWidget* w, const QString& text) {
    return QFontMetrics(w->font()).horizontalAdvance(QString(text).replace("&&", "\x01").remove('&'));
}

// The texts of one widget that do not fit, as "where: text (need, have)".
void CheckWidget(QWidget* w, const QString& where, QStringList& out) {
    const QFontMetrics m(w->font());
    auto clip = [&](const QString& text, QSize need, QSize have) {
        if (need.width() > have.width() || need.height() > have.height())
            out << QString("%1: \"%2\" needs %3, has %4").arg(where, text, Size(need), Size(have));
    };
    if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty()) {
        const QSize have = l->contentsRect().size();
        if (l->wordWrap())
            clip(l->text(), {0, l->heightForWidth(l->width())}, {0, l->height()});
        else
            clip(l->text(), l->sizeHint() - QSize(2 * l->frameWidth(), 2 * l->frameWidth()), have);
    } else if (auto* b = qobject_cast<QPushButton*>(w); b && !b->text().isEmpty()) {
        clip(b->text(), {Advance(b, b->text()) + 8, m.height() + 4}, b->size());
    } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        auto* b = static_cast<QAbstractButton*>(w);
        if (!b->text().isEmpty()) clip(b->text(), b->minimumSizeHint(), b->size());
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        opt.editable = c->isEditable();
        const QRect field =
            c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
        for (int i = 0; i < c->count(); ++i)
            clip(c->itemText(i), {Advance(c, c->itemText(i)) + 2, m.height()}, field.size());
    } else if (auto* g = qobject_cast<QGroupBox*>(w); g && !g->title().isEmpty()) {
        clip(g->title(), {Advance(g, g->title()) + 16, 0}, g->size());
    } else if (auto* t = qobject_cast<QTabBar*>(w)) {
        for (int i = 0; i < t->count(); ++i)
            clip(t->tabText(i), {Advance(t, t->tabText(i)) + 8, m.height()}, t->tabRect(i).size());
    } else if (auto* t = qobject_cast<QTableWidget*>(w)) {
        QHeaderView* h = t->horizontalHeader();
        const bool wrap = h->defaultAlignment() & Qt::TextWordWrap;
        for (int c = 0; c < t->columnCount(); ++c) {
            if (t->isColumnHidden(c)) continue;
            const QSize cell(t->columnWidth(c), h->height());
            if (QTableWidgetItem* item = t->horizontalHeaderItem(c); item && !h->isHidden()) {
                // The style keeps a margin on both sides of a header's text.
                const int margin = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
                const QRect r = m.boundingRect(QRect(0, 0, cell.width() - 2 * margin, 10000),
                                               Qt::AlignCenter | Qt::TextWordWrap, item->text());
                const QSize text = wrap ? r.size() : QSize(Advance(t, item->text()), m.height());
                clip("header " + item->text(), text + QSize(2 * margin, 2), cell);
            }
            for (int r = 0; r < t->rowCount(); ++r)
                if (QTableWidgetItem* item = t->item(r, c);
                    item && !t->isRowHidden(r) && !item->text().isEmpty())
                    clip(item->text(), {Advance(t, item->text()) + 6, m.height()},
                         {t->columnWidth(c), t->rowHeight(r)});
        }
    } else if (auto* t = qobject_cast<QTreeWidget*>(w)) {
        for (QTreeWidgetItemIterator it(t); *it; ++it) {
            const QModelIndex index = t->indexFromItem(*it);
            if ((*it)->isHidden() || t->visualItemRect(*it).isEmpty()) continue;
            clip("tree " + (*it)->text(0), {t->sizeHintForIndex(index).width(), 0},
                 {t->visualItemRect(*it).width(), 0});
        }
    }
    // Nothing sticks out of the widget that holds it.
    QWidget* holder = w->parentWidget();
    if (holder && !w->isWindow() && !holder->inherits("QAbstractScrollArea") &&
        !w->inherits("QMdiSubWindow") && holder->objectName() != "qt_scrollarea_viewport" &&
        !holder->inherits("QMdiSubWindow"))
        clip("place", QSize(w->geometry().right() + 1, w->geometry().bottom() + 1),
             w->x() < 0 || w->y() < 0 ? QSize() : holder->size());
}

// Checks the window as shown, on each page of its tabs.
void Check(QWidget* root, QStringList& out) {
    const QList<QTabWidget*> tabs = root->findChildren<QTabWidget*>();
    for (int page = 0; page < std::max<qsizetype>(1, tabs.size() ? tabs[0]->count() : 1); ++page) {
        for (QTabWidget* t : tabs)
            t->setCurrentIndex(std::min(page, t->count() - 1));
        QApplication::sendPostedEvents(); // pending layout requests
        QList<QWidget*> all = root->findChildren<QWidget*>();
        all.prepend(root);
        for (QWidget* w : all)
            if ((w == root || w->isVisibleTo(root)) && !w->inherits("QToolButton") &&
                !w->inherits("QMdiSubWindow"))
                CheckWidget(
                    w,
                    QString("%1/%2:%3")
                        .arg(root->metaObject()->className(), w->metaObject()->className(), w->objectName()),
                    out);
    }
}

} // namespace

class WindowClipTest : public QObject {
    Q_OBJECT
  private slots:
    void everyTextFits_data();
    void everyTextFits();
    void clipsAreCaught();

  private:
    QFont design_ = QApplication::font();
};

void WindowClipTest::everyTextFits_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("band");
    const std::pair<const char*, double> rows[] = {{"english", 9},  {"german", 9},   {"polish", 9},
                                                   {"italian", 9},  {"chinese", 9},  {"english", 8},
                                                   {"english", 12}, {"english", 14}, {"german", 14}};
    for (const auto& [language, points] : rows)
        for (int band : {int(kBandCB), int(kBandHF)})
            QTest::newRow(qPrintable(QString("%1 %2pt %3").arg(language).arg(points).arg(band)))
                << QString(language) + ".ini" << points << band;
}

void WindowClipTest::everyTextFits() {
    QFETCH(QString, language);
    QFETCH(double, points);
    QFETCH(int, band);
    QFont font = design_;
    font.setPointSizeF(points);
    QApplication::setFont(font);
    FrameFixture f(band, false);
    RegisterStandardWindows(*f.frame);
    Program& p = f.p();
    QVERIFY(SetLanguageFile(p, language.toStdString()));
    f.frame->CheckLanguageChange();
    f.frame->ShowChannelTable();
    ShowChannelEditDialog(*f.frame);
    for (const char* kind : {"FrmOptFeatures", "FrmDTMF", "FrmKey", "FrmToneTips", "FrmRadioInfo"})
        f.frame->ShowFormOnce(kind);

    QStringList clipped;
    Check(f.frame->Tree(), clipped);
    for (QWidget* w : f.frame->ChildWindows())
        Check(w, clipped);
    std::string entry;
    auto dialogs = test::EveryDialog(p, band, entry);
    dialogs.emplace_back(new FrmCompare(p, {{"Channels D 5", "RxFreq", "27.40500", "27.39500"}}, "b.dat"));
    dialogs.emplace_back(new FrmImportPreview(p, "Group,Channel,RxFreq\nD,5,27.40500\n", "in.csv"));
    for (const auto& d : dialogs) {
        d->show();
        Check(d.get(), clipped);
        d->hide();
    }
    f.frame.reset();
    QApplication::setFont(design_);
    QVERIFY2(clipped.isEmpty(),
             qPrintable(QString("%1 texts clip:\n").arg(clipped.size()) + clipped.join('\n')));
}

// The checks themselves: a narrow label, button, list and header are caught,
// wide enough ones pass.
void WindowClipTest::clipsAreCaught() {
    QWidget w;
    auto* label = new QLabel("Emergency channel 1", &w);
    auto* button = new QPushButton("Edit channel...", &w);
    auto* list = new QComboBox(&w);
    list->addItem("Enable");
    auto* table = new QTableWidget(1, 1, &w);
    table->setHorizontalHeaderLabels({"Frequency (MHz)"});
    for (int wide : {0, 1}) {
        w.resize(400, wide ? 400 : 100); // the table sticks out of the narrow window
        for (QWidget* c : {(QWidget*)label, (QWidget*)button, (QWidget*)list, (QWidget*)table})
            c->setGeometry(0, c == table ? 90 : 0, wide ? 300 : 40, c == table ? 100 : 30);
        table->setColumnWidth(0, wide ? 200 : 40);
        table->horizontalHeader()->setFixedHeight(wide ? 40 : 6);
        QStringList clipped;
        Check(&w, clipped);
        QVERIFY2(clipped.size() == (wide ? 0 : 5), qPrintable(clipped.join('\n')));
    }
}

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    WindowClipTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "WindowClipTest.moc"
