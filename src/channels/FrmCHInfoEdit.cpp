#include "channels/FrmCHInfoEdit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

#include "base/NumberText.h"
#include "channels/ChannelRules.h"
#include "channels/GroupChoice.h"
#include "features/dtmf/DtmfReferences.h"
#include "features/memfreq/Frm_Mem_Freq.h"
#include "features/tonetips/ToneTipReferences.h"
#include "freq/Bands.h"
#include "freq/ChannelCodec.h"
#include "freq/ChannelEdit.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/ImageOps.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"
#include "ui/Twips.h"

namespace tarvane {

namespace {

// Column code of option list k.
constexpr int kColumnOf[FrmCHInfoEdit::kOptionLists] = {
    kColPublic, kColDup,     kColTsq,    kColScan,    kColHiCut,   kColBusy,     kColNb,   kColAddSub5K,
    kColAmFm,   kColTxPower, kColRbTone, kColDtmfBot, kColDtmfEot, kColDtmfCall, kColRdct, kColTdct};
constexpr int kDup = 1, kTsq = 2, kScan = 3, kAddSub5K = 7, kAmFm = 8, kTxPower = 9, kRbTone = 10,
              kDtmfBot = 11, kDtmfCall = 13, kRdct = 14, kTdct = 15;

// Geometry in pixels.
// Design pixels; the label columns widen for longer texts.
constexpr int kMargin = 8, kRow = 28, kListH = 22, kButtonH = 28;
constexpr int kLabelGapTwips = 100; // a label ends 100 twips left of its list
constexpr int kColA_LabelW = 164, kColA_ListW = 120, kColB_LabelW = 130, kColB_ListW = 140;
constexpr int kColumnGap = 13;
constexpr int kOptionsTop = 84;

int16_t FieldValue(const ChannelRecord& r, int k) {
    const int16_t values[FrmCHInfoEdit::kOptionLists] = {
        r.Public, r.DUP,      r.TSQ,    r.Scan,     r.HI_CUT,   r.BUSY,      r.NB,   r.Add_Sub_5K,
        r.AM_FM,  r.Tx_Power, r.RBTone, r.DTMF_BOT, r.DTMF_EOT, r.DTMF_Call, r.RDCT, r.TDCT};
    return values[k];
}

// Typing into the frequency box: digits and "."; into the offset box: digits.
bool RefusedKey(QKeyEvent* e, bool allowPoint) {
    if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Copy))
        return true;
    const QString text = e->text();
    if (text.isEmpty()) return false;
    const ushort ch = text.at(0).unicode();
    if (ch > 127 || ch == 3 || ch == 22 || ch == 24) return true;
    if (ch < 32 || ch == 127) return false;
    return !((ch >= '0' && ch <= '9') || (allowPoint && ch == '.'));
}

} // namespace

FrmCHInfoEdit::FrmCHInfoEdit(Program& p, QWidget* parent) : QWidget(parent), p_(p) {
    setObjectName("FrmCHInfoEdit");
    band_ = p_.Model.ModelType;
    Build();
    LoadTexts();
    LayOut();
    subscriptions_.push_back(p_.Notify.channelEditReload.Subscribe([this] { Reload(); }));
    subscriptions_.push_back(p_.Notify.toneTipsChanged.Subscribe([this] { ShowRB(); }));
    subscriptions_.push_back(p_.Notify.dtmfCodesChanged.Subscribe([this] {
        RefillDtmfLists();
        SetGridEditData(false);
    }));
    // A replaced image is shown on the dialog's own group and channel; another
    // band needs other lists, and the frame opens new windows then.
    subscriptions_.push_back(p_.Notify.imageReplaced.Subscribe([this] {
        if (p_.Model.ModelType != band_) return;
        RefillDtmfLists();
        SetGridEditData(false);
    }));
    SetGridEditData(true);
}

FrmCHInfoEdit::~FrmCHInfoEdit() {
    // The children still signal while the base class takes them down.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    loading_ = true; // and a focus loss then stores nothing
    subscriptions_.clear();
}

