// The tone-tip window over a test program: lists, picture and playback controls.
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QtTest>
#include <algorithm>

#include "WindowTest.h"
#include "features/tonetips/FrmToneTips.h"
#include "features/tonetips/TonePlayer.h"
#include "freq/Bands.h"
#include "state/Program.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

struct Bar {
    int left, width, height;
    QRgb colour;
};

// The coloured runs along a row just above the picture's base line, each with the
// height of its column.
std::vector<Bar> BarsOf(const QImage& img, QRgb background) {
    std::vector<Bar> out;
    const int y = img.height() - 50 / 15 - 2;
    int x = 0;
    while (x < img.width()) {
        const QRgb c = img.pixel(x, y) & 0xFFFFFF;
        if (c == (background & 0xFFFFFF)) {
            ++x;
            continue;
        }
        int end = x;
        while (end < img.width() && (img.pixel(end, y) & 0xFFFFFF) == c)
            ++end;
        const int mid = (x + end) / 2;
        int top = y;
        while (top > 0 && (img.pixel(mid, top - 1) & 0xFFFFFF) == c)
            --top;
        out.push_back({x, end - x, y - top + 1, c});
        x = end;
    }
    return out;
}

QImage Render(FrmToneTips& w) {
    return w.Picture1->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The picture's colours come from the palette: odd tones, even tones, the ground.
QRgb Odd(const FrmToneTips& w) {
    return w.Picture1->palette().color(QPalette::Highlight).rgb() & 0xFFFFFF;
}
QRgb Even(const FrmToneTips& w) {
    return w.Picture1->palette().color(QPalette::Text).rgb() & 0xFFFFFF;
}
QRgb Ground(const FrmToneTips& w) {
    return w.Picture1->palette().color(QPalette::Base).rgb() & 0xFFFFFF;
}

QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    dark.setColor(QPalette::Highlight, QColor(230, 120, 60));
    return dark;
}

} // namespace

class ToneTipsWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void RisingTipDrawsFiveEqualBarsOfRisingHeight_data();
    void RisingTipDrawsFiveEqualBarsOfRisingHeight();
    void RestDrawsNoBarButTakesItsWidth();
    void NoDurationDrawsNothing();
    void ListsShowAndStoreTheirValues();
    void StoredFrequencyOutsideTheListBecomesARest_data();
    void StoredFrequencyOutsideTheListBecomesARest();
    void LoopCount0DropsRogerBeepReferences();
    void LastDurationRemovedDropsRogerBeepReferences();
    void TabsSwitchTheTip();
    void PlayNeedsAnOutputAndADuration();
    void WithoutTheAudioModulePlayIsOffAndSaysWhy();
    void GeneratorSoundsTonesAndSilences();
    void GeneratorStopsAtTheNextStepBoundary();
};

void ToneTipsWindowTest::RisingTipDrawsFiveEqualBarsOfRisingHeight_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("default theme") << false;
    QTest::newRow("dark theme") << true;
}

void ToneTipsWindowTest::RisingTipDrawsFiveEqualBarsOfRisingHeight() {
    QFETCH(bool, dark);
    const QPalette before = QApplication::palette();
    if (dark) QApplication::setPalette(DarkPalette());
    auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    auto t = MakeTestProgram(kBandCB);
    const std::array<TonePair, 5> reset{{{64, 6}, {94, 6}, {134, 6}, {163, 6}, {192, 6}}};
    for (size_t k = 0; k < 5; ++k)
        QCOMPARE(t->Image.Settings.ToneTips[3].Pairs[k], reset[k]);
    FrmToneTips w(*t);
    w.TabStrip1->setCurrentIndex(3);
    QCOMPARE(w.CurrentTip(), 4);
    const QImage img = Render(w);
    // The ground is the theme's, never a fixed white on a dark theme.
    QCOMPARE(img.pixel(1, 1) & 0xFFFFFF, Ground(w));
    if (dark) QCOMPARE(Ground(w), QRgb(0x1E1E20));
    const auto bars = BarsOf(img, Ground(w));
    QCOMPARE(bars.size(), size_t(5));
    const int expected = (img.width() - 100 / 15) / 5;
    for (size_t k = 0; k < bars.size(); ++k) {
        QVERIFY2(std::abs(bars[k].width - expected) <= 1,
                 qPrintable(QString("bar %1 width %2").arg(k).arg(bars[k].width)));
        QCOMPARE(bars[k].colour, k % 2 == 0 ? Odd(w) : Even(w));
        if (k > 0) QVERIFY(bars[k].height > bars[k - 1].height);
        if (k > 0) QVERIFY(std::abs(bars[k].left - (bars[k - 1].left + bars[k - 1].width)) <= 1);
    }
    QVERIFY(std::abs(bars[0].left - 50 / 15) <= 1);
    // Heights follow the frequency over 256 of the drawing height.
    const double h = (img.height() * 15 - 100) / 15.0;
    QVERIFY(std::abs(bars[4].height - 192 * h / 256) <= 1.5);
}

