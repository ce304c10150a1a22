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
        Option1[i] = new QRadioButton(text(txt::kCOM) + QString::number(i + 1), frame);
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

    QHBoxLayout* buttons = MakeOkCancelRow(this, p_, CommandOK, CommandCancel);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(frame);
    lay->addWidget(Chosen);
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

    ReCommTimer.setInterval(1000);
    connect(&ReCommTimer, &QTimer::timeout, this, [this] { ReCommTimer_Timer(); });
}

void FrmSetComm::showEvent(QShowEvent* e) {
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
            Description[i]->setText(e ? e->description : QString());
        }
        Option1[i]->setEnabled(usable);
    }
    if (Chosen) ShowChosen();
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
