// The many-radios window and the frame's two entries, wired to a simulated
// radio: the menu opens the window, Start writes and logs, Stop ends the wait,
// File > Open programming log opens the newest log or says where it will be.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <fstream>

#include "../cli/CliRunner.h"
#include "../frame/GuiTestSupport.h"
#include "batch/BatchRow.h"
#include "batch/FrmBatch.h"
#include "batch/RadioBatch.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

using namespace tarvane;
using namespace tarvane::test;

class FrmBatchTest : public QObject {
    Q_OBJECT
  private slots:
    void programManyRadiosWritesLogsAndStops() {
        FrameFixture f;
        const std::string folder = TempDir();
        SimulatedRadio radio({}, folder);
        QVERIFY(radio.Ready());
        f.frame->BackupDir = QString::fromStdString(folder + "/backups");
        bool checked = false;
        OnNextModal([&](QWidget* w) {
            auto* dlg = qobject_cast<FrmBatch*>(w);
            QVERIFY(dlg);
            // No port chosen: told, nothing starts.
            for (int i = 0; i < dlg->ListPorts->count(); ++i)
                dlg->ListPorts->item(i)->setCheckState(Qt::Unchecked);
            const size_t before = f.script().shown.size();
            dlg->CommandStart->click();
            QCOMPARE(f.script().shown.size(), before + 1);
            QVERIFY(!dlg->Batch().running());
            dlg->AddPort(QString::fromStdString(radio.Link()));
            dlg->AddPort(QString::fromStdString(radio.Link()));
            QCOMPARE(dlg->ListPorts->findItems(QString::fromStdString(radio.Link()), Qt::MatchExactly).size(),
                     1);
            QSignalSpy rowDone(&dlg->Batch(), &RadioBatch::rowDone);
            dlg->CommandStart->click();
            QVERIFY(!dlg->CommandStart->isEnabled());
            QVERIFY(rowDone.wait(20000));
            QCOMPARE(dlg->Grid->item(0, 0)->text(), QString::fromStdString(radio.Link()));
            QCOMPARE(dlg->Grid->item(0, 7)->text(), QString::fromStdString(LangText(f.p(), txt::kBatchSame)));
            QVERIFY2(dlg->Batch().logFailure().empty(), dlg->Batch().logFailure().c_str());
            QSignalSpy finished(&dlg->Batch(), &RadioBatch::finished);
            dlg->CommandStop->click();
            QVERIFY(finished.count() == 1 || finished.wait(10000));
            QVERIFY(dlg->CommandStart->isEnabled());
            checked = true;
            dlg->CommandClose->click();
        });
        f.frame->Action("mnuProgramMany")->trigger();
        QVERIFY(checked);
        const std::string log = NewestLog(folder + "/backups");
        QVERIFY(!log.empty());
        std::ifstream in(log);
        std::string header, row;
        std::getline(in, header), std::getline(in, row);
        QVERIFY(row.find(radio.Link() + ",Tarvane,CB,") != std::string::npos);

        QString opened;
        f.frame->OpenLogFile = [&opened](const QString& path) { opened = path; };
        f.frame->Action("mnuFileOpenLog")->trigger();
        QCOMPARE(opened.toStdString(), log);
        f.frame->BackupDir = QString::fromStdString(folder + "/none");
        opened.clear();
        f.frame->Action("mnuFileOpenLog")->trigger();
        QVERIFY(opened.isEmpty());
        QVERIFY(f.script().shown.back().text.find(folder + "/none") != std::string::npos);
    }

    // Clone: the source's read shows in the window until the writes begin.
    void cloneShowsTheSourceReadThenTheWrites() {
        TestProgram t = MakeTestProgram(0);
        Program& p = *t;
        const std::string folder = TempDir();
        SimulatedRadio source({}, folder), target({}, folder);
        QVERIFY(source.Ready() && target.Ready());
        FrmBatch dlg(p, folder);
        dlg.AddPort(QString::fromStdString(source.Link()));
        dlg.AddPort(QString::fromStdString(target.Link()));
        dlg.CheckClone->setChecked(true);
        dlg.ComboCloneFrom->setCurrentIndex(dlg.ComboCloneFrom->findText(QString::fromStdString(source.Link())));
        QSignalSpy reading(&dlg.Batch(), &RadioBatch::cloneProgress), rowDone(&dlg.Batch(), &RadioBatch::rowDone);
        dlg.CommandStart->click();
        QVERIFY(reading.wait(20000));
        QVERIFY2(dlg.LabelClone->text().contains(QString::fromStdString(source.Link())),
                 qPrintable(dlg.LabelClone->text()));
        QVERIFY(!dlg.ComboCloneFrom->isEnabled());
        QVERIFY(rowDone.wait(30000));
        QVERIFY(dlg.LabelClone->text().isEmpty());
        QCOMPARE(dlg.Grid->item(0, 0)->text(), QString::fromStdString(target.Link()));
        QSignalSpy finished(&dlg.Batch(), &RadioBatch::finished);
        dlg.CommandStop->click();
        QVERIFY(finished.count() == 1 || finished.wait(10000));
    }
};

QTEST_MAIN(FrmBatchTest)
#include "FrmBatchTest.moc"
