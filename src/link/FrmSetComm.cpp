#include "link/FrmSetComm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "doc/Startup.h"
#include "link/LinkSettings.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"

namespace tarvane {

QString PortWithDevice(Program& p, int number) {
    // One arg() call: a "%1" inside a typed path is not replaced again.
    return ToQ(LangText(p, txt::kPort)).arg(QString::number(number), ToQ(PortDevicePath(p, number)));
}

FrmSetComm::FrmSetComm(Program& p, QWidget* parent) : QDialog(parent), p_(p) {
    setObjectName("FrmSetComm");
    auto text = [this](TextId id) { return ToQ(LangText(p_, id)); };
    setWindowTitle(text(txt::kPortSerialPort));
    auto* frame = new QGroupBox(text(txt::kPortPort), this);
    frame->setObjectName("Frame1");
    group_ = new QButtonGroup(this);
    auto* grid = new QGridLayout(frame);
    auto* deviceHead = new QLabel(text(txt::kDevice), frame);
    auto* descHead = new QLabel(text(txt::kDescription), frame);
    grid->addWidget(deviceHead, 0, 1);
    grid->addWidget(descHead, 0, 2);
    for (int i = 0; i < kPortCount; ++i) {
        // The system's number with the device beside it: "Port 1: [/dev/serial/by-id/usb-...]".
        Option1[i] = new QRadioButton(
            ToQ(FillIn(LangText(p_, txt::kPort), {std::to_string(i + 1), ""})).trimmed(), frame);
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
        connect(Device[i], &QLineEdit::textEdited, this,
                [this, i] { typed_[static_cast<size_t>(i)] = true; });
        connect(Device[i], &QLineEdit::editingFinished, this, [this] { Refresh(); });
        Device[i]->installEventFilter(this);
    }
    grid->setColumnStretch(1, 1);

    Chosen = new QLabel(this);
    Chosen->setObjectName("lblChosen");
    LoadVerifySetting(p_);
    CheckVerify = new QCheckBox(text(txt::kReadEveryWriteBack), this);
    CheckVerify->setObjectName("CheckVerify");
    CheckVerify->setChecked(p_.Link.VerifyWrite);

    CommandFind = new QPushButton(text(txt::kFindRadio), this);
    CommandFind->setObjectName("CommandFind");
    CommandFind->setVisible(false);
    FindResult = new QLabel(this);
    FindResult->setObjectName("lblFindResult");
    FindResult->setWordWrap(true);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(CommandFind);
    findRow->addWidget(FindResult, 1);
    connect(CommandFind, &QPushButton::clicked, this, [this] { CommandFind_Click(); });

    QHBoxLayout* buttons = MakeOkCancelRow(this, p_, CommandOK, CommandCancel);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(frame);
    lay->addWidget(Chosen);
    lay->addLayout(findRow);
    lay->addWidget(CheckVerify);
    lay->addLayout(buttons);
    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) ShowChosen();
    });
    MakeFixedDialog(this);

    connect(CommandOK, &QPushButton::clicked, this, [this] { CommandOK_Click(); });

    Discover = [this] { return ListRadioPorts(p_); };
    Refresh();
    const int n = std::clamp<int>(p_.Link.SerialPortNumber, 1, kPortCount);
    SetOptionState(Option1[n - 1], 1);
    if (Discover) PreselectPresent(Discover());

    ReCommTimer.setInterval(1000);
    connect(&ReCommTimer, &QTimer::timeout, this, [this] { ReCommTimer_Timer(); });
}

void FrmSetComm::showEvent(QShowEvent* e) {
    CommandFind->setVisible(static_cast<bool>(FindRadio));
    QDialog::showEvent(e);
    // Discovery may have been replaced after construction: look again now.
    Refresh();
    ReCommTimer.start();
}

bool FrmSetComm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && qobject_cast<QLineEdit*>(watched)) {
            Refresh();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
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
    const QList<PortEntry> entries = Discover ? Discover() : QList<PortEntry>{};
    // A number without a device of its own shows the classic port it falls back to, greyed.
    const PortMap mapped = LoadPortMap(p_);
    for (int i = 0; i < kPortCount; ++i) {
        const PortEntry* e = nullptr;
        for (const PortEntry& entry : entries)
            if (entry.number == i + 1) e = &entry;
        bool usable = e && e->present;
        if (typed_[static_cast<size_t>(i)]) {
            // A typed path counts once it exists; it is given to the number on OK.
            const QString typed = Device[i]->text().trimmed();
            usable = !typed.isEmpty() && QFileInfo::exists(typed);
            Description[i]->clear();
        } else {
            const bool own = !mapped[static_cast<size_t>(i)].empty();
            Device[i]->setText(e && own ? e->device : QString());
            Device[i]->setPlaceholderText(e ? e->device : QString());
            Device[i]->setCursorPosition(0);
            QString words = e ? e->description : QString();
            if (!usable) words = "(" + ToQ(LangText(p_, txt::kNotPresent)) + ")";
            Description[i]->setText(words);
        }
        Option1[i]->setEnabled(usable);
    }
    PlaceRows(entries);
    if (Chosen) ShowChosen();
}

