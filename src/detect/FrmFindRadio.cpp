#include "detect/FrmFindRadio.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "link/FrmSetComm.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

TextId StatusText(PortStatus status) {
    switch (status) {
    case PortStatus::Radio:
        return txt::kWordRadio;
    case PortStatus::Silent:
        return txt::kWordSilent;
    case PortStatus::Busy:
        return txt::kWordBusy;
    case PortStatus::Denied:
        return txt::kWordDenied;
    case PortStatus::Missing:
        return txt::kWordMissing;
    case PortStatus::Error:
        break;
    }
    return txt::kWordError;
}

} // namespace

FrmFindRadio::FrmFindRadio(Program& p, std::vector<std::string> devices, QWidget* parent)
    : QDialog(parent), p_(p), devices_(std::move(devices)), detector_(p.Versions) {
    setObjectName("FrmFindRadio");
    setWindowTitle(ToQ(LangText(p_, txt::kFindRadioCaption)));
    Head = new QLabel(this);
    Head->setObjectName("lblHead");
    Head->setWordWrap(true);
    List = new QTreeWidget(this);
    List->setObjectName("lstFindings");
    List->setRootIsDecorated(false);
    List->setWordWrap(true);
    List->setHeaderHidden(true);
    List->setColumnCount(3);
    List->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    List->header()->setStretchLastSection(true);
    for (const std::string& device : devices_) {
        auto* row = new QTreeWidgetItem(List);
        row->setText(0, ToQ(device));
        row->setText(1, ToQ(LangText(p_, txt::kTryingPort)));
    }
    Buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(Head);
    lay->addWidget(List, 1);
    lay->addWidget(Buttons);
    resize(760, 320);
    Head->setText(devices_.empty()
                      ? ToQ(LangText(p_, txt::kNoSerialDevice))
                      : ToQ(FillIn(LangText(p_, txt::kLookingForRadio), {std::to_string(devices_.size())})));
    connect(&detector_, &RadioDetector::found, this, [this](int index) { ShowFinding(index); });
    connect(&detector_, &RadioDetector::finished, this, [this] { AllFound(); });
}

void FrmFindRadio::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (started_) return;
    started_ = true;
    if (devices_.empty()) {
        finished_ = true;
        return;
    }
    // After the window is up, so that its lines can follow.
    QTimer::singleShot(0, this, [this] { detector_.start(devices_); });
}

void FrmFindRadio::done(int result) {
    detector_.stop();
    QDialog::done(result);
}

void FrmFindRadio::ShowFinding(int index) {
    QTreeWidgetItem* row = List->topLevelItem(index);
    if (!row) return;
    const PortFinding& f = detector_.findings()[static_cast<size_t>(index)];
    row->setText(1, ToQ(LangText(p_, StatusText(f.status))));
    const std::string advice = FindingAdvice(p_, f);
    row->setText(2, ToQ(FindingSummary(p_, f) + (advice.empty() ? "" : " " + advice)));
    row->setToolTip(2, row->text(2));
}

void FrmFindRadio::AllFound() {
    finished_ = true;
    std::vector<std::string> radios;
    for (const PortFinding& f : detector_.findings())
        if (f.status == PortStatus::Radio) radios.push_back(f.port);
    if (radios.size() == 1) {
        found_ = ToQ(radios.front());
        accept();
        return;
    }
    Head->setText(radios.empty() ? ToQ(LangText(p_, txt::kNoRadioAnsweredFindings))
                                 : ToQ(FillIn(LangText(p_, txt::kSeveralRadiosAnswered),
                                              {std::to_string(radios.size())})));
}

void OfferFindRadio(FrmSetComm& dialog, Program& p) {
    dialog.FindRadio = [&p, &dialog] {
        FrmFindRadio find(p, DetectionCandidates(p), &dialog);
        find.exec();
        return find.FoundDevice();
    };
}

} // namespace tarvane
