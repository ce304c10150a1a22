// The working image replaced behind open windows (undo, redo, import): every
// open window shows the new values at once and stays open; on another band the
// frame makes the windows again.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>

#include "GuiTestSupport.h"
#include "channels/FrmCHInfoEdit.h"
#include "channels/frmCommChInfo.h"
#include "features/dtmf/DtmfArea.h"
#include "features/dtmf/FrmDTMF.h"
#include "features/keys/FrmKey.h"
#include "features/options/FrmOptFeatures.h"
#include "features/tonetips/FrmToneTips.h"
#include "frame/ChannelWindows.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"
#include "link/FrmRadioInfo.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

template <class W> W* Open(frmMain& m, const char* kind) {
    return qobject_cast<W*>(m.ShowFormOnce(kind));
}

// The frame with the shipped windows, every editor window open.
struct AllOpen : FrameFixture {
    frmCommChInfo* table = nullptr;
    FrmCHInfoEdit* dialog = nullptr;
    FrmOptFeatures* options = nullptr;
    FrmDTMF* dtmf = nullptr;
    FrmKey* keys = nullptr;
    FrmToneTips* tips = nullptr;
    FrmRadioInfo* info = nullptr;

    explicit AllOpen(int band) : FrameFixture(band, false) {
        RegisterStandardWindows(*frame);
        frame->ShowChannelTable();
        table = qobject_cast<frmCommChInfo*>(frame->FindChildWindow("frmCommChInfo"));
        ShowChannelEditDialog(*frame);
        dialog = qobject_cast<FrmCHInfoEdit*>(frame->FindChildWindow("FrmCHInfoEdit"));
        options = Open<FrmOptFeatures>(*frame, "FrmOptFeatures");
        dtmf = Open<FrmDTMF>(*frame, "FrmDTMF");
        keys = Open<FrmKey>(*frame, "FrmKey");
        tips = Open<FrmToneTips>(*frame, "FrmToneTips");
        info = Open<FrmRadioInfo>(*frame, "FrmRadioInfo");
    }
    bool AllThere() const { return table && dialog && options && dtmf && keys && tips && info; }
};

} // namespace

class ImageReplacedTest : public QObject {
    Q_OBJECT
  private slots:
    void openWindowsShowTheReplacedImage_data();
    void openWindowsShowTheReplacedImage();
    void anotherBandMakesTheWindowsAgain();
    void closedWindowsNoLongerListen();
};

void ImageReplacedTest::openWindowsShowTheReplacedImage_data() {
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("freq");  // stored text of channel 1 of the displayed group
    QTest::addColumn<QString>("shown"); // what the grid and the dialog show
    QTest::newRow("CB") << int(kBandCB) << "02712500"
                        << "27.12500";
    QTest::newRow("HF") << int(kBandHF) << "02730000"
                        << "27.30000";
    QTest::newRow("HAM") << int(kBandHAM) << "02930000"
                         << "29.30000";
}

void ImageReplacedTest::openWindowsShowTheReplacedImage() {
    QFETCH(int, band);
    QFETCH(QString, freq);
    QFETCH(QString, shown);
    AllOpen f(band);
    QVERIFY(f.AllThere());
    f.Settle(50);
    const int windows = int(f.frame->ChildWindows().size());
    Program& p = f.p();

    // The replacement: a copy of the image with one value changed in every window.
    RadioImage next = p.Image;
    const int group = f.table->ShownGroup();
    const int slot = GroupBase(group, band) + 1;
    int index = FindChannelSlot(next, slot);
    if (index < 0) {
        QVERIFY(AppendChannel(next, slot, shown.toStdString()));
        index = FindChannelSlot(next, slot);
    }
    next.Channels[size_t(index)].RxFreq.Assign(freq.toStdString());
    next.Channels[size_t(index)].Public = 0;
    next.Settings.KeyTable[1] = int16_t(next.Settings.KeyTable[1] % 20 + 1); // key P1 of page 1
    const int key = next.Settings.KeyTable[1];
    next.Settings.Features.Options[kOptSwrLimit] = 95;
    next.Settings.Features.Options[kOptSwrInUse] = next.Settings.Features.Options[kOptSwrInUse] ? 0 : 1;
    const bool swrInUse = next.Settings.Features.Options[kOptSwrInUse] == 1;
    next.Settings.ToneTips[0].Pairs[0] = {123, 5};
    p.RadioInfo.TextA.Assign("NEWINFO");
    const std::string code = "1234*#";
    p.Image = next;
    StoreDtmfCode(p, 1, code); // as the import stores it (and its notification)

    p.Notify.imageReplaced();
    f.Settle(50);

    QCOMPARE(int(f.frame->ChildWindows().size()), windows); // nothing closed
    QCOMPARE(f.table->Grid()->item(0, 1)->text(), shown);
    QCOMPARE(f.dialog->FreqBox()->text(), shown);
    QCOMPARE(f.keys->Combo1[0]->currentIndex(), key - 1);
    QCOMPARE(f.options->Text2->text(), QString("9.5"));
    QCOMPARE(f.options->Check1->isChecked(), swrInUse);
    QCOMPARE(f.dtmf->Text1[0]->text(), QString::fromStdString(code));
    QCOMPARE(f.tips->CmbFreq[0]->currentText(), QString("1230"));
    QCOMPARE(f.tips->CmbDur[0]->currentIndex(), 5);
    QCOMPARE(f.info->Text1[6]->text(), QString("NEWINFO"));
    // The DTMF lists of the dialog and the options window offer the new code's number.
    QVERIFY(f.dialog->OptionList(11)->findText("1") >= 0);
}

void ImageReplacedTest::anotherBandMakesTheWindowsAgain() {
    AllOpen f(kBandCB);
    QVERIFY(f.AllThere());
    Program& p = f.p();
    // An HF image takes the place of the CB one.
    TestProgram hf = MakeTestProgram(kBandHF);
    p.Image = hf->Image;
    QVERIFY(SetModelType(p, kBandHF));
    p.Notify.imageReplaced();
    f.Settle();
    auto* table = qobject_cast<frmCommChInfo*>(f.frame->FindChildWindow("frmCommChInfo"));
    QVERIFY(table);
    QCOMPARE(int(f.frame->ChildWindows().size()), 1);
    // The new table lists the HF groups and shows the HF channels.
    const int group = table->ShownGroup();
    const int index = FindChannelSlot(p.Image, GroupBase(group, kBandHF) + 1);
    QVERIFY(index >= 0);
    QCOMPARE(table->Grid()->rowCount(), int(GroupSize(group, kBandHF)));
    QVERIFY(!table->Grid()->item(0, 1)->text().isEmpty());
    QCOMPARE(p.Notify.channelRowChanged.Listeners(), size_t(1));
    QVERIFY(f.frame->windowTitle().contains("HF"));
}

void ImageReplacedTest::closedWindowsNoLongerListen() {
    AllOpen f(kBandHAM);
    QVERIFY(f.AllThere());
    QVERIFY(f.p().Notify.imageReplaced.Listeners() >= 8); // the frame and seven windows
    f.frame->CloseCurAllWindows();
    f.Settle();
    QCOMPARE(f.p().Notify.imageReplaced.Listeners(), size_t(1)); // the frame
    f.p().Notify.imageReplaced();                                // reaches no window that is gone
    f.Settle(50);
    QCOMPARE(f.frame->ChildWindows().size(), 0);
}

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    ImageReplacedTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "ImageReplacedTest.moc"
