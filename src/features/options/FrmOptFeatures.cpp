#include "features/options/FrmOptFeatures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "features/dtmf/DtmfReferences.h"
#include "features/options/OptionFields.h"
#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/FeatureWidgets.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

// Design pixels; label and list columns widen for longer texts.
constexpr int kRow = 26; // from one row to the next
constexpr int kListH = 22, kButtonH = 28, kButtonW = 100;
constexpr int kOptLabelW = 170;
constexpr int kOptListW = 136;
constexpr int kChLabelW = 130;
constexpr int kChListW = 150;
constexpr int kFrameTop = 24;  // room for the frame caption
constexpr int kRows = 12;      // rows of a frame column
constexpr int kLabelGap = 100; // twips between a label and its control

// The default-channel lists j, first to last; IsChannelList leaves out the gap.
constexpr int kFirstChannelList = kChDuplexList;
constexpr int kLastChannelList = kChDtmfCallList;
// The default-channel lists in the order they are shown.
constexpr int kChannelOrder[] = {kChDuplexList,       kChToneSquelchList, kChHighCutList, kChBusyLockOutList,
                                 kChNoiseBlankerList, kChAmFmList,        kChPowerList,   kChRogerBeepList,
                                 kChDtmfStartList,    kChDtmfEndList,     kChDtmfCallList};
// The lists that show the stored position as it is.
constexpr int kIndexLists[] = {kChDuplexList,       kChToneSquelchList, kChHighCutList, kChBusyLockOutList,
                               kChNoiseBlankerList, kChShift5kList,     kChAmFmList};
// The lists of DTMF codes, filled from the DTMF window's codes.
constexpr int kDtmfLists[] = {kChDtmfStartList, kChDtmfEndList, kChDtmfCallList};

// Label of default-channel list j is text 15005 + j; j = 0 and 3 do not exist.
constexpr TextId kChannelCaptions[kLastChannelList + 1] = {TextId{0},
                                                           txt::kEditDuplex,
                                                           txt::kEditToneSquelch,
                                                           TextId{0},
                                                           txt::kEditHighCut,
                                                           txt::kEditBusyLockOut,
                                                           txt::kEditNoiseBlanker,
                                                           txt::kEditN5KHz,
                                                           txt::kEditModulation,
                                                           txt::kEditTransmitPower,
                                                           txt::kEditRogerBeep,
                                                           txt::kEditDTMFStart,
                                                           txt::kEditDTMFEnd,
                                                           txt::kEditDTMFCall};

} // namespace

FrmOptFeatures::FrmOptFeatures(Program& p, QWidget* parent) : QWidget(parent), p_(p) {
    setObjectName("FrmOptFeatures");
    isCB_ = p_.Model.ModelType == kBandCB;
    loading_ = true;
    BuildControls();
    FillLists();
    ApplyCaptions();
    LayoutControls();
    ShowOptFeat();
    loading_ = false;
    // Refill on changes made in the tone-tip and DTMF windows.
    subscriptions_.push_back(p_.Notify.toneTipsChanged.Subscribe([this] { ShowRBOpt(); }));
    subscriptions_.push_back(p_.Notify.dtmfCodesChanged.Subscribe([this] { RefillDtmfLists(); }));
    subscriptions_.push_back(p_.Notify.imageReplaced.Subscribe([this] { ShowReplacedImage(); }));
}

void FrmOptFeatures::ShowReplacedImage() {
    // Another band shows other lists: the frame opens new windows then.
    if ((p_.Model.ModelType == kBandCB) != isCB_) return;
    const bool wasLoading = loading_;
    loading_ = true;
    // The lists depend on the image (modulation, DTMF codes, tone tips).
    FillLists();
    ShowOptFeat();
    loading_ = wasLoading;
}

