#include "exchange/FrmCompare.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "exchange/DifferenceTexts.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/ToQ.h"
#include "ui/Twips.h"

namespace tarvane {

FrmCompare::FrmCompare(Program& p, const std::vector<Difference>& differences, const QString& otherName,
                       QWidget* parent)
    : QDialog(parent) {
    setObjectName("FrmCompare");
    setWindowTitle(ToQ(LangText(p, txt::kCompare)));
    heading_ = new QLabel(this);
    heading_->setObjectName("Heading");
    list_ = new QPlainTextEdit(this);
    list_->setObjectName("Differences");
    list_->setReadOnly(true);
    list_->setLineWrapMode(QPlainTextEdit::NoWrap);
    list_->setMinimumSize(Px(640), Px(360));
    // In the words of the windows, so a changed scan flag reads as the channel table shows it.
    const std::vector<std::string> lines = ShownDifferences(p, differences, otherName.toStdString());
    if (lines.empty()) {
        heading_->setText(ToQ(LangText(p, txt::kNothingDiffers)));
        list_->hide();
    } else {
        heading_->setText(
            ToQ(FillIn(LangText(p, txt::kDifferencesBetweenOpenDocument), {otherName.toStdString()})) + "\n" +
            ToQ(FillIn(LangText(p, txt::kDifferences), {std::to_string(lines.size())})));
        QString text;
        for (const std::string& line : lines)
            text += ToQ(line) + "\n";
        list_->setPlainText(text);
    }
    auto* close = new QPushButton(this);
    close->setObjectName("CommandClose");
    SetCloseCaption(this, p);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(list_);
    layout->addLayout(row);
}

QString FrmCompare::Heading() const {
    return heading_->text();
}
QString FrmCompare::Text() const {
    return list_->isHidden() ? QString() : list_->toPlainText();
}

} // namespace tarvane
