#include "features/emergency/Frm_EMG.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "base/FieldHelpers.h"
#include "features/dtmf/DtmfReferences.h"
#include "features/emergency/EmergencyChannel.h"
#include "features/options/OptionFields.h"
#include "freq/Bands.h"
#include "freq/ChannelCodec.h"
#include "freq/ChannelEdit.h"
#include "freq/FreqCodec.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/FeatureWidgets.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

constexpr TextId kCaptionKeys[Frm_EMG::kRowCount + 1] = {TextId{0},
                                                         txt::kEditGroup,
                                                         txt::kEditChannel_15001,
                                                         txt::kReceiveFrequencyMHz,
                                                         txt::kEditDuplex,
                                                         txt::kEditOffsetKHz,
                                                         txt::kEditScan,
                                                         txt::kEditToneSquelch,
                                                         txt::kEditReceiveCTCSSDCS,
                                                         txt::kEditTransmitCTCSSDCS,
                                                         txt::kEditHighCut,
                                                         txt::kEditBusyLockOut,
                                                         txt::kEditNoiseBlanker,
                                                         txt::kEditModulation,
                                                         txt::kEditRogerBeep,
                                                         txt::kEditDTMFStart,
                                                         txt::kEditDTMFEnd,
                                                         txt::kEditDTMFCall,
                                                         txt::kEditTransmitPower,
                                                         txt::kEditN5KHz};
constexpr int kRowHeight = 18; // design pixels; the CB grid is 4135 twips for 15 lines
// The OK and Cancel buttons stand 425 twips below the grid; the window is 5625
// twips high with its title bar and borders (about 495 twips).
constexpr int kButtonsGapTwips = 4560 - 4135 - 120, kButtonsBottomTwips = 5625 - 495 - 4560;

// The index of a grid column's emergency channel into the records and editors.
size_t EmgIndex(int column) {
    return static_cast<size_t>(column - Frm_EMG::kColumnEmg1);
}

// Enter in the offset editor commits, like a grid click.
class EnterCommits : public QObject {
  public:
    EnterCommits(QObject* parent, std::function<void()> commit)
        : QObject(parent), commit_(std::move(commit)) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        commit_();
        return true;
    }

  private:
    std::function<void()> commit_;
};

} // namespace

Frm_EMG::Frm_EMG(Program& p, QWidget* parent) : QDialog(parent), p_(p) {
    setObjectName("Frm_EMG");
    band_ = p_.Model.ModelType;
    emg_ = p_.Image.Settings.Emergency;
    setWindowTitle(ToQ(LangText(p_, txt::kEmergencyChannels)));
    BuildGrid();
    BuildEditors();
    ShowRB();
    ShowColumn(kColumnEmg1);
    ShowColumn(kColumnEmg2);
    subscriptions_.push_back(p_.Notify.imageReplaced.Subscribe([this] { ShowReplacedImage(); }));
}

void Frm_EMG::ShowReplacedImage() {
    // Another band has other groups: the copy could not be stored there.
    if (p_.Model.ModelType != band_) {
        reject();
        return;
    }
    if (editor_) editor_->hide();
    editor_ = nullptr;
    emg_ = p_.Image.Settings.Emergency;
    ShowRB();
    const auto dtmf = FillDtmfCodeList(p_);
    for (int r : {kRowDtmfBot, kRowDtmfEot, kRowDtmfCall})
        FillList(rowEditor_[static_cast<size_t>(r)], dtmf);
    ShowColumn(kColumnEmg1);
    ShowColumn(kColumnEmg2);
}

