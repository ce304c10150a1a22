#include "ui/ListHelpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPointer>

#include "base/FieldHelpers.h"

namespace tarvane {

QStringList ToQStringList(const std::vector<std::string>& entries) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& e : entries)
        out << QString::fromStdString(e);
    return out;
}

namespace {

// The same rules over both list kinds: the list is read through three small calls.
int Count(const QComboBox* l) {
    return l ? l->count() : 0;
}
int Count(const QListWidget* l) {
    return l ? l->count() : 0;
}
QString TextOf(const QComboBox* l, int i) {
    return l->itemText(i);
}
QString TextOf(const QListWidget* l, int i) {
    return l->item(i)->text();
}
int Selected(const QComboBox* l) {
    return l ? l->currentIndex() : -1;
}
int Selected(const QListWidget* l) {
    if (!l || l->selectedItems().isEmpty()) return -1;
    return l->currentRow();
}
void Show(QComboBox* l, int i) {
    l->setCurrentIndex(i);
}
void Show(QListWidget* l, int i) {
    if (i < 0) {
        l->clearSelection();
        l->setCurrentRow(-1);
    } else {
        l->setCurrentRow(i);
    }
}

template <class L> int IndexOfText(const L* l, const QString& text) {
    for (int i = 0; i < Count(l); ++i)
        if (TextOf(l, i) == text) return i;
    return -1;
}

template <class L> int FoundIndex(const L* l, const QString& text, int fallback) {
    if (Count(l) == 0) return -1;
    int i = IndexOfText(l, text);
    if (i >= 0) return i;
    return fallback >= 0 && fallback < Count(l) ? fallback : -1;
}

template <class L> int IndexAt(const L* l, int index) {
    if (Count(l) == 0) return -1;
    return index >= 0 && index < Count(l) ? index : 0;
}

template <class L> int NumberOr(const L* l, int fallback) {
    int i = Selected(l);
    if (i < 0 || i >= Count(l)) return fallback;
    const QString text = TextOf(l, i).trimmed();
    if (text.isEmpty()) return fallback;
    return ParseNumberOr(text.toStdString(), fallback);
}

class EnterFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) return false;
        if (auto* w = qobject_cast<QWidget*>(watched)) {
            // The window's own focus chain decides which control is next.
            if (QWidget* next = w->nextInFocusChain()) {
                while (next != w &&
                       !(next->isEnabled() && next->isVisible() && (next->focusPolicy() & Qt::TabFocus)))
                    next = next->nextInFocusChain();
                next->setFocus(Qt::TabFocusReason);
            }
        }
        return true;
    }
};

} // namespace

void EnterMovesFocus(QWidget* control) {
    if (control) control->installEventFilter(new EnterFilter(control));
}

QString FindListText(const QComboBox* list, const QString& text, int fallbackIndex) {
    int i = FoundIndex(list, text, fallbackIndex);
    return i < 0 ? QString() : TextOf(list, i);
}
QString FindListText(const QListWidget* list, const QString& text, int fallbackIndex) {
    int i = FoundIndex(list, text, fallbackIndex);
    return i < 0 ? QString() : TextOf(list, i);
}

void SelectListText(QComboBox* list, const QString& text) {
    if (list) Show(list, FoundIndex(list, text, 0));
}
void SelectListText(QListWidget* list, const QString& text) {
    if (list) Show(list, FoundIndex(list, text, 0));
}

QString ListTextAt(const QComboBox* list, int index) {
    int i = IndexAt(list, index);
    return i < 0 ? QString() : TextOf(list, i);
}
QString ListTextAt(const QListWidget* list, int index) {
    int i = IndexAt(list, index);
    return i < 0 ? QString() : TextOf(list, i);
}

void SelectListIndex(QComboBox* list, int index) {
    if (list) Show(list, IndexAt(list, index));
}
void SelectListIndex(QListWidget* list, int index) {
    if (list) Show(list, IndexAt(list, index));
}

int ListIndexOr(const QComboBox* list, int value) {
    int i = Selected(list);
    return i >= 0 ? i : value;
}
int ListIndexOr(const QListWidget* list, int value) {
    int i = Selected(list);
    return i >= 0 ? i : value;
}

int ListNumberOr(const QComboBox* list, int fallback) {
    return NumberOr(list, fallback);
}
int ListNumberOr(const QListWidget* list, int fallback) {
    return NumberOr(list, fallback);
}

void SetOptionState(QAbstractButton* button, int value) {
    if (!button) return;
    const bool on = value != 0 && value <= 1;
    if (!on && button->isChecked() && button->autoExclusive()) {
        // An exclusive button refuses to be cleared directly.
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
        return;
    }
    button->setChecked(on);
}

void SetTextFieldState(QLineEdit* field, const QString& text, const QColor& background, bool enabled) {
    if (!field) return;
    field->setEnabled(enabled);
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, background);
    field->setPalette(pal);
    field->setText(text);
}

void SetReadOnlyLook(QLineEdit* field, bool readOnly) {
    if (!field) return;
    field->setReadOnly(readOnly);
    // The window's own palette, not fixed colours, so any theme keeps its contrast.
    const QPalette base = field->parentWidget() ? field->parentWidget()->palette() : QApplication::palette();
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, base.color(readOnly ? QPalette::Window : QPalette::Base));
    field->setPalette(pal);
}

void UnloadWindowsNamed(const QString& name) {
    QList<QPointer<QWidget>> found;
    for (QWidget* w : QApplication::allWidgets()) {
        if (w->objectName() != name) continue;
        auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        if (sub)
            found.append(sub);
        else if (w->isWindow())
            found.append(w);
    }
    for (const QPointer<QWidget>& w : found)
        if (w) w->close();
}

} // namespace tarvane