void ToneTipsWindowTest::RestDrawsNoBarButTakesItsWidth() {
    auto t = MakeTestProgram(kBandCB);
    ToneTipRecord& tip = t->Image.Settings.ToneTips[0];
    tip = ToneTipRecord{};
    tip.LoopCount = 1;
    tip.Pairs[0] = {200, 10};
    tip.Pairs[1] = {0, 10};
    tip.Pairs[2] = {200, 10};
    FrmToneTips w(*t);
    const QImage img = Render(w);
    const auto bars = BarsOf(img, Ground(w));
    QCOMPARE(bars.size(), size_t(2));
    const int third = (img.width() - 100 / 15) / 3;
    QVERIFY(std::abs(bars[0].width - third) <= 1);
    QVERIFY(std::abs(bars[1].left - (bars[0].left + 2 * third)) <= 1);
    QCOMPARE(bars[0].colour, Odd(w));
    QCOMPARE(bars[1].colour, Odd(w)); // tone 3: odd
}

void ToneTipsWindowTest::NoDurationDrawsNothing() {
    auto t = MakeTestProgram(kBandCB);
    t->Image.Settings.ToneTips[0] = ToneTipRecord{};
    t->Image.Settings.ToneTips[0].Pairs[0] = {200, 0};
    FrmToneTips w(*t);
    QVERIFY(BarsOf(Render(w), Ground(w)).empty());
}

void ToneTipsWindowTest::ListsShowAndStoreTheirValues() {
    auto t = MakeTestProgram(kBandCB);
    ToneTipRecord& tip = t->Image.Settings.ToneTips[0];
    tip.LoopCount = 3;
    tip.LoopInterval = 255;
    tip.Pairs[13] = {255, 255};
    FrmToneTips w(*t);
    QCOMPARE(w.Combo1->currentText(), QString("3"));
    QCOMPARE(w.Combo1->itemText(0), Text(*t, 29200));
    QCOMPARE(w.Combo2->currentText(), QString("2550"));
    QCOMPARE(w.CmbFreq[13]->currentText(), QString("2550"));
    QCOMPARE(w.CmbDur[13]->currentText(), QString("2550"));
    QCOMPARE(w.CmbFreq[0]->count(), 217);
    QCOMPARE(w.CmbFreq[0]->itemText(0), Text(*t, 29201));
    QCOMPARE(w.CmbFreq[0]->itemText(1), QString("400"));
    ChooseText(w.CmbFreq[5], "410");
    QCOMPARE(tip.Pairs[5].Tone, 41);
    Choose(w.CmbFreq[5], 0);
    QCOMPARE(tip.Pairs[5].Tone, 0);
    ChooseText(w.CmbDur[5], "70");
    QCOMPARE(tip.Pairs[5].Duration, 7);
    ChooseText(w.Combo2, "30");
    QCOMPARE(tip.LoopInterval, 3);
    ChooseText(w.Combo1, "10");
    QCOMPARE(tip.LoopCount, 10);
}

void ToneTipsWindowTest::StoredFrequencyOutsideTheListBecomesARest_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("after");
    QTest::newRow("30") << 30 << 0;
    QTest::newRow("39") << 39 << 0;
    QTest::newRow("40") << 40 << 40;
    QTest::newRow("256") << 256 << 0;
    QTest::newRow("negative") << -5 << 0;
}

