#include "frame/FrameMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "ui/ToolIcons.h"

namespace tarvane {

void FrameMenus::BuildMenuBar(QMenuBar& bar, QObject& context, std::span<const MenuRow> rows) {
    QMenu* current = nullptr;
    for (const MenuRow& row : rows) {
        const QString name = row.name ? QString(row.name) : QString();
        switch (row.entry) {
        case Entry::Menu:
        case Entry::SubMenu: {
            QMenu* m = row.entry == Entry::Menu ? bar.addMenu(name) : current->addMenu(name);
            m->setObjectName(name);
            m->menuAction()->setObjectName(name);
            menus_[name] = m;
            if (row.run) QObject::connect(m, &QMenu::aboutToShow, &context, [run = row.run] { run(); });
            if (row.text.value) labels_.push_back({m->menuAction(), row.text, false});
            if (row.entry == Entry::Menu) current = m;
            break;
        }
        case Entry::Separator:
            current->addSeparator();
            break;
        case Entry::Command:
        case Entry::Check: {
            QAction* a = current->addAction(name);
            a->setObjectName(name);
            actions_[name] = a;
            if (row.keys) a->setShortcuts(QKeySequence::listFromString(row.keys));
            if (row.entry == Entry::Check) {
                a->setCheckable(true);
                a->setChecked(true);
                if (row.toggled)
                    QObject::connect(a, &QAction::toggled, &context,
                                     [toggled = row.toggled](bool on) { toggled(on); });
            } else if (row.run) {
                QObject::connect(a, &QAction::triggered, &context, [run = row.run] { run(); });
            }
            if (row.text.value) labels_.push_back({a, row.text, false});
            break;
        }
        }
    }
}

void FrameMenus::BuildToolBar(QMainWindow& frame, std::span<const ToolRow> rows,
                              const std::function<void(const QString& key)>& clicked) {
    toolBar_ = frame.addToolBar("tbToolBar");
    toolBar_->setObjectName("tbToolBar");
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(20, 20));
    for (const ToolRow& row : rows) {
        QAction* a = nullptr;
        if (!row.key) {
            a = toolBar_->addSeparator();
        } else {
            const QString key = row.key;
            a = toolBar_->addAction(ToolIcon(key), key);
            a->setObjectName(key);
            QObject::connect(a, &QAction::triggered, &frame, [clicked, key] { clicked(key); });
            actions_["tb:" + key] = a;
            if (row.run) toolRuns_[key] = row.run;
            labels_.push_back({a, row.tip, true});
        }
        tools_.append(a);
    }
}

bool FrameMenus::RunTool(const QString& key) const {
    auto it = toolRuns_.constFind(key);
    if (it == toolRuns_.cend()) return false;
    (*it)();
    return true;
}

void FrameMenus::SetTexts(const std::function<QString(TextId)>& text) const {
    for (const Label& l : labels_) {
        l.action->setText(text(l.text));
        if (l.tip) l.action->setToolTip(l.action->text());
    }
}

QList<QAction*> FrameMenus::Tools(int first, int last) const {
    return tools_.mid(first, last - first + 1);
}

} // namespace tarvane
