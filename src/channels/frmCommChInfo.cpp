#include "channels/frmCommChInfo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <exception>

#include "channels/CellEditor.h"
#include "channels/ChannelRules.h"
#include "channels/FrmCHInfoEdit.h"
#include "channels/GroupChoice.h"
#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/ImageOps.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/Contrast.h"
#include "ui/ToQ.h"
#include "ui/Twips.h"
#include <algorithm>

namespace tarvane {

namespace {

// Twips to pixels at the font, cut down to whole pixels as the table always was.
int TableTwips(int twips) {
    return static_cast<int>(twips * FontScale()) / kTwipsPerPixel;
}

constexpr int kColumns = 8;
constexpr int kColumnTwips[kColumns] = {740, 1800, 1100, 0, 0, 1200, 1100, 1400};
constexpr TextId kHeaderText[kColumns] = {txt::kNo,          txt::kFrequencyMHz,   txt::kTableCommonData,
                                          txt::kTableDuplex, txt::kTableOffsetKHz, txt::kTableToneSquelch,
                                          txt::kTableScan,   txt::kTableEdit};
constexpr int kHeaderTwips = 500;
constexpr int kGridTwips = 7680;
constexpr int kWindowWidthTwips = 8200, kWindowHeightTwips = 6900;
// Design pixels: row height, grid top and height, button row.
constexpr int kRowPx = 24, kGridTop = 116, kGridHeight = 296, kButtonH = 28;

QString ValueText(const QStringList& texts, int v) {
    return v >= 0 && v < texts.size() ? texts[v] : QString::number(v);
}

} // namespace

frmCommChInfo::frmCommChInfo(Program& p, QWidget* parent) : QWidget(parent), p_(p) {
    setObjectName("frmCommChInfo");
    // Texts of the list columns in value order: Public and TSQ, DUP, Scan.
    offOn_ = QStringList{ToQ(LangText(p_, txt::kOff)), ToQ(LangText(p_, txt::kOn))};
    dupTexts_ = QStringList{offOn_[0], "+", "-"};
    scanTexts_ = QStringList{ToQ(LangText(p_, txt::kDel)), ToQ(LangText(p_, txt::kAdd))};
    Guard("frmCommChInfo_Form_Load", [this] {
        band_ = p_.Model.ModelType;
        BuildPanel();
        BuildGrid();
        BuildButtons();
        LoadTexts(false);
        group_ = DisplayedGroup(p_);
        subscriptions_.push_back(
            p_.Notify.channelRowChanged.Subscribe([this](int slot) { reShowGrid(slot); }));
        subscriptions_.push_back(p_.Notify.groupPanelChanged.Subscribe([this] { ReshowByCh(); }));
        subscriptions_.push_back(p_.Notify.imageReplaced.Subscribe([this] { ShowReplacedImage(); }));
        InitShowGrid();
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget* from, QWidget* to) { FocusMoved(from, to); });
    });
}

frmCommChInfo::~frmCommChInfo() {
    // The children and the focus still signal while the base class takes them down.
    disconnect(qApp, nullptr, this, nullptr);
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    subscriptions_.clear();
}

void frmCommChInfo::closeEvent(QCloseEvent* event) {
    Guard("frmCommChInfo_Form_Unload", [this] { CommitEdit(); });
    QWidget::closeEvent(event);
}

void frmCommChInfo::BuildGrid() {
    grid_ = new QTableWidget(this);
    grid_->setObjectName("MSFlexGrid1");
    grid_->setColumnCount(kColumns);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(Px(kRowPx));
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    for (int c = 0; c < kColumns; ++c)
        grid_->setColumnHidden(c, kColumnTwips[c] == 0);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->installEventFilter(this);
    grid_->setTabKeyNavigation(false);

    editor_ = new CellEditor(grid_, {offOn_, dupTexts_, offOn_, scanTexts_}, this);
    editor_->Commit = [this] { CommitEdit(); };
    editor_->Failed = [this](const char* step) { Tell(p_, step); };

    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int col) {
        grid_->setCurrentCell(row, col);
        EnterGridEdit();
    });
    connect(grid_, &QTableWidget::currentCellChanged, this, [this] { CurrentCellMoved(); });
    for (QScrollBar* bar : {grid_->verticalScrollBar(), grid_->horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] { CommitEdit(); });
    connect(grid_, &QTableWidget::cellPressed, this, [this] { CommitEdit(); });
}

