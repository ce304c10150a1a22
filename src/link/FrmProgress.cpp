#include "link/FrmProgress.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/Twips.h"

namespace tarvane {

FrmProgress::FrmProgress(Program& p, bool writing, QWidget* parent) : QDialog(parent), p_(p) {
    setObjectName("FrmProgress");
    setWindowTitle(QString::fromStdString(LangText(p, writing ? txt::kWritingRadio : txt::kReadingRadio)));
    Label1 = new QLabel(QString::fromStdString(LangText(p, txt::kProgress)), this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = new QLabel("0%", this);
    Label2->setObjectName("Label2");
    Label2->setMinimumWidth(Label2->fontMetrics().horizontalAdvance("100%") + 4);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(Px(320));

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(Label1);
    row->addSpacing(1); // Label1 ends 10 twips left of Label2
    row->addWidget(Label2);
    row->addStretch();
    CommandCancel = new QPushButton(QString::fromStdString(LangText(p, txt::kCancel)), this);
    CommandCancel->setObjectName("CommandCancel");
    CommandCancel->setAutoDefault(false);
    connect(CommandCancel, &QPushButton::clicked, this, &FrmProgress::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandCancel);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(row);
    lay->addWidget(ProgressBar1);
    lay->addLayout(buttons);
    // Only the transfer ends it: no close button.
    MakeFixedDialog(this, false);
}

void FrmProgress::SetPhase(TransferPhase phase) {
    const TextId id = phase == TransferPhase::Check     ? txt::kCheckingWhatWritten
                      : phase == TransferPhase::Rewrite ? txt::kWritingDifferingBlocksAgain
                                                        : txt::kProgress;
    Label1->setText(QString::fromStdString(LangText(p_, id)));
    SetProgressValue(0);
}

void FrmProgress::SetProgressValue(int value) {
    value = std::clamp(value, 0, 100);
    ProgressBar1->setValue(value);
    Label2->setText(QString::number(value) + "%");
}

void FrmProgress::Finish() {
    finished_ = true;
    accept();
}

void FrmProgress::closeEvent(QCloseEvent* e) {
    if (finished_) {
        QDialog::closeEvent(e);
        return;
    }
    e->ignore();
    emit cancelRequested();
}

void FrmProgress::reject() {
    // Escape and Cancel: the transfer ends cleanly and then closes the window.
    if (finished_)
        QDialog::reject();
    else
        emit cancelRequested();
}

} // namespace tarvane
