#include "features/tonetips/FrmToneTips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <algorithm>
#include <array>

#include "features/tonetips/TonePlayer.h"
#include "features/tonetips/ToneSequence.h"
#include "features/tonetips/ToneTipReferences.h"
#include "freq/ChannelEdit.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/FeatureWidgets.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

constexpr int kTips = 8;
constexpr int kTones = 14;
constexpr int kTonesPerColumn = kTones / 2;
constexpr int kRow = 28; // design pixels, as the widths below
constexpr int kToneLabelW = 70;
constexpr int kFreqW = 96;
constexpr int kDurW = 84;
constexpr TextId kToneCaptions[kTones] = {txt::kTone1,  txt::kTone2,  txt::kTone3,  txt::kTone4, txt::kTone5,
                                          txt::kTone6,  txt::kTone7,  txt::kTone8,  txt::kTone9, txt::kTone10,
                                          txt::kTone11, txt::kTone12, txt::kTone13, txt::kTone14};

std::vector<std::string> Steps(int from, int to, int step) {
    std::vector<std::string> out;
    for (int v = from; v <= to; v += step)
        out.push_back(std::to_string(v));
    return out;
}

} // namespace

ToneTipPicture::ToneTipPicture(Program& p, QWidget* parent) : QWidget(parent), p_(p) {
    // The picture is drawn on the theme's field colour, not on a fixed white.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void ToneTipPicture::paintEvent(QPaintEvent*) {
    if (tip_ < 1 || tip_ > kTips) return;
    QPainter painter(this);
    // The picture's units are twips.
    painter.scale(1.0 / 15, 1.0 / 15);
    const auto bars =
        ToneTipBars(p_.Image.Settings.ToneTips[static_cast<size_t>(tip_ - 1)], width() * 15, height() * 15);
    for (const ToneBar& b : bars)
        painter.fillRect(QRect(b.left, b.top, b.width, b.height),
                         palette().color(b.red ? QPalette::Highlight : QPalette::Text));
}