void Frm_EMG::BuildGrid() {
    MSFlexGrid1 = new QTableWidget(kRowCount, kColumnCount, this);
    MSFlexGrid1->setObjectName("MSFlexGrid1");
    MSFlexGrid1->setHorizontalHeaderLabels({"", "EMG 1", "EMG 2"});
    MSFlexGrid1->verticalHeader()->hide();
    // Rows as high as the font needs, at least the design height.
    const int rowH = std::max(Px(kRowHeight), fontMetrics().height() + 4);
    MSFlexGrid1->verticalHeader()->setMinimumSectionSize(rowH);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(rowH);
    MSFlexGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1->horizontalHeader()->setSectionsClickable(false);
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    MSFlexGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFlexGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 1; r <= kRowCount; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            MSFlexGrid1->setItem(r - 1, c, item);
        }
        MSFlexGrid1->item(r - 1, kColumnCaption)->setText(ToQ(LangText(p_, kCaptionKeys[r])));
    }
    const bool cb = band_ == kBandCB;
    MSFlexGrid1->setRowHidden(kRowScan - 1, true);
    for (int r : {kRowDup, kRowOffset, kRowPower, kRowAddSub5K})
        MSFlexGrid1->setRowHidden(r - 1, cb);
    // The caption column as wide as its longest caption, the value columns as their design.
    int captionW = Twips(3000);
    for (int r = 0; r < kRowCount; ++r)
        captionW =
            std::max(captionW, TextWidth(MSFlexGrid1, MSFlexGrid1->item(r, kColumnCaption)->text()) + Px(12));
    MSFlexGrid1->setColumnWidth(kColumnCaption, captionW);
    MSFlexGrid1->setColumnWidth(kColumnEmg1, Twips(1500));
    MSFlexGrid1->setColumnWidth(kColumnEmg2, Twips(1500));
    const int width = FitHeaderToTexts(MSFlexGrid1, kRowHeight) + 2 * MSFlexGrid1->frameWidth();
    int rows = 0;
    for (int r = 0; r < kRowCount; ++r)
        rows += MSFlexGrid1->isRowHidden(r) ? 0 : 1;
    // 4135 twips hold the 14 rows a CB radio shows; taller rows and more of them add their height.
    const int gridH = Twips(4135) * rowH / Px(kRowHeight) + (rows - 14) * rowH;
    MSFlexGrid1->setGeometry(Px(8), Px(8), width, gridH);
    connect(MSFlexGrid1, &QTableWidget::cellClicked, this, [this] { CommitEdit(); });
    connect(MSFlexGrid1, &QTableWidget::cellDoubleClicked, this,
            [this](int r, int c) { StartEdit(r + 1, c); });

    CommandOK = new QPushButton(this);
    CommandOK->setObjectName("CommandOK");
    CommandOK->setDefault(true); // Return in an editor commits it; elsewhere it presses OK
    CommandCancel = new QPushButton(this);
    CommandCancel->setObjectName("CommandCancel");
    SetOkCancelCaptions(this, p_);
    const int top = MSFlexGrid1->y() + MSFlexGrid1->height() + Twips(kButtonsGapTwips);
    const int buttonW = WidthForTexts(96, {CommandOK, CommandCancel});
    CommandCancel->setGeometry(Px(8) + width - buttonW, top, buttonW, Px(26));
    CommandOK->setGeometry(CommandCancel->x() - buttonW - Px(8), top, buttonW, Px(26));
    connect(CommandOK, &QPushButton::clicked, this, [this] { CommandOK_Click(); });
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(width + Px(16), top + std::max(Px(26) + Px(8), Twips(kButtonsBottomTwips)));
}

void Frm_EMG::BuildEditors() {
    QWidget* port = MSFlexGrid1->viewport();
    auto list = [port](const std::vector<std::string>& entries) {
        auto* c = new QComboBox(port);
        c->setMaxVisibleItems(16);
        FillList(c, entries);
        c->hide();
        return c;
    };
    const std::vector<std::string> offOn{LangText(p_, txt::kOff), LangText(p_, txt::kOn)};
    std::vector<std::string> tones = ToneNames();
    tones[0] = offOn[0]; // no tone: a word, not a symbol
    std::vector<std::string> groups;
    const int groupCount = band_ == kBandCB ? 1 : 10;
    for (int g = 0; g < groupCount; ++g)
        groups.push_back(GroupName(g, band_));
    rowEditor_[kRowGroup] = list(groups);
    rowEditor_[kRowDup] = list({offOn[0], "+", "-"});
    rowEditor_[kRowScan] = list({LangText(p_, txt::kDel), LangText(p_, txt::kAdd)});
    rowEditor_[kRowTsq] = list(offOn);
    rowEditor_[kRowRdct] = list(tones);
    rowEditor_[kRowTdct] = list(tones);
    for (int r : {kRowHiCut, kRowBusy, kRowNb, kRowAddSub5K})
        rowEditor_[static_cast<size_t>(r)] = list(offOn);
    rowEditor_[kRowAmFm] = list({"FM", "AM"});
    rowEditor_[kRowRbTone] = list({});
    const auto dtmf = FillDtmfCodeList(p_);
    for (int r : {kRowDtmfBot, kRowDtmfEot, kRowDtmfCall})
        rowEditor_[static_cast<size_t>(r)] = list(dtmf);
    for (size_t c = 0; c < channelEditor_.size(); ++c) {
        channelEditor_[c] = list({});
        powerEditor_[c] = list({});
    }
    offsetEditor_ = new QLineEdit(port);
    offsetEditor_->setAlignment(Qt::AlignCenter);
    FilterKeys(offsetEditor_, "0123456789");
    offsetEditor_->installEventFilter(new EnterCommits(offsetEditor_, [this] { CommitEdit(); }));
    offsetEditor_->hide();
}

