#include "link/FrmPassWord.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/FieldHelpers.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/Twips.h"

namespace tarvane {

FrmPassWord::FrmPassWord(Program& p, std::string& entry, QWidget* parent) : QDialog(parent), entry_(entry) {
    setObjectName("FrmPassWord");
    setWindowTitle(QString::fromStdString(LangText(p, txt::kLangRadioPassword)));
    Label1 = new QLabel(QString::fromStdString(LangText(p, txt::kPassword)), this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Text1->setEchoMode(QLineEdit::Password);
    Text1->setMaxLength(4);
    Text1->setText(QString::fromStdString(entry_).left(4));
    Text1->selectAll();
    Text1->setFixedWidth(Px(120));
    CommandOK = new QPushButton(this);
    CommandOK->setObjectName("CommandOK");
    CommandOK->setDefault(true);
    CommandCancel = new QPushButton(this);
    CommandCancel->setObjectName("CommandCancel");
    SetOkCancelCaptions(this, p);

    auto* row = new QHBoxLayout;
    row->addWidget(Label1, 1);
    row->addSpacing(50 / 15 + 1); // the label ends 50 twips left of the box
    row->addWidget(Text1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandOK);
    buttons->addWidget(CommandCancel);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(row);
    lay->addSpacing(8);
    lay->addLayout(buttons);
    MakeFixedDialog(this);

    connect(CommandOK, &QPushButton::clicked, this, [this] {
        entry_ = TrimFixedText(Text1->text().toStdString());
        accept();
    });
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool AskPassword(Program& p, std::string& entry, QWidget* parent) {
    FrmPassWord dlg(p, entry, parent);
    return dlg.exec() == QDialog::Accepted;
}

} // namespace tarvane