void frmCommChInfo::BuildButtons() {
    editButton_ = new QPushButton(this);
    editButton_->setObjectName("CommandCHInfoEdit");
    connect(editButton_, &QPushButton::clicked, this, [this] {
        Guard("frmCommChInfo_CommandCHInfoEdit_Click", [this] {
            CommitEdit();
            p_.ChannelTableChannel = static_cast<int16_t>(CurrentChannel());
            ShowEditDialogNow();
        });
    });
    closeButton_ = new QPushButton(this);
    closeButton_->setObjectName("CommandClose");
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        // Inside the frame the window is the child of its sub-window frame.
        if (parentWidget() && parentWidget()->inherits("QMdiSubWindow"))
            parentWidget()->close();
        else
            close();
    });
    helpButton_ = new QPushButton(this);
    helpButton_->setObjectName("CommandHelp");
    helpButton_->hide(); // no help file is shipped
}

void frmCommChInfo::LoadTexts(bool afterLanguageChange) {
    titleKeyText_ = ToQ(
        LangText(p_, afterLanguageChange ? txt::kTableChannelsGroup_14050 : txt::kTableChannelsGroup_14012));
    QStringList headers;
    for (TextId id : kHeaderText)
        headers << ToQ(LangText(p_, id));
    grid_->setHorizontalHeaderLabels(headers);
    groupLabel_->setText(ToQ(LangText(p_, groups_->IsCountry() ? txt::kTableCountryPlan : txt::kTableGroup)));
    const TextId panelText[4] = {txt::kWorkingChannel, txt::kEmergencyChannel1, txt::kEmergencyChannel2,
                                 txt::kGroupSwitched};
    for (int i = 0; i < 4; ++i)
        panelLabels_[i]->setText(ToQ(LangText(p_, panelText[i])));
    editButton_->setText(ToQ(LangText(p_, txt::kEditChannel_14016)));
    closeButton_->setText(ToQ(LangText(p_, txt::kClose)));
    helpButton_->setText(ToQ(LangText(p_, txt::kMsgHelp)));
    LayOut();
}

void frmCommChInfo::LayOut() {
    LayOutPanel();
    for (int c = 0; c < kColumns; ++c)
        grid_->setColumnWidth(c, TableTwips(kColumnTwips[c]));
    // The grid keeps its room beside the columns for the scroll bar.
    const int spare = TableTwips(kGridTwips) - TableTwips(740 + 1800 + 1100 + 1200 + 1100 + 1400);
    const int gridW =
        std::max(TableTwips(kGridTwips), FitHeaderToTexts(grid_, kHeaderTwips / kTwipsPerPixel) + spare);
    const int gridTop = std::max(Px(kGridTop), panelBottom_ + Px(8));
    grid_->setGeometry(Px(8), gridTop, gridW, Px(kGridHeight));
    const int width = std::max({TableTwips(kWindowWidthTwips), gridW + Px(16), panelRight_ + Px(8)});
    const int buttons = grid_->geometry().bottom() + Px(10);
    const int closeW = WidthForTexts(96, {closeButton_}), editW = WidthForTexts(130, {editButton_});
    closeButton_->setGeometry(width - Px(8) - closeW, buttons, closeW, Px(kButtonH));
    editButton_->setGeometry(closeButton_->x() - Px(8) - editW, buttons, editW, Px(kButtonH));
    helpButton_->setGeometry(Px(8), buttons, WidthForTexts(80, {helpButton_}), Px(kButtonH));
    setFixedSize(width, std::max(TableTwips(kWindowHeightTwips), buttons + Px(kButtonH) + Px(10)));
}

void frmCommChInfo::ReShowChInfoByLanguage() {
    Guard("frmCommChInfo_ChangShowByLanguage", [this] {
        LoadTexts(true);
        SetTitle();
    });
}

int frmCommChInfo::CurrentChannel() const {
    const int row = grid_->currentRow();
    return row >= 0 ? row + 1 : 1;
}

