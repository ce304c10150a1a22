// The frame's everyday comforts with the real windows: undo and redo over edits
// in several windows, the report as PDF and in the preview, backups of reads,
// recent files, dropped files and the shortcuts.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>
#include <filesystem>

#include "GuiTestSupport.h"
#include "channels/frmCommChInfo.h"
#include "doc/Backups.h"
#include "doc/Undo.h"
#include "freq/ChannelSlots.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/ModelVersion.h"
#include "memory/RadioMemory.h"
#include "state/History.h"
#include "state/lang/LangText.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

struct RealFrame {
    TestProgram t;
    std::unique_ptr<frmMain> frame;
    bool exposed = false;
    explicit RealFrame(int band) : t(MakeTestProgram(band)) {
        frame = std::make_unique<frmMain>(*t);
        RegisterStandardWindows(*frame);
        frame->ShowChannelTable();
        frame->show();
        exposed = QTest::qWaitForWindowExposed(frame.get());
        QTest::qWait(50);
        ResetHistory(*t); // the document as it was loaded
    }
    Program& p() { return *t; }
    frmCommChInfo* Table() { return qobject_cast<frmCommChInfo*>(frame->FindChildWindow("frmCommChInfo")); }
    // Lets the commit that follows each input run.
    void Settle() { QTest::qWait(30); }
};

// Runs pdftotext over the file; "" when it cannot.
QString PdfText(const QString& pdf) {
    QProcess run;
    run.start("pdftotext", {"-layout", pdf, "-"});
    if (!run.waitForFinished(30000)) return {};
    return QString::fromUtf8(run.readAllStandardOutput());
}

bool WriteImage(const RadioImage& image, const QString& path) {
    const std::vector<uint8_t> bytes = EncodeCodeplug(image);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) &&
           f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

} // namespace

class ComfortsTest : public QObject {
    Q_OBJECT
    QTemporaryDir home_;

