// New, Open, Save, Save As and Initial setup through the frame, with their
// questions answered by the test; a cancelled dialog changes nothing.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "GuiTestSupport.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "state/lang/LangText.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

void EditImage(Program& p) {
    p.Image.Settings.KeyTable[2] = static_cast<int16_t>(p.Image.Settings.KeyTable[2] + 3);
}

// A codeplug of the current image, optionally with another model code written into it.
QString WriteCodeplug(Program& p, const QString& path, const char* modelCode = nullptr) {
    std::vector<uint8_t> bytes = EncodeCodeplug(p.Image);
    if (modelCode)
        for (size_t i = 0; i < 7; ++i)
            bytes[i] = static_cast<uint8_t>(modelCode[i] ? modelCode[i] : ' ');
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void openDialogShowsTheFilterAndCancelChangesNothing();
    void openOfAnotherModelKeepsPathAndImage();
    void openReplacesTheDocument();
    void openAsksAboutUnsavedChangesFirst_data();
    void openAsksAboutUnsavedChangesFirst();
    void saveWritesItsOwnFileWithoutAsking();
    void saveAsProposesTheCurrentPath();
    void saveAsAddsTheEnding_data();
    void saveAsAddsTheEnding();
    void newWithYesOnAnUntitledDocumentAsksForAName();
    void initialSetupStaysRequestedWhenCancelled();
    void modelDialogTypeChangeStartsANewDocument();
};

void FileCommandsTest::openDialogShowsTheFilterAndCancelChangesNothing() {
    FrameFixture f;
    f.Settle();
    EditImage(f.p());
    const RadioImage before = f.p().Image;
    QString filter;
    f.frame->AskOpenPath = [&](const QString& shown) {
        filter = shown;
        return QString();
    };
    f.script().answers = {MsgAnswer::No};
    f.frame->Action("mnuFileOpen")->trigger();
    f.Settle();
    QCOMPARE(filter, QString::fromStdString(LangText(f.p(), 9001_txt)) + " (*.dat)");
    QVERIFY(f.p().Image.Settings.KeyTable == before.Settings.KeyTable);
    QCOMPARE(f.p().Doc.Path, std::string("new.dat"));
    QCOMPARE(f.made.value("frmCommChInfo"), 1);
    QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
}

void FileCommandsTest::openOfAnotherModelKeepsPathAndImage() {
    FrameFixture f;
    QTemporaryDir dir;
    const QString mine = WriteCodeplug(f.p(), dir.filePath("mine.dat"));
    f.p().Doc.Path = mine.toStdString();
    f.p().Doc.Untitled = false;
    const QString other = WriteCodeplug(f.p(), dir.filePath("other.dat"), "Othermo");
    EditImage(f.p());
    const auto keys = f.p().Image.Settings.KeyTable;
    f.frame->AskOpenPath = [&](const QString&) { return other; };
    f.script().answers = {MsgAnswer::No};
    f.frame->mnuFileOpen_Click();
    f.Settle();
    QVERIFY(f.script().Saw(LangText(f.p(), 9012_txt)));
    QVERIFY(f.p().Image.Settings.KeyTable == keys);
    // A later Save still goes to the document's own file, never to the refused one.
    QCOMPARE(f.p().Doc.Path, mine.toStdString());
    const QByteArray otherBytes = ReadAll(other);
    f.script().answers = {MsgAnswer::Ok};
    QVERIFY(f.frame->mnuFileSave_Click());
    QCOMPARE(ReadAll(other), otherBytes);
    QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
}

void FileCommandsTest::openReplacesTheDocument() {
    FrameFixture f;
    QTemporaryDir dir;
    EditImage(f.p());
    const auto edited = f.p().Image.Settings.KeyTable;
    const QString path = WriteCodeplug(f.p(), dir.filePath("radio one.dat"));
    f.frame->LoadNewDoc();
    f.Settle();
    QVERIFY(f.p().Image.Settings.KeyTable != edited);
    f.frame->AskOpenPath = [&](const QString&) { return path; };
    f.frame->mnuFileOpen_Click();
    f.Settle();
    QVERIFY(f.p().Image.Settings.KeyTable == edited);
    QVERIFY(!f.p().Doc.Untitled);
    QVERIFY(!ImageChanged(f.p()));
    QVERIFY(f.frame->windowTitle().endsWith("[File:radio one.dat]"));
    QCOMPARE(f.OpenOf("frmCommChInfo"), 1);

    // A name that is not UTF-8 (the program's argument, a dropped or recent file)
    // is opened and saved under its own bytes, not a look-alike with U+FFFD.
    const std::string raw = QFile::encodeName(dir.path()).toStdString() + "/raw\xff.dat";
    QVERIFY(std::filesystem::copy_file(QFile::encodeName(path).toStdString(), raw));
    f.frame->LoadNewDoc();
    f.Settle();
    f.frame->OpenDocumentFile(raw);
    f.Settle();
    QCOMPARE(f.p().Doc.Path, raw);
    QVERIFY(f.p().Image.Settings.KeyTable == edited);
    EditImage(f.p());
    QVERIFY(f.frame->mnuFileSave_Click());
    const auto files = std::filesystem::directory_iterator(QFile::encodeName(dir.path()).toStdString());
    QCOMPARE(std::distance(begin(files), end(files)), 2); // no look-alike beside it
    std::ifstream in(raw, std::ios::binary);
    const std::vector<uint8_t> saved{std::istreambuf_iterator<char>(in), {}};
    RadioImage back;
    QVERIFY(DecodeCodeplug(saved, back));
    QVERIFY(back.Settings.KeyTable == f.p().Image.Settings.KeyTable);
}