void ToneTipsWindowTest::StoredFrequencyOutsideTheListBecomesARest() {
    QFETCH(int, stored);
    QFETCH(int, after);
    auto t = MakeTestProgram(kBandCB);
    ToneTipRecord& tip = t->Image.Settings.ToneTips[0];
    tip.Pairs[2] = {static_cast<int16_t>(stored), 5};
    tip.LoopCount = 12; // out of the list as well: shown and stored as the first entry
    FrmToneTips w(*t);
    QCOMPARE(w.CmbFreq[2]->currentIndex() == 0, after == 0);
    QCOMPARE(tip.Pairs[2].Tone, after);
    QCOMPARE(tip.LoopCount, 0);
}

void ToneTipsWindowTest::LoopCount0DropsRogerBeepReferences() {
    auto t = MakeTestProgram(kBandCB);
    Program& p = *t;
    ChannelRecord& ch = AddTestChannel(p, 1, "02696500");
    ch.RBTone = 2;
    ChannelRecord& other = AddTestChannel(p, 2, "02697500");
    other.RBTone = 3;
    p.Image.Settings.CommonChannel.RBTone = 2;
    p.Image.Settings.Emergency[1].Channel.RBTone = 2;
    FrmToneTips w(p);
    w.TabStrip1->setCurrentIndex(1);
    QCOMPARE(ch.RBTone, 2);
    Choose(w.Combo1, 0);
    QCOMPARE(ch.RBTone, 0);
    QCOMPARE(other.RBTone, 3);
    QCOMPARE(p.Image.Settings.CommonChannel.RBTone, 0);
    QCOMPARE(p.Image.Settings.Emergency[1].Channel.RBTone, 0);
}

void ToneTipsWindowTest::LastDurationRemovedDropsRogerBeepReferences() {
    auto t = MakeTestProgram(kBandCB);
    Program& p = *t;
    ToneTipRecord& tip = p.Image.Settings.ToneTips[6];
    tip = ToneTipRecord{};
    tip.LoopCount = 1;
    tip.Pairs[9] = {100, 4};
    ChannelRecord& ch = AddTestChannel(p, 1, "02696500");
    ch.RBTone = 7;
    int notified = 0;
    Subscription sub = p.Notify.toneTipsChanged.Subscribe([&notified] { ++notified; });
    FrmToneTips w(p);
    w.TabStrip1->setCurrentIndex(6);
    notified = 0;
    ChooseText(w.CmbFreq[9], "500"); // a frequency is no reason to check
    QCOMPARE(notified, 0);
    Choose(w.CmbDur[9], 0);
    QCOMPARE(ch.RBTone, 0);
    QCOMPARE(notified, 1);
}

void ToneTipsWindowTest::TabsSwitchTheTip() {
    auto t = MakeTestProgram(kBandCB);
    t->Image.Settings.ToneTips[7].LoopInterval = 9;
    FrmToneTips w(*t);
    QCOMPARE(w.TabStrip1->count(), 8);
    QCOMPARE(w.TabStrip1->tabText(7), Text(*t, 29001) + " 8");
    QCOMPARE(w.windowTitle(), Text(*t, 29000));
    w.TabStrip1->setCurrentIndex(7);
    QCOMPARE(w.CurrentTip(), 8);
    QCOMPARE(w.Combo2->currentText(), QString("90"));
}

