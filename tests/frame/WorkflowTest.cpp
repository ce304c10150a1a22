// What users do in a row, through the frame with the shipped windows, on CB, HF
// and HAM: New, Open, Read from radio (simulated) or a language change, then a
// frequency typed into the channel table; Save; the channel commands after Open.
// After every step the visible cells are compared with the image, so a table
// that stops redrawing after its predecessor went is caught.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>

#include "../cli/CliRunner.h"
#include "GuiTestSupport.h"
#include "channels/frmCommChInfo.h"
#include "frame/ChannelWindows.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "link/SerialPorts.h"
#include "memory/RadioMemory.h"
#include "state/lang/LangText.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

// One typed frequency: the band, the group and row of the table, what is typed,
// what the cell must show afterwards and what the image must hold.
struct Typing {
    int band;
    int group; // -1: the emergency group
    int row;   // 0-based
    const char* typed;
    const char* shown;
    const char* stored;
};

void AddTypingRows() {
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    const Typing rows[] = {
        {kBandCB, -1, 0, "27.3", "27.30000", "02730000"}, // CB types only in the emergency group
        {kBandHF, 0, 3, "27.3", "27.30000", "02730000"},  // HF bank A, row 4
        {kBandHAM, 0, 1, "30", "29.70000", "02970000"},   // above the band: the upper limit
        {kBandHAM, 1, 4, "27.2", "28.00000", "02800000"}, // empty bank: the channel is made
    };
    const char* names[] = {"CB EMG", "HF bank A", "HAM above band", "HAM empty bank"};
    int i = 0;
    for (const Typing& t : rows)
        QTest::newRow(names[i++]) << t.band << t.group << t.row << QString(t.typed) << QString(t.shown)
                                  << QString(t.stored);
}

struct Workflow : FrameFixture {
    explicit Workflow(int band) : FrameFixture(band, false) {
        RegisterStandardWindows(*frame);
        frame->ShowChannelTable();
    }
    frmCommChInfo* Table() const {
        return qobject_cast<frmCommChInfo*>(frame->FindChildWindow("frmCommChInfo"));
    }
    // Chooses the group in the table as a user does.
    bool ShowGroup(int group) {
        frmCommChInfo* t = Table();
        if (!t) return false;
        const int g = group < 0 ? EmgGroup(p().Model.ModelType) : group;
        if (t->ShownGroup() != g) t->ChooseGroup(g);
        return t->ShownGroup() == g;
    }
    // Types into the frequency cell of the row with the keyboard, Enter to end.
    bool TypeFrequency(int row, const QString& text) {
        frmCommChInfo* t = Table();
        if (!t) return false;
        QTableWidget* g = t->Grid();
        g->setCurrentCell(row, 1);
        g->setFocus();
        QTest::keyClick(g, Qt::Key_Return);
        auto* box = t->findChild<QLineEdit*>("Text1");
        if (!box || !box->isVisible()) return false;
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        return true;
    }
    QString Cell(int row, int col) const {
        const QTableWidgetItem* item = Table()->Grid()->item(row, col);
        return item ? item->text() : QString("<no cell>");
    }
};

// Every row of the shown group against the image: frequency and offset as the
// grid writes them, empty rows where the image has no channel.
QString GridAgainstImage(Workflow& f) {
    Program& p = f.p();
    frmCommChInfo* t = f.Table();
    if (!t) return "no channel table";
    const int band = p.Model.ModelType, group = t->ShownGroup();
    if (t->Grid()->rowCount() != GroupSize(group, band)) return "wrong row count";
    for (int row = 0; row < t->Grid()->rowCount(); ++row) {
        const int index = FindChannelSlot(p.Image, GroupBase(group, band) + row + 1);
        QString freq, offset;
        if (index >= 0) {
            const ChannelRecord& r = p.Image.Channels[size_t(index)];
            freq = QString::fromStdString(FreqToGroupDisplay(p, r.RxFreq.Trimmed(), group, band));
            offset = QString::number(r.OffSetFre);
        }
        if (f.Cell(row, 1) != freq || f.Cell(row, 4) != offset)
            return QString("row %1 shows %2/%3, the image holds %4/%5")
                .arg(row + 1)
                .arg(f.Cell(row, 1), f.Cell(row, 4), freq, offset);
        if (f.Cell(row, 2).isEmpty() != freq.isEmpty())
            return QString("row %1: options without a channel").arg(row + 1);
    }
    return {};
}

#define QVERIFY_GRID(f)                                                                                      \
    do {                                                                                                     \
        const QString why = GridAgainstImage(f);                                                             \
        QVERIFY2(why.isEmpty(), qPrintable(why));                                                            \
    } while (0)

QString StoredFreq(const RadioImage& image, int slot) {
    const int i = FindChannelSlot(image, slot);
    return i < 0 ? QString() : QString::fromStdString(image.Channels[size_t(i)].RxFreq.Trimmed());
}

