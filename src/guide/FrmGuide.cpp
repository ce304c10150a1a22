#include "guide/FrmGuide.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "guide/GuidePages.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/Languages.h"
#include "state/lang/TextIds.h"
#include "ui/ToQ.h"

namespace tarvane {

FrmGuide::FrmGuide(Program& p, QWidget* parent) : QDialog(parent) {
    setObjectName("FrmGuide");
    setWindowTitle(ToQ(LangText(p, txt::kGettingStartedCaption)));
    Browser = new QTextBrowser(this);
    Browser->setObjectName("Browser");
    Browser->setOpenLinks(false); // the guide has no links out: nothing leaves the program
    const std::string page = GuidePage(p.Dirs.ProgramFolder, LanguageCode(p));
    if (page.empty()) {
        Browser->setPlainText(
            ToQ(FillIn(LangText(p, txt::kGuideNotInstalled), {p.Dirs.ProgramFolder + "/guide"})));
    } else {
        Browser->setSource(QUrl::fromLocalFile(ToQ(page)));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(Browser, 1);
    lay->addWidget(buttons);
    resize(760, 620);
}

} // namespace tarvane