void Frm_EMG::ShowRB() {
    FillList(rowEditor_[kRowRbTone], RogerBeepEntries(p_));
}

QString Frm_EMG::CellText(int row, int column) const {
    const QTableWidgetItem* item = MSFlexGrid1->item(row - 1, column);
    return item ? item->text() : QString();
}

void Frm_EMG::SetCell(int row, int column, const QString& text) {
    if (QTableWidgetItem* item = MSFlexGrid1->item(row - 1, column)) item->setText(text);
}

QComboBox* Frm_EMG::ListEditor(int row, int column) const {
    if (row == kRowChannel) return channelEditor_[EmgIndex(column)];
    if (row == kRowPower) return powerEditor_[EmgIndex(column)];
    return row >= 1 && row <= kRowCount ? rowEditor_[static_cast<size_t>(row)] : nullptr;
}

int16_t* Frm_EMG::IndexField(ChannelRecord& r, int row) const {
    switch (row) {
    case kRowDup:
        return &r.DUP;
    case kRowScan:
        return &r.Scan;
    case kRowTsq:
        return &r.TSQ;
    case kRowRdct:
        return &r.RDCT;
    case kRowTdct:
        return &r.TDCT;
    case kRowHiCut:
        return &r.HI_CUT;
    case kRowBusy:
        return &r.BUSY;
    case kRowNb:
        return &r.NB;
    case kRowAmFm:
        return &r.AM_FM;
    case kRowPower:
        return &r.Tx_Power;
    case kRowAddSub5K:
        return &r.Add_Sub_5K;
    default:
        return nullptr;
    }
}

int16_t* Frm_EMG::NumberField(ChannelRecord& r, int row) const {
    switch (row) {
    case kRowRbTone:
        return &r.RBTone;
    case kRowDtmfBot:
        return &r.DTMF_BOT;
    case kRowDtmfEot:
        return &r.DTMF_EOT;
    case kRowDtmfCall:
        return &r.DTMF_Call;
    default:
        return nullptr;
    }
}

void Frm_EMG::RebuildChannelList(int column) {
    const EmergencyRecord& e = emg_[EmgIndex(column)];
    QComboBox* list = channelEditor_[EmgIndex(column)];
    // A stored group outside the group list names no channel.
    const bool known = e.EmgGroup >= 0 && e.EmgGroup < rowEditor_[kRowGroup]->count();
    FillList(list, known ? ChannelListEntries(p_, e.EmgGroup, band_, true)
                         : std::vector<std::string>{LangText(p_, txt::kTableNone)});
}

void Frm_EMG::RebuildPowerList(int column) {
    ChannelRecord& r = emg_[EmgIndex(column)].Channel;
    FillList(powerEditor_[EmgIndex(column)], PowerEntries(p_, r.AM_FM));
    if (r.AM_FM == 1 && r.Tx_Power > 1) r.Tx_Power = 1;
}

void Frm_EMG::ShowColumn(int column) {
    EmergencyRecord& e = emg_[EmgIndex(column)];
    SetCell(kRowGroup, column, ListTextAt(rowEditor_[kRowGroup], e.EmgGroup));
    RebuildChannelList(column);
    // Only a channel that is in the list may be shown (the none entry is no channel).
    const QComboBox* channels = channelEditor_[EmgIndex(column)];
    QString shown = e.EmgChannel >= 1 ? FindListText(channels, QString::number(e.EmgChannel), -1) : QString();
    SetCell(kRowChannel, column, shown);
    if (shown.isEmpty()) {
        e.EmgChannel = 0;
        ClearRows(column);
        return;
    }
    const int slot = 40 * e.EmgGroup + e.EmgChannel;
    for (int i = 0; i < p_.Image.UsedCount(); ++i)
        if (p_.Image.Channels[static_cast<size_t>(i)].SlotNumber == slot) {
            e.Channel.RxFreq = p_.Image.Channels[static_cast<size_t>(i)].RxFreq;
            break;
        }
    FillRows(column);
}

