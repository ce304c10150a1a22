// The channel-edit commands inside the frame: the menu and toolbar group, their
// shortcuts, the system clipboard.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableWidget>
#include <QTest>

#include "ChannelWindowFixtures.h"
#include "channels/FrmCHInfoEdit.h"
#include "channels/frmCommChInfo.h"
#include "frame/ChannelWindows.h"
#include "frame/frmMain.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"

using namespace tarvane;

namespace {
constexpr int HF = 1;

struct Framed {
    test::TestProgram p = test::MakeTestProgram(HF);
    std::unique_ptr<frmMain> frame;
    frmCommChInfo* table = nullptr;

    Framed() {
        frame = std::make_unique<frmMain>(*p);
        // The frame starts a new document from the initial codeplug; the tests want a small one.
        p->Image.Settings.ChannelCount = 0;
        AppendChannel(p->Image, 401, "28.50000");
        test::AddPlan(*p, 0, 6, 28.0); // bank A 1..6
        test::AddPlan(*p, 1, 2, 29.0); // bank B 1..2
        RegisterChannelWindows(*frame);
        frame->ShowChannelTable();
        table = qobject_cast<frmCommChInfo*>(frame->FindChildWindow("frmCommChInfo"));
    }
    std::string Freq(int slot) {
        const ChannelRecord* r = test::RecordOf(*p, slot);
        return r ? r->RxFreq.Trimmed() : "";
    }
    bool GroupShown() { return frame->Menu("MnuCHEdit")->menuAction()->isVisible(); }
};
} // namespace

class ChannelCommandsWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void copyAndPasteGoThroughTheSystemClipboard() {
        Framed f;
        QVERIFY(f.table);
        QVERIFY(test::ShowAndWait(f.frame.get()));
        QVERIFY(f.GroupShown());
        f.table->Grid()->setCurrentCell(1, 1);
        f.frame->Action("MnuCHCopy")->trigger();
        const QString text = QApplication::clipboard()->text();
        QVERIFY(text.startsWith("28.00500\t"));
        // Another program's channel arrives the same way.
        QApplication::clipboard()->setText("28.7\t0\t1\t300\n");
        f.table->Grid()->setCurrentCell(9, 1);
        emit f.frame->ChannelEditCommand("BtnCHPaste");
        QCOMPARE(f.Freq(10), std::string("02870000"));
        QCOMPARE(test::RecordOf(*f.p, 10)->DUP, 1);
        QCOMPARE(f.table->Grid()->item(9, 1)->text(), QString("28.70000"));
        QApplication::clipboard()->setText("not a channel");
        f.frame->Action("MnuCHPaste")->trigger();
        QCOMPARE(f.p.script->shown.size(), size_t{1});
        QVERIFY(test::SlotsUnique(*f.p));
    }

    void cutAndPasteAcrossGroupsKeepsSlotsUnique() {
        Framed f;
        QVERIFY(test::ShowAndWait(f.frame.get()));
        const std::string third = f.Freq(3);
        f.table->Grid()->setCurrentCell(2, 1);
        f.frame->Action("MnuCHCut")->trigger();
        QVERIFY(f.Freq(3).empty());
        QVERIFY(f.table->Grid()->item(2, 1)->text().isEmpty());
        f.table->ChooseGroup(1);
        f.table->Grid()->setCurrentCell(0, 1); // over bank B channel 1
        f.frame->Action("MnuCHPaste")->trigger();
        QCOMPARE(f.Freq(41), third);
        QVERIFY(test::SlotsUnique(*f.p));
        QCOMPARE(f.p->Image.Settings.ChannelCount, 8); // the VFO and seven of the eight channels
    }

    void shortcutsInsertDeleteAndMove() {
        Framed f;
        QVERIFY(test::ShowAndWait(f.frame.get()));
        QTableWidget* g = f.table->Grid();
        g->setFocus();
        const std::string one = f.Freq(1), two = f.Freq(2);
        g->setCurrentCell(0, 1);
        QTest::keyClick(g, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(f.Freq(2), one);
        QCOMPARE(f.Freq(1), two);
        QCOMPARE(g->currentRow(), 1); // the moved channel keeps the focus
        QTest::keyClick(g, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(f.Freq(1), one);
        QTest::keyClick(g, Qt::Key_Insert);
        QVERIFY(f.Freq(1).empty());
        QCOMPARE(f.Freq(2), one);
        QTest::keyClick(g, Qt::Key_Delete);
        QCOMPARE(f.Freq(1), one);
        QCOMPARE(f.Freq(2), two);
        QTest::keyClick(g, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().startsWith("28.00000\t"));
        QVERIFY(test::SlotsUnique(*f.p));
    }

    void theGroupIsThereOnlyWhileTheTableIsActive() {
        Framed f;
        QVERIFY(test::ShowAndWait(f.frame.get()));
        QVERIFY(f.GroupShown());
        f.table->Grid()->setCurrentCell(0, 7);
        f.table->EnterGridEdit(); // ">>" opens the edit dialog beside the table
        QWidget* dlg = f.frame->FindChildWindow("FrmCHInfoEdit");
        QVERIFY(dlg);
        QCOMPARE(f.frame->MdiArea()->activeSubWindow()->widget(), dlg);
        QVERIFY(!f.GroupShown());
        QVERIFY(!f.frame->Action("MnuCHDelete")->isEnabled());
        const std::string one = f.Freq(1);
        emit f.frame->ChannelEditCommand("BtnCHDelete"); // not for the dialog
        QCOMPARE(f.Freq(1), one);
        f.frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(f.table->parentWidget()));
        QVERIFY(f.GroupShown());
        QVERIFY(f.frame->Action("MnuCHDelete")->isEnabled());
    }
};

QTEST_MAIN(ChannelCommandsWindowTest)
#include "ChannelCommandsWindowTest.moc"
