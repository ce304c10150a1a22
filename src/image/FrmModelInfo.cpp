#include "image/FrmModelInfo.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "image/ImageOps.h"
#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/ListHelpers.h"
#include "ui/Twips.h"

namespace tarvane {

FrmModelInfo::FrmModelInfo(Program& p, std::function<void()> newDocument, QWidget* parent)
    : QDialog(parent), p_(p), newDocument_(std::move(newDocument)) {
    setObjectName("FrmModelInfo");
    auto text = [this](TextId id) { return QString::fromStdString(LangText(p_, id)); };
    setWindowTitle(text(txt::kModelModelInformation));
    auto combo = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setMinimumWidth(WidthForItems(180, {c}));
        return c;
    };
    Combo1 = combo("Combo1");
    Combo1->addItem(kDefaultModelCode);
    SelectListText(Combo1, QString::fromStdString(ModelDisplayName(p_.Model.ModelCode)));
    Combo2 = combo("Combo2");
    for (int t = 0; t < 3; ++t)
        Combo2->addItem(QString::fromStdString(BandTextForType(t)));
    Combo3 = combo("Combo3");
    Combo3->addItem("CB");
    Combo3->addItem("HF");
    SelectListIndex(Combo3, p_.Model.ModelType);
    SelectListIndex(Combo2, Combo3->currentIndex());
    connect(Combo3, &QComboBox::currentIndexChanged, this, [this](int i) { SelectListIndex(Combo2, i); });
    EnterMovesFocus(Combo1);
    EnterMovesFocus(Combo2);

    QHBoxLayout* buttons = MakeOkCancelRow(this, p_, CommandOK, CommandCancel);

    auto* grid = new QGridLayout;
    const std::pair<TextId, QComboBox*> rows[] = {
        {txt::kModelModel, Combo1}, {txt::kModelBand, Combo2}, {txt::kModelType_13003, Combo3}};
    int r = 0;
    for (const auto& [id, c] : rows) {
        grid->addWidget(new QLabel(text(id), this), r, 0);
        grid->addWidget(c, r++, 1);
    }
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(grid);
    lay->addSpacing(8);
    lay->addLayout(buttons);
    MakeFixedDialog(this);

    connect(CommandOK, &QPushButton::clicked, this, [this] { CommandOK_Click(); });
}

void FrmModelInfo::CommandOK_Click() {
    const int type = ListIndexOr(Combo2, p_.Model.ModelType);
    if (type != p_.Model.ModelType) {
        const MsgAnswer a = Tell(p_, LangText(p_, txt::kChangingBandStartsNew), MsgIcon::Warning,
                                 MsgButtons::OkCancel, LangText(p_, txt::kChangeBand));
        if (a == MsgAnswer::Ok && SetModelType(p_, type)) {
            p_.Image.Settings.Version.ModelType = static_cast<int16_t>(type);
            p_.RadioInfo.ModelType = static_cast<int16_t>(type);
            if (newDocument_) newDocument_();
        }
    }
    accept();
}

} // namespace tarvane
