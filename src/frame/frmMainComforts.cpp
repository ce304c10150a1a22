// The frame's everyday comforts: recent files, backups around radio transfers,
// and files dropped on the frame.
#include <QFile>
#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <filesystem>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QUrl>

#include "base/RecentFiles.h"
#include "batch/BatchRow.h"
#include "batch/FrmBatch.h"
#include "doc/Backups.h"
#include "frame/frmMain.h"
#include "state/History.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

// The same store as the window placement, under a name no language changes.
constexpr const char* kSettingsStore = "tarvane-cps";
constexpr const char* kRecentGroup = "RecentFiles";
constexpr const char* kRecentKey = "Files";

// The .dat file a drag carries (its name in bytes), or "" when it carries none
// (or several files).
std::string DroppedCodeplug(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().first();
    if (!url.isLocalFile()) return {};
    // Percent-decoded by hand: a name that is not UTF-8 keeps its bytes.
    const std::string path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
    std::error_code error;
    const bool dat = path.size() > 4 && QByteArray::fromStdString(path.substr(path.size() - 4)).toLower() == ".dat";
    return dat && std::filesystem::is_regular_file(path, error) ? path : std::string();
}

// Stored paths: a name that is valid UTF-8 as text, any other as its bytes, so
// that every name comes back as the system has it. Older lists hold texts only.
std::vector<std::string> FromStored(const QVariant& stored) {
    // A list of one is read back from the file as that one value.
    const bool single = stored.typeId() == QMetaType::QString || stored.typeId() == QMetaType::QByteArray;
    std::vector<std::string> out;
    for (const QVariant& v : single ? QVariantList{stored} : stored.toList())
        out.push_back(v.typeId() == QMetaType::QByteArray ? v.toByteArray().toStdString()
                                                          : QFile::encodeName(v.toString()).toStdString());
    return out;
}

QVariant ToStored(const std::vector<std::string>& paths) {
    QVariantList mixed;
    QStringList texts; // the readable form, when every name is UTF-8
    bool allText = true;
    for (const std::string& path : paths) {
        const QByteArray bytes = QByteArray::fromStdString(path);
        const QString text = QFile::decodeName(bytes);
        const bool asText = QFile::encodeName(text) == bytes;
        allText = allText && asText;
        mixed.append(asText ? QVariant(text) : QVariant(bytes));
        texts.append(text);
    }
    return allText ? QVariant(texts) : QVariant(mixed);
}

} // namespace

// ---- recent files ------------------------------------------------------------

std::vector<std::string> frmMain::RecentFiles() const {
    QSettings s(kSettingsStore, kSettingsStore);
    s.beginGroup(kRecentGroup);
    return ExistingRecentFiles(FromStored(s.value(kRecentKey)), RegularFileExists);
}

void frmMain::NoteRecentFile(const std::string& path) {
    QSettings s(kSettingsStore, kSettingsStore);
    s.beginGroup(kRecentGroup);
    s.setValue(kRecentKey, ToStored(AddRecentFile(FromStored(s.value(kRecentKey)), path)));
}

void frmMain::RebuildRecentMenu() {
    QMenu* recent = Menu("mnuFileRecent");
    recent->clear();
    const std::vector<std::string> files = RecentFiles();
    if (files.empty()) {
        recent->addAction(ToQ(LangText(p_, txt::kNoRecentFiles)))->setEnabled(false);
        return;
    }
    int n = 0;
    for (const std::string& path : files) {
        const QString shown = QFile::decodeName(QByteArray::fromStdString(path));
        QAction* a = recent->addAction(QString("&%1 %2").arg(++n).arg(QDir::toNativeSeparators(shown)));
        a->setObjectName(QString("mnuFileRecent_%1").arg(n));
        connect(a, &QAction::triggered, this, [this, path] { OpenDocumentFile(path); });
    }
}

void frmMain::OpenDocumentFile(const std::string& path) {
    if (!AskSaveChanges()) return;
    OpenChosenFile(path);
}

// ---- backups -----------------------------------------------------------------

void frmMain::KeepReadBackup() {
    const std::string written = KeepBackup(p_, BackupKind::Read, QFile::encodeName(BackupDir).toStdString());
    if (written.empty())
        Tell(p_, FillIn(LangText(p_, txt::kBackupConfigurationReadCould), {BackupDir.toStdString()}),
             MsgIcon::Warning);
}

bool frmMain::KeepWriteBackup() {
    if (!KeepBackup(p_, BackupKind::Write, QFile::encodeName(BackupDir).toStdString()).empty()) return true;
    // Without a copy of what goes into the radio the user decides.
    return Tell(p_, FillIn(LangText(p_, txt::kBackupConfigurationWrittenCould), {BackupDir.toStdString()}),
                MsgIcon::Warning, MsgButtons::OkCancel) == MsgAnswer::Ok;
}

void frmMain::mnuFileOpenBackup_Click() {
    QDir().mkpath(BackupDir);
    OpenFolder = BackupDir;
    mnuFileOpen_Click();
    OpenFolder.clear();
}

// ---- many radios ---------------------------------------------------------------

void frmMain::mnuProgramMany_Click() {
    // The open document is what the window writes by default: edits in progress count.
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures", "FrmDTMF", "FrmRadioInfo"});
    FrmBatch dlg(p_, BackupDir.toStdString(), this);
    dlg.exec();
}

void frmMain::mnuFileOpenLog_Click() {
    const std::string log = NewestLog(BackupDir.toStdString());
    if (log.empty()) {
        Tell(p_, FillIn(LangText(p_, txt::kBatchNoLogYet), {BackupDir.toStdString()}), MsgIcon::Information);
        return;
    }
    if (OpenLogFile)
        OpenLogFile(ToQ(log));
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(ToQ(log)));
}

// ---- dropped files -------------------------------------------------------------

void frmMain::dragEnterEvent(QDragEnterEvent* e) {
    if (!DroppedCodeplug(e->mimeData()).empty()) e->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* e) {
    const std::string path = DroppedCodeplug(e->mimeData());
    if (path.empty()) return;
    e->acceptProposedAction();
    // Opened after the drop has ended: the questions must not hold the dragging program.
    QTimer::singleShot(0, this, [this, path] { OpenDocumentFile(path); });
}

} // namespace tarvane
