#include "frame/ChildWindowRegistry.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace tarvane {

void ChildWindowRegistry::RegisterChild(const QString& kind, Factory create) {
    kinds_[kind] = Kind{std::move(create), false};
}

void ChildWindowRegistry::RegisterDialog(const QString& kind, Factory create) {
    kinds_[kind] = Kind{std::move(create), true};
}

QWidget* ChildWindowRegistry::Make(const QString& kind, frmMain& frame) const {
    auto it = kinds_.constFind(kind);
    if (it == kinds_.cend()) return nullptr;
    QWidget* w = it->create(frame);
    if (!w) return nullptr;
    w->setObjectName(kind);
    w->setAttribute(Qt::WA_DeleteOnClose);
    return w;
}

QList<QWidget*> ChildWindowRegistry::Open() const {
    QList<QWidget*> out;
    // A closed window may wait for its deletion; it no longer counts.
    for (QMdiSubWindow* sub : mdi_.subWindowList())
        if (sub->widget() && !sub->isHidden()) out.append(sub->widget());
    return out;
}

QWidget* ChildWindowRegistry::Find(const QString& kind) const {
    for (QWidget* w : Open())
        if (w->objectName() == kind) return w;
    return nullptr;
}

void ChildWindowRegistry::Activate(QWidget* open) const {
    mdi_.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(open->parentWidget()));
    open->setFocus();
}

QMdiSubWindow* ChildWindowRegistry::Add(QWidget* w) const {
    QMdiSubWindow* sub = mdi_.addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    mdi_.cascadeSubWindows();
    mdi_.setActiveSubWindow(sub);
    return sub;
}

} // namespace tarvane
