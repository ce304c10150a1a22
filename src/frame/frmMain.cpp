#include "frame/frmMain.h"

#include <QFile>
#include <QAction>
#include <QEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>
#include <QTreeView>
#include <QTreeWidget>

#include "base/FieldHelpers.h"
#include "doc/Backups.h"
#include "doc/Caption.h"
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

namespace {

// The file dialog, wide enough that a backup's name ("20261208-152300_Tarvane_HAM_write.dat")
// shows whole in its list. An empty result means cancelled.
QString AskFilePath(QWidget* owner, QFileDialog::AcceptMode mode, const QString& start,
                    const QString& filter) {
    QFileDialog dlg(owner, QString(), start, filter);
    dlg.setAcceptMode(mode);
    dlg.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const int name = dlg.fontMetrics().horizontalAdvance("20261208-152300-2_Tarvane_HAM_write.dat") + 48;
    dlg.resize(std::max(dlg.sizeHint().width(), name * 2 + 200), std::max(dlg.sizeHint().height(), 460));
    if (auto* list = dlg.findChild<QTreeView*>("treeView")) {
        list->header()->resizeSection(0, name);
        for (int column = 1; column < list->header()->count(); ++column)
            list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().constFirst();
}

} // namespace

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
        return AskFilePath(this, QFileDialog::AcceptOpen, OpenFolder, filter);
    };
    AskSavePath = [this](const QString& filter, const QString& proposed) {
        return AskFilePath(this, QFileDialog::AcceptSave, proposed, filter);
    };
    AskPdfPath = [this](const QString& proposed) {
        return AskFilePath(this, QFileDialog::AcceptSave, proposed, "PDF (*.pdf)");
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
    LoadTree();
    InitImage(p_);
    SetFrameTexts();
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
    const QString hideTree = ToQ(LangText(p_, txt::kHideFunctionTree));
    client_->CloseTreeButton()->setText(hideTree);
    client_->CloseTreeButton()->setToolTip(hideTree);
    UpdateUndoActions();
}

void frmMain::UpdateStatusPanels() {
    panels_[2]->setText(PortWithDevice(p_, p_.Link.SerialPortNumber));
    panels_[1]->setText(ToQ(p_.Model.ModelCode) + "[" + ToQ(TypeName(p_.Model.ModelType)) + ":" +
                        ToQ(p_.Model.BandText) + "]");
}

void frmMain::ShowMainTxt() {
    setWindowTitle(ToQ(MainCaption(p_, ImageChanged(p_))));
    const QString type = ToQ(TypeName(p_.Model.ModelType));
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
