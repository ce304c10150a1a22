// The frame's exchange commands as a user runs them: import with its preview
// (Cancel changes nothing, OK changes the document and the channel table comes
// back), export, compare with a file and with the simulated radio.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <fstream>

#include "../cli/CliRunner.h"
#include "../frame/GuiTestSupport.h"
#include "ExchangeHelpers.h"
#include "exchange/FrmCompare.h"
#include "exchange/FrmImportPreview.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "link/SerialPorts.h"
#include "memory/RadioMemory.h"
#include "state/lang/LangText.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

constexpr const char* kList = "Frequency,Duplex,Mode,Group,GroupChannel\r\n"
                              "28.4,,AM,B,3\r\n"
                              "28.5,split,FM,B,4\r\n"
                              "146.010,,FM,B,5\r\n"; // outside the band

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Acts once on the first modal dialog of type T (other modal windows, such as the
// progress window, come and go before it).
template <class T> void OnModalOf(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

void Press(QWidget* dialog, const char* name) {
    auto* b = dialog->findChild<QPushButton*>(name);
    QVERIFY(b);
    b->click();
}

struct HamFrame : FrameFixture {
    HamFrame() : FrameFixture(kBandHAM) {
        InitImage(p());
        p().Image.Settings.Version.ModelType = kBandHAM;
        CopyToBaseline(p());
    }
};

} // namespace

class ExchangeWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void importPreviewCancelThenOk();
    void importOfANonListSaysWhyAndChangesNothing();
    void exportWritesTheChosenGroup();
    void compareWithFile();
    void compareWithRadioLeavesTheDocument();
};

void ExchangeWindowTest::importPreviewCancelThenOk() {
    HamFrame f;
    const std::string path = TempDir() + "/list.csv";
    WriteText(path, kList);
    QString asked;
    f.frame->AskOpenPath = [&](const QString& filter) {
        asked = filter;
        return QString::fromStdString(path);
    };
    const RadioImage before = f.p().Image;
    QString shown, outside;
    int rows = -1;
    OnModalOf<FrmImportPreview>([&](FrmImportPreview* preview) {
        QWidget* w = preview;
        rows = preview->Rows()->rowCount();
        shown = preview->Rows()->item(1, 2)->text();
        outside = preview->Rows()->item(2, 2)->text();
        Press(w, "CommandCancel");
    });
    f.frame->Action("mnuImportChannels")->trigger();
    QVERIFY(asked.contains("*.csv"));
    QCOMPARE(rows, 3);
    QVERIFY2(shown.contains("split"), qPrintable(shown));
    QVERIFY2(outside.startsWith("refused; frequency 146.010000 MHz lies outside"), qPrintable(outside));
    QVERIFY(f.p().Image == before);

    const int tablesBefore = f.made.value("frmCommChInfo");
    OnModalOf<FrmImportPreview>([&](FrmImportPreview* preview) {
        QWidget* w = preview;
        // Rows without a place of their own would go to the chosen group; these have one.
        preview->GroupList()->setCurrentIndex(preview->GroupList()->findText("C"));
        Press(w, "CommandOK");
    });
    f.frame->Action("mnuImportChannels")->trigger();
    f.Settle();
    const int at = FindChannelSlot(f.p().Image, GroupBase(1, kBandHAM) + 3);
    QVERIFY(at >= 0);
    QCOMPARE(f.p().Image.Channels[static_cast<size_t>(at)].RxFreq.Trimmed(), std::string("02840000"));
    QCOMPARE(f.p().Image.Channels[static_cast<size_t>(at)].AM_FM, int16_t(1));
    QCOMPARE(FindChannelSlot(f.p().Image, GroupBase(1, kBandHAM) + 4), -1); // the refused rows
    QCOMPARE(FindChannelSlot(f.p().Image, GroupBase(1, kBandHAM) + 5), -1);
    QVERIFY(ImageChanged(f.p()));
    // The channel table was made again on the new image.
    QCOMPARE(f.made.value("frmCommChInfo"), tablesBefore + 1);
    QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
}

