#include "app/frmAbout.h"
#include "app/DialogCaptions.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/Program.h"
#include "app/lang/LangText.h"

namespace tarvane {

frmAbout::frmAbout(Program& p, QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    auto text = [&p](TextId id) { return QString::fromStdString(LangText(p, id)); };
    setWindowTitle(text(24000_txt));
    auto label = [this](const char* name, const QString& t) {
        auto* l = new QLabel(t, this);
        l->setObjectName(name);
        l->setWordWrap(true);
        return l;
    };
    lblTitle = label("lblTitle", text(24001_txt));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = label("lblVersion", text(24002_txt));
    lblDescription = label("lblDescription", text(24003_txt));
    lblDisclaimer = label("lblDisclaimer", text(24004_txt));
    lblDisclaimer->setStyleSheet("color: palette(dark);");
    cmdOK = new QPushButton(text(24005_txt), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(lblDescription);
    texts->addSpacing(8);
    texts->addWidget(lblDisclaimer);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addSpacing(12);
    lay->addLayout(buttons);
    lblDescription->setFixedWidth(340);
    lblDisclaimer->setFixedWidth(340);
    MakeFixedDialog(this);
}

} // namespace tarvane
