#pragma once
// The frame's menu bar and toolbar, made from tables with one row per entry, and
// the look-up of their entries by object name. The texts come from the language
// files and are set again on every language change.
#include <QList>
#include <QMap>
#include <QString>
#include <functional>
#include <span>
#include <vector>

#include "state/lang/TextId.h"

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QObject;
class QToolBar;

namespace tarvane {

class FrameMenus {
  public:
    enum class Entry {
        Menu,      // starts a menu of the menu bar
        SubMenu,   // a menu inside the current one, filled as it opens
        Command,   // an entry that runs a command
        Check,     // an entry switched on and off, on at first
        Separator, // a line between entries
    };
    struct MenuRow {
        Entry entry;
        const char* name = nullptr;             // object name, also the name Action() and Menu() know
        TextId text{0};                         // TextId{0}: the text is set elsewhere
        const char* keys = nullptr;             // shortcuts, "; " between several
        std::function<void()> run = {};         // a command when chosen, a menu as it opens
        std::function<void(bool)> toggled = {}; // a check entry when switched
    };
    struct ToolRow {
        const char* key = nullptr; // object name and icon; nullptr: a separator
        TextId tip{0};             // text and tool tip
        std::function<void()> run = {};
    };

    // The rows' functions run with `context` as the receiver of their connections.
    void BuildMenuBar(QMenuBar& bar, QObject& context, std::span<const MenuRow> rows);
    // The toolbar "tbToolBar" of the frame; every button reports its key to `clicked`.
    void BuildToolBar(QMainWindow& frame, std::span<const ToolRow> rows,
                      const std::function<void(const QString& key)>& clicked);
    // Runs the toolbar command of the key; false when the key has none.
    bool RunTool(const QString& key) const;
    // Sets every entry's text, and each button's tool tip, in the current language.
    void SetTexts(const std::function<QString(TextId)>& text) const;

    // Menu entries by name; toolbar buttons as "tb:" + key.
    QAction* Action(const QString& name) const { return actions_.value(name); }
    QMenu* Menu(const QString& name) const { return menus_.value(name); }
    QToolBar* ToolBar() const { return toolBar_; }
    // The toolbar's positions from first to last, separators included.
    QList<QAction*> Tools(int first, int last) const;

  private:
    struct Label {
        QAction* action;
        TextId text;
        bool tip;
    };
    QMap<QString, QAction*> actions_;
    QMap<QString, QMenu*> menus_;
    QMap<QString, std::function<void()>> toolRuns_;
    QList<QAction*> tools_;
    std::vector<Label> labels_;
    QToolBar* toolBar_ = nullptr;
};

} // namespace tarvane
