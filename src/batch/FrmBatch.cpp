#include "batch/FrmBatch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <filesystem>

#include "base/FixedText.h"
#include "base/SafeFile.h"
#include "batch/RadioBatch.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/ModelVersion.h"
#include "link/SerialPorts.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

enum Column {
    ColPort,
    ColModel,
    ColBand,
    ColFirmware,
    ColSerial,
    ColDealer,
    ColProgress,
    ColCheck,
    ColTime,
    ColState
};

QString StateText(Program& p, const RadioBatch& batch, int i) {
    const BatchRow& r = batch.row(i);
    switch (batch.stage(i)) {
    case BatchStage::Cloning:
        return ToQ(LangText(p, txt::kBatchCloning));
    case BatchStage::Info:
        return ToQ(LangText(p, txt::kBatchReadingInfo));
    case BatchStage::Write:
        return ToQ(LangText(p, txt::kBatchWriting));
    case BatchStage::Check:
        return ToQ(LangText(p, txt::kCheckingWhatWritten));
    case BatchStage::Rewrite:
        return ToQ(LangText(p, txt::kWritingDifferingBlocksAgain));
    case BatchStage::Idle:
        return {};
    case BatchStage::Waiting:
    case BatchStage::Done:
        break;
    }
    QString result;
    switch (r.result) {
    case BatchResult::Written:
        result = ToQ(LangText(p, txt::kBatchHolds));
        break;
    case BatchResult::Refused:
        result = ToQ(FillIn(LangText(p, txt::kBatchRefusedState), {r.reason}));
        break;
    case BatchResult::Failed:
        result = ToQ(FillIn(LangText(p, txt::kBatchFailedState), {r.reason}));
        break;
    case BatchResult::Interrupted:
        result = ToQ(FillIn(LangText(p, txt::kBatchInterrupted), {r.reason}));
        break;
    case BatchResult::Pending:
        break;
    }
    if (batch.stage(i) != BatchStage::Waiting) return result;
    const QString waiting = ToQ(LangText(p, txt::kBatchWaiting));
    return result.isEmpty() ? waiting : result + " — " + waiting;
}

} // namespace

