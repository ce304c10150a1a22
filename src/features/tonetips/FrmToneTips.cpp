#include "features/tonetips/FrmToneTips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>

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
constexpr int kRow = 28;
constexpr int kToneLabelW = 70;
constexpr int kFreqW = 96;
constexpr int kDurW = 84;
constexpr int kColW = 12 + kToneLabelW + 7 + kFreqW + 8 + kDurW + 16;
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
    TabStrip1->setGeometry(8, 8, 2 * kColW, 28);
    EnterMovesFocus(TabStrip1);

    auto combo = [this](const QString& name, int x, int y, int w) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setGeometry(x, y, w, 24);
        c->setMaxVisibleItems(16);
        EnterMovesFocus(c);
        return c;
    };
    auto label = [this](const QString& t, QWidget* control, int w) {
        auto* l = new QLabel(t, this);
        PlaceLabelLeftOf(l, control, 100, w);
        return l;
    };
    const int top = 48;
    Combo1 = combo("Combo1", 12 + 110 + 7, top, 96);
    label(text(txt::kLoops), Combo1, 110);
    Combo2 = combo("Combo2", kColW + 12 + 110 + 7, top, 96);
    label(text(txt::kPauseMs), Combo2, 110);
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
    const int head = top + 36;
    for (int col = 0; col < 2; ++col) {
        const int fx = col * kColW + 12 + kToneLabelW + 7;
        auto* fh = new QLabel(text(txt::kFrequencyHz), this);
        fh->setGeometry(fx, head, kFreqW, 20);
        auto* dh = new QLabel(text(txt::kDurationMs), this);
        dh->setGeometry(fx + kFreqW + 8, head, kDurW + 16, 20);
    }
    for (int k = 0; k < kTones; ++k) {
        const int x = (k / kTonesPerColumn) * kColW + 12 + kToneLabelW + 7;
        const int y = head + 22 + (k % kTonesPerColumn) * kRow;
        QComboBox* f = combo(QString("CmbFreq_%1").arg(k), x, y, kFreqW);
        QComboBox* d = combo(QString("CmbDur_%1").arg(k), x + kFreqW + 8, y, kDurW);
        FillList(f, freqs);
        FillList(d, durs);
        label(text(kToneCaptions[k]), f, kToneLabelW);
        connect(f, &QComboBox::activated, this, [this, k] { FreqChosen(k); });
        connect(d, &QComboBox::activated, this, [this, k] { DurChosen(k); });
        CmbFreq[static_cast<size_t>(k)] = f;
        CmbDur[static_cast<size_t>(k)] = d;
    }
    const int below = head + 22 + kTonesPerColumn * kRow + 8;
    Picture1 = new ToneTipPicture(p_, this);
    Picture1->setObjectName("Picture1");
    Picture1->setGeometry(12, below, 2 * kColW - 16, 110);

    Player = new TonePlayer(p_.Dirs.ProgramFolder, this);
    CommandPlay = new QPushButton(text(txt::kPlay), this);
    CommandPlay->setObjectName("CommandPlay");
    CommandStop = new QPushButton(text(txt::kStop), this);
    CommandStop->setObjectName("CommandStop");
    const int buttons = below + 110 + 10;
    CommandStop->setGeometry(2 * kColW - 4 - 100, buttons, 100, 28);
    CommandPlay->setGeometry(CommandStop->x() - 108, buttons, 100, 28);
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
    setFixedSize(2 * kColW + 4, buttons + 28 + 10);

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
