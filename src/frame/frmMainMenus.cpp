// The frame's commands as tables: the menu bar, the toolbar and the function
// tree, one row per entry in the order they are shown.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

#include "frame/frmMain.h"
#include "frame/frmMainLayout.h"
#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

// The channel-edit group of the toolbar, shown only with the channel table.
constexpr int kFirstChEditTool = 10;
constexpr int kLastChEditTool = 18;

struct TreeNode {
    const char* key;
    TextId text;
    void (*run)(frmMain&);
};

// The function tree's entries under the model, in order.
constexpr TreeNode kTreeNodes[] = {
    {"N1", 12001_txt, [](frmMain& m) { m.ShowChannelTable(); }},
    {"N2", 12002_txt, [](frmMain& m) { m.ShowFormOnce("FrmOptFeatures"); }},
    {"N4", 12004_txt, [](frmMain& m) { m.ShowFormOnce("FrmDTMF"); }},
    {"N12", 12014_txt, [](frmMain& m) { m.ShowFormOnce("FrmToneTips"); }},
    {"N8", 12010_txt, [](frmMain& m) { m.ShowFormOnce("FrmKey"); }},
    {"N7", 12007_txt, [](frmMain& m) { m.ReadRMGDataFromRadio(); }},
};

// The Window menu ends with the open child windows, the active one checked.
void RebuildWindowMenu(QMenu& window, QMdiArea& mdi) {
    for (QAction* a : window.actions())
        if (a->property("windowEntry").toBool()) {
            window.removeAction(a);
            a->deleteLater();
        }
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : mdi.subWindowList())
        if (!sub->isHidden()) subs.append(sub);
    if (subs.isEmpty()) return;
    QAction* sep = window.addSeparator();
    sep->setProperty("windowEntry", true);
    int n = 0;
    for (QMdiSubWindow* sub : subs) {
        QAction* a = window.addAction(QString("&%1 %2").arg(++n).arg(sub->windowTitle()));
        a->setProperty("windowEntry", true);
        a->setCheckable(true);
        a->setChecked(sub == mdi.activeSubWindow());
        QPointer<QMdiSubWindow> target = sub;
        QObject::connect(a, &QAction::triggered, &window, [&mdi, target] {
            if (target) mdi.setActiveSubWindow(target);
        });
    }
}

} // namespace