FrmBatch::FrmBatch(Program& p, const std::string& folder, QWidget* parent)
    : QDialog(parent), p_(p), folder_(folder), batch_(std::make_unique<RadioBatch>(p)) {
    setWindowTitle(ToQ(LangText(p, txt::kProgramManyRadios)).remove('&').remove("..."));
    auto* grid = new QGridLayout(this);

    auto* fileBox = new QGroupBox(ToQ(LangText(p, txt::kBatchFileToWrite)), this);
    auto* fileLayout = new QGridLayout(fileBox);
    OptionDocument = new QRadioButton(fileBox);
    OptionFile = new QRadioButton(fileBox);
    CommandChooseFile = new QPushButton(ToQ(LangText(p, txt::kBatchChooseFile)), fileBox);
    CheckClone = new QCheckBox(ToQ(LangText(p, txt::kBatchCloneFrom)), fileBox);
    ComboCloneFrom = new QComboBox(fileBox);
    fileLayout->addWidget(OptionDocument, 0, 0, 1, 2);
    fileLayout->addWidget(OptionFile, 1, 0);
    fileLayout->addWidget(CommandChooseFile, 1, 1);
    fileLayout->addWidget(CheckClone, 2, 0, 1, 2);
    fileLayout->addWidget(ComboCloneFrom, 3, 0, 1, 2);
    fileLayout->setRowStretch(4, 1);
    OptionDocument->setText(ToQ(FillIn(LangText(p, txt::kBatchOpenDocument),
                                       {std::filesystem::path(p.Doc.Path).filename().string()})));
    OptionDocument->setChecked(true);
    SetFile({});

    auto* portBox = new QGroupBox(ToQ(LangText(p, txt::kBatchPorts)), this);
    auto* portLayout = new QGridLayout(portBox);
    ListPorts = new QListWidget(portBox);
    TextPath = new QLineEdit(portBox);
    CommandAddPath = new QPushButton(ToQ(LangText(p, txt::kBatchAddPath)), portBox);
    portLayout->addWidget(ListPorts, 0, 0, 1, 2);
    portLayout->addWidget(TextPath, 1, 0);
    portLayout->addWidget(CommandAddPath, 1, 1);
    for (const PortEntry& e : ListRadioPorts(p))
        if (e.present || !e.device.isEmpty()) AddPort(e.device);
    for (int i = 0; i < ListPorts->count(); ++i)
        ListPorts->item(i)->setCheckState(Qt::Unchecked);

    LabelRule =
        new QLabel(ToQ(LangText(p, txt::kBatchNextRule) + " " + LangText(p, txt::kBatchNextRule2)), this);
    LabelRule->setWordWrap(true);
    // A wrapped label in a grid gets one line's height unless it asks for more.
    LabelRule->setMinimumHeight(LabelRule->fontMetrics().lineSpacing() * 3 + 4);

    Grid = new QTableWidget(0, ColState + 1, this);
    Grid->setHorizontalHeaderLabels({ToQ(LangText(p, txt::kBatchPort)), ToQ(LangText(p, txt::kInfoModel)),
                                     ToQ(LangText(p, txt::kInfoBand)), ToQ(LangText(p, txt::kBatchFirmware)),
                                     ToQ(LangText(p, txt::kSerialNumber)), ToQ(LangText(p, txt::kDealer)),
                                     ToQ(LangText(p, txt::kBatchProgress)),
                                     ToQ(LangText(p, txt::kBatchCheck)), ToQ(LangText(p, txt::kBatchTime)),
                                     ToQ(LangText(p, txt::kBatchState))});
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Grid->horizontalHeader()->setSectionResizeMode(ColState, QHeaderView::Stretch);
    Grid->setWordWrap(false);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->verticalHeader()->hide();

    CommandStart = new QPushButton(ToQ(LangText(p, txt::kBatchStart)), this);
    CommandStop = new QPushButton(ToQ(LangText(p, txt::kBatchStop)), this);
    CommandClose = new QPushButton(ToQ(LangText(p, txt::kClose)), this);
    LabelClone = new QLabel(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LabelClone);
    buttons->addStretch();
    buttons->addWidget(CommandStart);
    buttons->addWidget(CommandStop);
    buttons->addWidget(CommandClose);

    grid->addWidget(fileBox, 0, 0);
    grid->addWidget(portBox, 0, 1);
    grid->addWidget(LabelRule, 1, 0, 1, 2);
    grid->addWidget(Grid, 2, 0, 1, 2);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setRowStretch(2, 1);
    resize(1040, 600);

    connect(CommandChooseFile, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QString(), QString(), ToQ(LangText(p_, txt::kCodeplugFiles)) + " (*.dat)");
        if (!path.isEmpty()) SetFile(path);
    });
    connect(OptionDocument, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SetFile({});
    });
    connect(CommandAddPath, &QPushButton::clicked, this, [this] {
        const QString path = TextPath->text().trimmed();
        if (path.isEmpty()) return;
        AddPort(path);
        TextPath->clear();
    });
    // Return in the path field adds the path; it never starts writing.
    for (QPushButton* b : {CommandChooseFile, CommandAddPath, CommandStart, CommandStop, CommandClose})
        b->setAutoDefault(false);
    connect(TextPath, &QLineEdit::returnPressed, CommandAddPath, &QPushButton::click);
    TextPath->setFocus();
    connect(CommandStart, &QPushButton::clicked, this, &FrmBatch::CommandStart_Click);
    connect(CommandStop, &QPushButton::clicked, this, [this] { batch_->stop(); });
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(batch_.get(), &RadioBatch::cloneProgress, this, [this](int percent) {
        LabelClone->setText(ToQ(FillIn(LangText(p_, txt::kBatchCloneReading),
                                       {cloneFrom_, std::to_string(percent)})));
    });
    connect(batch_.get(), &RadioBatch::rowChanged, this, &FrmBatch::ShowRow);
    connect(batch_.get(), &RadioBatch::rowDone, this, &FrmBatch::ShowRow);
    connect(batch_.get(), &RadioBatch::finished, this, [this] {
        LabelClone->clear();
        ShowRunning();
        if (!batch_->cloneFailure().empty())
            Tell(p_, FillIn(LangText(p_, txt::kCloneReadFailed), {batch_->cloneFailure()}),
                 MsgIcon::Critical);
        if (!batch_->logFailure().empty())
            Tell(p_, FillIn(LangText(p_, txt::kLogNotWritten), {batch_->logFailure()}), MsgIcon::Critical);
        if (closeWhenDone_) QDialog::done(QDialog::Rejected);
    });
    ShowRunning();
}

FrmBatch::~FrmBatch() = default;

void FrmBatch::SetFile(const QString& path) {
    file_ = path;
    OptionFile->setText(path.isEmpty() ? QString() : QFileInfo(path).fileName());
    OptionFile->setEnabled(!path.isEmpty());
    if (!path.isEmpty()) OptionFile->setChecked(true);
}

