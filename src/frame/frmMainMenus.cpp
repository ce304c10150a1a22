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
#include "ui/ToolIcons.h"
#include "state/lang/TextIds.h"
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
    {"N1", txt::kMainChannels, [](frmMain& m) { m.ShowChannelTable(); }},
    {"N2", txt::kMainOptionalFeatures, [](frmMain& m) { m.ShowFormOnce("FrmOptFeatures"); }},
    {"N4", txt::kMainDTMF, [](frmMain& m) { m.ShowFormOnce("FrmDTMF"); }},
    {"N12", txt::kMainToneTips, [](frmMain& m) { m.ShowFormOnce("FrmToneTips"); }},
    {"N8", txt::kMainKeys, [](frmMain& m) { m.ShowFormOnce("FrmKey"); }},
    {"N7", txt::kMainRadioInformation, [](frmMain& m) { m.ReadRMGDataFromRadio(); }},
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
        {E::Menu, "mnuFile", txt::kMenuFile},
        {E::Command, "mnuFileNew", txt::kMenuNew, "Ctrl+N", [this] { mnuFileNew_Click(); }},
        {E::Command, "mnuFileOpen", txt::kMenuOpen, "Ctrl+O", [this] { mnuFileOpen_Click(); }},
        {E::Command, "mnuFileOpenBackup", txt::kOpenBackup, nullptr, [this] { mnuFileOpenBackup_Click(); }},
        {E::Command, "mnuFileOpenLog", txt::kOpenProgrammingLog, nullptr, [this] { mnuFileOpenLog_Click(); }},
        {E::SubMenu, "mnuFileRecent", txt::kRecentFiles, nullptr, [this] { RebuildRecentMenu(); }},
        {E::Separator},
        {E::Command, "mnuFileSave", txt::kMenuSave, "Ctrl+S", [this] { mnuFileSave_Click(); }},
        {E::Command, "mnuFileSaveAs", txt::kSaveAs, "Ctrl+Shift+S", [this] { mnuFileSaveAs_Click(); }},
        {E::Separator},
        {E::Command, "mnuExportChannels", txt::kExportChannels, nullptr,
         [this] { mnuExportChannels_Click(); }},
        {E::Command, "mnuImportChannels", txt::kImportChannels_32871, nullptr,
         [this] { mnuImportChannels_Click(); }},
        {E::Command, "mnuCompareFile", txt::kCompareFile, nullptr, [this] { mnuCompareFile_Click(); }},
        {E::Separator},
        {E::Command, "mnuFilePrint", txt::kMenuPrint, "Ctrl+P", [this] { mnuFilePrint_Click(); }},
        {E::Command, "mnuFilePrintPreview", txt::kPrintPreview, nullptr,
         [this] { mnuFilePrintPreview_Click(); }},
        {E::Command, "mnuFileExportPdf", txt::kExportPDF, nullptr, [this] { mnuFileExportPdf_Click(); }},
        {E::Separator},
        {E::Command, "mnuFileExit", txt::kExit, "Ctrl+Q", [this] { close(); }},

        {E::Menu, "mnuModel", txt::kMenuModel},
        {E::Command, "mnuModelInfo", txt::kMenuModelInformation, nullptr, [this] { mnuModelInfo_Click(); }},

        // Undo and redo name the step they take back; the texts follow the history.
        {E::Menu, "mnuEdit", txt::kMenuEdit, nullptr, [this] { UpdateUndoActions(); }},
        {E::Command, "mnuEditUndo", TextId{0}, "Ctrl+Z", [this] { mnuEditUndo_Click(); }},
        {E::Command, "mnuEditRedo", TextId{0}, "Ctrl+Shift+Z; Ctrl+Y", [this] { mnuEditRedo_Click(); }},
        {E::Separator},
        {E::Command, "mnuChannelInfo", txt::kMenuChannels, nullptr, [this] { ShowChannelTable(); }},
        {E::Command, "mnuOptFeature", txt::kMenuOptionalFeatures, nullptr, show("FrmOptFeatures")},
        {E::Command, "MnuRadioFre", txt::kRadioFrequencies},
        {E::Command, "MnuDTMF", txt::kMenuDTMF, nullptr, show("FrmDTMF")},
        {E::Command, "MnuTestFre", txt::kTestFrequencies},
        {E::Command, "mnuEmbeddedMsg", txt::kEmbeddedMessage},
        {E::Command, "MnuLocalInfo", txt::kMenuRadioInformation, nullptr, [this] { MnuLocalInfo_Click(); }},
        {E::Command, "MnuKey", txt::kMenuKeys, nullptr, show("FrmKey")},
        {E::Command, "MnuScan", txt::kMenuScan},
        {E::Command, "MnuAlert", txt::kAlert},
        {E::Command, "mnuGroupName", txt::kGroupNames},
        {E::Command, "mnuToneTips", txt::kMenuToneTips, nullptr, show("FrmToneTips")},
        {E::Command, "mnuResetInit", txt::kReset},
        {E::Command, "MnuEMGChannel", txt::kEmergencyChannel, nullptr, [this] { ShowDialogKind("Frm_EMG"); }},

        {E::Menu, "mnuProgram", txt::kProgram},
        {E::Command, "mnuReadFromRadio", txt::kMenuReadRadio, nullptr, [this] { mnuReadFromRadio_Click(); }},
        {E::Command, "mnuWriteToRadio", txt::kMenuWriteRadio, nullptr, [this] { mnuWriteToRadio_Click(); }},
        {E::Command, "mnuProgramMany", txt::kProgramManyRadios, nullptr, [this] { mnuProgramMany_Click(); }},
        {E::Command, "MnuProPassWord", txt::kMenuRadioPassword, nullptr, [this] { MnuProPassWord_Click(); }},
        {E::Command, "mnuCompareRadio", txt::kCompareRadio, nullptr, [this] { mnuCompareRadio_Click(); }},

        {E::Menu, "mnuSet", txt::kMenuSettings},
        {E::Command, "mnuComm", txt::kMenuSerialPort, nullptr, [this] { mnuComm_Click(); }},
        {E::Command, "mnuLanguage", txt::kMenuLanguage, nullptr, [this] { mnuLanguage_Click(); }},
        {E::Command, "MnuInit", txt::kInitialSetup, nullptr, [this] { MnuInit_Click(); }},

        {E::Menu, "mnuView", txt::kView},
        check("mnuTreeView", txt::kFunctionTree, [this](bool on) { client_->ShowLeftPane(on); }),
        check("mnuViewToolbar", txt::kToolbar, [this](bool on) { ToolBar()->setVisible(on); }),
        check("mnuViewStatusBar", txt::kStatusBar, [this](bool on) { statusBar()->setVisible(on); }),

        {E::Menu, "mnuWindow", txt::kWindow, nullptr,
         [this] { RebuildWindowMenu(*Menu("mnuWindow"), *mdi_); }},
        {E::Command, "mnuWindowCascade", txt::kCascade, nullptr, [this] { mdi_->cascadeSubWindows(); }},
        {E::Command, "mnuCloseAll", txt::kCloseAll, nullptr, [this] { CloseCurAllWindows(); }},
        {E::Command, "mnuWindowTileHorizontal", txt::kTileHorizontally, nullptr,
         [this] { mdi_->tileSubWindows(); }},
        {E::Command, "mnuWindowTileVertical", txt::kTileVertically, nullptr,
         [this] { mdi_->tileSubWindows(); }},
        {E::Command, "mnuWindowArrangeIcons", txt::kArrangeIcons, nullptr,
         [this] { mdi_->cascadeSubWindows(); }},

        {E::Menu, "mnuHelp", txt::kMenuHelp},
        {E::Command, "mnuHelpTopic", txt::kHelpTopics},
        {E::Command, "mnuHelpGuide", txt::kGettingStarted, "F1", [this] { mnuHelpGuide_Click(); }},
        {E::Command, "mnuHelpAbout", txt::kMenuAbout, nullptr, [this] { mnuHelpAbout_Click(); }},

        // Shown only while the channel table is active; the table carries the commands out.
        {E::Menu, "MnuCHEdit", txt::kMenuChannel},
        channelEdit("MnuCHCut", txt::kMenuCutChannel),
        channelEdit("MnuCHCopy", txt::kMenuCopyChannel),
        channelEdit("MnuCHPaste", txt::kMenuPasteChannel),
        channelEdit("MnuCHInsert", txt::kMenuInsertChannel),
        channelEdit("MnuCHDelete", txt::kMenuDeleteChannel),
        channelEdit("MnuCHMoveUp", txt::kMoveUp),
        channelEdit("MnuCHMoveDown", txt::kMoveDown),
        channelEdit("MnuCHHabits", txt::kEditingHabits),
    };
    menus_.BuildMenuBar(*menuBar(), *this, rows);
}