void FrmCHInfoEdit::closeEvent(QCloseEvent* event) {
    CommitEdit();
    QWidget::closeEvent(event);
}

void FrmCHInfoEdit::Build() {
    const int band = p_.Model.ModelType;
    groupLabel_ = new QLabel(this);
    groups_ = new GroupChoice(this, band);
    connect(groups_, &GroupChoice::GroupChosen, this, [this](int g) {
        if (loading_) return;
        CommitEdit();
        FillChannelChoice(g);
        SetGridEditData(false);
    });
    channelLabel_ = new QLabel(this);
    channel_ = new QComboBox(this);
    channel_->setObjectName("cboChannel");
    connect(channel_, &QComboBox::activated, this, [this] {
        if (loading_) return;
        CommitEdit();
        SetGridEditData(false);
    });
    freqLabel_ = new QLabel(this);
    freq_ = new QLineEdit(this);
    freq_->setObjectName("txtFreq");
    offsetLabel_ = new QLabel(this);
    offset_ = new QLineEdit(this);
    offset_->setObjectName("txtOffset");
    for (QLineEdit* box : {freq_, offset_}) {
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->setAcceptDrops(false);
        box->installEventFilter(this);
    }
    memButton_ = new QPushButton(">", this);
    memButton_->setObjectName("CommandMemFreq");
    connect(memButton_, &QPushButton::clicked, this, [this] { MemButtonClicked(); });

    for (int k = 0; k < kOptionLists; ++k) {
        labels_[k] = new QLabel(this);
        labels_[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lists_[k] = new QComboBox(this);
        lists_[k]->setObjectName(QString("cboOption%1").arg(k));
        connect(lists_[k], &QComboBox::activated, this, [this, k] { StoreOption(k); });
    }
    const QStringList offOn{ToQ(LangText(p_, txt::kOff)), ToQ(LangText(p_, txt::kOn))};
    lists_[0]->addItems(offOn);
    lists_[kDup]->addItems({offOn[0], "+", "-"});
    lists_[kTsq]->addItems(offOn);
    lists_[kScan]->addItems({ToQ(LangText(p_, txt::kDel)), ToQ(LangText(p_, txt::kAdd))});
    for (int k = 4; k <= kAddSub5K; ++k)
        lists_[k]->addItems(offOn);
    lists_[kAmFm]->addItems({"FM", "AM"});
    for (const std::string& name : ToneNames()) {
        lists_[kRdct]->addItem(ToQ(name));
        lists_[kTdct]->addItem(ToQ(name));
    }
    // Tone code 0 is no tone: a word of the chosen language, not a tone symbol.
    lists_[kRdct]->setItemText(0, offOn[0]);
    lists_[kTdct]->setItemText(0, offOn[0]);
    RefillDtmfLists();

    closeButton_ = new QPushButton(this);
    closeButton_->setObjectName("CommandClose");
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });
    helpButton_ = new QPushButton(this);
    helpButton_->setObjectName("CommandHelp");
    helpButton_->hide(); // no help file is shipped
}

void FrmCHInfoEdit::LoadTexts() {
    setWindowTitle(ToQ(LangText(p_, txt::kEditChannel_15000)));
    groupLabel_->setText(ToQ(LangText(p_, groups_->IsCountry() ? txt::kEditCountryPlan : txt::kEditGroup)));
    channelLabel_->setText(ToQ(LangText(p_, txt::kEditChannel_15001)));
    freqLabel_->setText(ToQ(LangText(p_, txt::kReceiveFrequencyMHz)));
    offsetLabel_->setText(ToQ(LangText(p_, txt::kEditOffsetKHz)));
    for (int k = 0; k < kOptionLists; ++k)
        labels_[k]->setText(ToQ(LangText(p_, TextId{static_cast<int32_t>(15005 + k)})));
    closeButton_->setText(ToQ(LangText(p_, txt::kClose)));
    helpButton_->setText(ToQ(LangText(p_, txt::kMsgHelp)));
}