// A codeplug of the band's initial document.
QString WriteInitialCodeplug(int band, const QString& path) {
    TestProgram t = MakeTestProgram(band);
    InitImage(*t);
    const std::vector<uint8_t> bytes = EncodeCodeplug(t->Image);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return {};
    out.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    return path;
}

bool ReadCodeplug(const QString& path, RadioImage& image) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = in.readAll();
    return DecodeCodeplug(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size())),
                          image);
}

const char* TypeOption(int band) {
    return band == kBandCB ? "CB" : band == kBandHF ? "HF" : "HAM";
}

// Opens the file through File > Open and lets the deferred work run.
void OpenFile(Workflow& f, const QString& path) {
    f.frame->AskOpenPath = [path](const QString&) { return path; };
    f.script().answers = {MsgAnswer::No}; // unsaved changes: not saved
    f.frame->Action("mnuFileOpen")->trigger();
    f.Settle();
}

} // namespace

class WorkflowTest : public QObject {
    Q_OBJECT
  private slots:
    void newThenType_data() { AddTypingRows(); }
    void newThenType();
    void openThenTypeThenSave_data() { AddTypingRows(); }
    void openThenTypeThenSave();
    void readThenTypeThenSave_data() { AddTypingRows(); }
    void readThenTypeThenSave();
    void languageChangeThenType_data() { AddTypingRows(); }
    void languageChangeThenType();
    void channelCommandsAfterOpen_data();
    void channelCommandsAfterOpen();
};

// Types the row's frequency and checks the cell, the image and the whole group.
#define TYPE_AND_CHECK(f)                                                                                    \
    do {                                                                                                     \
        QVERIFY((f).ShowGroup(group));                                                                       \
        QVERIFY((f).TypeFrequency(row, typed));                                                              \
        const int slot = GroupBase((f).Table()->ShownGroup(), band) + row + 1;                               \
        QCOMPARE(StoredFreq((f).p().Image, slot), stored);                                                   \
        QCOMPARE((f).Cell(row, 1), shown);                                                                   \
        QVERIFY_GRID(f);                                                                                     \
    } while (0)

void WorkflowTest::newThenType() {
    QFETCH(int, band);
    QFETCH(int, group);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    Workflow f(band);
    f.Settle(50);
    f.script().answers = {MsgAnswer::Ok}; // 9026: a new document
    f.frame->Action("mnuFileNew")->trigger();
    f.Settle();
    QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
    TYPE_AND_CHECK(f);
    // A second New after an edit: the new table follows edits as well.
    f.script().answers = {MsgAnswer::No, MsgAnswer::Ok};
    f.frame->Action("mnuFileNew")->trigger();
    f.Settle();
    TYPE_AND_CHECK(f);
}

void WorkflowTest::openThenTypeThenSave() {
    QFETCH(int, band);
    QFETCH(int, group);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QTemporaryDir dir;
    const QString path = WriteInitialCodeplug(band, dir.filePath("start.dat"));
    QVERIFY(!path.isEmpty());
    Workflow f(band);
    f.Settle(50);
    OpenFile(f, path);
    QCOMPARE(QString::fromStdString(f.p().Doc.Path), path);
    TYPE_AND_CHECK(f);
    QVERIFY(f.frame->mnuFileSave_Click()); // its own file: no question
    RadioImage saved;
    QVERIFY(ReadCodeplug(path, saved));
    const int slot = GroupBase(f.Table()->ShownGroup(), band) + row + 1;
    QCOMPARE(StoredFreq(saved, slot), stored);
    // Opening the saved file again shows what was typed.
    OpenFile(f, path);
    QVERIFY(f.ShowGroup(group));
    QCOMPARE(f.Cell(row, 1), shown);
    QVERIFY_GRID(f);
}