void FileCommandsTest::openAsksAboutUnsavedChangesFirst_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<bool>("savedFirst");
    QTest::newRow("Cancel: nothing") << int(MsgAnswer::Cancel) << false << false;
    QTest::newRow("No: opens") << int(MsgAnswer::No) << true << false;
    QTest::newRow("Yes: saves, then opens") << int(MsgAnswer::Yes) << true << true;
}

void FileCommandsTest::openAsksAboutUnsavedChangesFirst() {
    QFETCH(int, answer);
    QFETCH(bool, dialogShown);
    QFETCH(bool, savedFirst);
    FrameFixture f;
    QTemporaryDir dir;
    const QString current = WriteCodeplug(f.p(), dir.filePath("current.dat"));
    f.p().Doc.Path = current.toStdString();
    f.p().Doc.Untitled = false;
    const QByteArray before = ReadAll(current);
    EditImage(f.p());
    bool asked = false;
    f.frame->AskOpenPath = [&](const QString&) {
        asked = true;
        return QString();
    };
    f.script().answers = {MsgAnswer(answer)};
    f.frame->mnuFileOpen_Click();
    QCOMPARE(f.script().shown.front().text, LangText(f.p(), 9006_txt));
    QCOMPARE(asked, dialogShown);
    QCOMPARE(ReadAll(current) != before, savedFirst);
}

void FileCommandsTest::saveWritesItsOwnFileWithoutAsking() {
    FrameFixture f;
    QTemporaryDir dir;
    const QString path = WriteCodeplug(f.p(), dir.filePath("kept.dat"));
    f.p().Doc.Path = path.toStdString();
    f.p().Doc.Untitled = false;
    const QByteArray before = ReadAll(path);
    EditImage(f.p());
    f.frame->ShowMainTxt();
    QVERIFY2(f.frame->windowTitle().endsWith("[File:kept.dat*]"), qPrintable(f.frame->windowTitle()));
    QAction* save = f.frame->Action("mnuFileSave");
    QCOMPARE(save->shortcut(), QKeySequence("Ctrl+S"));
    save->trigger();
    QVERIFY(f.script().shown.empty());
    QVERIFY(ReadAll(path) != before);
    QVERIFY(!ImageChanged(f.p()));
    QVERIFY2(f.frame->windowTitle().endsWith("[File:kept.dat]"), qPrintable(f.frame->windowTitle()));
}

void FileCommandsTest::saveAsProposesTheCurrentPath() {
    FrameFixture f;
    QTemporaryDir dir;
    QString proposed;
    f.frame->AskSavePath = [&](const QString&, const QString& p) {
        proposed = p;
        return QString();
    };
    EditImage(f.p());
    // Untitled: Save runs Save As; cancelling it writes nothing and keeps the document.
    QVERIFY(!f.frame->mnuFileSave_Click());
    QCOMPARE(proposed, QString("new.dat"));
    QVERIFY(f.p().Doc.Untitled);
    QCOMPARE(f.p().Doc.Path, std::string("new.dat"));
    const QString target = dir.filePath("saved.dat");
    f.frame->AskSavePath = [&](const QString&, const QString&) { return target; };
    QVERIFY(f.frame->mnuFileSaveAs_Click());
    QCOMPARE(ReadAll(target).size(), qsizetype(kCodeplugFileSize));
    QCOMPARE(f.p().Doc.Path, target.toStdString());
    QVERIFY(!f.p().Doc.Untitled);
    QVERIFY(f.frame->windowTitle().endsWith("[File:saved.dat]"));
    QVERIFY(f.script().shown.empty());
}