void FrmOptFeatures::BuildControls() {
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName("Frame2");
    auto combo = [this](QWidget* parent, const QString& name, int id) {
        auto* c = new QComboBox(parent);
        c->setObjectName(name);
        c->setMaxVisibleItems(16);
        EnterMovesFocus(c);
        connect(c, &QComboBox::activated, this, [this, id] { SaveOptFeat(id); });
        return c;
    };
    for (int i = 0; i < kOptionListCount; ++i) {
        Combo1[static_cast<size_t>(i)] = combo(Frame1, QString("Combo1_%1").arg(i), i);
        Label1[static_cast<size_t>(i)] = new QLabel(Frame1);
    }
    Combo3 = new QComboBox(Frame1);
    Combo3->setObjectName("Combo3");
    EnterMovesFocus(Combo3);
    connect(Combo3, &QComboBox::activated, this, [this] { CountryChosen(false); });
    Combo4 = new QComboBox(Frame1);
    Combo4->setObjectName("Combo4");
    EnterMovesFocus(Combo4);
    connect(Combo4, &QComboBox::activated, this, [this] { CountryChosen(true); });
    for (int j = kFirstChannelList; j <= kLastChannelList; ++j) {
        if (!IsChannelList(j)) continue;
        Combo2[static_cast<size_t>(j)] = combo(Frame2, QString("Combo2_%1").arg(j), kSaveChannelList + j);
        Label2[static_cast<size_t>(j)] = new QLabel(Frame2);
    }
    Text1 = new QLineEdit(Frame2);
    Text1->setObjectName("Text1");
    FilterKeys(Text1, "0123456789");
    EnterMovesFocus(Text1);
    Text1->installEventFilter(this);
    connect(Text1, &QLineEdit::textChanged, this, [this] { SaveOptFeat(kSaveOffset); });
    Label3 = new QLabel(Frame2);
    Check1 = new QCheckBox(Frame2);
    Check1->setObjectName("Check1");
    EnterMovesFocus(Check1);
    connect(Check1, &QCheckBox::clicked, this, [this] { SaveOptFeat(kSaveSwrInUse); });
    Text2 = new QLineEdit(Frame2);
    Text2->setObjectName("Text2");
    FilterKeys(Text2, "0123456789.");
    EnterMovesFocus(Text2);
    Text2->installEventFilter(this);
    Label4 = new QLabel(Frame2);

    CommandClose = new QPushButton(this);
    CommandClose->setObjectName("CommandClose");
    connect(CommandClose, &QPushButton::clicked, this, &QWidget::close);
    CommandHelp = new QPushButton(this);
    CommandHelp->setObjectName("CommandHelp");
    CommandHelp->hide(); // help is switched off in this program
}

namespace {

template <class T, size_t N> int WidestLabel(int designPixels, const std::array<T*, N>& labels) {
    int w = Px(designPixels);
    for (const T* l : labels)
        w = std::max(w, WidthForTexts(0, {l}));
    return w;
}

template <class T, size_t N> int WidestList(int designPixels, const std::array<T*, N>& lists) {
    int w = Px(designPixels);
    for (const T* l : lists)
        w = std::max(w, WidthForItems(0, {l}));
    return w;
}

} // namespace

