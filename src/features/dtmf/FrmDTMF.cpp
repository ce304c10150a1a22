#include "features/dtmf/FrmDTMF.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>

#include "base/NumberText.h"
#include "features/dtmf/DtmfArea.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/FeatureWidgets.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

constexpr int kCodes = 16;
constexpr int kCodesPerTab = 8;
constexpr int kCodeLength = 16;
// The lists before the D key show times.
constexpr int kTimeLists = FrmDTMF::kListDKey;
// The unit of the time lists in milliseconds: the stored value is the shown number over it.
constexpr int kUnitMs[kTimeLists] = {10, 100, 100, 100};

int16_t& ListField(DtmfBlock& d, int k) {
    switch (k) {
    case FrmDTMF::kListDigitTime:
        return d.DtmfRate;
    case FrmDTMF::kListFirstDigitTime:
        return d.FirstDigitTime;
    case FrmDTMF::kListFirstDigitDelay:
        return d.FirstDigitDelay;
    case FrmDTMF::kListStarHashTime:
        return d.StarHashTime;
    default:
        return d.DKeySetting;
    }
}

std::vector<std::string> Steps(int from, int to, int step) {
    std::vector<std::string> out;
    for (int v = from; v <= to; v += step)
        out.push_back(std::to_string(v));
    return out;
}

QChar UpperAtoD(QChar c) {
    return c >= QChar('a') && c <= QChar('d') ? c.toUpper() : c;
}

} // namespace

FrmDTMF::FrmDTMF(Program& p, QWidget* parent) : QWidget(parent), p_(p) {
    setObjectName("FrmDTMF");
    BuildControls();
    FillLists();
    ApplyCaptions();
    LayOut();
    ShowDtmf();
    SSTab1->setCurrentIndex(kTabSettings);
    subscriptions_.push_back(p_.Notify.imageReplaced.Subscribe([this] { ShowDtmf(); }));
}

void FrmDTMF::BuildControls() {
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName("SSTab1");
    EnterMovesFocus(SSTab1->tabBar());
    auto* settings = new QWidget;
    SSTab1->addTab(settings, QString());
    for (int k = 0; k < kListCount; ++k) {
        auto* c = new QComboBox(settings);
        c->setObjectName(QString("Combo1_%1").arg(k));
        c->setMaxVisibleItems(16);
        EnterMovesFocus(c);
        connect(c, &QComboBox::activated, this, [this, k] { StoreList(k); });
        Combo1[static_cast<size_t>(k)] = c;
        auto* l = new QLabel(settings);
        Label1[static_cast<size_t>(k)] = l;
    }
    Check1 = new QCheckBox(settings);
    Check1->setObjectName("Check1");
    EnterMovesFocus(Check1);
    connect(Check1, &QCheckBox::clicked, this, [this] { StoreDisplay(); });

    // Codes 1..8 on the second tab, 9..16 on the third, in two columns of four.
    for (int page = 0; page < kCodes / kCodesPerTab; ++page) {
        auto* tab = new QWidget;
        SSTab1->addTab(tab, QString());
        for (int i = 0; i < kCodesPerTab; ++i) {
            const int n = page * kCodesPerTab + i; // box index, code n + 1
            auto* box = new QLineEdit(tab);
            box->setObjectName(QString("Text1_%1").arg(n));
            box->setMaxLength(kCodeLength);
            FilterKeys(box, "0123456789ABCD*#", UpperAtoD);
            EnterMovesFocus(box);
            connect(box, &QLineEdit::textChanged, this,
                    [this, n](const QString& t) { StoreDtmfCode(p_, n + 1, t.toLatin1().toStdString()); });
            Text1[static_cast<size_t>(n)] = box;
            auto* l = new QLabel(QString::number(n + 1), tab);
            Label2[static_cast<size_t>(n)] = l;
        }
    }

    CommandClose = new QPushButton(this);
    CommandClose->setObjectName("CommandClose");
    connect(CommandClose, &QPushButton::clicked, this, &QWidget::close);
    CommandHelp = new QPushButton(this);
    CommandHelp->setObjectName("CommandHelp");
    CommandHelp->hide(); // help is switched off in this program
}

