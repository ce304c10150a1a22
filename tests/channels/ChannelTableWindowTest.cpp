// The channel table window: editing rules, cell editors, the group panel.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "ChannelWindowFixtures.h"
#include "channels/frmCommChInfo.h"
#include "freq/Bands.h"
#include "state/lang/LangText.h"
#include "ui/Contrast.h"

using namespace tarvane;

namespace {

constexpr int CB = 0, HF = 1, HAM = 2;
constexpr int kCE = 1, kDE = 6, kEMG = 9;

QPoint CellCentre(QTableWidget* g, int row, int col) {
    return g->visualRect(g->model()->index(row, col)).center();
}

bool EditorShown(frmCommChInfo& w, const char* name) {
    auto* e = w.findChild<QWidget*>(name);
    return e && e->isVisible();
}

bool AnyEditorShown(frmCommChInfo& w) {
    for (const char* n : {"Text1", "Text2", "Combo1", "Combo2", "Combo3", "Combo4"})
        if (EditorShown(w, n)) return true;
    return false;
}

} // namespace

class ChannelTableWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void cbFrequencyIsTypedOnlyInTheEmergencyGroup_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("opens");
        QTest::newRow("CE") << kCE << false;
        QTest::newRow("DE") << kDE << false;
        QTest::newRow("EMG") << kEMG << true;
    }
    void cbFrequencyIsTypedOnlyInTheEmergencyGroup() {
        QFETCH(int, group);
        QFETCH(bool, opens);
        auto p = test::MakeTestProgram(CB);
        test::AddPlan(*p, kCE, 40, 26.965);
        test::AddPlan(*p, kDE, 80, 26.965);
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        w.ChooseGroup(group);
        QTableWidget* g = w.Grid();
        // A real double click: a click, then the second press that the system reports as a double click.
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, CellCentre(g, 0, 1));
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, CellCentre(g, 0, 1));
        QCOMPARE(EditorShown(w, "Text1"), opens);
        QCOMPARE(w.EditColumn(), opens ? 1 : 0);
    }

    void hamOutOfBandFrequencyCreatesTheChannelAtTheLimit() {
        auto p = test::MakeTestProgram(HAM);
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        w.ChooseGroup(1); // bank B, empty
        QCOMPARE(w.Grid()->rowCount(), 40);
        w.Grid()->setCurrentCell(4, 1);
        w.Grid()->setFocus();
        QTest::keyClick(w.Grid(), Qt::Key_Return);
        auto* box = w.findChild<QLineEdit*>("Text1");
        QVERIFY(box->isVisible());
        QTest::keyClicks(box, "27.2");
        QTest::keyClick(box, Qt::Key_Return);
        const ChannelRecord* r = test::RecordOf(*p, 45);
        QVERIFY(r);
        QCOMPARE(QString::fromStdString(r->RxFreq.Trimmed()), QString("02800000"));
        QVERIFY(p.script->Saw(LangText(*p, 9021_txt)));
        QCOMPARE(w.Grid()->item(4, 1)->text(), QString("28.00000"));
        QVERIFY(!box->isVisible());
    }

    void typingFilterOfTheEditors_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("frequency") << 1 << "2a8.,15"
                                   << "28.15";
        QTest::newRow("offset") << 4 << "1x2.5"
                                << "125";
    }
    void typingFilterOfTheEditors() {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto p = test::MakeTestProgram(HF);
        test::RecordOf(*p, 1)->Public = 0;
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        w.Grid()->setCurrentCell(0, column);
        w.EnterGridEdit();
        auto* box = w.findChild<QLineEdit*>(column == 1 ? "Text1" : "Text2");
        QVERIFY(box->isVisible());
        box->clear();
        QTest::keyClicks(box, typed);
        QKeyEvent wide(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\u00e9"));
        QApplication::sendEvent(box, &wide); // above 127
        QCOMPARE(box->text(), shown);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); // no pasting past the filter
        QCOMPARE(box->text(), shown);
    }

    void escapeCancelsAndEnterCommits() {
        auto p = test::MakeTestProgram(HF);
        const std::string before = test::RecordOf(*p, 1)->RxFreq.Trimmed();
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        w.Grid()->setFocus();
        w.Grid()->setCurrentCell(0, 1);
        QTest::keyClick(w.Grid(), Qt::Key_Return);
        auto* box = w.findChild<QLineEdit*>("Text1");
        box->setText("28.5");
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        QCOMPARE(test::RecordOf(*p, 1)->RxFreq.Trimmed(), before);
        // Arrow keys move the current cell; Enter opens the list of the cell and commits it.
        QTest::keyClick(w.Grid(), Qt::Key_Right);
        QTest::keyClick(w.Grid(), Qt::Key_Right); // TSQ, past the hidden DUP and offset
        QTest::keyClick(w.Grid(), Qt::Key_Right); // Scan
        QCOMPARE(w.Grid()->currentColumn(), 6);
        QTest::keyClick(w.Grid(), Qt::Key_Return);
        auto* scan = w.findChild<QComboBox*>("Combo4");
        QVERIFY(scan->isVisible());
        scan->setCurrentIndex(0);
        QTest::keyClick(scan, Qt::Key_Return);
        QCOMPARE(test::RecordOf(*p, 1)->Scan, 0);
        QCOMPARE(w.Grid()->item(0, 6)->text(), QString("Del"));
        QVERIFY(!scan->isVisible());
        QTest::keyClick(w.Grid(), Qt::Key_Down);
        QCOMPARE(w.Grid()->currentRow(), 1);
        QCOMPARE(p->ChannelTableChannel, 2);
        QVERIFY(w.windowTitle().endsWith(" 2]"));
    }

    void editingRulesOfTheCells_data() {
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("publicValue");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("opens");
        QTest::newRow("common data on: no DUP") << HF << 0 << 1 << 3 << false;
        QTest::newRow("common data on: no offset") << HF << 0 << 1 << 4 << false;
        QTest::newRow("common data off: offset") << HF << 0 << 0 << 4 << true;
        QTest::newRow("common data on: TSQ") << HF << 0 << 1 << 5 << true;
        QTest::newRow("no Scan in the VFO") << HF << 10 << 1 << 6 << false;
        QTest::newRow("Scan in a bank") << HAM << 0 << 1 << 6 << true;
        QTest::newRow("channel number") << HF << 0 << 1 << 0 << false;
    }
    void editingRulesOfTheCells() {
        QFETCH(int, band);
        QFETCH(int, group);
        QFETCH(int, publicValue);
        QFETCH(int, column);
        QFETCH(bool, opens);
        auto p = test::MakeTestProgram(band);
        for (int slot : {1, 401})
            test::RecordOf(*p, slot)->Public = static_cast<int16_t>(publicValue);
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        w.ChooseGroup(group);
        w.Grid()->setCurrentCell(0, column);
        w.EnterGridEdit();
        QCOMPARE(AnyEditorShown(w), opens);
    }

    void anEmptyRowOffersNoOptions() {
        auto p = test::MakeTestProgram(HF);
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        for (int col : {2, 5, 6}) {
            w.Grid()->setCurrentCell(3, col);
            w.EnterGridEdit();
            QVERIFY2(!AnyEditorShown(w), qPrintable(QString::number(col)));
        }
        w.Grid()->setCurrentCell(3, 1);
        w.EnterGridEdit();
        QVERIFY(EditorShown(w, "Text1")); // its frequency can be typed
    }

    void clickingAnotherCellCommitsTheOpenEditor() {
        auto p = test::MakeTestProgram(HF);
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        w.Grid()->setCurrentCell(2, 1);
        w.EnterGridEdit();
        auto* box = w.findChild<QLineEdit*>("Text1");
        QTest::keyClicks(box, "28.3");
        QTest::mouseClick(w.Grid()->viewport(), Qt::LeftButton, {}, CellCentre(w.Grid(), 6, 2));
        const ChannelRecord* r = test::RecordOf(*p, 3);
        QVERIFY(r);
        QCOMPARE(QString::fromStdString(r->RxFreq.Trimmed()), QString("02830000"));
        QVERIFY(!box->isVisible());
    }

    void theOnlySwitchedOnGroupStaysOn() {
        auto p = test::MakeTestProgram(HF);
        test::AddPlan(*p, 0, 3, 28.0);
        auto& on = p->Image.Settings.Features.GroupEnabled;
        on = {};
        on[0] = 1;
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        auto* list3 = w.findChild<QComboBox*>("cboPanel3");
        QVERIFY(test::Choose(list3, "Disable"));
        QCOMPARE(on[0], 1);
        QCOMPARE(list3->currentText(), QString("Enable"));

        // A bank without channels cannot be switched on.
        w.ChooseGroup(2);
        QVERIFY(test::Choose(list3, "Enable"));
        QCOMPARE(on[2], 0);
        QCOMPARE(list3->currentText(), QString("Disable"));

        // With another bank on, bank A can go off.
        test::AddPlan(*p, 3, 1, 28.5);
        on[3] = 1;
        w.ChooseGroup(0);
        QVERIFY(test::Choose(list3, "Disable"));
        QCOMPARE(on[0], 0);
    }

    void deEmergencyChannelsAboveFortyAreFmOnly() {
        auto p = test::MakeTestProgram(CB);
        test::AddPlan(*p, kDE, 80, 26.965);
        auto& f = p->Image.Settings.Features;
        f.GroupEmgAmFm1[kDE] = 1;
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        w.ChooseGroup(kDE);
        QCOMPARE(w.Grid()->rowCount(), 80);
        auto* emg1 = w.findChild<QComboBox*>("cboPanel1");
        auto* mod1 = w.findChild<QComboBox*>("cboEmgMod1");
        QVERIFY(mod1->isEnabled());
        QCOMPARE(mod1->currentText(), QString("AM"));
        QVERIFY(test::Choose(emg1, "45"));
        QCOMPARE(f.GroupEmgChannel1[kDE], 44);
        QCOMPARE(mod1->currentText(), QString("FM"));
        QVERIFY(!mod1->isEnabled());
        QCOMPARE(f.GroupEmgAmFm1[kDE], 0);
        QVERIFY(test::Choose(emg1, "12"));
        QCOMPARE(f.GroupEmgChannel1[kDE], 11);
        QVERIFY(mod1->isEnabled());
        QVERIFY(test::Choose(mod1, "AM"));
        QCOMPARE(f.GroupEmgAmFm1[kDE], 1);
    }

    void theGridHasTheLayoutOfTheTable() {
        auto p = test::MakeTestProgram(CB);
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        QTableWidget* g = w.Grid();
        const int widths[] = {740, 1800, 1100, 0, 0, 1200, 1100, 1400};
        for (int c = 0; c < 8; ++c)
            if (widths[c] > 0)
                QCOMPARE(g->columnWidth(c), widths[c] / 15);
            else
                QVERIFY(g->isColumnHidden(c));
        QCOMPARE(g->horizontalHeader()->height(), 500 / 15);
        QCOMPARE(g->width(), 7680 / 15);
        // 8200 twips, or wider where the panel's lists need it to show their entries.
        QCOMPARE(w.height(), 6900 / 15);
        QVERIFY(w.width() >= 8200 / 15 && w.width() <= 8200 / 15 + 10);
        QCOMPARE(g->item(0, 7)->text(), QString(">>"));
        // Colours from the palette (a dark theme keeps them readable).
        QCOMPARE(g->item(0, 7)->background().color(), w.palette().color(QPalette::Button));
        QCOMPARE(g->item(0, 7)->foreground().color(),
                 Readable(w.palette().color(QPalette::Highlight), w.palette().color(QPalette::Button)));
        QCOMPARE(g->item(0, 0)->foreground().color(),
                 Readable(w.palette().color(QPalette::Link), w.palette().color(QPalette::Base)));
        // The frequency cannot be typed in a CB plan: its column has the window's colour.
        QCOMPARE(g->item(0, 1)->background().color(), w.palette().color(QPalette::Window));
        QVERIFY(w.windowTitle().startsWith(QString::fromStdString(LangText(*p, 14012_txt)) + " D --- "));
    }

    void cbCountryListsChooseTheGroup() {
        auto p = test::MakeTestProgram(CB);
        frmCommChInfo w(*p);
        QVERIFY(test::ShowAndWait(&w));
        auto* first = w.findChild<QComboBox*>("cboCountry1");
        auto* second = w.findChild<QComboBox*>("cboCountry2");
        QVERIFY(!second->isVisible());
        QVERIFY(test::Choose(first, "U/UK"));
        QVERIFY(second->isVisible());
        QCOMPARE(w.ShownGroup(), 2); // "U", the second list's first entry
        QVERIFY(test::Choose(second, "UK"));
        QCOMPARE(w.ShownGroup(), 3);
        QCOMPARE(p->Image.Settings.Features.CurrentGroup, 3);
        QVERIFY(test::Choose(first, "EMG"));
        QCOMPARE(w.ShownGroup(), kEMG);
        QVERIFY(!second->isVisible());
        QCOMPARE(w.Grid()->rowCount(), 3);
    }

    void aDamagedFileDoesNotFloodMessages() {
        auto p = test::MakeTestProgram(HF);
        test::RecordOf(*p, 1)->RxFreq.Assign("2X.4Q000");
        p->Image.Settings.Features.CurrentGroup = 99;
        frmCommChInfo w(*p);
        QCOMPARE(w.ShownGroup(), 0);
        QCOMPARE(w.Grid()->rowCount(), 40);
        QVERIFY(p.script->shown.empty());
    }
};

QTEST_MAIN(ChannelTableWindowTest)
#include "ChannelTableWindowTest.moc"
