#include "frame/frmAbout.h"
#include "ui/DialogCaptions.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "base/BuildVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

frmAbout::frmAbout(Program& p, QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    auto text = [&p](TextId id) { return QString::fromStdString(LangText(p, id)); };
    setWindowTitle(text(txt::kAboutTarvaneCPS_24000));
    auto label = [this](const char* name, const QString& t) {
        auto* l = new QLabel(t, this);
        l->setObjectName(name);
        l->setWordWrap(true);
        return l;
    };
    lblTitle = label("lblTitle", text(txt::kAboutTarvaneCPS_24001));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblTitle->setFont(big);
    // The version is the build's; the language files hold only the word.
    lblVersion = label("lblVersion", text(txt::kVersion) + " " + TARVANE_VERSION);
    lblDescription = label("lblDescription", text(txt::kProgrammingSoftwareTarvaneCB));
    lblDisclaimer = label("lblDisclaimer", text(txt::kUseYourOwnRisk));
    lblDisclaimer->setStyleSheet("color: palette(dark);");
    lblLicence = label("lblLicence", text(txt::kLicenceGNUGeneralPublic));
    cmdOK = new QPushButton(text(txt::kAboutOK), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* icon = new QLabel(this);
    const QIcon appIcon = QApplication::windowIcon();
    icon->setPixmap((appIcon.isNull() ? style()->standardIcon(QStyle::SP_MessageBoxInformation) : appIcon)
                        .pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(lblDescription);
    texts->addSpacing(8);
    texts->addWidget(lblDisclaimer);
    texts->addSpacing(8);
    texts->addWidget(lblLicence);
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
    lblDescription->setFixedWidth(Px(340));
    lblDisclaimer->setFixedWidth(Px(340));
    lblLicence->setFixedWidth(Px(340));
    MakeFixedDialog(this);
}

} // namespace tarvane
