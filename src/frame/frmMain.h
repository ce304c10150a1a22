#pragma once
// The frame window: function tree, menus, toolbar, status bar and the child
// windows of the editors. It starts and replaces documents and runs the file and
// radio commands. Its parts are held by helpers: FrameClient places the tree, the
// splitter and the MDI area (frmMainLayout), FrameMenus builds the menus and the
// toolbar from the tables in frmMainMenus.cpp, ChildWindowRegistry knows the
// window kinds and the open windows.
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

#include "base/Signal.h"
#include "frame/ChildWindowRegistry.h"
#include "frame/FrameMenus.h"
#include "frame/frmMainLayout.h"
#include "state/LinkState.h"
#include "ui/Twips.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarvane {

struct Program;
class RadioLink;

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    using Factory = ChildWindowRegistry::Factory;

    explicit frmMain(Program& p, QWidget* parent = nullptr);
    ~frmMain() override;

    Program& Prog() { return p_; }
    QMdiArea* MdiArea() const { return mdi_; }

    // Window kinds the editors plug in: child windows live in the MDI area, dialogs are modal.
    void RegisterChildKind(const QString& kind, Factory create) {
        windows_.RegisterChild(kind, std::move(create));
    }
    void RegisterDialogKind(const QString& kind, Factory create) {
        windows_.RegisterDialog(kind, std::move(create));
    }
    bool HasKind(const QString& kind) const { return windows_.Has(kind); }
    bool TransferRunning() const;
    // Focuses the open window of the kind, or makes it, shows it and cascades.
    QWidget* ShowFormOnce(const QString& kind);
    // Runs a registered modal dialog; false when the kind is not registered.
    bool ShowDialogKind(const QString& kind);
    QWidget* FindChildWindow(const QString& kind) const { return windows_.Find(kind); }
    QList<QWidget*> ChildWindows() const { return windows_.Open(); }

    void CloseCurAllWindows();
    void ShowMainTxt();
    void Change_Language();
    void ShowCHInfo(bool show);
    void LoadTree();
    void LoadNewDoc();
    void ShowChannelTable();
    // The image was replaced as a whole (undo, import): the open windows show it
    // themselves; on another band they are made again.
    void ImageReplaced();
    // Every frame text: filter, status panels, caption, menus and tool tips.
    void SetFrameTexts();
    // Takes a language switch into account (called when the frame is active again).
    void CheckLanguageChange();

    // Commands
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    bool mnuFileSave_Click();
    bool mnuFileSaveAs_Click();
    void mnuModelInfo_Click();
    // findAtOnce: the dialog starts with Find radio (offered when nothing answers a read).
    void mnuComm_Click(bool findAtOnce = false);
    void mnuLanguage_Click();
    void MnuInit_Click();
    void MnuProPassWord_Click();
    void mnuHelpAbout_Click();
    // Help > Getting started: the guide beside the frame (one at a time).
    void mnuHelpGuide_Click();
    void mnuReadFromRadio_Click();
    void OfferFindWhenSilent(RadioLink* link, bool& findRadio);
    void mnuWriteToRadio_Click();
    void MnuLocalInfo_Click();
    void ReadRMGDataFromRadio();
    // Channels to and from CSV, comparison with a file or the radio (frmMainExchange.cpp).
    void mnuExportChannels_Click();
    void mnuImportChannels_Click();
    void mnuCompareFile_Click();
    void mnuCompareRadio_Click();
    void TreeClicked(QTreeWidgetItem* item);
    void ToolbarClicked(const QString& key);

    // The file dialogs; tests replace them. An empty result means cancelled.
    std::function<QString(const QString& filter)> AskOpenPath;
    std::function<QString(const QString& filter, const QString& proposed)> AskSavePath;
    std::function<QString(const QString& proposed)> AskPdfPath;
    QString OpenFolder; // where the open dialog starts; empty: its own choice
    QString BackupDir;  // where reads and writes are kept

    // Undo and redo (frmMainHistory.cpp). CommitHistory makes what the last user
    // action changed one step; it runs after every handled user input.
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void CommitHistory();
    // Print, preview and PDF of the document report (frmMainPrint.cpp).
    void mnuFilePrint_Click();
    void mnuFilePrintPreview_Click();
    void mnuFileExportPdf_Click();
    bool ExportPdf(const QString& path);
    // Backups, recent files and dropped files (frmMainComforts.cpp).
    void mnuFileOpenBackup_Click();
    // Many radios: the window, and the programming log kept beside the backups
    // (opened with the desktop's program for CSV; tests replace OpenLogFile).
    void mnuProgramMany_Click();
    void mnuFileOpenLog_Click();
    std::function<void(const QString& path)> OpenLogFile;
    // Open of a known file (its name in bytes, as the system has it): the
    // unsaved-changes question, then as File > Open.
    void OpenDocumentFile(const std::string& path);
    std::vector<std::string> RecentFiles() const; // names in bytes, newest first

    QString FileFilter() const { return fileFilter_; }
    QAction* Action(const QString& name) const { return menus_.Action(name); }
    QMenu* Menu(const QString& name) const { return menus_.Menu(name); }
    QWidget* LeftPane() const { return client_->LeftPane(); }
    QWidget* Splitter() const { return client_->Splitter(); }
    QTreeWidget* Tree() const { return client_->Tree(); }
    QToolBar* ToolBar() const { return menus_.ToolBar(); }
    QLabel* StatusPanel(int n) const;
    int LeftPaneWidth() const { return client_->LeftPaneWidth(); }

    // Splitter drag, x in pixels relative to the splitter.
    void SplitterMouseDown() { client_->SplitterMouseDown(); }
    void SplitterMouseMove(int x) { client_->SplitterMouseMove(x); }
    void SplitterMouseUp() { client_->SplitterMouseUp(); }

    QTimer NewDocTimer;
    QTimer ReadOKTimer;
    QTimer WaitSaveDataTimer;

  signals:
    // A channel-edit button or menu entry; the channel table carries it out.
    void ChannelEditCommand(const QString& key);
    // A transfer or its post-read step has ended (tests wait for it).
    void RadioCommandDone();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    // The menu bar, toolbar and function tree from their tables (frmMainMenus.cpp).
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void UpdateStatusPanels();
    void NewDocTimer_Timer();
    void ReadOKTimer_Timer();
    void WaitSaveDataTimer_Timer();
    // Asks 9006 when the image has changed; false when the command must stop.
    bool AskSaveChanges();
    // Ends a running transfer and closes the port (the frame is closing).
    void AbortTransfer();
    // A link for one radio command; nullptr while another transfer runs.
    RadioLink* NewLink();
    // A new link whose port could be opened for `op`; on failure the message has
    // been shown, the link dropped and the command ended.
    RadioLink* LinkWithCheckedPort(LinkOperation op);
    // Forgets a link whose transfer did not start: operation Idle, port closed.
    void DropLink();
    // Runs a read or write with the modal progress window; the port check and question came first.
    void RunWithProgress(RadioLink* link, bool writing);
    // Commits the edit in progress of the open windows of these kinds.
    void CommitEdits(const QStringList& kinds);
    void UpdateUndoActions();
    void RebuildRecentMenu();
    void NoteRecentFile(const std::string& path);
    void OpenChosenFile(const std::string& path);
    // The chosen path with the ending added where it has none; empty when the
    // user keeps an existing file of that name (or chose none).
    QString WithEnding(const QString& typed, const char* extension);
    // Save through the history: the step before, the stamped version after.
    bool SaveDocument(const std::string& path);
    void KeepReadBackup();
    bool KeepWriteBackup();
    // Follows user input and menu commands: the commit follows once one is handled.
    void WatchUserInput();
    void UserInputSeen(QObject* target, QEvent* e);
    QString WindowLabelOf(QWidget* w) const;

    Program& p_;
    FrameClient* client_;         // the left pane, the splitter and the MDI area
    QMdiArea* mdi_;               // the client's MDI area
    ChildWindowRegistry windows_; // the window kinds and the open child windows
    FrameMenus menus_;
    Subscription captionSub_;
    Subscription imageSub_;
    int windowsBand_ = -1; // the band the open windows were made for
    QString fileFilter_;
    QList<QLabel*> panels_;
    QPointer<RadioLink> link_; // the transfer of the running radio command
    QObject* inputWatcher_ = nullptr;
    bool commitPending_ = false;
    QString inputLabel_;  // the window the input went to
    QString actionLabel_; // the menu or toolbar command that ran
    QString inputKey_;    // typing into one text field: steps merge
};

// Fills the program's prompts with message boxes, the password dialog and a detached start.
void InstallGuiPrompts(Program& p, QWidget* owner);
// The window kinds shipped with the program.
void RegisterStandardWindows(frmMain& m);
// The desktop program's start once QApplication exists: numbers with ".", the
// prompts, the start-up files, and the frame shown (ShowFrame).
std::unique_ptr<frmMain> StartApplication(Program& p);
// Registers the window kinds and shows the frame; the channel table opens in the
// event after the frame's first frame.
void ShowFrame(frmMain& frame);
// The window placement and recent files live beside the setup file, in
// ~/.config/tarvane-cps/; what the folder of the program's title held is taken
// over once, while the new store is still empty.
void AdoptOldSettings();

} // namespace tarvane
