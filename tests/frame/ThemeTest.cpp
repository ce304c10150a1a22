// Read-only fields look read-only, and the windows take their colours from the
// palette, so a dark theme keeps every text readable.
#include <QApplication>
#include <QLineEdit>
#include <QScopeGuard>
#include <QStyle>
#include <QTableWidget>
#include <QTemporaryDir>

#include "GuiTestSupport.h"
#include "channels/FrmCHInfoEdit.h"
#include "channels/frmCommChInfo.h"
#include "freq/Bands.h"
#include "link/FrmRadioInfo.h"
#include "ui/Contrast.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    dark.setColor(QPalette::Button, QColor(60, 60, 64));
    dark.setColor(QPalette::Highlight, QColor(230, 120, 60));
    dark.setColor(QPalette::Link, QColor(110, 170, 255));
    return dark;
}

// A dark theme that leaves the link and selection colours at Qt's defaults.
QPalette DarkWithDefaultAccents() {
    QPalette dark = DarkPalette();
    const QPalette light = QApplication::style()->standardPalette();
    dark.setColor(QPalette::Link, light.color(QPalette::Link));
    dark.setColor(QPalette::Highlight, light.color(QPalette::Highlight));
    return dark;
}

QColor Ground(const QLineEdit* box) {
    return box->palette().color(QPalette::Base);
}

} // namespace

class ThemeTest : public QObject {
    Q_OBJECT
  private slots:
    void readOnlyFieldsLookReadOnly_data();
    void readOnlyFieldsLookReadOnly();
    void radioInformationFieldsLookReadOnly();
    void channelTableColoursFollowThePalette_data();
    void channelTableColoursFollowThePalette();
};

void ThemeTest::readOnlyFieldsLookReadOnly_data() {
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("CB country plan") << int(kBandCB) << 0 << true;
    QTest::newRow("CB memory") << int(kBandCB) << MemGroup(kBandCB) << true;
    QTest::newRow("CB emergency") << int(kBandCB) << EmgGroup(kBandCB) << false;
    QTest::newRow("HF bank A") << int(kBandHF) << 0 << false;
}

void ThemeTest::readOnlyFieldsLookReadOnly() {
    QFETCH(int, band);
    QFETCH(int, group);
    QFETCH(bool, readOnly);
    TestProgram t = MakeTestProgram(band);
    t->Image.Settings.Features.CurrentGroup = int16_t(group);
    FrmCHInfoEdit d(*t);
    QCOMPARE(d.FreqBox()->isReadOnly(), readOnly);
    const QPalette window = d.palette();
    QCOMPARE(Ground(d.FreqBox()), window.color(readOnly ? QPalette::Window : QPalette::Base));
    // Typing into a read-only box changes nothing.
    const QString before = d.FreqBox()->text();
    if (readOnly) {
        QTest::keyClicks(d.FreqBox(), "27.1");
        QCOMPARE(d.FreqBox()->text(), before);
    }
}

void ThemeTest::radioInformationFieldsLookReadOnly() {
    TestProgram t = MakeTestProgram(kBandCB);
    FrmRadioInfo w(*t);
    for (QLineEdit* box : w.Text1) {
        QVERIFY(box->isReadOnly());
        QCOMPARE(Ground(box), box->parentWidget()->palette().color(QPalette::Window));
        QVERIFY(Ground(box) != box->parentWidget()->palette().color(QPalette::Base));
    }
}

void ThemeTest::channelTableColoursFollowThePalette_data() {
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("default theme") << false << QApplication::style()->standardPalette();
    QTest::newRow("dark theme") << true << DarkPalette();
    QTest::newRow("dark theme, default accents") << true << DarkWithDefaultAccents();
}

void ThemeTest::channelTableColoursFollowThePalette() {
    QFETCH(bool, dark);
    QFETCH(QPalette, palette);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    TestProgram t = MakeTestProgram(kBandCB);
    frmCommChInfo w(*t);
    const QPalette pal = w.palette();
    QTableWidget* g = w.Grid();
    QVERIFY(g->rowCount() > 0);
    for (int row = 0; row < g->rowCount(); ++row) {
        QCOMPARE(g->item(row, 0)->foreground().color(),
                 Readable(pal.color(QPalette::Link), pal.color(QPalette::Base)));
        QCOMPARE(g->item(row, 7)->foreground().color(),
                 Readable(pal.color(QPalette::Highlight), pal.color(QPalette::Button)));
        QCOMPARE(g->item(row, 7)->background().color(), pal.color(QPalette::Button));
        // The CB frequency column outside the emergency group is shown as not for typing.
        QCOMPARE(g->item(row, 1)->background().color(), pal.color(QPalette::Window));
        // Every text stands out from its ground by at least 4.5:1.
        for (int col = 0; col < g->columnCount(); ++col) {
            const QTableWidgetItem* item = g->item(row, col);
            const QColor text = item->foreground().style() == Qt::NoBrush ? pal.color(QPalette::Text)
                                                                          : item->foreground().color();
            const QColor ground = item->background().style() == Qt::NoBrush ? pal.color(QPalette::Base)
                                                                            : item->background().color();
            QVERIFY2(ContrastRatio(text, ground) >= 4.5,
                     qPrintable(QString("column %1: %2 on %3").arg(col).arg(text.name(), ground.name())));
        }
    }
    if (dark) {
        // Nothing stays in the fixed colours that vanish on a dark ground.
        QVERIFY(g->item(0, 0)->foreground().color() != QColor(Qt::blue));
        QVERIFY(g->item(0, 7)->foreground().color() != QColor(Qt::red));
    }
}

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    ThemeTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "ThemeTest.moc"
