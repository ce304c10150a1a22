#include "frame/FrmSetLanguage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "doc/Startup.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/Languages.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/ListHelpers.h"
#include "ui/Twips.h"

namespace tarvane {

FrmSetLanguage::FrmSetLanguage(Program& p, QWidget* parent) : QDialog(parent), p_(p) {
    setObjectName("FrmSetLanguage");
    setWindowTitle(QString::fromStdString(LangText(p_, txt::kLangLanguage)));
    Label1 = new QLabel(QString::fromStdString(LangText(p_, txt::kLanguageProgram)), this);
    Label1->setObjectName("Label1");
    Combo1 = new QComboBox(this);
    Combo1->setObjectName("Combo1");
    Combo1->setMinimumWidth(Px(260));
    // Each language by its own name, as its speakers write it.
    for (const LanguageEntry& language : ListLanguages(p_.Dirs.ProgramFolder))
        Combo1->addItem(QString::fromStdString(language.Name));
    SelectListIndex(Combo1, p_.Lang.Index - 1);
    QHBoxLayout* buttons = MakeOkCancelRow(this, p_, CommandOK, CommandCancel);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(Label1);
    lay->addWidget(Combo1);
    lay->addSpacing(8);
    lay->addLayout(buttons);
    MakeFixedDialog(this);

    connect(CommandOK, &QPushButton::clicked, this, [this] { CommandOK_Click(); });
}

void FrmSetLanguage::CommandOK_Click() {
    const int chosen = ListIndexOr(Combo1, p_.Lang.Index - 1) + 1;
    if (chosen != p_.Lang.Index) {
        p_.Lang.ShownIndex = p_.Lang.Index;
        SetLanguage(p_, chosen);
    }
    if (!WriteSetup(p_)) ReportSetupNotSaved(p_);
    accept();
}

} // namespace tarvane