FrmToneTips::FrmToneTips(Program& p, QWidget* parent) : QWidget(parent), p_(p) {
    setObjectName("FrmToneTips");
    auto text = [this](TextId id) { return ToQ(LangText(p_, id)); };
    setWindowTitle(text(txt::kTipToneTips));

    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName("TabStrip1");
    for (int t = 1; t <= kTips; ++t)
        TabStrip1->addTab(text(txt::kTip) + " " + QString::number(t));
    TabStrip1->setExpanding(false);
    EnterMovesFocus(TabStrip1);

    auto combo = [this](const QString& name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setMaxVisibleItems(16);
        EnterMovesFocus(c);
        return c;
    };
    Combo1 = combo("Combo1");
    auto* loopLabel = new QLabel(text(txt::kLoops), this);
    Combo2 = combo("Combo2");
    auto* pauseLabel = new QLabel(text(txt::kPauseMs), this);
    std::vector<std::string> loops{LangText(p_, txt::kTipOff)};
    for (int n = 1; n <= 10; ++n)
        loops.push_back(std::to_string(n));
    FillList(Combo1, loops);
    FillList(Combo2, Steps(0, 2550, 10));
    connect(Combo1, &QComboBox::activated, this, [this] { LoopChosen(); });
    connect(Combo2, &QComboBox::activated, this, [this] { IntervalChosen(); });

    std::vector<std::string> freqs{LangText(p_, txt::kRest)};
    for (const std::string& f : Steps(400, 2550, 10))
        freqs.push_back(f);
    const auto durs = Steps(0, 2550, 10);
    std::array<QLabel*, 2> freqHeads{}, durHeads{};
    for (int col = 0; col < 2; ++col) {
        freqHeads[static_cast<size_t>(col)] = new QLabel(text(txt::kFrequencyHz), this);
        durHeads[static_cast<size_t>(col)] = new QLabel(text(txt::kDurationMs), this);
    }
    std::array<QLabel*, kTones> toneLabels{};
    for (int k = 0; k < kTones; ++k) {
        QComboBox* f = combo(QString("CmbFreq_%1").arg(k));
        QComboBox* d = combo(QString("CmbDur_%1").arg(k));
        FillList(f, freqs);
        FillList(d, durs);
        toneLabels[static_cast<size_t>(k)] = new QLabel(text(kToneCaptions[k]), this);
        connect(f, &QComboBox::activated, this, [this, k] { FreqChosen(k); });
        connect(d, &QComboBox::activated, this, [this, k] { DurChosen(k); });
        CmbFreq[static_cast<size_t>(k)] = f;
        CmbDur[static_cast<size_t>(k)] = d;
    }
    Picture1 = new ToneTipPicture(p_, this);
    Picture1->setObjectName("Picture1");
    Player = new TonePlayer(p_.Dirs.ProgramFolder, this);
    CommandPlay = new QPushButton(text(txt::kPlay), this);
    CommandPlay->setObjectName("CommandPlay");
    CommandStop = new QPushButton(text(txt::kStop), this);
    CommandStop->setObjectName("CommandStop");

    // Places: two columns of tones; labels, lists and headers as wide as their texts need.
    const int loopLabelW = WidthForTexts(110, {loopLabel, pauseLabel});
    int toneLabelW = Px(kToneLabelW);
    for (const QLabel* l : toneLabels)
        toneLabelW = std::max(toneLabelW, WidthForTexts(0, {l}));
    const int freqW = std::max(WidthForItems(kFreqW, {CmbFreq[0]}), WidthForTexts(0, {freqHeads[0]}));
    const int durW = std::max(WidthForItems(kDurW, {CmbDur[0]}), WidthForTexts(0, {durHeads[0]}) - Px(16));
    const int gap = Twips(100), rowH = Px(24);
    const int colW = std::max({Px(12) + toneLabelW + gap + freqW + Px(8) + durW + Px(16),
                               Px(12) + loopLabelW + gap + Px(96) + Px(16)});
    const int top = Px(48);
    TabStrip1->setGeometry(Px(8), Px(8), 2 * colW - Px(8), Px(28));
    Combo1->setGeometry(Px(12) + loopLabelW + gap, top, Px(96), rowH);
    Combo2->setGeometry(colW + Px(12) + loopLabelW + gap, top, Px(96), rowH);
    PlaceLabelLeftOf(loopLabel, Combo1, 100, loopLabelW);
    PlaceLabelLeftOf(pauseLabel, Combo2, 100, loopLabelW);
    const int head = top + Px(36), headH = std::max(Px(20), fontMetrics().height() + 2);
    for (size_t col = 0; col < 2; ++col) {
        const int fx = static_cast<int>(col) * colW + Px(12) + toneLabelW + gap;
        freqHeads[col]->setGeometry(fx, head, freqW, headH);
        durHeads[col]->setGeometry(fx + freqW + Px(8), head, durW + Px(16), headH);
    }
    const int first = head + headH + Px(2);
    for (int k = 0; k < kTones; ++k) {
        const size_t i = static_cast<size_t>(k);
        const int x = (k / kTonesPerColumn) * colW + Px(12) + toneLabelW + gap;
        const int y = first + (k % kTonesPerColumn) * Px(kRow);
        CmbFreq[i]->setGeometry(x, y, freqW, rowH);
        CmbDur[i]->setGeometry(x + freqW + Px(8), y, durW, rowH);
        PlaceLabelLeftOf(toneLabels[i], CmbFreq[i], 100, toneLabelW);
    }
    const int below = first + kTonesPerColumn * Px(kRow) + Px(8);
    Picture1->setGeometry(Px(12), below, 2 * colW - Px(16), Px(110));
    const int buttons = below + Px(110) + Px(10);
    const int buttonW = WidthForTexts(100, {CommandPlay, CommandStop});
    CommandStop->setGeometry(2 * colW - Px(4) - buttonW, buttons, buttonW, Px(28));
    CommandPlay->setGeometry(CommandStop->x() - buttonW - Px(8), buttons, buttonW, Px(28));
    setFixedSize(2 * colW + Px(4), buttons + Px(28) + Px(10));

    audio_ = Player->AudioAvailable();
    // Without an audio output there is nothing to play or stop.
    CommandPlay->setEnabled(audio_);
    CommandStop->setEnabled(audio_);
    if (!audio_) {
        const QString why =
            Player->ModuleError().isEmpty()
                ? text(txt::kNoAudioOutputFound)
                : ToQ(FillIn(LangText(p_, txt::kToneModuleMissing), {Player->ModuleError().toStdString()}));
        CommandPlay->setToolTip(why);
        CommandStop->setToolTip(why);
    }
    connect(CommandPlay, &QPushButton::clicked, this, [this] { CommandPlay_Click(); });
    connect(CommandStop, &QPushButton::clicked, this, [this] { CommandStop_Click(); });
    connect(Player, &TonePlayer::finished, this, [this] { CommandPlay->setEnabled(audio_); });

    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int i) {
        if (i + 1 == tip_ || i < 0) return;
        tip_ = i + 1;
        ShowTip();
    });
    tip_ = TabStrip1->currentIndex() + 1;
    ShowTip();
    subscriptions_.push_back(p_.Notify.imageReplaced.Subscribe([this] {
        // A tip playing is one of the image that is gone.
        CommandStop_Click();
        ShowTip();
    }));
}

