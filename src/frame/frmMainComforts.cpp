// The frame's everyday comforts: the undo, print, backup and recent-file menu
// entries and their shortcuts, backups around radio transfers, and files dropped
// on the frame.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "base/RecentFiles.h"
#include "doc/Backups.h"
#include "frame/frmMain.h"
#include "state/History.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

// The same store as the window placement, under a name no language changes.
constexpr const char* kSettingsStore = "Tarvane CPS";
constexpr const char* kRecentGroup = "RecentFiles";
constexpr const char* kRecentKey = "Files";

// The .dat file a drag carries, or "" when it carries none (or several files).
QString DroppedCodeplug(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().first();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(".dat", Qt::CaseInsensitive) && QFileInfo(path).isFile() ? path : QString();
}

std::vector<std::string> ToStd(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

QStringList ToQt(const std::vector<std::string>& list) {
    QStringList out;
    for (const std::string& s : list)
        out.append(ToQ(s));
    return out;
}

} // namespace

void frmMain::BuildComforts() {
    QMenu* file = Menu("mnuFile");
    QMenu* edit = Menu("mnuEdit");
    QAction* save = Action("mnuFileSave");

    QAction* backup = new QAction(file);
    backup->setObjectName("mnuFileOpenBackup");
    actions_[backup->objectName()] = backup;
    connect(backup, &QAction::triggered, this, [this] { mnuFileOpenBackup_Click(); });
    file->insertAction(save, backup);
    QMenu* recent = new QMenu(file);
    recent->setObjectName("mnuFileRecent");
    recent->menuAction()->setObjectName("mnuFileRecent");
    menus_["mnuFileRecent"] = recent;
    file->insertMenu(save, recent);
    connect(recent, &QMenu::aboutToShow, this, [this] { RebuildRecentMenu(); });
    file->insertSeparator(save);

    // Preview and PDF follow Print.
    const QList<QAction*> entries = file->actions();
    const qsizetype at = entries.indexOf(Action("mnuFilePrint"));
    QAction* next = at >= 0 && at + 1 < entries.size() ? entries[at + 1] : nullptr;
    for (const char* name : {"mnuFilePrintPreview", "mnuFileExportPdf"}) {
        QAction* a = new QAction(file);
        a->setObjectName(name);
        actions_[name] = a;
        file->insertAction(next, a);
    }
    connect(Action("mnuFilePrint"), &QAction::triggered, this, [this] { mnuFilePrint_Click(); });
    connect(Action("mnuFilePrintPreview"), &QAction::triggered, this,
            [this] { mnuFilePrintPreview_Click(); });
    connect(Action("mnuFileExportPdf"), &QAction::triggered, this, [this] { mnuFileExportPdf_Click(); });

    QAction* first = edit->actions().value(0);
    for (const char* name : {"mnuEditUndo", "mnuEditRedo"}) {
        QAction* a = new QAction(edit);
        a->setObjectName(name);
        actions_[name] = a;
        edit->insertAction(first, a);
    }
    edit->insertSeparator(first);
    connect(Action("mnuEditUndo"), &QAction::triggered, this, [this] { mnuEditUndo_Click(); });
    connect(Action("mnuEditRedo"), &QAction::triggered, this, [this] { mnuEditRedo_Click(); });
    connect(edit, &QMenu::aboutToShow, this, [this] { UpdateUndoActions(); });

    Action("mnuFileNew")->setShortcut(QKeySequence("Ctrl+N"));
    Action("mnuFileOpen")->setShortcut(QKeySequence("Ctrl+O"));
    Action("mnuFileSave")->setShortcut(QKeySequence("Ctrl+S"));
    Action("mnuFileSaveAs")->setShortcut(QKeySequence("Ctrl+Shift+S"));
    Action("mnuFilePrint")->setShortcut(QKeySequence("Ctrl+P"));
    Action("mnuFileExit")->setShortcut(QKeySequence("Ctrl+Q"));
    Action("mnuHelpAbout")->setShortcut(QKeySequence("F1"));
    Action("mnuEditUndo")->setShortcut(QKeySequence("Ctrl+Z"));
    Action("mnuEditRedo")->setShortcuts({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")});
    for (QAction* a : {Action("mnuEditUndo"), Action("mnuEditRedo")})
        a->setShortcutContext(Qt::WindowShortcut);

    // The command that ran names the step it made.
    connect(menuBar(), &QMenuBar::triggered, this, [this](QAction* a) {
        if (a != Action("mnuEditUndo") && a != Action("mnuEditRedo")) actionLabel_ = a->text();
    });
    AskPdfPath = [this](const QString& proposed) {
        return QFileDialog::getSaveFileName(this, QString(), proposed, "PDF (*.pdf)");
    };
    WatchUserInput();
}

void frmMain::SetComfortTexts() {
    auto set = [this](const char* name, TextId id) {
        if (QAction* a = Action(name)) a->setText(ToQ(LangText(p_, id)));
    };
    set("mnuFileOpenBackup", 33231_txt);
    set("mnuFilePrintPreview", 33232_txt);
    set("mnuFileExportPdf", 33233_txt);
    if (QMenu* recent = Menu("mnuFileRecent")) recent->setTitle(ToQ(LangText(p_, 33230_txt)));
    UpdateUndoActions();
}

// ---- recent files ------------------------------------------------------------

QStringList frmMain::RecentFiles() const {
    QSettings s(kSettingsStore, kSettingsStore);
    s.beginGroup(kRecentGroup);
    const QStringList stored = s.value(kRecentKey).toStringList();
    return ToQt(ExistingRecentFiles(ToStd(stored), RegularFileExists));
}

void frmMain::NoteRecentFile(const QString& path) {
    QSettings s(kSettingsStore, kSettingsStore);
    s.beginGroup(kRecentGroup);
    const QStringList stored = s.value(kRecentKey).toStringList();
    s.setValue(kRecentKey, ToQt(AddRecentFile(ToStd(stored), path.toStdString())));
}

void frmMain::RebuildRecentMenu() {
    QMenu* recent = Menu("mnuFileRecent");
    recent->clear();
    const QStringList files = RecentFiles();
    if (files.isEmpty()) {
        recent->addAction(ToQ(LangText(p_, 33234_txt)))->setEnabled(false);
        return;
    }
    int n = 0;
    for (const QString& path : files) {
        QAction* a = recent->addAction(QString("&%1 %2").arg(++n).arg(QDir::toNativeSeparators(path)));
        a->setObjectName(QString("mnuFileRecent_%1").arg(n));
        connect(a, &QAction::triggered, this, [this, path] { OpenDocumentFile(path); });
    }
}

void frmMain::OpenDocumentFile(const QString& path) {
    if (!AskSaveChanges()) return;
    OpenChosenFile(path);
}

// ---- backups -----------------------------------------------------------------

void frmMain::KeepReadBackup() {
    const std::string written = KeepBackup(p_, BackupKind::Read, BackupDir.toStdString());
    if (written.empty())
        Tell(p_, FillIn(LangText(p_, 33320_txt), {BackupDir.toStdString()}), MsgIcon::Warning);
}

bool frmMain::KeepWriteBackup() {
    if (!KeepBackup(p_, BackupKind::Write, BackupDir.toStdString()).empty()) return true;
    // Without a copy of what goes into the radio the user decides.
    return Tell(p_, FillIn(LangText(p_, 33321_txt), {BackupDir.toStdString()}), MsgIcon::Warning,
                MsgButtons::OkCancel) == MsgAnswer::Ok;
}

void frmMain::mnuFileOpenBackup_Click() {
    QDir().mkpath(BackupDir);
    OpenFolder = BackupDir;
    mnuFileOpen_Click();
    OpenFolder.clear();
}

// ---- dropped files -------------------------------------------------------------

void frmMain::dragEnterEvent(QDragEnterEvent* e) {
    if (!DroppedCodeplug(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* e) {
    const QString path = DroppedCodeplug(e->mimeData());
    if (path.isEmpty()) return;
    e->acceptProposedAction();
    // Opened after the drop has ended: the questions must not hold the dragging program.
    QTimer::singleShot(0, this, [this, path] { OpenDocumentFile(path); });
}

} // namespace tarvane