// The places of the controls. A CB radio has no DUP, offset, Add_Sub_5K or power
// choice, so its dialog is shorter; HF and HAM radios have no Add_Sub_5K.
void FrmCHInfoEdit::LayOut() {
    const bool cb = p_.Model.ModelType == kBandCB;
    std::vector<int> shown;
    for (int k = 0; k < kOptionLists; ++k) {
        const bool hidden = k == kAddSub5K || (cb && (k == kTxPower || k == kDup));
        labels_[k]->setVisible(!hidden);
        lists_[k]->setVisible(!hidden);
        if (!hidden) shown.push_back(k);
    }
    offsetLabel_->setVisible(!cb);
    offset_->setVisible(!cb);
    const int perColumn = static_cast<int>(shown.size() + 1) / 2;

    // Each label column as wide as its longest label, each list column as its longest entry.
    const int margin = Px(kMargin), row = Px(kRow), listH = Px(kListH), gap = Twips(kLabelGapTwips);
    int labelA = WidthForTexts(kColA_LabelW, {groupLabel_, freqLabel_});
    int labelB = WidthForTexts(kColB_LabelW, {channelLabel_, offsetLabel_});
    int listA = Px(kColA_ListW), listB = Px(kColB_ListW);
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        const size_t k = static_cast<size_t>(shown[static_cast<size_t>(i)]);
        int& label = i >= perColumn ? labelB : labelA;
        int& list = i >= perColumn ? listB : listA;
        label = std::max(label, WidthForTexts(0, {labels_[k]}));
        list = std::max(list, WidthForItems(0, {lists_[k]}));
    }
    const int colA = margin + labelA + gap;
    const int colB = colA + listA + Px(kColumnGap) + labelB + gap;
    const int width = colB + listB + margin;
    auto label = [gap, listH](QLabel* l, int listX, int y, int w) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setGeometry(listX - gap - w, y, w, listH);
    };
    const int groupW = groups_->NeededWidth(90);
    label(groupLabel_, colA, margin, labelA);
    groups_->Place(colA, margin, groupW, row);
    if (groups_->IsCountry())
        groups_->CountryList2()->setGeometry(colA + groupW + Px(6), margin,
                                             WidthForItems(60, {groups_->CountryList2()}), listH);
    label(channelLabel_, colB, margin, labelB);
    channel_->setGeometry(colB, margin, WidthForItems(70, {channel_}), listH);
    const int second = margin + Px(38);
    label(freqLabel_, colA, second, labelA);
    freq_->setGeometry(colA, second, Px(90), listH);
    memButton_->setGeometry(colA + Px(94), second, Px(26), listH);
    label(offsetLabel_, colB, second, labelB);
    offset_->setGeometry(colB, second, Px(70), listH);

    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        const int k = shown[static_cast<size_t>(i)];
        const bool right = i >= perColumn;
        const int y = Px(kOptionsTop) + (right ? i - perColumn : i) * row;
        const int listX = right ? colB : colA;
        label(labels_[k], listX, y, right ? labelB : labelA);
        lists_[k]->setGeometry(listX, y, right ? listB : listA, listH);
    }
    const int bottom = Px(kOptionsTop) + perColumn * row + Px(10);
    const int buttonW = WidthForTexts(90, {closeButton_, helpButton_});
    closeButton_->setGeometry(width - margin - buttonW, bottom, buttonW, Px(kButtonH));
    helpButton_->setGeometry(closeButton_->x() - margin - buttonW, bottom, buttonW, Px(kButtonH));
    setFixedSize(width, bottom + Px(kButtonH) + margin);
}

int FrmCHInfoEdit::Group() const {
    return groups_->ChosenGroup();
}
int FrmCHInfoEdit::Channel() const {
    return std::max(0, channel_->currentIndex()) + 1;
}

void FrmCHInfoEdit::FillChannelChoice(int group) {
    const int keep = channel_->currentIndex();
    const int size = GroupSize(group, p_.Model.ModelType);
    channel_->clear();
    for (int n = 1; n <= size; ++n)
        channel_->addItem(QString::number(n));
    SelectListIndex(channel_, keep);
}