void WorkflowTest::readThenTypeThenSave() {
    QFETCH(int, band);
    QFETCH(int, group);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    // The radio holds the band's initial document with one channel moved, so the
    // read is seen to replace what the table showed.
    const std::string folder = TempDir();
    {
        TestProgram radio = MakeTestProgram(band);
        InitImage(*radio);
        ChannelRecord& first = radio->Image.Channels[0];
        first.OffSetFre = 7;
        EncodeRadioMemory(*radio);
        QVERIFY(WriteBytes(folder + "/memory.bin",
                           {radio->RadioMemoryBlock.begin(), radio->RadioMemoryBlock.end()}));
    }
    SimulatedRadio sim({"--model-type", TypeOption(band)}, folder);
    QVERIFY(sim.Ready());
    Workflow f(band);
    QSignalSpy done(f.frame.get(), &frmMain::RadioCommandDone);
    AssignRadioPort(f.p(), 1, QString::fromStdString(sim.Link()));
    f.p().Link.SerialPortNumber = 1;
    f.Settle(50);
    // Read twice, with the channel dialog open and an edit in between, as a user
    // who reads again to start over.
    for (int round = 0; round < 2; ++round) {
        ShowChannelEditDialog(*f.frame);
        done.clear();
        f.script().shown.clear();
        f.script().answers = {MsgAnswer::Ok}; // 9004
        f.frame->Action("mnuReadFromRadio")->trigger();
        QVERIFY(done.count() > 0 || done.wait(60000));
        QVERIFY(f.script().Saw(LangText(f.p(), 9009_txt)));
        f.Settle();
        QCOMPARE(f.p().Image.Channels[0].OffSetFre, int16_t(7));
        QVERIFY(f.ShowGroup(GroupOfSlot(f.p().Image.Channels[0].SlotNumber, band)));
        QVERIFY_GRID(f);
        TYPE_AND_CHECK(f);
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("read");
    f.frame->AskSavePath = [&](const QString&, const QString&) { return path + ".dat"; };
    QVERIFY(f.frame->mnuFileSaveAs_Click());
    RadioImage saved;
    QVERIFY(ReadCodeplug(path + ".dat", saved));
    // The file and the grid agree on every row of the group.
    const int shownGroup = f.Table()->ShownGroup();
    for (int r = 0; r < f.Table()->Grid()->rowCount(); ++r) {
        const int slot = GroupBase(shownGroup, band) + r + 1;
        const QString raw = StoredFreq(saved, slot);
        const QString expect =
            raw.isEmpty()
                ? QString()
                : QString::fromStdString(FreqToGroupDisplay(f.p(), raw.toStdString(), shownGroup, band));
        QCOMPARE(f.Cell(r, 1), expect);
    }
}

void WorkflowTest::languageChangeThenType() {
    QFETCH(int, band);
    QFETCH(int, group);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    Workflow f(band);
    f.Settle(50);
    for (int language : {2, 1}) {
        SetLanguage(f.p(), language);
        f.frame->CheckLanguageChange();
        f.Settle();
        QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
        TYPE_AND_CHECK(f);
    }
}

void WorkflowTest::channelCommandsAfterOpen_data() {
    QTest::addColumn<int>("band");
    QTest::newRow("CB") << int(kBandCB);
    QTest::newRow("HF") << int(kBandHF);
    QTest::newRow("HAM") << int(kBandHAM);
}

void WorkflowTest::channelCommandsAfterOpen() {
    QFETCH(int, band);
    QTemporaryDir dir;
    const QString path = WriteInitialCodeplug(band, dir.filePath("start.dat"));
    Workflow f(band);
    f.Settle(50);
    OpenFile(f, path);
    if (band == kBandHAM) {
        // A channel outside bank A first: the last bank with channels keeps them.
        QVERIFY(f.ShowGroup(1));
        QVERIFY(f.TypeFrequency(0, "28.3"));
        QCOMPARE(f.Cell(0, 1), QString("28.30000"));
    }
    QVERIFY(f.ShowGroup(0));
    frmCommChInfo* t = f.Table();
    QTableWidget* g = t->Grid();
    const int group = t->ShownGroup(), base = GroupBase(group, band);
    const QString first = f.Cell(10, 1);
    QVERIFY(!first.isEmpty());
    auto run = [&](const char* key, int row) {
        g->setCurrentCell(row, 1);
        f.frame->ToolbarClicked(key);
    };

    run("BtnCHCut", 10);
    QVERIFY2(f.script().shown.empty(), f.script().shown.empty() ? "" : f.script().shown.back().text.c_str());
    QVERIFY(f.Cell(10, 1).isEmpty());
    QCOMPARE(FindChannelSlot(f.p().Image, base + 11), -1);
    QVERIFY_GRID(f);

    run("BtnCHPaste", 12);
    QCOMPARE(f.Cell(12, 1), first);
    QVERIFY_GRID(f);

    const QString pasted = f.Cell(12, 1), next = f.Cell(13, 1);
    f.script().answers = {MsgAnswer::Yes}; // the last channel may drop out
    run("BtnCHInsert", 12);
    f.script().answers.clear();
    QVERIFY(f.Cell(12, 1).isEmpty());
    QCOMPARE(f.Cell(13, 1), pasted);
    QCOMPARE(f.Cell(14, 1), next);
    QVERIFY_GRID(f);

    run("BtnCHDelete", 12);
    QCOMPARE(f.Cell(12, 1), pasted);
    QCOMPARE(f.Cell(13, 1), next);
    QVERIFY_GRID(f);

    run("BtnCHMoveDown", 12);
    QCOMPARE(f.Cell(13, 1), pasted);
    QCOMPARE(f.Cell(12, 1), next);
    QVERIFY_GRID(f);
    // Typing after the commands is still shown (CB: in the emergency group).
    if (band == kBandCB) QVERIFY(f.ShowGroup(-1));
    QVERIFY(f.TypeFrequency(0, band == kBandHAM ? "28.5" : "27.1"));
    QCOMPARE(f.Cell(0, 1), band == kBandHAM ? QString("28.50000") : QString("27.10000"));
    QVERIFY_GRID(f);
}

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    WorkflowTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "WorkflowTest.moc"
