#include "frame/ChannelWindows.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

#include "channels/FrmCHInfoEdit.h"
#include "channels/frmCommChInfo.h"
#include "frame/frmMain.h"
#include "state/Program.h"

namespace tarvane {

namespace {

constexpr const char* kTable = "frmCommChInfo";
constexpr const char* kEdit = "FrmCHInfoEdit";

struct CommandKeys {
    const char* menu;
    QKeySequence keys;
};

const CommandKeys kCommands[] = {
    {"MnuCHCut", QKeySequence(Qt::CTRL | Qt::Key_X)},
    {"MnuCHCopy", QKeySequence(Qt::CTRL | Qt::Key_C)},
    {"MnuCHPaste", QKeySequence(Qt::CTRL | Qt::Key_V)},
    {"MnuCHInsert", QKeySequence(Qt::Key_Insert)},
    {"MnuCHDelete", QKeySequence(Qt::Key_Delete)},
    {"MnuCHMoveUp", QKeySequence(Qt::CTRL | Qt::Key_Up)},
    {"MnuCHMoveDown", QKeySequence(Qt::CTRL | Qt::Key_Down)},
};

frmCommChInfo* ActiveTable(frmMain& m) {
    QMdiSubWindow* sub = m.MdiArea()->activeSubWindow();
    return sub ? qobject_cast<frmCommChInfo*>(sub->widget()) : nullptr;
}

// The channel-edit group is there only while the channel table is the active window;
// its shortcuts go with it, so the keys stay free for the other windows.
void FollowActiveWindow(frmMain& m) {
    const bool table = ActiveTable(m) != nullptr;
    m.ShowCHInfo(table);
    for (const CommandKeys& c : kCommands)
        if (QAction* a = m.Action(c.menu)) a->setEnabled(table);
}

} // namespace

void ShowChannelEditDialog(frmMain& m) {
    Program& p = m.Prog();
    QMdiArea* mdi = m.MdiArea();
    if (QWidget* open = m.FindChildWindow(kEdit)) {
        if (auto* d = qobject_cast<FrmCHInfoEdit*>(open)) d->SetGridEditData(true);
        mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(open->parentWidget()));
        open->setFocus();
        return;
    }
    auto* dlg = new FrmCHInfoEdit(p);
    dlg->setObjectName(kEdit);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = mdi->addSubWindow(dlg);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowFlags(sub->windowFlags() & ~Qt::WindowMaximizeButtonHint);
    // Beside the table; where the area is too narrow, at its right edge, so the
    // channel numbers and frequencies of the table stay in sight.
    if (QWidget* table = m.FindChildWindow(kTable)) {
        const QRect t = table->parentWidget()->geometry();
        const int x = std::min(t.right() + 4, mdi->viewport()->width() - sub->sizeHint().width());
        sub->move(std::max(0, x), t.top());
    }
    sub->show();
    mdi->setActiveSubWindow(sub);
    dlg->setFocus();
}

void RegisterChannelWindows(frmMain& m) {
    m.RegisterChildKind(kTable, [](frmMain& f) -> QWidget* {
        auto* t = new frmCommChInfo(f.Prog());
        t->ShowEditDialog = [&f] { ShowChannelEditDialog(f); };
        return t;
    });
    m.RegisterChildKind(kEdit, [](frmMain& f) -> QWidget* { return new FrmCHInfoEdit(f.Prog()); });
    QObject::connect(&m, &frmMain::ChannelEditCommand, &m, [&m](const QString& key) {
        if (frmCommChInfo* t = ActiveTable(m)) t->RunCommand(key);
    });
    for (const CommandKeys& c : kCommands)
        if (QAction* a = m.Action(c.menu)) a->setShortcut(c.keys);
    QObject::connect(m.MdiArea(), &QMdiArea::subWindowActivated, &m, [&m] { FollowActiveWindow(m); });
    FollowActiveWindow(m);
}

} // namespace tarvane