void FrmCHInfoEdit::FillPowerList(bool fm) {
    lists_[kTxPower]->clear();
    lists_[kTxPower]->addItem(ToQ(LangText(p_, txt::kLow)));
    lists_[kTxPower]->addItem(ToQ(LangText(p_, txt::kMedium)));
    if (fm) lists_[kTxPower]->addItem(ToQ(LangText(p_, txt::kHigh)));
}

void FrmCHInfoEdit::RefillDtmfLists() {
    const bool wasLoading = loading_;
    loading_ = true;
    const QStringList codes = ToQStringList(FillDtmfCodeList(p_));
    for (int k = kDtmfBot; k <= kDtmfCall; ++k) {
        lists_[k]->clear();
        lists_[k]->addItems(codes);
    }
    loading_ = wasLoading;
}

void FrmCHInfoEdit::SetGridEditData(bool followGrid) {
    if (loading_) return;
    loading_ = true;
    const int band = p_.Model.ModelType;
    if (followGrid) {
        const int group = DisplayedGroup(p_);
        groups_->ShowGroup(group);
        FillChannelChoice(group);
        SelectListIndex(channel_, DisplayedChannel(p_) - 1);
    }
    const int group = Group(), channel = Channel();
    const bool vfo = GroupName(group, band) == "VFO";
    labels_[kScan]->setVisible(!vfo);
    lists_[kScan]->setVisible(!vfo);
    const bool cb = band == kBandCB;
    SetReadOnlyLook(freq_, cb && group != EmgGroup(band));
    memButton_->setVisible(cb && group == MemGroup(band));

    const int index = FindChannelSlot(p_.Image, GroupBase(group, band) + channel);
    if (index < 0) {
        freq_->clear();
        offset_->clear();
        FillPowerList(true);
        for (QComboBox* l : lists_)
            SelectListIndex(l, 0);
        ShowRB();
        EnablePub(true);
    } else {
        if (IsFixFM(channel, group, band) && p_.Image.Channels[static_cast<size_t>(index)].AM_FM != 0)
            SetChannelField(p_, group, channel, kColAmFm, "0"); // stored at once, not only shown
        const ChannelRecord copy =
            p_.Image
                .Channels[static_cast<size_t>(FindChannelSlot(p_.Image, GroupBase(group, band) + channel))];
        const std::string raw = copy.RxFreq.Trimmed();
        const bool readable = IsNoFreq(raw) || !FreqToDisplaySilent(raw).empty();
        freq_->setText(readable ? ToQ(FreqToGroupDisplay(p_, raw, group, band)) : ToQ(raw));
        SelectListIndex(lists_[0], copy.Public);
        EnablePub(copy.Public == 0);
        for (int k = kDup; k <= kAddSub5K; ++k)
            SelectListIndex(lists_[k], FieldValue(copy, k));
        if (IsFixFM(channel, group, band)) lists_[kAmFm]->setEnabled(false);
        SelectListIndex(lists_[kAmFm], copy.AM_FM);
        FillPowerList(copy.AM_FM != 1);
        SelectListIndex(lists_[kTxPower], copy.AM_FM == 1 && copy.Tx_Power > 1 ? 1 : copy.Tx_Power);
        ShowRB();
        for (int k = kDtmfBot; k <= kDtmfCall; ++k) {
            const int code = FieldValue(copy, k);
            SelectListText(lists_[k], code == 0 ? ToQ(LangText(p_, txt::kTableNone)) : QString::number(code));
        }
        SelectListIndex(lists_[kRdct], copy.RDCT);
        SelectListIndex(lists_[kTdct], copy.TDCT);
        offset_->setText(QString::number(copy.OffSetFre));
    }
    loadedFreq_ = freq_->text();
    loadedOffset_ = offset_->text();
    loading_ = false;
}

void FrmCHInfoEdit::ShowRB() {
    const bool wasLoading = loading_;
    loading_ = true;
    QComboBox* list = lists_[kRbTone];
    list->clear();
    list->addItem(ToQ(LangText(p_, txt::kEditNone)));
    for (int n = 1; n <= 8; ++n)
        if (CheckToneTipReference(p_.Image, n) == n) list->addItem(QString::number(n));
    const int band = p_.Model.ModelType;
    const int index = FindChannelSlot(p_.Image, GroupBase(Group(), band) + Channel());
    const int value = index < 0 ? 0 : p_.Image.Channels[static_cast<size_t>(index)].RBTone;
    SelectListText(list, value == 0 ? list->itemText(0) : QString::number(value));
    loading_ = wasLoading;
}

