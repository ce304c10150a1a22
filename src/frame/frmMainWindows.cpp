// The frame's child windows and dialogs: shown once per kind, closed together,
// made again when the image changes band, and their edits committed before a
// command uses the image.
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "frame/frmMain.h"
#include "state/History.h"
#include "state/Program.h"

namespace tarvane {

namespace {
constexpr const char* kChannelTable = "frmCommChInfo";
} // namespace

QWidget* frmMain::ShowFormOnce(const QString& kind) {
    if (QWidget* open = windows_.Find(kind)) {
        windows_.Activate(open);
        return open;
    }
    if (!windows_.IsChild(kind)) return nullptr;
    CommitHistory();
    QWidget* w = windows_.Make(kind, *this);
    if (!w) return nullptr;
    windowsBand_ = p_.Model.ModelType;
    QMdiSubWindow* sub = windows_.Add(w);
    // A window that does not fit the child area makes the frame larger.
    GrowToShow(*this, *mdi_, *sub);
    // What a window stores while it opens is no edit of the user's.
    p_.History.Absorb(p_.Image);
    return w;
}

bool frmMain::ShowDialogKind(const QString& kind) {
    if (!windows_.IsDialog(kind)) return false;
    CommitHistory();
    QWidget* w = windows_.Make(kind, *this);
    if (!w) return false;
    p_.History.Absorb(p_.Image);
    w->setWindowModality(Qt::ApplicationModal);
    if (auto* d = qobject_cast<QDialog*>(w))
        d->exec();
    else
        w->show();
    return true;
}

void frmMain::ShowChannelTable() {
    ShowFormOnce(kChannelTable);
}

void frmMain::ImageReplaced() {
    ShowMainTxt();
    UpdateStatusPanels();
    if (windowsBand_ == p_.Model.ModelType || ChildWindows().isEmpty()) return;
    CloseCurAllWindows();
    ShowChannelTable();
}

void frmMain::CloseCurAllWindows() {
    mdi_->closeAllSubWindows();
    // Windows of the program outside the frame (non-modal tool windows) go as well.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && !w->isModal() && w->parentWidget() == this) w->close();
}

void frmMain::CommitEdits(const QStringList& kinds) {
    // Child windows and dialogs alike; a window without an edit in progress has no CommitEdit.
    for (QWidget* w : QApplication::allWidgets())
        if (kinds.contains(w->objectName()) && w->metaObject()->indexOfMethod("CommitEdit()") >= 0)
            QMetaObject::invokeMethod(w, "CommitEdit", Qt::DirectConnection);
}

} // namespace tarvane
