#include "frame/frmMain.h"

#include <QFile>
#include <QAction>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>
#include <QTreeWidget>

#include "base/FieldHelpers.h"
#include "doc/Backups.h"
#include "doc/Undo.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "image/ModelVersion.h"
#include "link/FrmRadioInfo.h"
#include "link/FrmSetComm.h"
#include "state/History.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/QtTranslations.h"
#include "ui/ToQ.h"

namespace tarvane {

frmMain::frmMain(Program& p, QWidget* parent)
    : QMainWindow(parent), p_(p), client_(new FrameClient(nullptr)), mdi_(client_->Mdi()), windows_(*mdi_) {
    setObjectName("frmMain");

    NewDocTimer.setSingleShot(true);
    NewDocTimer.setInterval(100);
    ReadOKTimer.setSingleShot(true);
    ReadOKTimer.setInterval(500);
    WaitSaveDataTimer.setSingleShot(true);
    WaitSaveDataTimer.setInterval(100);
    connect(&NewDocTimer, &QTimer::timeout, this, [this] { NewDocTimer_Timer(); });
    connect(&ReadOKTimer, &QTimer::timeout, this, [this] { ReadOKTimer_Timer(); });
    connect(&WaitSaveDataTimer, &QTimer::timeout, this, [this] { WaitSaveDataTimer_Timer(); });

    AskOpenPath = [this](const QString& filter) {
        return QFileDialog::getOpenFileName(this, QString(), OpenFolder, filter);
    };
    AskSavePath = [this](const QString& filter, const QString& proposed) {
        return QFileDialog::getSaveFileName(this, QString(), proposed, filter);
    };
    AskPdfPath = [this](const QString& proposed) {
        return QFileDialog::getSaveFileName(this, QString(), proposed, "PDF (*.pdf)");
    };

    setCentralWidget(client_); // takes the client over
    BuildMenus();
    WatchUserInput();
    BuildToolBar();
    connect(client_->CloseTreeButton(), &QAction::triggered, this,
            [this] { Action("mnuTreeView")->setChecked(false); });
    connect(Tree(), &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { TreeClicked(item); });
    BuildStatusBar();

    RegisterChildKind("FrmRadioInfo", [](frmMain& m) { return new FrmRadioInfo(m.Prog()); });
    captionSub_ = p_.Notify.captionChanged.Subscribe([this] {
        ShowMainTxt();
        UpdateStatusPanels();
    });
    imageSub_ = p_.Notify.imageReplaced.Subscribe([this] { ImageReplaced(); });

    // Load of the frame.
    Action("mnuHelpTopic")->setVisible(false);
    Menu("MnuCHEdit")->menuAction()->setVisible(false);
    Action("mnuWindowTileHorizontal")->setVisible(false);
    Action("mnuWindowTileVertical")->setVisible(false);
    Action("mnuWindowArrangeIcons")->setVisible(false);
    WaitSaveDataTimer.stop();
    RestorePlacement(*this, [this] { return ToQ(LangText(p_, txt::kMainTarvaneCPS)); });
    SetFrameTexts();
    LoadTree();
    InitImage(p_);
    SetFrameTexts();
    ShowChannelTable();
    ShowMainTxt();
    ShowCHInfo(false);
    BackupDir = QFile::decodeName(QByteArray::fromStdString(BackupFolder()));
    setAcceptDrops(true);
    ResetHistory(p_);
    UpdateUndoActions();
}

frmMain::~frmMain() {
    delete inputWatcher_; // no more input reaches a frame being taken down
    inputWatcher_ = nullptr;
    captionSub_.Reset();
    imageSub_.Reset();
    // The child windows go after the frame's own part: nothing may call back into it then.
    mdi_->blockSignals(true);
}

void frmMain::BuildStatusBar() {
    statusBar()->setObjectName("sbStatusBar");
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QString("sbPanel%1").arg(i + 1));
        l->setContentsMargins(6, 0, 6, 0);
        if (i == 0)
            statusBar()->addWidget(l, 1);
        else
            statusBar()->addPermanentWidget(l);
        panels_.append(l);
    }
}

QLabel* frmMain::StatusPanel(int n) const {
    return n >= 1 && n <= panels_.size() ? panels_[n - 1] : nullptr;
}

// ---- texts -----------------------------------------------------------------

void frmMain::SetFrameTexts() {
    fileFilter_ = ToQ(LangText(p_, txt::kCodeplugFiles)) + " (*.dat)";
    UpdateStatusPanels();
    ShowMainTxt();
    menus_.SetTexts([this](TextId id) { return ToQ(LangText(p_, id)); });
    UpdateUndoActions();
}

void frmMain::UpdateStatusPanels() {
    panels_[2]->setText(PortWithDevice(p_, p_.Link.SerialPortNumber));
    panels_[1]->setText(ToQ(p_.Model.ModelCode) + "[" + ToQ(TypeName(p_.Model.ModelType)) + ":" +
                        ToQ(p_.Model.BandText) + "]");
}

void frmMain::ShowMainTxt() {
    const std::string band =
        p_.Model.BandText == "26.965 - 27.405 MHz" ? LangText(p_, txt::kFrequency_32407) : p_.Model.BandText;
    const QString type = ToQ(TypeName(p_.Model.ModelType));
    setWindowTitle(ToQ(LangText(p_, txt::kMainTarvaneCPS)) + "[" + ToQ(p_.Model.ModelCode) + ":" + type +
                   ":" + ToQ(band) + "]" + "[" + ToQ(LangText(p_, txt::kMainFile)) + ":" +
                   ToQ(FileNameOf(p_.Doc.Path)) + "]");
    if (QTreeWidgetItem* root = Tree()->topLevelItemCount() ? Tree()->topLevelItem(0) : nullptr)
        root->setText(0, ToQ(p_.Model.ModelCode) + ":" + type);
}

void frmMain::Change_Language() {
    SetFrameTexts();
    LoadTree();
}

void frmMain::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) CheckLanguageChange();
}

void frmMain::CheckLanguageChange() {
    if (p_.Lang.Index == p_.Lang.ShownIndex) return;
    p_.Lang.ShownIndex = p_.Lang.Index;
    LoadQtTranslations(p_);
    Change_Language();
    CloseCurAllWindows();
    ShowChannelTable();
}

// ---- a new document ----------------------------------------------------------

void frmMain::LoadNewDoc() {
    CloseCurAllWindows();
    // The new image is built once the closing windows have gone.
    NewDocTimer.start();
}

void frmMain::NewDocTimer_Timer() {
    NewDocTimer.stop();
    NewDocument(p_);
    SetFrameTexts();
    ShowChannelTable();
    ShowMainTxt();
    mdi_->cascadeSubWindows();
    ResetHistory(p_);
    UpdateUndoActions();
}

} // namespace tarvane