void frmMain::BuildMenus() {
    using E = FrameMenus::Entry;
    auto show = [this](const char* kind) { return [this, kind] { ShowFormOnce(kind); }; };
    auto channelEdit = [this](const char* name, TextId text) {
        return FrameMenus::MenuRow{E::Command, name, text, nullptr,
                                   [this, name] { emit ChannelEditCommand(name); }};
    };
    auto check = [](const char* name, TextId text, std::function<void(bool)> toggled) {
        return FrameMenus::MenuRow{E::Check, name, text, nullptr, {}, std::move(toggled)};
    };
    const FrameMenus::MenuRow rows[] = {
        {E::Menu, "mnuFile", 10000_txt},
        {E::Command, "mnuFileNew", 10001_txt, "Ctrl+N", [this] { mnuFileNew_Click(); }},
        {E::Command, "mnuFileOpen", 10002_txt, "Ctrl+O", [this] { mnuFileOpen_Click(); }},
        {E::Command, "mnuFileOpenBackup", 33231_txt, nullptr, [this] { mnuFileOpenBackup_Click(); }},
        {E::SubMenu, "mnuFileRecent", 33230_txt, nullptr, [this] { RebuildRecentMenu(); }},
        {E::Separator},
        {E::Command, "mnuFileSave", 10003_txt, "Ctrl+S", [this] { mnuFileSave_Click(); }},
        {E::Command, "mnuFileSaveAs", 10004_txt, "Ctrl+Shift+S", [this] { mnuFileSaveAs_Click(); }},
        {E::Separator},
        {E::Command, "mnuExportChannels", 32870_txt, nullptr, [this] { mnuExportChannels_Click(); }},
        {E::Command, "mnuImportChannels", 32871_txt, nullptr, [this] { mnuImportChannels_Click(); }},
        {E::Command, "mnuCompareFile", 32872_txt, nullptr, [this] { mnuCompareFile_Click(); }},
        {E::Separator},
        {E::Command, "mnuFilePrint", 10005_txt, "Ctrl+P", [this] { mnuFilePrint_Click(); }},
        {E::Command, "mnuFilePrintPreview", 33232_txt, nullptr, [this] { mnuFilePrintPreview_Click(); }},
        {E::Command, "mnuFileExportPdf", 33233_txt, nullptr, [this] { mnuFileExportPdf_Click(); }},
        {E::Separator},
        {E::Command, "mnuFileExit", 10006_txt, "Ctrl+Q", [this] { close(); }},

        {E::Menu, "mnuModel", 10100_txt},
        {E::Command, "mnuModelInfo", 10101_txt, nullptr, [this] { mnuModelInfo_Click(); }},

        // Undo and redo name the step they take back; the texts follow the history.
        {E::Menu, "mnuEdit", 10200_txt, nullptr, [this] { UpdateUndoActions(); }},
        {E::Command, "mnuEditUndo", TextId{0}, "Ctrl+Z", [this] { mnuEditUndo_Click(); }},
        {E::Command, "mnuEditRedo", TextId{0}, "Ctrl+Shift+Z; Ctrl+Y", [this] { mnuEditRedo_Click(); }},
        {E::Separator},
        {E::Command, "mnuChannelInfo", 10201_txt, nullptr, [this] { ShowChannelTable(); }},
        {E::Command, "mnuOptFeature", 10202_txt, nullptr, show("FrmOptFeatures")},
        {E::Command, "MnuRadioFre", 10203_txt},
        {E::Command, "MnuDTMF", 10204_txt, nullptr, show("FrmDTMF")},
        {E::Command, "MnuTestFre", 10205_txt},
        {E::Command, "mnuEmbeddedMsg", 10206_txt},
        {E::Command, "MnuLocalInfo", 10207_txt, nullptr, [this] { MnuLocalInfo_Click(); }},
        {E::Command, "MnuKey", 10208_txt, nullptr, show("FrmKey")},
        {E::Command, "MnuScan", 10209_txt},
        {E::Command, "MnuAlert", 10210_txt},
        {E::Command, "mnuGroupName", 10220_txt},
        {E::Command, "mnuToneTips", 10221_txt, nullptr, show("FrmToneTips")},
        {E::Command, "mnuResetInit", 10222_txt},
        {E::Command, "MnuEMGChannel", 32406_txt, nullptr, [this] { ShowDialogKind("Frm_EMG"); }},

        {E::Menu, "mnuProgram", 10300_txt},
        {E::Command, "mnuReadFromRadio", 10301_txt, nullptr, [this] { mnuReadFromRadio_Click(); }},
        {E::Command, "mnuWriteToRadio", 10302_txt, nullptr, [this] { mnuWriteToRadio_Click(); }},
        {E::Command, "MnuProPassWord", 10303_txt, nullptr, [this] { MnuProPassWord_Click(); }},
        {E::Command, "mnuCompareRadio", 32873_txt, nullptr, [this] { mnuCompareRadio_Click(); }},

        {E::Menu, "mnuSet", 10400_txt},
        {E::Command, "mnuComm", 10401_txt, nullptr, [this] { mnuComm_Click(); }},
        {E::Command, "mnuLanguage", 10402_txt, nullptr, [this] { mnuLanguage_Click(); }},
        {E::Command, "MnuInit", 10403_txt, nullptr, [this] { MnuInit_Click(); }},

        {E::Menu, "mnuView", 10500_txt},
        check("mnuTreeView", 10501_txt, [this](bool on) { client_->ShowLeftPane(on); }),
        check("mnuViewToolbar", 10502_txt, [this](bool on) { ToolBar()->setVisible(on); }),
        check("mnuViewStatusBar", 10503_txt, [this](bool on) { statusBar()->setVisible(on); }),

        {E::Menu, "mnuWindow", 10600_txt, nullptr, [this] { RebuildWindowMenu(*Menu("mnuWindow"), *mdi_); }},
        {E::Command, "mnuWindowCascade", 10601_txt, nullptr, [this] { mdi_->cascadeSubWindows(); }},
        {E::Command, "mnuCloseAll", 10602_txt, nullptr, [this] { CloseCurAllWindows(); }},
        {E::Command, "mnuWindowTileHorizontal", 32409_txt, nullptr, [this] { mdi_->tileSubWindows(); }},
        {E::Command, "mnuWindowTileVertical", 32410_txt, nullptr, [this] { mdi_->tileSubWindows(); }},
        {E::Command, "mnuWindowArrangeIcons", 32411_txt, nullptr, [this] { mdi_->cascadeSubWindows(); }},

        {E::Menu, "mnuHelp", 10700_txt},
        {E::Command, "mnuHelpTopic", 10701_txt},
        {E::Command, "mnuHelpAbout", 10702_txt, "F1", [this] { mnuHelpAbout_Click(); }},

        // Shown only while the channel table is active; the table carries the commands out.
        {E::Menu, "MnuCHEdit", 10800_txt},
        channelEdit("MnuCHCut", 10801_txt),
        channelEdit("MnuCHCopy", 10802_txt),
        channelEdit("MnuCHPaste", 10803_txt),
        channelEdit("MnuCHInsert", 10804_txt),
        channelEdit("MnuCHDelete", 10805_txt),
        channelEdit("MnuCHMoveUp", 10806_txt),
        channelEdit("MnuCHMoveDown", 10807_txt),
        channelEdit("MnuCHHabits", 10808_txt),
    };
    menus_.BuildMenuBar(*menuBar(), *this, rows);
}