void FrmOptFeatures::LayoutControls() {
    const int row = Px(kRow), listH = Px(kListH), top = Px(kFrameTop);
    const int gap = Twips(kLabelGap);
    // Options in two columns; the CB country lists take the place of option 1.
    // Each column's labels as wide as its longest one.
    int optLabelW[2] = {Px(kOptLabelW), Px(kOptLabelW)};
    for (int i = 0; i < kOptionListCount; ++i)
        optLabelW[i / kRows] =
            std::max(optLabelW[i / kRows], WidthForTexts(0, {Label1[static_cast<size_t>(i)]}));
    const int optListW =
        std::max(WidestList(kOptListW, Combo1), 2 * WidthForItems(0, {Combo3, Combo4}) + Px(4));
    const int colX[2] = {Px(12) + optLabelW[0] + gap,
                         Px(12) + optLabelW[0] + gap + optListW + Px(16) + optLabelW[1] + gap};
    for (int i = 0; i < kOptionListCount; ++i) {
        QComboBox* c = Combo1[static_cast<size_t>(i)];
        c->setGeometry(colX[i / kRows], top + (i % kRows) * row, optListW, listH);
        PlaceLabelLeftOf(Label1[static_cast<size_t>(i)], c, kLabelGap, optLabelW[i / kRows]);
    }
    const QRect g = Combo1[kOptActiveGroupList]->geometry();
    const int half = (g.width() - Px(4)) / 2;
    Combo3->setGeometry(g.x(), g.y(), half, g.height());
    Combo4->setGeometry(g.x() + half + Px(4), g.y(), g.width() - half - Px(4), g.height());
    Frame1->setGeometry(Px(8), Px(8), colX[1] + optListW + Px(12), top + kRows * row + Px(10));

    // Default channel: visible rows one below the other, then offset and SWR.
    const int chLabelW = std::max(WidestLabel(kChLabelW, Label2), WidthForTexts(0, {Label3}));
    const int chListW = WidestList(kChListW, Combo2);
    const int x = Px(12) + chLabelW + gap;
    int y = top;
    for (int j : kChannelOrder) {
        QComboBox* c = Combo2[static_cast<size_t>(j)];
        if (!c->isVisibleTo(this)) continue;
        c->setGeometry(x, y, chListW, listH);
        PlaceLabelLeftOf(Label2[static_cast<size_t>(j)], c, kLabelGap, chLabelW);
        y += row;
    }
    Combo2[kChShift5kList]->setGeometry(x, y, chListW, listH); // never shown
    if (Text1->isVisibleTo(this)) {
        Text1->setGeometry(x, y, Px(70), listH);
        PlaceLabelLeftOf(Label3, Text1, kLabelGap, chLabelW);
        y += row;
    }
    // The SWR check box, its limit box and unit label.
    const int checkW = std::max(chLabelW + gap + Px(40), WidthForTexts(0, {Check1}));
    Check1->setGeometry(Px(12), y, checkW, listH);
    const int unitW = WidthForTexts(36, {Label4});
    Text2->setGeometry(Px(12) + checkW + gap + unitW, y, Px(60), listH);
    PlaceLabelLeftOf(Label4, Text2, kLabelGap, unitW);
    const int frame2W = std::max(x + chListW, Text2->geometry().right() + 1) + Px(12);
    // Both frames as high as the taller content (HF and HAM show three more rows).
    const int height = std::max(Frame1->height(), y + row + Px(10));
    Frame1->resize(Frame1->width(), height);
    Frame2->setGeometry(Frame1->geometry().right() + Px(8), Px(8), frame2W, height);

    const int bottom = Frame1->geometry().bottom() + Px(10);
    const int buttonW = WidthForTexts(kButtonW, {CommandClose, CommandHelp});
    CommandClose->setGeometry(Frame2->geometry().right() - buttonW, bottom, buttonW, Px(kButtonH));
    CommandHelp->setGeometry(CommandClose->x() - buttonW - Px(8), bottom, buttonW, Px(kButtonH));
    setFixedSize(Frame2->geometry().right() + Px(9), bottom + Px(kButtonH) + Px(10));
}

