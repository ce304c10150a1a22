// The frame's undo and redo. The frame is the one place that commits: after
// every handled user input it compares the working image with the last step and
// records a step when they differ, named by the edit that ran (NoteEdit), else
// by the command or the window the user worked in.
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include "base/FieldHelpers.h"
#include "doc/Undo.h"
#include "frame/frmMain.h"
#include "image/CodeplugFile.h"
#include "state/History.h"
#include "state/Program.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

// A command or window name as a step label: no accelerator marks, no dots.
QString PlainLabel(const QString& text) {
    return ToQ(WithoutAccessMark(text.toStdString())).trimmed();
}

bool IsTextField(QObject* o) {
    return qobject_cast<QLineEdit*>(o) || qobject_cast<QAbstractSpinBox*>(o) || qobject_cast<QTextEdit*>(o) ||
           qobject_cast<QPlainTextEdit*>(o);
}

class InputWatcher : public QObject {
  public:
    InputWatcher(std::function<void(QObject*, QEvent*)> seen, QObject* parent)
        : QObject(parent), seen_(std::move(seen)) {}

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel:
        case QEvent::Drop:
            if (o->isWidgetType()) seen_(o, e);
            break;
        default:
            break;
        }
        return false;
    }

  private:
    std::function<void(QObject*, QEvent*)> seen_;
};

} // namespace

void frmMain::WatchUserInput() {
    // The command that ran names the step it made.
    connect(menuBar(), &QMenuBar::triggered, this, [this](QAction* a) {
        if (a != Action("mnuEditUndo") && a != Action("mnuEditRedo")) actionLabel_ = a->text();
    });
    inputWatcher_ = new InputWatcher([this](QObject* o, QEvent* e) { UserInputSeen(o, e); }, this);
    qApp->installEventFilter(inputWatcher_);
}

QString frmMain::WindowLabelOf(QWidget* w) const {
    for (QWidget* x = w; x; x = x->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(x))
            return PlainLabel(sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle());
        if (x == this || qobject_cast<QMenu*>(x)) return {};
        // A list's pop-up has no title: its list's window names the edit.
        if (x->isWindow() && !x->windowTitle().isEmpty()) return PlainLabel(x->windowTitle());
    }
    return {};
}

void frmMain::UserInputSeen(QObject* target, QEvent* e) {
    if (commitPending_) return; // the first receiver is the widget the input went to
    auto* w = static_cast<QWidget*>(target);
    inputLabel_ = WindowLabelOf(w);
    // Typing into one field makes one step, not one per key.
    inputKey_.clear();
    if (e->type() == QEvent::KeyPress && IsTextField(target)) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Tab)
            inputKey_ = QString("typing:%1").arg(reinterpret_cast<quintptr>(target));
    }
    commitPending_ = true;
    QTimer::singleShot(0, this, [this] { CommitHistory(); });
}

void frmMain::CommitHistory() {
    const QString label = actionLabel_.isEmpty() ? inputLabel_ : actionLabel_;
    std::string mergeKey;
    if (!inputKey_.isEmpty() && actionLabel_.isEmpty()) {
        // Only the same field with the same name merges (a table's one editor serves many cells).
        const std::string name = p_.History.Pending().empty() ? label.toStdString() : p_.History.Pending();
        mergeKey = inputKey_.toStdString() + "|" + name;
    }
    commitPending_ = false;
    actionLabel_.clear();
    inputLabel_.clear();
    inputKey_.clear();
    if (CommitStep(p_, label.toStdString(), mergeKey)) UpdateUndoActions();
}

void frmMain::mnuEditUndo_Click() {
    // An edit still open in a window counts as made.
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures", "FrmDTMF", "FrmRadioInfo"});
    CommitHistory();
    UndoEdit(p_);
    UpdateUndoActions();
}

void frmMain::mnuEditRedo_Click() {
    CommitEdits({"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures", "FrmDTMF", "FrmRadioInfo"});
    CommitHistory();
    RedoEdit(p_);
    UpdateUndoActions();
}

void frmMain::UpdateUndoActions() {
    ShowMainTxt(); // the caption marks unsaved changes
    if (QAction* undo = Action("mnuEditUndo")) {
        undo->setText(ToQ(UndoMenuText(p_)));
        undo->setEnabled(p_.History.CanUndo());
    }
    if (QAction* redo = Action("mnuEditRedo")) {
        redo->setText(ToQ(RedoMenuText(p_)));
        redo->setEnabled(p_.History.CanRedo());
    }
}

bool frmMain::SaveDocument(const std::string& path) {
    CommitEdits({"frmCommChInfo"});
    CommitHistory();
    if (!SaveCodeplug(p_, path)) return false;
    // The save stamps the version into the image; that is no step.
    p_.History.Absorb(p_.Image);
    NoteRecentFile(path);
    return true;
}

} // namespace tarvane