void FrmBatch::AddPort(const QString& device) {
    for (int i = 0; i < ListPorts->count(); ++i)
        if (ListPorts->item(i)->text() == device) {
            ListPorts->item(i)->setCheckState(Qt::Checked);
            return;
        }
    auto* item = new QListWidgetItem(device, ListPorts);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    ComboCloneFrom->addItem(device);
}

bool FrmBatch::SourceReady() {
    std::vector<uint8_t> bytes;
    if (OptionDocument->isChecked() || file_.isEmpty()) {
        RadioImage copy = p_.Image;
        StampVersion(p_, copy.Settings);
        bytes = EncodeCodeplug(copy);
        batch_->setSource(p_.Image, p_.Model, std::filesystem::path(p_.Doc.Path).filename().string(), bytes);
        return true;
    }
    RadioImage image;
    CurrentModel model;
    if (!ReadWholeFile(file_.toStdString(), bytes) || !DecodeCodeplug(bytes, image) ||
        BandTextForType(image.Settings.Version.ModelType).empty()) {
        Tell(p_, LangText(p_, txt::kFileCouldNotRead) + "\r\n" + file_.toStdString(), MsgIcon::Critical);
        return false;
    }
    model.ModelCode = image.Settings.Version.ModelCode.Trimmed();
    model.ModelType = image.Settings.Version.ModelType;
    model.BandText = BandTextForType(model.ModelType);
    batch_->setSource(image, model, QFileInfo(file_).fileName().toStdString(), bytes);
    return true;
}

void FrmBatch::CommandStart_Click() {
    std::vector<std::string> ports;
    const std::string from = ComboCloneFrom->currentText().toStdString();
    for (int i = 0; i < ListPorts->count(); ++i) {
        const std::string device = ListPorts->item(i)->text().toStdString();
        if (ListPorts->item(i)->checkState() != Qt::Checked) continue;
        if (CheckClone->isChecked() && device == from) continue;
        ports.push_back(device);
    }
    if (ports.empty() || (CheckClone->isChecked() && from.empty())) {
        Tell(p_, LangText(p_, txt::kBatchChoosePort), MsgIcon::Warning);
        return;
    }
    batch_->setRepeat(true);
    batch_->setBackupFolder(folder_);
    std::tm today{};
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &today);
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    batch_->setLogPath(folder_.empty() ? std::string() : folder_ + "/" + DailyLogName(today));
    Grid->setRowCount(0);
    if (CheckClone->isChecked()) {
        cloneFrom_ = from;
        batch_->startClone(from, ports);
    } else {
        if (!SourceReady()) return;
        batch_->start(ports);
    }
    ShowRunning();
}

void FrmBatch::ShowRow(int i) {
    if (i < 0) return;
    LabelClone->clear(); // the source is read: the writes have begun
    if (Grid->rowCount() <= i) Grid->setRowCount(i + 1);
    const BatchRow& r = batch_->row(i);
    auto set = [this, i](int column, const QString& text) {
        auto* item = Grid->item(i, column);
        if (!item) Grid->setItem(i, column, item = new QTableWidgetItem);
        item->setText(text);
        item->setToolTip(text); // a long reason is cut in the cell
    };
    set(ColPort, ToQ(r.port));
    set(ColModel, ToQ(r.model));
    set(ColBand, ToQ(r.band));
    set(ColFirmware, ToQ(r.firmware));
    set(ColSerial, ToQ(r.serial));
    set(ColDealer, ToQ(r.dealer));
    set(ColProgress, QString::number(batch_->progress(i)) + "%");
    QString check;
    if (r.result == BatchResult::Written)
        check = r.mended > 0 ? ToQ(FillIn(LangText(p_, txt::kBatchMended), {std::to_string(r.mended)}))
                             : ToQ(LangText(p_, txt::kBatchSame));
    set(ColCheck, check);
    set(ColTime, r.result == BatchResult::Pending ? QString() : QString::number(r.seconds, 'f', 1) + " s");
    set(ColState, StateText(p_, *batch_, i));
    ShowRunning();
}

void FrmBatch::ShowRunning() {
    const bool running = batch_->running();
    CommandStart->setEnabled(!running);
    CommandStop->setEnabled(running && !batch_->stopping());
    ListPorts->setEnabled(!running);
    CommandAddPath->setEnabled(!running);
    CheckClone->setEnabled(!running);
    ComboCloneFrom->setEnabled(!running);
}

void FrmBatch::done(int result) {
    // Closing ends every transfer first ("END" to each radio).
    if (batch_->running()) {
        closeWhenDone_ = true;
        batch_->stop();
        return;
    }
    QDialog::done(result);
}

} // namespace tarvane