FrmToneTips::~FrmToneTips() {
    Player->Stop();
}

ToneTipRecord& FrmToneTips::Tip() {
    return p_.Image.Settings.ToneTips[static_cast<size_t>(tip_ - 1)];
}

void FrmToneTips::ShowTip() {
    ToneTipRecord& t = Tip();
    SelectListIndex(Combo1, t.LoopCount);
    SelectListIndex(Combo2, t.LoopInterval);
    for (int k = 0; k < kTones; ++k) {
        const TonePair& pair = t.Pairs[static_cast<size_t>(k)];
        SelectListText(CmbFreq[static_cast<size_t>(k)], QString::number(pair.Tone * 10));
        SelectListIndex(CmbDur[static_cast<size_t>(k)], pair.Duration);
    }
    // Showing counts as choosing: the shown values are stored back.
    t.LoopCount = static_cast<int16_t>(ListIndexOr(Combo1, t.LoopCount));
    t.LoopInterval = static_cast<int16_t>(ListIndexOr(Combo2, t.LoopInterval));
    for (int k = 0; k < kTones; ++k) {
        TonePair& pair = t.Pairs[static_cast<size_t>(k)];
        pair.Tone = static_cast<int16_t>(ListNumberOr(CmbFreq[static_cast<size_t>(k)], 0) / 10);
        pair.Duration = static_cast<int16_t>(ListIndexOr(CmbDur[static_cast<size_t>(k)], pair.Duration));
    }
    Picture1->SetTip(tip_);
    RecheckToneTipReferences(p_);
}

void FrmToneTips::LoopChosen() {
    if (Combo1->currentIndex() < 0) return;
    Tip().LoopCount = static_cast<int16_t>(Combo1->currentIndex());
    RecheckToneTipReferences(p_);
}

void FrmToneTips::IntervalChosen() {
    if (Combo2->currentIndex() < 0) return;
    Tip().LoopInterval = static_cast<int16_t>(Combo2->currentIndex());
}

void FrmToneTips::FreqChosen(int k) {
    // The rest entry is no number and stands for 0.
    Tip().Pairs[static_cast<size_t>(k)].Tone =
        static_cast<int16_t>(ListNumberOr(CmbFreq[static_cast<size_t>(k)], 0) / 10);
    Picture1->update();
}

void FrmToneTips::DurChosen(int k) {
    const int i = CmbDur[static_cast<size_t>(k)]->currentIndex();
    if (i < 0) return;
    Tip().Pairs[static_cast<size_t>(k)].Duration = static_cast<int16_t>(i);
    Picture1->update();
    RecheckToneTipReferences(p_);
}

void FrmToneTips::CommandPlay_Click() {
    if (!audio_ || ToneTipTotalMs(Tip()) <= 4) return;
    if (Player->Play(ToneSequence(Tip()))) CommandPlay->setEnabled(false);
}

void FrmToneTips::CommandStop_Click() {
    Player->Stop();
    CommandPlay->setEnabled(audio_);
}

void FrmToneTips::closeEvent(QCloseEvent* e) {
    Player->Stop();
    QWidget::closeEvent(e);
}

} // namespace tarvane
