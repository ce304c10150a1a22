#include "link/FrmRadioInfo.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"
#include "ui/Twips.h"

namespace tarvane {

FrmRadioInfo::FrmRadioInfo(Program& p, QWidget* parent) : QWidget(parent), p_(p) {
    setObjectName("FrmRadioInfo");
    auto text = [this](TextId id) { return ToQ(LangText(p_, id)); };
    setWindowTitle(text(txt::kInfoRadioInformation));
    auto* frame = new QGroupBox(text(txt::kInformationArea), this);
    frame->setObjectName("Frame1");

    for (size_t i = 0; i < Combo1.size(); ++i) {
        Combo1[i] = new QComboBox(frame);
        Combo1[i]->setObjectName(QString("Combo1_%1").arg(i));
    }
    for (int t = 0; t < 3; ++t)
        Combo1[kBandList]->addItem(ToQ(BandTextForType(t)));
    Combo3 = new QComboBox(frame);
    Combo3->setObjectName("Combo3");
    Combo3->addItems({"CB", "HF", "HAM"});
    for (size_t i = 0; i < Text1.size(); ++i) {
        Text1[i] = new QLineEdit(frame);
        Text1[i]->setObjectName(QString("Text1_%1").arg(i));
        SetReadOnlyLook(Text1[i], true);
    }
    // The information is only read from the radio: the lists show, they do not choose.
    for (QComboBox* c : {Combo1[kModelList], Combo1[kBandList], Combo3})
        c->setEnabled(false);

    // Label beside field; the remark (96 characters) takes a whole row.
    const std::pair<TextId, QWidget*> fields[] = {
        {txt::kInfoModel, Combo1[kModelList]},
        {txt::kInfoBand, Combo1[kBandList]},
        {txt::kInfoType, Combo3},
        {txt::kSoftwareVersion, Text1[kSoftwareVersionBox]},
        {txt::kSerialNumber, Text1[kSerialNumberBox]},
        {txt::kDealer, Text1[kDealerBox]},
        {txt::kProductionDate, Text1[kProductionDateBox]},
        {txt::kProgrammingDate, Text1[kProgrammingDateBox]},
        {txt::kHardware, Text1[kHardwareBox]},
        {txt::kBatch, Text1[kBatchBox]},
        {txt::kFactoryText1, Text1[kFactoryText1Box]},
        {txt::kFactoryText2, Text1[kFactoryText2Box]},
        {txt::kFactoryText3, Text1[kFactoryText3Box]},
        {txt::kFactoryText4, Text1[kFactoryText4Box]},
    };
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(8);
    int row = 0, col = 0;
    for (const auto& [id, w] : fields) {
        auto* l = new QLabel(text(id), frame);
        l->setBuddy(w);
        grid->addWidget(l, row, col * 2);
        grid->addWidget(w, row, col * 2 + 1);
        auto* list = qobject_cast<QComboBox*>(w);
        w->setMinimumWidth(list ? WidthForItems(150, {list}) : Px(150));
        if (++col == 2) col = 0, ++row;
    }
    if (col != 0) ++row;
    grid->addWidget(new QLabel(text(txt::kRemark), frame), row, 0);
    grid->addWidget(Text1[kRemarkBox], row, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    CommandHelp = new QPushButton(this);
    CommandHelp->setObjectName("CommandHelp");
    CommandHelp->setVisible(false); // no help file is shipped
    CommandClose = new QPushButton(this);
    CommandClose->setObjectName("CommandClose");
    SetCloseHelpCaptions(this, p_);
    connect(CommandClose, &QPushButton::clicked, this, [this] {
        if (QWidget* w = parentWidget(); w && w->inherits("QMdiSubWindow"))
            w->close();
        else
            close();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandHelp);
    buttons->addWidget(CommandClose);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(frame);
    lay->addLayout(buttons);
    ShowByData();
    subscriptions_.push_back(p_.Notify.imageReplaced.Subscribe([this] { ShowByData(); }));
}

void FrmRadioInfo::ShowByData() {
    const RadioInfoRecord& r = p_.RadioInfo;
    Combo1[kModelList]->clear();
    Combo1[kModelList]->addItem(ToQ(ModelDisplayName(r.ModelCode)));
    // A type that names no band shows nothing rather than a wrong band.
    if (r.ModelType >= 0 && r.ModelType <= 2) {
        SelectListIndex(Combo1[kBandList], r.ModelType);
        SelectListIndex(Combo3, r.ModelType);
    } else {
        Combo1[kBandList]->setCurrentIndex(-1);
        Combo3->setCurrentIndex(-1);
    }
    Text1[kSerialNumberBox]->setText(ToQ(r.TextC));
    for (size_t i = 0; i < 3; ++i) // the fourth head text has no box
        Text1[kDealerBox + i]->setText(ToQ(r.Head16[i].Trimmed()));
    Text1[kRemarkBox]->setText(ToQ(r.TextG.Trimmed()));
    Text1[kSoftwareVersionBox]->setText(ToQ(r.SoftVersion));
    Text1[kHardwareBox]->setText(ToQ(r.TextA.Trimmed()));
    Text1[kBatchBox]->setText(ToQ(r.TextB.Trimmed()));
    for (size_t i = 0; i < 4; ++i)
        Text1[kFactoryText1Box + i]->setText(ToQ(r.Tail16[i].Trimmed()));
    for (QLineEdit* t : Text1)
        t->setCursorPosition(0);
}

} // namespace tarvane