void Frm_EMG::FillRows(int column) {
    ChannelRecord& r = emg_[EmgIndex(column)].Channel;
    SetCell(kRowFreq, column, ToQ(FreqToDisplay(p_, r.RxFreq.Raw())));
    SetCell(kRowOffset, column, QString::number(r.OffSetFre));
    RebuildPowerList(column);
    for (int row = kRowDup; row <= kRowCount; ++row) {
        if (int16_t* f = IndexField(r, row))
            SetCell(row, column, ListTextAt(ListEditor(row, column), *f));
        else if (int16_t* n = NumberField(r, row))
            SetCell(row, column, FindListText(ListEditor(row, column), QString::number(*n), 0));
    }
}

void Frm_EMG::ClearRows(int column) {
    for (int row = kRowFreq; row <= kRowCount; ++row)
        SetCell(row, column, QString());
}

void Frm_EMG::LoadChannel(int column) {
    LoadEmergencyChannel(p_.Image, emg_[EmgIndex(column)]);
}

QWidget* Frm_EMG::StartEdit(int row, int column) {
    if (column < kColumnEmg1 || column > kColumnEmg2 || row < 1 || row > kRowCount || row == kRowFreq)
        return nullptr;
    if (MSFlexGrid1->isRowHidden(row - 1)) return nullptr;
    if (row >= kRowFreq && CellText(row, column).isEmpty()) return nullptr; // no channel chosen
    CommitEdit();
    QWidget* w = nullptr;
    if (row == kRowOffset) {
        offsetEditor_->setText(CellText(row, column));
        w = offsetEditor_;
    } else if (QComboBox* list = ListEditor(row, column)) {
        SelectListText(list, CellText(row, column));
        w = list;
    }
    if (!w) return nullptr;
    w->setGeometry(MSFlexGrid1->visualItemRect(MSFlexGrid1->item(row - 1, column)));
    w->show();
    w->raise();
    w->setFocus();
    editor_ = w;
    editRow_ = row;
    editColumn_ = column;
    return w;
}

void Frm_EMG::ChannelChanged(int column, int16_t channel) {
    emg_[EmgIndex(column)].EmgChannel = channel;
    if (channel == 0) {
        ClearRows(column);
        return;
    }
    LoadChannel(column);
    ShowColumn(column);
}

void Frm_EMG::CommitEdit() {
    if (!editor_ || editor_->isHidden()) return;
    QWidget* w = editor_;
    editor_ = nullptr;
    w->hide();
    const int row = editRow_, column = editColumn_;
    EmergencyRecord& e = emg_[EmgIndex(column)];
    ChannelRecord& r = e.Channel;
    auto* list = qobject_cast<QComboBox*>(w);
    const int index = list ? list->currentIndex() : -1;
    if (row == kRowGroup) {
        if (index < 0 || index == e.EmgGroup) return;
        e.EmgGroup = static_cast<int16_t>(index);
        SetCell(row, column, list->currentText());
        RebuildChannelList(column);
        const QString kept =
            FindListText(channelEditor_[EmgIndex(column)], CellText(kRowChannel, column), -1);
        SetCell(kRowChannel, column, kept);
        const int16_t channel = ClampNumberText(kept.toStdString(), 1, 40, 1, 0);
        ChannelChanged(column, channel);
    } else if (row == kRowChannel) {
        const int16_t channel = ClampNumberText(list->currentText().toStdString(), 1, 40, 1, 0);
        if (channel == e.EmgChannel) return;
        SetCell(row, column, channel == 0 ? QString() : list->currentText());
        ChannelChanged(column, channel);
    } else if (row == kRowOffset) {
        r.OffSetFre = OffsetFromText(offsetEditor_->text().toStdString());
        SetCell(row, column, QString::number(r.OffSetFre));
    } else if (int16_t* n = NumberField(r, row)) {
        *n = static_cast<int16_t>(ListNumberOr(list, 0));
        SetCell(row, column, list->currentText());
    } else if (int16_t* f = IndexField(r, row)) {
        if (index < 0) return;
        *f = static_cast<int16_t>(index);
        SetCell(row, column, list->currentText());
        if (row == kRowAmFm) {
            RebuildPowerList(column);
            SetCell(kRowPower, column, ListTextAt(powerEditor_[EmgIndex(column)], r.Tx_Power));
        }
    }
}

void Frm_EMG::CommandOK_Click() {
    CommitEdit();
    p_.Image.Settings.Emergency = emg_;
    accept();
}

} // namespace tarvane