void frmMain::BuildToolBar() {
    // The 20 positions in order; the channel-edit buttons go to the channel table (ToolbarClicked).
    const FrameMenus::ToolRow rows[] = {
        {"NewFile", txt::kToolNew, [this] { LoadNewDoc(); }},
        {"OpenFile", txt::kToolOpen, [this] { mnuFileOpen_Click(); }},
        {"SaveFile", txt::kToolSave, [this] { mnuFileSave_Click(); }},
        {},
        {"Print", txt::kToolPrint, [this] { mnuFilePrint_Click(); }},
        {},
        {"ReadRadio", txt::kToolReadRadio, [this] { mnuReadFromRadio_Click(); }},
        {"CommSet", txt::kToolSerialPort, [this] { mnuComm_Click(); }},
        {"WriteRadio", txt::kToolWriteRadio, [this] { mnuWriteToRadio_Click(); }},
        {},
        {"BtnCHCut", txt::kToolCutChannel},
        {"BtnCHCopy", txt::kToolCopyChannel},
        {"BtnCHPaste", txt::kToolPasteChannel},
        {},
        {"BtnCHInsert", txt::kToolInsertChannel},
        {"BtnCHDelete", txt::kToolDeleteChannel},
        {"BtnCHMoveUp", txt::kMoveChannelUp},
        {"BtnCHMoveDown", txt::kMoveChannelDown},
        {},
        {"About", txt::kToolAbout, [this] { mnuHelpAbout_Click(); }},
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
    // Built apart and added whole: every item added or changed in the tree makes
    // the pane measure all of them again.
    auto* root = new QTreeWidgetItem;
    root->setData(0, Qt::UserRole, "N0");
    root->setText(0, ToQ(p_.Model.ModelCode) + ":" + ToQ(TypeName(p_.Model.ModelType)));
    root->setIcon(0, ToolIcon("Radio"));
    const QIcon page = ToolIcon("Page");
    QList<QTreeWidgetItem*> nodes;
    for (const TreeNode& node : kTreeNodes) {
        auto* item = new QTreeWidgetItem;
        item->setData(0, Qt::UserRole, node.key);
        item->setText(0, ToQ(LangText(p_, node.text)));
        item->setIcon(0, page);
        nodes.append(item);
    }
    root->addChildren(nodes);
    tree->addTopLevelItem(root);
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