void FrmSetComm::PlaceRows(const QList<PortEntry>& entries) {
    // Present devices first, each group in number order; the numbers stay the system's.
    auto* grid = qobject_cast<QGridLayout*>(Option1[0]->parentWidget()->layout());
    if (!grid) return;
    std::vector<int> order;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < kPortCount; ++i) {
            bool present = false;
            for (const PortEntry& e : entries)
                if (e.number == i + 1) present = e.present;
            if (present == (pass == 0)) order.push_back(i);
        }
    for (size_t row = 0; row < order.size(); ++row) {
        const int i = order[row];
        for (QWidget* w : {static_cast<QWidget*>(Option1[i]), static_cast<QWidget*>(Device[i]),
                           static_cast<QWidget*>(Description[i])})
            grid->removeWidget(w);
        grid->addWidget(Option1[i], static_cast<int>(row) + 1, 0);
        grid->addWidget(Device[i], static_cast<int>(row) + 1, 1);
        grid->addWidget(Description[i], static_cast<int>(row) + 1, 2);
    }
}

void FrmSetComm::PreselectPresent(const QList<PortEntry>& entries) {
    // The chosen number points at nothing (a cable not plugged in since): a USB
    // serial device that is there is the likelier choice.
    const int chosen = SelectedNumber();
    for (const PortEntry& e : entries)
        if (e.number == chosen && e.present) return;
    for (const PortEntry& e : entries) {
        const bool usb = e.device.contains("/serial/by-id/usb-") || e.device.contains("/ttyUSB") ||
                         e.device.contains("/ttyACM");
        if (e.present && usb && e.number >= 1 && e.number <= kPortCount) {
            SetOptionState(Option1[e.number - 1], 1);
            return;
        }
    }
}

void FrmSetComm::CommandFind_Click() {
    if (!FindRadio) return;
    const QString device = FindRadio();
    if (device.isEmpty()) {
        FindResult->clear();
        return;
    }
    const int n = SelectedNumber();
    const size_t i = static_cast<size_t>(n - 1);
    // The device the number has now: a typed path, else its own mapped one.
    QString current = Device[n - 1]->text().trimmed();
    if (!typed_[i] && LoadPortMap(p_)[i].empty()) current.clear();
    const std::string number = std::to_string(n);
    if (!current.isEmpty() && current != device &&
        Tell(p_,
             FillIn(LangText(p_, txt::kPortHasOtherDevice),
                    {number, current.toStdString(), device.toStdString()}),
             MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) {
        FindResult->setText(
            ToQ(FillIn(LangText(p_, txt::kRadioNotPutOnPort), {device.toStdString(), number})));
        return;
    }
    // Given to the number on OK, as a typed path is.
    Device[n - 1]->setText(device);
    typed_[i] = true;
    Refresh();
    FindResult->setText(ToQ(FillIn(LangText(p_, txt::kRadioPutOnPort), {device.toStdString(), number})));
}

void FrmSetComm::ShowChosen() {
    // The device a number would get on OK: a typed path, else the mapped one.
    const int n = SelectedNumber();
    const QString typed = Device[n - 1]->text().trimmed();
    if (typed_[static_cast<size_t>(n - 1)] && !typed.isEmpty())
        Chosen->setText(ToQ(LangText(p_, txt::kPort)).arg(QString::number(n), typed));
    else
        Chosen->setText(PortWithDevice(p_, n));
}

void FrmSetComm::ReCommTimer_Timer() {
    const int chosen = SelectedNumber();
    Refresh();
    SetOptionState(Option1[chosen - 1], 1);
}

void FrmSetComm::CommandOK_Click() {
    // Each choice is tried; one message says the setup file took none of them.
    bool kept = true;
    for (int i = 0; i < kPortCount; ++i)
        if (typed_[static_cast<size_t>(i)]) kept = AssignRadioPort(p_, i + 1, Device[i]->text()) && kept;
    p_.Link.SerialPortNumber = static_cast<int16_t>(SelectedNumber());
    kept = WriteSetup(p_) && kept;
    p_.Link.VerifyWrite = CheckVerify->isChecked();
    kept = SaveVerifySetting(p_) && kept;
    if (!kept) ReportSetupNotSaved(p_);
    accept();
}

} // namespace tarvane
