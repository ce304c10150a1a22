#include "link/FrmSetComm.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

#include "app/DialogCaptions.h"
#include "app/ListHelpers.h"
#include "app/Program.h"
#include "app/Startup.h"
#include "app/lang/LangText.h"

namespace tarvane {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
} // namespace

std::vector<PresentPort> DiscoverSerialPorts() {
    // A cable keeps its by-id name whichever ttyUSB number it gets today.
    QMap<QString, QString> byId;
    const QDir dir("/dev/serial/by-id");
    for (const QFileInfo& link : dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        byId[link.canonicalFilePath()] = link.absoluteFilePath();
    std::vector<PresentPort> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString real = QFileInfo(info.systemLocation()).canonicalFilePath();
        QString device = byId.value(real, info.systemLocation());
        QString description = info.description();
        if (!info.manufacturer().isEmpty() && !description.contains(info.manufacturer()))
            description = info.manufacturer() + " " + description;
        out.push_back({device.toStdString(), description.trimmed().toStdString()});
    }
    return out;
}

FrmSetComm::FrmSetComm(Program& p, QWidget* parent) : QDialog(parent), p_(p) {
    setObjectName("FrmSetComm");
    auto text = [this](TextId id) { return Q(LangText(p_, id)); };
    setWindowTitle(text(22000_txt));
    auto* frame = new QGroupBox(text(22001_txt), this);
    frame->setObjectName("Frame1");
    group_ = new QButtonGroup(this);
    auto* grid = new QGridLayout(frame);
    auto* deviceHead = new QLabel(text(22003_txt), frame);
    auto* descHead = new QLabel(text(22004_txt), frame);
    grid->addWidget(deviceHead, 0, 1);
    grid->addWidget(descHead, 0, 2);
    for (int i = 0; i < kPortCount; ++i) {
        Option1[i] = new QRadioButton(text(22002_txt) + QString::number(i + 1), frame);
        Option1[i]->setObjectName(QString("Option1_%1").arg(i));
        group_->addButton(Option1[i], i + 1);
        Device[i] = new QLineEdit(frame);
        Device[i]->setObjectName(QString("Device_%1").arg(i));
        Device[i]->setMinimumWidth(300);
        Description[i] = new QLabel(frame);
        Description[i]->setObjectName(QString("Description_%1").arg(i));
        Description[i]->setMinimumWidth(200);
        grid->addWidget(Option1[i], i + 1, 0);
        grid->addWidget(Device[i], i + 1, 1);
        grid->addWidget(Description[i], i + 1, 2);
        connect(Device[i], &QLineEdit::editingFinished, this, [this, i] {
            map_[static_cast<size_t>(i)] = Device[i]->text().trimmed().toStdString();
            Refresh();
        });
    }
    grid->setColumnStretch(1, 1);

    CommandOK = new QPushButton(this);
    CommandOK->setObjectName("CommandOK");
    CommandOK->setAutoDefault(false);
    CommandCancel = new QPushButton(this);
    CommandCancel->setObjectName("CommandCancel");
    CommandCancel->setAutoDefault(false);
    SetOkCancelCaptions(this, p_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandOK);
    buttons->addWidget(CommandCancel);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(frame);
    lay->addLayout(buttons);

    connect(CommandOK, &QPushButton::clicked, this, [this] { CommandOK_Click(); });
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);

    map_ = original_ = LoadPortMap(p_);
    Refresh();
    const int n = std::clamp<int>(p_.Link.SerialPortNumber, 1, kPortCount);
    SetOptionState(Option1[n - 1], 1);

    ReCommTimer.setInterval(1000);
    connect(&ReCommTimer, &QTimer::timeout, this, [this] { ReCommTimer_Timer(); });
}

void FrmSetComm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Discovery may have been replaced after construction: look again now.
    Refresh();
    ReCommTimer.start();
}

void FrmSetComm::done(int result) {
    ReCommTimer.stop();
    QDialog::done(result);
}

int FrmSetComm::SelectedNumber() const {
    const int id = group_->checkedId();
    return id >= 1 ? id : p_.Link.SerialPortNumber;
}

void FrmSetComm::Refresh() {
    const std::vector<PresentPort> present = Discover ? Discover() : std::vector<PresentPort>{};
    std::vector<std::string> devices;
    for (const PresentPort& port : present) devices.push_back(port.Device);
    // A device plugged in gets the lowest free number; OK keeps it.
    MapNewDevices(map_, devices);
    for (int i = 0; i < kPortCount; ++i) {
        const std::string& mapped = map_[static_cast<size_t>(i)];
        const std::string device = mapped.empty() ? "/dev/ttyS" + std::to_string(i) : mapped;
        const PresentPort* found = nullptr;
        for (const PresentPort& port : present)
            if (port.Device == device) found = &port;
        // A typed path (a pseudo-terminal, a link) is not listed by the system: it counts when it exists.
        const bool usable = found || (!mapped.empty() && QFileInfo::exists(Q(mapped)));
        Option1[i]->setEnabled(usable);
        if (!Device[i]->hasFocus()) Device[i]->setText(Q(mapped));
        Device[i]->setPlaceholderText(Q(device));
        Description[i]->setText(found ? Q(found->Description) : QString());
    }
}

void FrmSetComm::ReCommTimer_Timer() {
    const int chosen = SelectedNumber();
    Refresh();
    SetOptionState(Option1[chosen - 1], 1);
}

void FrmSetComm::CommandOK_Click() {
    for (int i = 0; i < kPortCount; ++i) map_[static_cast<size_t>(i)] = Device[i]->text().trimmed().toStdString();
    // A path given to two numbers stays with the later one.
    for (int i = 0; i < kPortCount; ++i)
        for (int j = i + 1; j < kPortCount; ++j)
            if (!map_[static_cast<size_t>(i)].empty() && map_[static_cast<size_t>(i)] == map_[static_cast<size_t>(j)])
                map_[static_cast<size_t>(i)].clear();
    if (map_ != original_) SavePortMap(p_, map_);
    p_.Link.SerialPortNumber = static_cast<int16_t>(SelectedNumber());
    WriteSetup(p_);
    accept();
}

} // namespace tarvane