void FrmCHInfoEdit::EnablePub(bool on) {
    for (int k = 1; k <= kDtmfCall; ++k) {
        if (k == kTsq || k == kScan) continue;
        lists_[k]->setEnabled(on);
    }
    offset_->setEnabled(on);
    QPalette pal = offset_->palette();
    pal.setColor(QPalette::Base, on ? palette().color(QPalette::Base) : palette().color(QPalette::Window));
    offset_->setPalette(pal);
}

void FrmCHInfoEdit::Reload() {
    if (loading_) return;
    SetGridEditData(!storing_);
}

void FrmCHInfoEdit::Store(int column, const QString& value) {
    storing_ = true;
    SetChannelField(p_, Group(), Channel(), column, value.toStdString());
    storing_ = false;
    // A change of the own channel of another group than the table's reloads it here.
    SetGridEditData(false);
}

void FrmCHInfoEdit::StoreOption(int k) {
    if (loading_) return;
    CommitEdit();
    QComboBox* list = lists_[k];
    if (list->currentIndex() < 0) return;
    const bool byText = k >= kRbTone && k <= kDtmfCall;
    Store(kColumnOf[k], byText ? list->currentText() : QString::number(list->currentIndex()));
}

void FrmCHInfoEdit::StoreFreq() {
    if (loading_ || freq_->isReadOnly() || freq_->text() == loadedFreq_) return;
    QString value = freq_->text().trimmed();
    if (auto v = ParseDouble(value.toStdString())) value = ToQ(FormatFixed(*v, 5));
    loadedFreq_ = freq_->text(); // stored once, even when a message takes the focus
    Store(kColRxFreq, value);
}

void FrmCHInfoEdit::StoreOffset() {
    if (loading_ || !offset_->isVisible() || offset_->text() == loadedOffset_) return;
    loadedOffset_ = offset_->text();
    Store(kColOffSetFre, offset_->text());
}

void FrmCHInfoEdit::CommitEdit() {
    StoreFreq();
    StoreOffset();
}

void FrmCHInfoEdit::MemButtonClicked() {
    const QString current = freq_->text();
    QString chosen = current;
    if (PickMemFreq) {
        chosen = PickMemFreq(current);
    } else {
        Frm_Mem_Freq picker(p_, current, this);
        if (picker.exec() == QDialog::Accepted) chosen = picker.FreqText();
    }
    freq_->setText(chosen);
    // The box is validated as if it had lost the focus; the picker's "125" ending
    // is display only and changes nothing when the frequency stays.
    const bool wasReadOnly = freq_->isReadOnly();
    freq_->setReadOnly(false);
    StoreFreq();
    freq_->setReadOnly(wasReadOnly); // the look stays: only the store needed it
}

void FrmCHInfoEdit::keyPressEvent(QKeyEvent* e) {
    // Escape closes the window as its close button does.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        closeButton_->click();
        return;
    }
    QWidget::keyPressEvent(e);
}

bool FrmCHInfoEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != freq_ && watched != offset_) return QWidget::eventFilter(watched, event);
    auto* box = static_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::KeyPress) {
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            box == freq_ ? StoreFreq() : StoreOffset();
            return true;
        }
        // Escape first takes back what was typed; in an untouched box it closes the window.
        const QString& loaded = box == freq_ ? loadedFreq_ : loadedOffset_;
        if (e->key() == Qt::Key_Escape && box->text() != loaded) {
            box->setText(loaded);
            return true;
        }
        if (e->key() == Qt::Key_Escape) return false;
        return RefusedKey(e, box == freq_);
    }
    if (event->type() == QEvent::FocusOut) {
        auto* f = static_cast<QFocusEvent*>(event);
        if (f->reason() != Qt::PopupFocusReason) box == freq_ ? StoreFreq() : StoreOffset();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tarvane