void frmCommChInfo::SetTitle() {
    setWindowTitle(titleKeyText_ + " " + ToQ(GroupName(group_, p_.Model.ModelType)) + " --- " + " " +
                   QString::number(CurrentChannel()) + "]");
}

// The grid for the displayed group: its rows, numbers, ">>" cells and content.
void frmCommChInfo::InitShowGrid() {
    Guard("frmCommChInfo_InitShowGridError", [this] {
        SetEditDisable();
        const int band = p_.Model.ModelType;
        const int size = GroupSize(group_, band);
        grid_->setUpdatesEnabled(false);
        const QSignalBlocker block(grid_);
        grid_->clearContents();
        grid_->setRowCount(size);
        // On a CB radio the frequency is typed only in the emergency group.
        const bool freqLocked = band == kBandCB && group_ != EmgGroup(band);
        const QColor freqBack =
            freqLocked ? palette().color(QPalette::Window) : palette().color(QPalette::Base);
        const QColor numberColour =
            Readable(palette().color(QPalette::Link), palette().color(QPalette::Base));
        const QColor editColour =
            Readable(palette().color(QPalette::Highlight), palette().color(QPalette::Button));
        for (int row = 0; row < size; ++row) {
            for (int col = 0; col < kColumns; ++col) {
                auto* item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
                item->setTextAlignment(col == 1 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
                grid_->setItem(row, col, item);
            }
            grid_->item(row, 0)->setText(QString::number(row + 1));
            // Colours from the palette, made readable on their ground in any theme.
            grid_->item(row, 0)->setForeground(numberColour);
            grid_->item(row, 1)->setBackground(freqBack);
            QTableWidgetItem* edit = grid_->item(row, 7);
            edit->setText(">>");
            edit->setForeground(editColour);
            edit->setBackground(palette().brush(QPalette::Button));
        }
        reShowAllGrid();
        if (size > 0) grid_->setCurrentCell(0, 1);
        grid_->setUpdatesEnabled(true);
        p_.ChannelTableChannel = 1;
        ChangeGroup();
        ReshowByCh();
        SetTitle();
    });
}

void frmCommChInfo::ShowReplacedImage() {
    // Another band needs other group lists: the frame opens a new table then.
    if (p_.Model.ModelType != band_) return;
    Guard("frmCommChInfo_InitShowGridError", [this] {
        // A cell edit in progress belonged to the image that is gone.
        SetEditDisable();
        const int row = grid_->currentRow(), col = grid_->currentColumn();
        group_ = DisplayedGroup(p_);
        InitShowGrid();
        if (row >= 0 && row < grid_->rowCount()) {
            const QSignalBlocker block(grid_);
            grid_->setCurrentCell(row, col > 0 ? col : 1);
            p_.ChannelTableChannel = static_cast<int16_t>(CurrentChannel());
            SetTitle();
        }
    });
}

void frmCommChInfo::reShowAllGrid() {
    Guard("frmCommChInfo_SetGridData", [this] {
        for (int row = 0; row < grid_->rowCount(); ++row)
            FillRow(row);
    });
}

void frmCommChInfo::reShowGrid(int slot) {
    Guard("frmCommChInfo_reShowGrid", [this, slot] {
        const int row = slot - GroupBase(group_, p_.Model.ModelType);
        if (row >= 1 && row <= grid_->rowCount()) FillRow(row - 1);
    });
}

void frmCommChInfo::ClearRow(int row) {
    for (int col = 1; col <= 6; ++col)
        if (QTableWidgetItem* item = grid_->item(row, col)) item->setText(QString());
}

const ChannelRecord* frmCommChInfo::RowRecord(int row) const {
    const int index = FindChannelSlot(p_.Image, GroupBase(group_, p_.Model.ModelType) + row + 1);
    return index < 0 ? nullptr : &p_.Image.Channels[static_cast<size_t>(index)];
}

void frmCommChInfo::FillRow(int row) {
    if (!grid_->item(row, 1)) return;
    const int band = p_.Model.ModelType;
    const ChannelRecord* record = RowRecord(row);
    if (!record) {
        ClearRow(row);
        return;
    }
    const ChannelRecord& r = *record;
    // A frequency text that is not a number (a damaged file) is shown as it is,
    // without a message for every row.
    const std::string raw = r.RxFreq.Trimmed();
    const bool readable = IsNoFreq(raw) || !FreqToDisplaySilent(raw).empty();
    grid_->item(row, 1)->setText(readable ? ToQ(FreqToGroupDisplay(p_, raw, group_, band)) : ToQ(raw));
    grid_->item(row, 2)->setText(ValueText(offOn_, r.Public));
    grid_->item(row, 3)->setText(ValueText(dupTexts_, r.DUP));
    grid_->item(row, 4)->setText(QString::number(r.OffSetFre));
    grid_->item(row, 5)->setText(ValueText(offOn_, r.TSQ));
    grid_->item(row, 6)->setText(ValueText(scanTexts_, r.Scan));
}

void frmCommChInfo::CurrentCellMoved() {
    if (grid_->currentRow() < 0) return;
    p_.ChannelTableChannel = static_cast<int16_t>(CurrentChannel());
    SetTitle();
    // The edit dialog follows the table.
    p_.Notify.channelEditReload();
}

void frmCommChInfo::SetEditDisable() {
    editor_->Close();
}

int frmCommChInfo::EditColumn() const {
    return editor_ ? editor_->Column() : 0;
}

void frmCommChInfo::EnterGridEdit() {
    Guard("frmCommChInfo_EnterGridEdit", [this] {
        const int row = grid_->currentRow(), col = grid_->currentColumn();
        if (row < 0) return;
        const CellEdit edit = ChannelCellEdit(group_, col, RowRecord(row), p_.Model.ModelType);
        if (edit == CellEdit::None) return;
        SetEditDisable();
        if (edit == CellEdit::Dialog) {
            p_.ChannelTableChannel = static_cast<int16_t>(row + 1);
            ShowEditDialogNow();
            return;
        }
        editor_->Open(row, col, grid_->item(row, col)->text());
    });
}

void frmCommChInfo::CommitEdit() {
    if (EditColumn() == 0 || committing_) return;
    committing_ = true;
    Guard("frmCommChInfo_EnterGridEdit", [this] {
        const int col = editor_->Column(), channel = editor_->Channel();
        const QString value = editor_->Value();
        const bool changed = editor_->Changed();
        SetEditDisable();
        if (changed) SetChannelField(p_, group_, channel, col, value.toStdString());
        grid_->setFocus(Qt::OtherFocusReason);
    });
    committing_ = false;
}

void frmCommChInfo::FocusMoved(QWidget* from, QWidget* to) {
    if (committing_ || !editor_->FocusLeft(from, to)) return;
    // Only a move inside this window commits; another window or a list's pop-up does not.
    if (isAncestorOf(to)) CommitEdit();
}

bool frmCommChInfo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        auto* e = static_cast<QKeyEvent*>(event);
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_F2) &&
            e->modifiers() == Qt::NoModifier) {
            EnterGridEdit();
            return true;
        }
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