void ToneTipsWindowTest::PlayNeedsAnOutputAndADuration() {
    auto t = MakeTestProgram(kBandCB);
    t->Image.Settings.ToneTips[0] = ToneTipRecord{};
    t->Image.Settings.ToneTips[0].LoopCount = 1;
    FrmToneTips w(*t);
    QCOMPARE(w.CommandPlay->text(), Text(*t, 29006));
    QCOMPARE(w.CommandStop->text(), Text(*t, 29007));
    // Stop goes with Play: without an output neither can do anything.
    QCOMPARE(w.CommandStop->isEnabled(), w.CommandPlay->isEnabled());
    if (!w.Player->AudioAvailable()) {
        QVERIFY(!w.CommandPlay->isEnabled());
        QVERIFY(!w.CommandStop->isEnabled());
        QCOMPARE(w.CommandPlay->toolTip(), Text(*t, 29008));
        w.CommandPlay_Click(); // nothing happens, nothing breaks
        w.CommandStop_Click();
        QVERIFY(!w.CommandPlay->isEnabled());
        QVERIFY(!w.CommandStop->isEnabled());
    } else {
        QVERIFY(w.CommandPlay->isEnabled());
        w.CommandPlay_Click(); // no duration: nothing plays
        QVERIFY(!w.Player->IsPlaying());
        QVERIFY(w.CommandPlay->isEnabled());
    }
}

void ToneTipsWindowTest::WithoutTheAudioModulePlayIsOffAndSaysWhy() {
    auto t = MakeTestProgram(kBandCB);
    t->Dirs.ProgramFolder = TempDir(); // no lib/ with the module
    FrmToneTips w(*t);
    QVERIFY(!w.CommandPlay->isEnabled() && !w.CommandStop->isEnabled());
    QVERIFY2(w.CommandPlay->toolTip().startsWith("Tips cannot be played") &&
                 w.CommandPlay->toolTip().contains("/lib/"),
             qPrintable(w.CommandPlay->toolTip()));
}

namespace {

std::vector<int16_t> ReadSamples(ToneGenerator& g, qint64 count) {
    std::vector<int16_t> out(static_cast<size_t>(count));
    const qint64 got = g.read(reinterpret_cast<char*>(out.data()), count * 2);
    out.resize(static_cast<size_t>(got / 2));
    return out;
}

int SignChanges(const std::vector<int16_t>& s, size_t from, size_t to) {
    int n = 0;
    for (size_t i = from + 1; i < to; ++i)
        if ((s[i - 1] < 0) != (s[i] < 0)) ++n;
    return n;
}

} // namespace

void ToneTipsWindowTest::GeneratorSoundsTonesAndSilences() {
    // 1000 Hz for 100 ms, 50 ms rest, 500 Hz for 100 ms, 20 ms loop pause.
    ToneGenerator g({{ToneStep::Tone, 1000, 100},
                     {ToneStep::Rest, 0, 50},
                     {ToneStep::Tone, 500, 100},
                     {ToneStep::LoopPause, 0, 20}},
                    nullptr);
    QVERIFY(g.open(QIODevice::ReadOnly));
    const auto s = ReadSamples(g, 100000);
    const size_t ms = kToneSampleRate / 1000;
    QCOMPARE(s.size(), 270 * ms);
    // A sine of f Hz changes sign 2 f times a second.
    QVERIFY(std::abs(SignChanges(s, 0, 100 * ms) - 200) <= 2);
    QVERIFY(std::all_of(s.begin() + 100 * ms, s.begin() + 150 * ms, [](int16_t v) { return v == 0; }));
    QVERIFY(std::abs(SignChanges(s, 150 * ms, 250 * ms) - 100) <= 2);
    QVERIFY(std::all_of(s.begin() + 250 * ms, s.end(), [](int16_t v) { return v == 0; }));
    QVERIFY(*std::max_element(s.begin(), s.begin() + 100 * ms) > 5000);
}

void ToneTipsWindowTest::GeneratorStopsAtTheNextStepBoundary() {
    ToneGenerator g({{ToneStep::Tone, 1000, 2000}, {ToneStep::Tone, 800, 100}}, nullptr);
    QVERIFY(g.open(QIODevice::ReadOnly));
    const size_t ms = kToneSampleRate / 1000;
    QCOMPARE(ReadSamples(g, 500 * ms).size(), 500 * ms);
    g.RequestStop(); // during the 2-second tone: it is played to its end, nothing after it
    QCOMPARE(ReadSamples(g, 100000).size(), 1500 * ms);
    QCOMPARE(ReadSamples(g, 100).size(), size_t(0));
}

QTEST_MAIN(ToneTipsWindowTest)
#include "ToneTipsWindowTest.moc"