void FrmOptFeatures::ApplyCaptions() {
    auto text = [this](TextId id) { return ToQ(LangText(p_, id)); };
    setWindowTitle(text(txt::kOptOptionalFeatures));
    Frame1->setTitle(text(txt::kMenuOptions));
    Frame2->setTitle(text(txt::kCommonChannelData));
    for (int i = 0; i < kOptionListCount; ++i)
        Label1[static_cast<size_t>(i)]->setText(text(kOptionCaptions[i]));
    for (int j = kFirstChannelList; j <= kLastChannelList; ++j)
        if (QLabel* l = Label2[static_cast<size_t>(j)]) l->setText(text(kChannelCaptions[j]));
    Label3->setText(text(txt::kEditOffsetKHz));
    Label4->setText(text(txt::kMax));
    Check1->setText(text(txt::kSWRLimit));
    SetCloseHelpCaptions(this, p_);

    // Visibility follows the band.
    Combo2[kChShift5kList]->hide();
    Label2[kChShift5kList]->hide();
    for (QWidget* w :
         {static_cast<QWidget*>(Combo2[kChDuplexList]), static_cast<QWidget*>(Label2[kChDuplexList]),
          static_cast<QWidget*>(Combo2[kChPowerList]), static_cast<QWidget*>(Label2[kChPowerList]),
          static_cast<QWidget*>(Text1), static_cast<QWidget*>(Label3)})
        w->setHidden(isCB_);
    Combo1[kOptActiveGroupList]->setHidden(isCB_);
    Combo3->setVisible(isCB_);
    Combo4->hide();
}

void FrmOptFeatures::FillLists() {
    for (int i = 0; i < kOptionListCount; ++i)
        FillList(Combo1[static_cast<size_t>(i)], OptionEntries(p_, i));
    FillList(Combo3, CountryEntries());
    FillList(Combo4, CountrySubEntries());
    Combo3->setCurrentIndex(-1);
    Combo4->setCurrentIndex(-1);
    const int amFm = p_.Image.Settings.CommonChannel.AM_FM;
    for (int j = kFirstChannelList; j <= kLastChannelList; ++j)
        if (QComboBox* c = Combo2[static_cast<size_t>(j)]) FillList(c, DefaultChannelEntries(p_, j, amFm));
}

void FrmOptFeatures::FillPowerList() {
    FillList(Combo2[kChPowerList], PowerEntries(p_, p_.Image.Settings.CommonChannel.AM_FM));
}

bool FrmOptFeatures::NotInComboList(const QComboBox* list, int index) {
    return !list || index < 0 || index >= list->count();
}

void FrmOptFeatures::ShowOptFeat() {
    const bool wasLoading = loading_;
    loading_ = true;
    const FeatureBlock& f = p_.Image.Settings.Features;
    ChannelRecord& c = p_.Image.Settings.CommonChannel;
    for (int i = 0; i < kOptionListCount; ++i) {
        QComboBox* list = Combo1[static_cast<size_t>(i)];
        const int v = OptionValue(f, i);
        if (OptionShowsNumber(i))
            SelectListText(list, QString::number(v));
        else
            SelectListIndex(list, v);
    }
    if (isCB_) ShowCountry();
    for (int j : kIndexLists)
        SelectListIndex(Combo2[static_cast<size_t>(j)], *DefaultChannelField(c, j));
    // Power: the list follows the modulation, and AM allows no power above 1.
    FillPowerList();
    if (c.AM_FM == 1 && c.Tx_Power > 1) c.Tx_Power = 1;
    SelectListIndex(Combo2[kChPowerList], c.Tx_Power);
    ShowRBOpt();
    for (int j : kDtmfLists) {
        QComboBox* list = Combo2[static_cast<size_t>(j)];
        FillList(list, FillDtmfCodeList(p_));
        SelectListText(list, QString::number(*DefaultChannelField(c, j)));
    }
    Text2->setText(ToQ(SwrText(f.Options[kOptSwrLimit])));
    Text1->setText(QString::number(c.OffSetFre));
    SetOptionState(Check1, f.Options[kOptSwrInUse]);
    loading_ = wasLoading;
}

void FrmOptFeatures::ShowRBOpt() {
    QComboBox* list = Combo2[kChRogerBeepList];
    FillList(list, RogerBeepEntries(p_));
    SelectListText(list, ToQ(RogerBeepText(p_, p_.Image.Settings.CommonChannel.RBTone)));
}