  private slots:
    void initTestCase() {
        // To look at the PDFs: TARVANE_KEEP_TEST_FILES=1 keeps the folder and names it.
        if (qEnvironmentVariableIsSet("TARVANE_KEEP_TEST_FILES")) {
            home_.setAutoRemove(false);
            qInfo("files in %s", qPrintable(home_.path()));
        }
        // Recent files and backups go to folders of this test, not the user's.
        qputenv("XDG_CONFIG_HOME", QDir(home_.path()).filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", QDir(home_.path()).filePath("data").toUtf8());
    }

    void undoAndRedoOverEditsInSeveralWindows() {
        RealFrame f(1);
        Program& p = f.p();
        // A saved document: undoing back to it leaves nothing unsaved.
        const QString saved = QDir(home_.path()).filePath("undo.dat");
        f.frame->AskSavePath = [&](const QString&, const QString&) { return saved; };
        QVERIFY(f.frame->mnuFileSaveAs_Click());
        QVERIFY(!ImageChanged(p));
        std::vector<RadioImage> states{p.Image};
        std::vector<QString> labels;
        auto step = [&](const QString& label) {
            f.Settle();
            states.push_back(p.Image);
            labels.push_back(label);
            QCOMPARE(Q(p.History.UndoLabel()), label);
            QVERIFY2(!(states.back() == states[states.size() - 2]), qPrintable(label + " changed nothing"));
        };

        // The channel table: a frequency typed into an empty row of bank A.
        frmCommChInfo* table = f.Table();
        QVERIFY(table);
        auto cell = [table] {
            const QTableWidgetItem* item = table->Grid()->item(2, 1);
            return item ? item->text() : QString();
        };
        const QString shownBefore = cell();
        table->Grid()->setCurrentCell(2, 1);
        table->EnterGridEdit();
        auto* box = table->findChild<QLineEdit*>("Text1");
        QVERIFY(box && box->isVisible());
        QTest::keyClicks(box, "28.3");
        QTest::keyClick(box, Qt::Key_Return);
        step("channel A 3 frequency");
        QCOMPARE(table->Grid()->item(2, 1)->text(), QString("28.30000"));

        // The optional features: the beep list, chosen with the keyboard.
        QWidget* opt = f.frame->ShowFormOnce("FrmOptFeatures");
        QVERIFY(opt);
        auto* beep = opt->findChild<QComboBox*>("Combo1_2");
        beep->setFocus();
        QTest::keyClick(beep, p.Image.Settings.Features.Options[kOptBeep] ? Qt::Key_Up : Qt::Key_Down);
        step(Q(LangText(p, 16000_txt)));

        // The keys: one key's function.
        QWidget* keys = f.frame->ShowFormOnce("FrmKey");
        QVERIFY(keys);
        auto* key = keys->findChild<QComboBox*>("Combo1_0");
        key->setFocus();
        QTest::keyClick(key, key->currentIndex() > 0 ? Qt::Key_Up : Qt::Key_Down);
        step(Q(LangText(p, 25000_txt)));

        // DTMF: a code typed key by key is one step.
        QWidget* dtmf = f.frame->ShowFormOnce("FrmDTMF");
        QVERIFY(dtmf);
        auto* code = dtmf->findChild<QLineEdit*>("Text1_0");
        QVERIFY(code);
        code->setFocus();
        code->clear();
        f.Settle();
        p.History.Absorb(p.Image);
        states.back() = p.Image;
        QTest::keyClicks(code, "12#");
        step(Q(LangText(p, 18000_txt)));
        QCOMPARE(p.History.UndoSteps(), size_t(4));
        QMenu* edit = f.frame->Menu("mnuEdit");
        edit->popup(f.frame->mapToGlobal(QPoint(60, 30)));
        QTest::qWait(50);
        edit->grab().save(QDir(home_.path()).filePath("edit-menu.png"));
        edit->hide();

        // Undo to the saved state, comparing the image after each step.
        QAction* undo = f.frame->Action("mnuEditUndo");
        QAction* redo = f.frame->Action("mnuEditRedo");
        for (size_t k = states.size() - 1; k > 0; --k) {
            QCOMPARE(undo->text(), "&Undo: " + labels[k - 1]);
            QVERIFY(undo->isEnabled());
            undo->trigger();
            QVERIFY2(p.Image == states[k - 1], qPrintable("after undoing " + labels[k - 1]));
        }
        QVERIFY(!undo->isEnabled());
        QCOMPARE(undo->text(), QString("&Undo"));
        QVERIFY(redo->isEnabled());
        QVERIFY(!ImageChanged(p));
        // The channel table shows the restored group at once.
        QCOMPARE(cell(), shownBefore);

        for (size_t k = 1; k < states.size(); ++k) {
            QCOMPARE(redo->text(), "&Redo: " + labels[k - 1]);
            redo->trigger();
            QVERIFY2(p.Image == states[k], qPrintable("after redoing " + labels[k - 1]));
        }
        QCOMPARE(cell(), QString("28.30000"));
        QVERIFY(!redo->isEnabled());

        // A new edit after an undo drops what could be redone.
        undo->trigger();
        QVERIFY(redo->isEnabled());
        key->setFocus();
        QTest::keyClick(key, Qt::Key_Down);
        f.Settle();
        QVERIFY(!redo->isEnabled());
    }

    void newDocumentAndSaveDoNotMakeSteps() {
        RealFrame f(0);
        Program& p = f.p();
        p.Image.Settings.KeyTable[2] = 5;
        f.frame->CommitHistory();
        QVERIFY(p.History.CanUndo());
        // Saving stamps the version into the image: no step, and the step before stays.
        const QString path = QDir(home_.path()).filePath("stamp.dat");
        f.frame->AskSavePath = [&](const QString&, const QString&) { return path; };
        QVERIFY(f.frame->mnuFileSaveAs_Click());
        f.frame->CommitHistory();
        QCOMPARE(p.History.UndoSteps(), size_t(1));
        f.t.script->answers = {MsgAnswer::Ok};
        f.frame->mnuFileNew_Click();
        QTest::qWait(300);
        QVERIFY(!p.History.CanUndo());
        QVERIFY(!f.frame->Action("mnuEditUndo")->isEnabled());
    }

    void reportAsPdfListsTheChannelsWithHeaderAndPageNumbers() {
        RealFrame f(1);
        Program& p = f.p();
        p.Image.Settings.ChannelCount = 0;
        AppendChannel(p.Image, 7, "28.45600");
        AppendChannel(p.Image, 41, "29.11100");
        p.Image.Channels[1].AM_FM = 1;
        const QString pdf = QDir(home_.path()).filePath("report.pdf");
        QString proposed;
        f.frame->AskPdfPath = [&](const QString& shown) {
            proposed = shown;
            return pdf.chopped(4); // typed without ".pdf": it is added
        };
        f.frame->Action("mnuFileExportPdf")->trigger();
        QCOMPARE(proposed, QString("new.pdf"));
        const QString text = PdfText(pdf);
        QVERIFY2(!text.isEmpty(), "pdftotext gave nothing");
        for (const QString& want :
             {QString("Channels [Group: A]"), QString("Channels [Group: B]"), QString("28.45600"),
              QString("29.11100"), QString("Frequency"), QString("Optional features"),
              QString("Emergency channels"), QString("Page 1 of"), QString("Printed:")})
            QVERIFY2(text.contains(want), qPrintable(want));
        // The first group follows the summary on page 1, B starts page 2; every page has its number.
        const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
        QVERIFY(pages.size() >= 3);
        const int count = static_cast<int>(pages.size());
        for (int i = 0; i < count; ++i)
            QVERIFY2(pages[i].contains(QString("Page %1 of %2").arg(i + 1).arg(count)), qPrintable(pages[i]));
        QVERIFY(pages[0].contains("Channels [Group: A]") && pages[0].contains("28.45600"));
        QVERIFY(!pages[0].contains("29.11100"));
        QVERIFY(pages[1].contains("Channels [Group: B]") && pages[1].contains("AM"));
        QVERIFY(pages[0].contains("Tarvane CPS"));

        // A file that cannot be written says so.
        QVERIFY(!f.frame->ExportPdf(QDir(home_.path()).filePath("no/such/folder/x.pdf")));
        QVERIFY(f.t.script->Saw(LangText(p, 33311_txt)));
    }

    void withoutThePrintModuleEachPrintCommandSaysSo() {
        for (const char* action : {"mnuFilePrint", "mnuFilePrintPreview", "mnuFileExportPdf"}) {
            RealFrame f(0);
            f.p().Dirs.ProgramFolder = QDir(home_.path()).filePath("without-modules").toStdString();
            f.frame->AskPdfPath = [&](const QString&) { return QDir(home_.path()).filePath("never.pdf"); };
            f.frame->Action(action)->trigger(); // a dialog coming up would wait here
            QCOMPARE(f.t.script->shown.size(), size_t(1));
            QVERIFY2(f.t.script->shown[0].text.starts_with("Printing is not available"), action);
        }
        QVERIFY(!QFile::exists(QDir(home_.path()).filePath("never.pdf")));
    }

    void aLongGroupRunsOntoMorePagesWithItsColumnTitles() {
        RealFrame f(0);
        const QString pdf = QDir(home_.path()).filePath("long.pdf");
        QVERIFY(f.frame->ExportPdf(pdf));
        const QString text = PdfText(pdf);
        // The 80 channels of "DE" do not fit one page: its column titles come again.
        const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
        int withDe = 0;
        for (const QString& page : pages)
            if (page.contains("26.95500") || page.contains("Channels [Group: DE]")) ++withDe;
        QVERIFY2(withDe >= 1, qPrintable(text.left(2000)));
        int titles = 0;
        for (const QString& page : pages)
            if (page.contains("Frequency")) ++titles;
        QVERIFY(titles > 10); // ten groups with channels, one of them on two pages at least
        // A page a group runs onto names the group again.
        QVERIFY2(text.contains("(continued)"), qPrintable(text.left(2000)));
    }

    void previewShowsThePages() {
        RealFrame f(1);
        AppendChannel(f.p().Image, 3, "28.10000");
        int pages = -1;
        const QString shot = QDir(home_.path()).filePath("preview.png");
        OnNextModal([&pages, shot](QWidget* w) {
            if (auto* preview = w->findChild<QPrintPreviewWidget*>()) {
                preview->updatePreview();
                QTest::qWait(50);
                pages = preview->pageCount();
            }
            w->resize(900, 700);
            QTest::qWait(50);
            w->grab().save(shot);
            w->close();
        });
        f.frame->Action("mnuFilePrintPreview")->trigger();
        QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    }

    void aSuccessfulReadIsKeptAsABackupAndStartsAFreshHistory() {
        RealFrame f(2);
        Program& p = f.p();
        f.frame->BackupDir = QDir(home_.path()).filePath("backups-read");
        p.Image.Settings.KeyTable[1] = 3;
        f.frame->CommitHistory();
        QVERIFY(p.History.CanUndo());
        // What the radio sent: an image with one more channel.
        RadioImage radio = p.Image;
        AppendChannel(p.Image, 5, "29.55500");
        EncodeRadioMemory(p);
        p.Image = radio;
        QSignalSpy done(f.frame.get(), &frmMain::RadioCommandDone);
        f.frame->ReadOKTimer.start();
        QVERIFY(done.wait(5000));
        QVERIFY(FindChannelSlot(p.Image, 5) >= 0);
        QVERIFY(!p.History.CanUndo());
        const auto kept = ListBackups(f.frame->BackupDir.toStdString());
        QCOMPARE(kept.size(), size_t(1));
        // Named by the model and band the radio reported.
        QVERIFY2(Q(kept[0]).endsWith(Q("_" + TypeName(p.Model.ModelType) + "_read.dat")), kept[0].c_str());
        // The backup opens as the document that was read.
        const RadioImage read = p.Image;
        f.frame->AskOpenPath = [&](const QString&) { return Q(kept[0]); };
        f.t.script->answers = {MsgAnswer::No};
        f.frame->mnuFileOpen_Click();
        QTest::qWait(100);
        QVERIFY(FindChannelSlot(p.Image, 5) >= 0);
        QCOMPARE(p.Image.Settings.ChannelCount, read.Settings.ChannelCount);

        // A folder that cannot be made is told, and the read still stands.
        QFile blocker(QDir(home_.path()).filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        f.frame->BackupDir = blocker.fileName() + "/backups";
        EncodeRadioMemory(p);
        f.frame->ReadOKTimer.start();
        QVERIFY(done.wait(5000));
        const std::string told = FillIn(LangText(p, 33320_txt), {f.frame->BackupDir.toStdString()});
        QVERIFY(f.t.script->Saw(told));
    }

    void openBackupStartsInTheBackupFolder() {
        RealFrame f(0);
        f.frame->BackupDir = QDir(home_.path()).filePath("data/tarvane-cps/backups-open");
        QString shownIn;
        f.frame->AskOpenPath = [&](const QString&) {
            shownIn = f.frame->OpenFolder;
            return QString();
        };
        f.frame->Action("mnuFileOpenBackup")->trigger();
        QCOMPARE(shownIn, f.frame->BackupDir);
        QVERIFY(QDir(shownIn).exists());
        QVERIFY(f.frame->OpenFolder.isEmpty());
        // By default the folder is the user's data folder.
        RealFrame g(0);
        QCOMPARE(g.frame->BackupDir, QDir(home_.path()).filePath("data/tarvane-cps/backups"));
    }

    void recentFilesListOpenedAndSavedDocuments() {
        RealFrame f(0);
        Program& p = f.p();
        const QString a = QDir(home_.path()).filePath("recent-a.dat");
        const QString b = QDir(home_.path()).filePath("recent-b.dat");
        f.frame->AskSavePath = [&](const QString&, const QString&) { return a; };
        QVERIFY(f.frame->mnuFileSaveAs_Click());
        QVERIFY(WriteImage(p.Image, b));
        f.frame->AskOpenPath = [&](const QString&) { return b; };
        f.frame->mnuFileOpen_Click();
        QTest::qWait(100);
        auto recentNames = [&f] {
            QStringList names;
            for (const std::string& path : f.frame->RecentFiles())
                names << QFile::decodeName(QByteArray::fromStdString(path));
            return names;
        };
        QCOMPARE(recentNames().mid(0, 2), (QStringList{b, a}));
        // The menu opens an entry as File > Open does.
        QMenu* recent = f.frame->Menu("mnuFileRecent");
        emit recent->aboutToShow();
        QMenu* file = f.frame->Menu("mnuFile");
        file->popup(f.frame->mapToGlobal(QPoint(10, 30)));
        QTest::qWait(50);
        file->grab().save(QDir(home_.path()).filePath("file-menu.png"));
        file->hide();
        QAction* second = recent->findChild<QAction*>("mnuFileRecent_2");
        QVERIFY(second);
        QVERIFY(second->text().endsWith(QDir::toNativeSeparators(a)));
        second->trigger();
        QTest::qWait(100);
        QCOMPARE(Q(p.Doc.Path), a);
        QCOMPARE(recentNames().first(), a);
        // A file that is gone drops out.
        QVERIFY(QFile::remove(b));
        QVERIFY(!recentNames().contains(b));
        QVERIFY(recentNames().contains(a));
        // A name that is not UTF-8 is kept as its bytes and opens from the menu.
        const std::string raw = QFile::encodeName(home_.path()).toStdString() + "/recent-\xff.dat";
        QVERIFY(std::filesystem::copy_file(QFile::encodeName(a).toStdString(), raw));
        f.frame->OpenDocumentFile(raw);
        f.frame->OpenDocumentFile(QFile::encodeName(a).toStdString());
        QCOMPARE(f.frame->RecentFiles().at(1), raw);
        emit recent->aboutToShow();
        recent->findChild<QAction*>("mnuFileRecent_2")->trigger();
        QCOMPARE(p.Doc.Path, raw);
    }

    void aDroppedCodeplugOpensAndOtherDropsAreRefused() {
        RealFrame f(0);
        Program& p = f.p();
        const QString file = QDir(home_.path()).filePath("dropped.dat");
        RadioImage other = p.Image;
        other.Settings.KeyTable[3] = 11;
        QVERIFY(WriteImage(other, file));
        QFile txt(QDir(home_.path()).filePath("notes.txt"));
        QVERIFY(txt.open(QIODevice::WriteOnly));
        txt.close();
        auto drop = [&f](const QString& path, const QUrl& given = {}) {
            QMimeData mime;
            mime.setUrls({given.isEmpty() ? QUrl::fromLocalFile(path) : given});
            QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(f.frame.get(), &enter);
            if (!enter.isAccepted()) return false;
            QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(f.frame.get(), &dropped);
            QTest::qWait(150);
            return true;
        };
        QVERIFY(!drop(txt.fileName()));
        QVERIFY(!drop(QDir(home_.path()).filePath("missing.dat")));
        QVERIFY(drop(file));
        QCOMPARE(Q(p.Doc.Path), file);
        QCOMPARE(p.Image.Settings.KeyTable[3], int16_t(11));
        // A name that is not UTF-8 comes percent-encoded and opens under its bytes.
        const std::string raw = QFile::encodeName(home_.path()).toStdString() + "/dropped-\xff.dat";
        QVERIFY(std::filesystem::copy_file(QFile::encodeName(file).toStdString(), raw));
        QVERIFY(drop({}, QUrl::fromEncoded("file://" + QByteArray::fromStdString(raw).toPercentEncoding("/"))));
        QCOMPARE(p.Doc.Path, raw);
    }

    void shortcutsAreSetAndShown_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("keys");
        QTest::newRow("new") << "mnuFileNew"
                             << "Ctrl+N";
        QTest::newRow("open") << "mnuFileOpen"
                              << "Ctrl+O";
        QTest::newRow("save") << "mnuFileSave"
                              << "Ctrl+S";
        QTest::newRow("save as") << "mnuFileSaveAs"
                                 << "Ctrl+Shift+S";
        QTest::newRow("print") << "mnuFilePrint"
                               << "Ctrl+P";
        QTest::newRow("exit") << "mnuFileExit"
                              << "Ctrl+Q";
        QTest::newRow("getting started") << "mnuHelpGuide"
                                         << "F1";
        QTest::newRow("undo") << "mnuEditUndo"
                              << "Ctrl+Z";
        QTest::newRow("redo") << "mnuEditRedo"
                              << "Ctrl+Shift+Z";
    }
    void shortcutsAreSetAndShown() {
        QFETCH(QString, action);
        QFETCH(QString, keys);
        RealFrame f(0);
        QAction* a = f.frame->Action(action);
        QVERIFY(a);
        QCOMPARE(a->shortcut(), QKeySequence(keys));
        QVERIFY(!a->menu() && a->associatedObjects().size() >= 1); // in a menu, where the keys are shown
        if (action == "mnuEditRedo") QVERIFY(a->shortcuts().contains(QKeySequence("Ctrl+Y")));
    }

    void theToolbarPrintButtonPrints() {
        RealFrame f(0);
        // The print dialog comes up; cancelling it prints nothing and says nothing.
        bool dialogShown = false;
        OnNextModal([&dialogShown](QWidget* w) {
            dialogShown = true;
            w->close();
        });
        f.frame->ToolbarClicked("Print");
        QVERIFY(dialogShown);
        QVERIFY(f.t.script->shown.empty());
    }
};

QTEST_MAIN(ComfortsTest)
#include "ComfortsTest.moc"