// Places, in design pixels grown with the font; the label column widens for longer texts.
void FrmDTMF::LayOut() {
    const int gap = Twips(100), rowH = Px(24);
    int labelW = Px(180);
    for (const QLabel* l : Label1)
        labelW = std::max(labelW, WidthForTexts(0, {l}));
    int listW = Px(120);
    for (const QComboBox* c : Combo1)
        listW = std::max(listW, WidthForItems(0, {c}));
    const int listX = Px(20) + labelW + gap;
    for (int k = 0; k < kListCount; ++k) {
        Combo1[static_cast<size_t>(k)]->setGeometry(listX, Px(16) + Px(32) * k, listW, rowH);
        PlaceLabelLeftOf(Label1[static_cast<size_t>(k)], Combo1[static_cast<size_t>(k)], 100, labelW);
    }
    const int checkW = std::max(Px(300), WidthForTexts(0, {Check1}));
    Check1->setGeometry(Px(20) + gap, Px(16) + Px(32) * kListCount + Px(4), checkW, rowH);
    for (int n = 0; n < kCodes; ++n) {
        const int i = n % kCodesPerTab;
        QLineEdit* box = Text1[static_cast<size_t>(n)];
        box->setGeometry(Px(40) + (i / 4) * Px(210), Px(20) + (i % 4) * Px(50), Px(160), rowH);
        PlaceLabelLeftOf(Label2[static_cast<size_t>(n)], box, 20, Px(26));
    }
    // The tab pages hold the settings column and the two code columns.
    const int pageW = std::max({Px(424), listX + listW + Px(20), Check1->geometry().right() + Px(12)});
    const int pageH = std::max(Px(230), Check1->geometry().bottom() + Px(12));
    const int chrome = SSTab1->tabBar()->sizeHint().height() + Px(10);
    SSTab1->setGeometry(Px(8), Px(8), std::max(Px(440), pageW + Px(6)), std::max(Px(270), pageH + chrome));
    const int buttonW = WidthForTexts(100, {CommandClose, CommandHelp});
    const int buttons = SSTab1->geometry().bottom() + Px(8);
    CommandClose->setGeometry(SSTab1->geometry().right() + 1 - buttonW, buttons, buttonW, Px(28));
    CommandHelp->setGeometry(CommandClose->x() - buttonW - Px(8), buttons, buttonW, Px(28));
    setFixedSize(SSTab1->geometry().right() + Px(9), buttons + Px(28) + Px(10));
}

void FrmDTMF::FillLists() {
    FillList(Combo1[kListDigitTime], Steps(10, 500, 10));
    FillList(Combo1[kListFirstDigitTime], Steps(0, 1000, 100));
    FillList(Combo1[kListFirstDigitDelay], Steps(100, 2500, 100));
    FillList(Combo1[kListStarHashTime], {"0", "100", "500", "1000"});
    std::vector<std::string> dkey{LangText(p_, txt::kDtmfOff)};
    for (int n = 1; n <= 16; ++n)
        dkey.push_back(std::to_string(n) + LangText(p_, txt::kS));
    FillList(Combo1[kListDKey], dkey);
}

void FrmDTMF::ApplyCaptions() {
    auto text = [this](TextId id) { return ToQ(LangText(p_, id)); };
    constexpr TextId tabs[kTabCount] = {txt::kDtmfSettings, txt::kCodes18, txt::kCodes916};
    constexpr TextId lists[kListCount] = {txt::kDigitTimeMs, txt::kFirstDigitTimeMs, txt::kFirstDigitDelayMs,
                                          txt::kTimeMs, txt::kDKey};
    setWindowTitle(text(txt::kDtmfDTMF));
    for (int t = 0; t < kTabCount; ++t)
        SSTab1->setTabText(t, text(tabs[t]));
    for (int k = 0; k < kListCount; ++k)
        Label1[static_cast<size_t>(k)]->setText(text(lists[k]));
    Check1->setText(text(txt::kShowDTMFCodesDisplay));
    SetCloseHelpCaptions(this, p_);
}

void FrmDTMF::ShowDtmf() {
    DtmfBlock& d = p_.Image.Settings.Dtmf;
    for (int k = 0; k < kTimeLists; ++k)
        SelectListText(Combo1[static_cast<size_t>(k)], QString::number(ListField(d, k) * kUnitMs[k]));
    SelectListIndex(Combo1[kListDKey], d.DKeySetting);
    SetOptionState(Check1, d.DtmfDisplay);
    // Showing counts as choosing: what is shown is what is stored.
    for (int k = 0; k < kListCount; ++k)
        StoreList(k);
    StoreDisplay();
    for (int n = 0; n < kCodes; ++n) {
        const DtmfCodeEntry& e = d.Codes[static_cast<size_t>(n)];
        std::string shown;
        if (e.Length > 0 && e.Length <= kCodeLength) {
            shown = std::string(e.Code.Raw().substr(0, static_cast<size_t>(e.Length)));
            shown = shown.substr(0, shown.find('\0'));
        }
        Text1[static_cast<size_t>(n)]->setText(
            QString::fromLatin1(shown.data(), static_cast<qsizetype>(shown.size())));
    }
}

void FrmDTMF::StoreList(int k) {
    if (k < 0 || k >= kListCount) return;
    const QComboBox* list = Combo1[static_cast<size_t>(k)];
    if (list->currentIndex() < 0) return;
    DtmfBlock& d = p_.Image.Settings.Dtmf;
    if (k == kListDKey) {
        d.DKeySetting = static_cast<int16_t>(list->currentIndex());
        return;
    }
    const int shown = ListNumberOr(list, 0);
    ListField(d, k) = static_cast<int16_t>(RoundHalfEven(shown / static_cast<double>(kUnitMs[k])));
}

void FrmDTMF::StoreDisplay() {
    p_.Image.Settings.Dtmf.DtmfDisplay = Check1->isChecked() ? 1 : 0;
}

} // namespace tarvane