void frmMain::BuildToolBar() {
    // The 20 positions in order; the channel-edit buttons go to the channel table (ToolbarClicked).
    const FrameMenus::ToolRow rows[] = {
        {"NewFile", 11000_txt, [this] { LoadNewDoc(); }},
        {"OpenFile", 11001_txt, [this] { mnuFileOpen_Click(); }},
        {"SaveFile", 11002_txt, [this] { mnuFileSave_Click(); }},
        {},
        {"Print", 11003_txt, [this] { mnuFilePrint_Click(); }},
        {},
        {"ReadRadio", 11004_txt, [this] { mnuReadFromRadio_Click(); }},
        {"CommSet", 11005_txt, [this] { mnuComm_Click(); }},
        {"WriteRadio", 11006_txt, [this] { mnuWriteToRadio_Click(); }},
        {},
        {"BtnCHCut", 11010_txt},
        {"BtnCHCopy", 11011_txt},
        {"BtnCHPaste", 11012_txt},
        {},
        {"BtnCHInsert", 11013_txt},
        {"BtnCHDelete", 11014_txt},
        {"BtnCHMoveUp", 11015_txt},
        {"BtnCHMoveDown", 11016_txt},
        {},
        {"About", 11007_txt, [this] { mnuHelpAbout_Click(); }},
    };
    static_assert(std::size(rows) == 20);
    menus_.BuildToolBar(*this, rows, [this](const QString& key) { ToolbarClicked(key); });
}

void frmMain::ToolbarClicked(const QString& key) {
    if (!menus_.RunTool(key) && key.startsWith("BtnCH")) emit ChannelEditCommand(key);
}

void frmMain::ShowCHInfo(bool show) {
    Menu("MnuCHEdit")->menuAction()->setVisible(show);
    for (QAction* a : menus_.Tools(kFirstChEditTool, kLastChEditTool))
        a->setVisible(show);
}

void frmMain::LoadTree() {
    QTreeWidget* tree = Tree();
    tree->clear();
    auto* root = new QTreeWidgetItem(tree);
    root->setData(0, Qt::UserRole, "N0");
    root->setText(0, ToQ(p_.Model.ModelCode) + ":" + ToQ(TypeName(p_.Model.ModelType)));
    root->setIcon(0, style()->standardIcon(QStyle::SP_ComputerIcon));
    for (const TreeNode& node : kTreeNodes) {
        auto* item = new QTreeWidgetItem(root);
        item->setData(0, Qt::UserRole, node.key);
        item->setText(0, ToQ(LangText(p_, node.text)));
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    }
    root->setExpanded(true);
}

void frmMain::TreeClicked(QTreeWidgetItem* item) {
    if (!item) return;
    const QString key = item->data(0, Qt::UserRole).toString();
    for (const TreeNode& node : kTreeNodes)
        if (key == node.key) {
            node.run(*this);
            return;
        }
}

} // namespace tarvane
