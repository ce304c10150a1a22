#include "channels/ChannelWindows.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

#include "app/Program.h"
#include "app/frmMain.h"
#include "channels/FrmCHInfoEdit.h"
#include "channels/frmCommChInfo.h"

namespace tarvane {

namespace {

constexpr const char* kTable = "frmCommChInfo";
constexpr const char* kEdit = "FrmCHInfoEdit";

// The open windows of a kind that work on this program.
template <class W> QList<W*> OpenWindows(const Program& p) {
    QList<W*> out;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* win = qobject_cast<W*>(w); win && win->Serves(p)) out.append(win);
    return out;
}

// Named callback types, so an installed dispatcher can be recognised.
struct RowDispatch {
    Program* p;
    std::function<void(int)> before;
    void operator()(int slot) const {
        if (before) before(slot);
        for (auto* t : OpenWindows<frmCommChInfo>(*p))
            t->reShowGrid(slot);
    }
};
struct EditDispatch {
    Program* p;
    std::function<void()> before;
    void operator()() const {
        if (before) before();
        for (auto* d : OpenWindows<FrmCHInfoEdit>(*p))
            d->Reload();
    }
};
struct PanelDispatch {
    Program* p;
    std::function<void()> before;
    void operator()() const {
        if (before) before();
        for (auto* t : OpenWindows<frmCommChInfo>(*p))
            t->ReshowByCh();
    }
};
struct ToneTipDispatch {
    Program* p;
    std::function<void()> before;
    void operator()() const {
        if (before) before();
        for (auto* d : OpenWindows<FrmCHInfoEdit>(*p))
            d->ShowRB();
    }
};
struct DtmfDispatch {
    Program* p;
    std::function<void()> before;
    void operator()() const {
        if (before) before();
        for (auto* d : OpenWindows<FrmCHInfoEdit>(*p)) {
            d->RefillDtmfLists();
            d->SetGridEditData(false);
        }
    }
};

template <class D, class F> void Chain(Program& p, F& slot) {
    if (slot.template target<D>()) return;
    slot = D{&p, slot};
}

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

void EnsureChannelNotifications(Program& p) {
    Chain<RowDispatch>(p, p.Notify.channelRowChanged);
    Chain<EditDispatch>(p, p.Notify.channelEditReload);
    Chain<PanelDispatch>(p, p.Notify.groupPanelChanged);
    Chain<ToneTipDispatch>(p, p.Notify.toneTipsChanged);
    Chain<DtmfDispatch>(p, p.Notify.dtmfCodesChanged);
}

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
    EnsureChannelNotifications(m.Prog());
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