void frmCommChInfo::ShowEditDialogNow() {
    if (ShowEditDialog) {
        ShowEditDialog();
        return;
    }
    p_.Notify.channelEditReload();
    if (!ownDialog_) {
        auto* dlg = new FrmCHInfoEdit(p_, this);
        dlg->setWindowFlag(Qt::Window);
        dlg->setAttribute(Qt::WA_DeleteOnClose);
        ownDialog_ = dlg;
    }
    ownDialog_->show();
    ownDialog_->raise();
    ownDialog_->activateWindow();
    ownDialog_->setFocus();
}

std::pair<int, int> frmCommChInfo::SelectedChannels() const {
    const auto ranges = grid_->selectedRanges();
    const int current = CurrentChannel();
    if (ranges.size() == 1 && ranges[0].rowCount() > 1 && current >= ranges[0].topRow() + 1 &&
        current <= ranges[0].bottomRow() + 1)
        return {ranges[0].topRow() + 1, ranges[0].rowCount()};
    return {current, 1};
}

void frmCommChInfo::SelectChannel(int channel) {
    const int col = grid_->currentColumn() > 0 ? grid_->currentColumn() : 1;
    if (channel >= 1 && channel <= grid_->rowCount()) grid_->setCurrentCell(channel - 1, col);
}

} // namespace tarvane