void FrmOptFeatures::RefillDtmfLists() {
    const std::vector<std::string> entries = FillDtmfCodeList(p_);
    for (int j : kDtmfLists) {
        QComboBox* list = Combo2[static_cast<size_t>(j)];
        const QString shown = list->currentText();
        FillList(list, entries);
        SelectListText(list, shown);
    }
}

void FrmOptFeatures::ShowCountry() {
    const auto [first, second] = CountryTexts(p_.Image.Settings.Features.ActiveGroup);
    SelectListText(Combo3, ToQ(first));
    Combo4->setVisible(!second.empty());
    if (second.empty())
        Combo4->setCurrentIndex(-1);
    else
        SelectListText(Combo4, ToQ(second));
}

void FrmOptFeatures::CountryChosen(bool fromSubList) {
    if (!fromSubList) {
        const bool uk = Combo3->currentIndex() == kCountryWithSubList;
        Combo4->setVisible(uk);
        if (uk && Combo4->currentIndex() < 0) Combo4->setCurrentIndex(0);
    }
    if (loading_) return;
    const QComboBox* chosen = Combo4->isVisibleTo(this) ? Combo4 : Combo3;
    SelectListIndex(Combo1[kOptActiveGroupList], CountryChoiceToGroup(chosen->currentText().toStdString()));
    SaveOptFeat(kOptActiveGroupList);
}

void FrmOptFeatures::SaveOptFeat(int id) {
    if (loading_) return;
    FeatureBlock f = p_.Image.Settings.Features;
    ChannelRecord c = p_.Image.Settings.CommonChannel;
    bool amFmChanged = false;
    if (id >= 0 && id < kOptionListCount) {
        const QComboBox* list = Combo1[static_cast<size_t>(id)];
        if (OptionShowsNumber(id))
            SetOptionValue(f, id, ListNumberOr(list, 1));
        else if (list->currentIndex() >= 0)
            SetOptionValue(f, id, list->currentIndex());
    } else if (IsChannelList(id - kSaveChannelList)) {
        const int j = id - kSaveChannelList;
        const QComboBox* list = Combo2[static_cast<size_t>(j)];
        int16_t* field = DefaultChannelField(c, j);
        if (ChannelListShowsNumber(j))
            *field = static_cast<int16_t>(ListNumberOr(list, 0));
        else if (list->currentIndex() >= 0)
            *field = static_cast<int16_t>(list->currentIndex());
        if (j == kChAmFmList) {
            amFmChanged = true;
            if (c.AM_FM == 1 && c.Tx_Power > 1) c.Tx_Power = 1;
        }
    } else if (id == kSaveOffset) {
        c.OffSetFre = OffsetFromText(Text1->text().toStdString());
    } else if (id == kSaveSwrInUse) {
        f.Options[kOptSwrInUse] = Check1->isChecked() ? 1 : 0;
    }
    p_.Image.Settings.Features = f;
    p_.Image.Settings.CommonChannel = c;
    if (amFmChanged) {
        FillPowerList();
        SelectListIndex(Combo2[kChPowerList], c.Tx_Power);
    }
}

void FrmOptFeatures::SwrLeft() {
    const auto [shown, stored] = SwrFromText(Text2->text().toStdString());
    Text2->setText(ToQ(shown)); // also clears the modified flag
    if (!loading_) p_.Image.Settings.Features.Options[kOptSwrLimit] = stored;
}

void FrmOptFeatures::CommitEdit() {
    if (Text2->isModified()) SwrLeft();
}

bool FrmOptFeatures::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusOut) {
        if (watched == Text1) {
            // Leaving shows what was stored, so a cut-off or stepped value is seen.
            const bool wasLoading = loading_;
            loading_ = true;
            Text1->setText(QString::number(p_.Image.Settings.CommonChannel.OffSetFre));
            loading_ = wasLoading;
        } else if (watched == Text2) {
            SwrLeft();
        }
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace tarvane