void ExchangeWindowTest::importOfANonListSaysWhyAndChangesNothing() {
    HamFrame f;
    const std::string path = TempDir() + "/photo.csv";
    WriteText(path, std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    f.frame->AskOpenPath = [&](const QString&) { return QString::fromStdString(path); };
    const RadioImage before = f.p().Image;
    f.frame->Action("mnuImportChannels")->trigger();
    QCOMPARE(f.script().shown.size(), size_t(1));
    QVERIFY(f.script().shown[0].text.find("binary data") != std::string::npos);
    QVERIFY(f.p().Image == before);
}

void ExchangeWindowTest::exportWritesTheChosenGroup() {
    HamFrame f;
    const std::string path = TempDir() + "/out.csv";
    QString proposedName;
    f.frame->AskSavePath = [&](const QString&, const QString& proposed) {
        proposedName = proposed;
        return QString::fromStdString(path).chopped(4); // typed without ".csv": it is added
    };
    OnModalOf<QInputDialog>([](QInputDialog* ask) {
        ask->setTextValue("MEM");
        ask->accept();
    });
    f.frame->Action("mnuExportChannels")->trigger();
    QVERIFY(proposedName.endsWith(".csv"));
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto rows = CsvRows(text);
    QCOMPARE(rows.size(), size_t(8));
    for (const CsvRow& r : rows)
        QCOMPARE(r.at("Group"), std::string("MEM"));
    QVERIFY(f.script().Saw("8 channels written to " + path + "."));
}

void ExchangeWindowTest::compareWithFile() {
    HamFrame f;
    const std::string dir = TempDir();
    QVERIFY(SaveCodeplug(f.p(), dir + "/same.dat"));
    const RadioImage mine = f.p().Image;
    f.p().Image.Settings.KeyTable[2] = static_cast<int16_t>(mine.Settings.KeyTable[2] % 18 + 1);
    QVERIFY(SaveCodeplug(f.p(), dir + "/other.dat"));
    f.p().Image = mine;
    const std::string path = f.p().Doc.Path;

    std::string file = dir + "/same.dat";
    QString filter;
    f.frame->AskOpenPath = [&](const QString& asked) {
        filter = asked;
        return QString::fromStdString(file);
    };
    QString heading, text;
    auto look = [&](FrmCompare* dlg) {
        heading = dlg->Heading();
        text = dlg->Text();
        Press(dlg, "CommandClose");
    };
    OnModalOf<FrmCompare>(look);
    f.frame->Action("mnuCompareFile")->trigger();
    QVERIFY(filter.contains("*.dat"));
    QCOMPARE(heading, QString("Nothing differs."));

    file = dir + "/other.dat";
    OnModalOf<FrmCompare>(look);
    f.frame->Action("mnuCompareFile")->trigger();
    QVERIFY2(heading.contains("other.dat"), qPrintable(heading));
    QVERIFY2(text.startsWith("Page 1 P2: "), qPrintable(text));
    QCOMPARE(text.count('\n'), 1);
    // The open document is still the one it was.
    QVERIFY(f.p().Image == mine);
    QCOMPARE(f.p().Doc.Path, path);
}

void ExchangeWindowTest::compareWithRadioLeavesTheDocument() {
    FrameFixture f(kBandCB);
    f.Settle();
    // The radio holds the open document with one key changed.
    const std::string folder = TempDir();
    {
        Program copy = f.p();
        copy.Image.Settings.KeyTable[5] = static_cast<int16_t>(copy.Image.Settings.KeyTable[5] % 18 + 1);
        EncodeRadioMemory(copy);
        QVERIFY(
            WriteBytes(folder + "/memory.bin", {copy.RadioMemoryBlock.begin(), copy.RadioMemoryBlock.end()}));
    }
    SimulatedRadio radio({}, folder);
    QVERIFY(radio.Ready());
    QSignalSpy done(f.frame.get(), &frmMain::RadioCommandDone);
    AssignRadioPort(f.p(), 1, QString::fromStdString(radio.Link()));
    f.p().Link.SerialPortNumber = 1;
    const RadioImage before = f.p().Image;
    const int tables = f.made.value("frmCommChInfo");
    const std::string path = f.p().Doc.Path;
    QString text;
    OnModalOf<FrmCompare>([&](FrmCompare* dlg) {
        text = dlg->Text();
        Press(dlg, "CommandClose");
    });
    f.frame->Action("mnuCompareRadio")->trigger();
    QCOMPARE(done.count(), 1);
    QVERIFY2(text.startsWith("Page 1 P5: "), qPrintable(text));
    QCOMPARE(text.count('\n'), 1);
    QVERIFY(f.p().Image == before);
    QCOMPARE(f.made.value("frmCommChInfo"), tables);
    QCOMPARE(f.p().Doc.Path, path);
    // Nothing said the document was read over.
    QVERIFY(!f.script().Saw(LangText(f.p(), 9009_txt)));
}

QTEST_MAIN(ExchangeWindowTest)
#include "ExchangeWindowTest.moc"
