#pragma once
// The window kinds the editors plug into the frame, and the child windows open
// in its MDI area. A window is found by its kind, which is also its object name.
#include <QList>
#include <QMap>
#include <QString>
#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace tarvane {

class frmMain;

class ChildWindowRegistry {
  public:
    // Makes the window of a kind; the registry names it after the kind.
    using Factory = std::function<QWidget*(frmMain&)>;

    explicit ChildWindowRegistry(QMdiArea& mdi) : mdi_(mdi) {}

    // Child windows live in the MDI area, dialogs are modal.
    void RegisterChild(const QString& kind, Factory create);
    void RegisterDialog(const QString& kind, Factory create);
    bool Has(const QString& kind) const { return kinds_.contains(kind); }
    bool IsChild(const QString& kind) const { return Has(kind) && !kinds_[kind].modal; }
    bool IsDialog(const QString& kind) const { return Has(kind) && kinds_[kind].modal; }
    // A new window of a registered kind, named after it and deleted when closed;
    // nullptr when the kind is unknown or its factory made none.
    QWidget* Make(const QString& kind, frmMain& frame) const;

    // The open child windows, in the area's order.
    QList<QWidget*> Open() const;
    QWidget* Find(const QString& kind) const;
    // Brings an open child window forward and gives it the focus.
    void Activate(QWidget* open) const;
    // Puts a new window into the area: shown, the windows cascaded, it active.
    QMdiSubWindow* Add(QWidget* w) const;

  private:
    struct Kind {
        Factory create;
        bool modal = false;
    };
    QMdiArea& mdi_;
    QMap<QString, Kind> kinds_;
};

} // namespace tarvane
