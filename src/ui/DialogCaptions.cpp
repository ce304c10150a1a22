#include "ui/DialogCaptions.h"

#include <QAbstractButton>
#include <QDialog>
#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>

#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {
void Caption(QWidget* window, const char* name, Program& p, TextId id) {
    if (auto* b = window->findChild<QAbstractButton*>(name))
        b->setText(QString::fromStdString(LangText(p, id)));
}
} // namespace

void SetOkCancelCaptions(QWidget* window, Program& p) {
    Caption(window, "CommandOK", p, txt::kMsgOK);
    Caption(window, "CommandCancel", p, txt::kCancel);
}

void SetCloseCaption(QWidget* window, Program& p) {
    Caption(window, "CommandClose", p, txt::kClose);
}
void SetHelpCaption(QWidget* window, Program& p) {
    Caption(window, "CommandHelp", p, txt::kMsgHelp);
}

void SetCloseHelpCaptions(QWidget* window, Program& p) {
    SetCloseCaption(window, p);
    SetHelpCaption(window, p);
}

QHBoxLayout* MakeOkCancelRow(QDialog* dialog, Program& p, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton(dialog);
    ok->setObjectName("CommandOK");
    ok->setDefault(true); // Return presses OK unless another button has the focus
    cancel = new QPushButton(dialog);
    cancel->setObjectName("CommandCancel");
    SetOkCancelCaptions(dialog, p);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void MakeFixedDialog(QDialog* dialog, bool closable) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closable) flags |= Qt::WindowCloseButtonHint;
    dialog->setWindowFlags(flags);
    if (QLayout* l = dialog->layout()) l->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace tarvane
