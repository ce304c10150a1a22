#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSpacerItem>
#include <QStyle>

#include "frame/frmMain.h"
#include "link/FrmPassWord.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsOf(MsgButtons b) {
    switch (b) {
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

MsgAnswer AnswerOf(int button, MsgButtons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return MsgAnswer::Ok;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Retry:
        return MsgAnswer::Retry;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    default:
        return DefaultAnswer(buttons); // closed without a button
    }
}

// A short message makes a narrow box, and the title bar then cuts the caption:
// the box is made wide enough for the caption beside the title bar's buttons.
void KeepTitleWhole(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont titleFont = box.font();
    titleFont.setBold(true); // most title bars draw the caption bold
    const int buttonsRoom = 4 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + buttonsRoom;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

} // namespace

void InstallGuiPrompts(Program& p, QWidget* owner) {
    QPointer<QWidget> parent = owner;
    p.Prompts.message = [&p, parent](const std::string& text, MsgIcon icon, MsgButtons buttons,
                                     const std::string& title) {
        const std::string caption = title.empty() ? LangText(p, txt::kMainTarvaneCPS) : title;
        QMessageBox box(IconOf(icon), QString::fromStdString(caption), QString::fromStdString(text),
                        ButtonsOf(buttons), parent.data());
        if (buttons == MsgButtons::YesNo) box.setEscapeButton(QMessageBox::No);
        KeepTitleWhole(box);
        return AnswerOf(box.exec(), buttons);
    };
    p.Prompts.password = [&p, parent](std::string& entry) { return AskPassword(p, entry, parent.data()); };
    p.Prompts.startProgram = [](const std::string& path) {
        return QProcess::startDetached(QString::fromStdString(path), {});
    };
}

} // namespace tarvane