void FileCommandsTest::saveAsAddsTheEnding_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("existing"); // the file written exists before
    QTest::addColumn<int>("answer");    // to the overwrite question, if asked
    QTest::addColumn<bool>("saved");
    QTest::newRow("no ending") << "radio"
                               << "radio.dat" << false << 0 << true;
    QTest::newRow("ending kept") << "radio.dat"
                                 << "radio.dat" << false << 0 << true;
    QTest::newRow("other ending kept") << "radio.bak"
                                       << "radio.bak" << false << 0 << true;
    QTest::newRow("dotted folder") << "v1.0/radio"
                                   << "v1.0/radio.dat" << false << 0 << true;
    QTest::newRow("existing, overwrite") << "old"
                                         << "old.dat" << true << int(MsgAnswer::Ok) << true;
    QTest::newRow("existing, cancelled") << "old"
                                         << "old.dat" << true << int(MsgAnswer::Cancel) << false;
}

void FileCommandsTest::saveAsAddsTheEnding() {
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(bool, existing);
    QFETCH(int, answer);
    QFETCH(bool, saved);
    FrameFixture f;
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("v1.0"));
    const QString target = dir.filePath(written);
    if (existing) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    EditImage(f.p());
    f.frame->AskSavePath = [&](const QString&, const QString&) { return dir.filePath(typed); };
    f.script().answers = {MsgAnswer(answer)};
    QCOMPARE(f.frame->mnuFileSaveAs_Click(), saved);
    QCOMPARE(f.script().shown.size(), size_t(existing ? 1 : 0));
    if (existing)
        QCOMPARE(f.script().shown[0].text, "\"" + written.toStdString() + "\" " + LangText(f.p(), 9007_txt));
    QCOMPARE(ReadAll(target).size(), saved ? qsizetype(kCodeplugFileSize) : qsizetype(3));
    QCOMPARE(f.p().Doc.Path == target.toStdString(), saved);
    if (written != typed) QVERIFY(!QFile::exists(dir.filePath(typed)));
}

void FileCommandsTest::newWithYesOnAnUntitledDocumentAsksForAName() {
    FrameFixture f;
    f.Settle();
    EditImage(f.p());
    int asked = 0;
    f.frame->AskSavePath = [&](const QString&, const QString&) {
        ++asked;
        return QString();
    };
    f.script().answers = {MsgAnswer::Yes};
    f.frame->mnuFileNew_Click();
    f.Settle();
    // The save did not happen, so the edited image stays and 9026 is not asked.
    QCOMPARE(asked, 1);
    QVERIFY(ImageChanged(f.p()));
    QCOMPARE(f.script().shown.size(), size_t(1));
    QVERIFY(!QFile::exists("new.dat"));
}

void FileCommandsTest::initialSetupStaysRequestedWhenCancelled() {
    FrameFixture f;
    f.Settle();
    f.script().answers = {MsgAnswer::Cancel};
    f.frame->Action("MnuInit")->trigger();
    f.Settle();
    QVERIFY(f.p().InitialSetupRequested);
    QCOMPARE(f.script().shown.back().text, LangText(f.p(), 9026_txt));
    f.script().answers = {MsgAnswer::Ok};
    f.frame->mnuFileNew_Click();
    f.Settle();
    QVERIFY(!f.p().InitialSetupRequested);
    QCOMPARE(f.made.value("frmCommChInfo"), 2);
}

void FileCommandsTest::modelDialogTypeChangeStartsANewDocument() {
    struct Case {
        int chooseType;
        MsgAnswer answer;
        int expectType;
        bool asked;
    };
    const Case cases[] = {
        {1, MsgAnswer::Ok, 1, true}, {1, MsgAnswer::Cancel, 0, true}, {0, MsgAnswer::Ok, 0, false}};
    for (const Case& c : cases) {
        FrameFixture f;
        f.Settle();
        f.script().answers = {c.answer};
        OnNextModal([&c](QWidget* dlg) {
            auto* types = dlg->findChild<QComboBox*>("Combo3");
            auto* bands = dlg->findChild<QComboBox*>("Combo2");
            QCOMPARE(types->count(), 2);
            QCOMPARE(bands->count(), 3);
            types->setCurrentIndex(c.chooseType);
            QCOMPARE(bands->currentIndex(), c.chooseType);
            dlg->findChild<QPushButton*>("CommandOK")->click();
        });
        f.frame->Action("mnuModelInfo")->trigger();
        f.Settle();
        QCOMPARE(int(f.p().Model.ModelType), c.expectType);
        QCOMPARE(f.script().Saw(LangText(f.p(), 9016_txt)), c.asked);
        if (c.asked) QCOMPARE(f.script().shown[0].icon, MsgIcon::Warning);
        const bool newDoc = c.expectType != 0;
        QCOMPARE(f.made.value("frmCommChInfo"), newDoc ? 2 : 1);
        if (newDoc) {
            QCOMPARE(int(f.p().Image.Settings.Version.ModelType), 1);
            QVERIFY(f.frame->windowTitle().contains("HF:25.615 - 30.105 MHz"));
            QCOMPARE(f.frame->Tree()->topLevelItem(0)->text(0), QString("Tarvane:HF"));
        }
    }
}

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    FileCommandsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "FileCommandsTest.moc"
