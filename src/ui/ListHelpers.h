#pragma once
// The list and field helpers every window uses, so that all windows behave alike
// when a stored value is not in a list or a list is empty.
#include <QColor>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QListWidget;
class QWidget;

namespace tarvane {

// The entries the core computes for a list, as list texts.
QStringList ToQStringList(const std::vector<std::string>& entries);
// The entry equal to the text (exact, case-sensitive); otherwise the entry at the
// fallback index, or "" when that index is negative or the list is empty.
QString FindListText(const QComboBox* list, const QString& text, int fallbackIndex);
QString FindListText(const QListWidget* list, const QString& text, int fallbackIndex);
// Shows the entry FindListText finds with fallback 0; clears the selection when none.
void SelectListText(QComboBox* list, const QString& text);
void SelectListText(QListWidget* list, const QString& text);
// The entry at the index; the first entry when the index is out of range; "" when empty.
QString ListTextAt(const QComboBox* list, int index);
QString ListTextAt(const QListWidget* list, int index);
// Shows the entry ListTextAt finds; clears the selection when none.
void SelectListIndex(QComboBox* list, int index);
void SelectListIndex(QListWidget* list, int index);
// The selected index, or the value when nothing is selected.
int ListIndexOr(const QComboBox* list, int value);
int ListIndexOr(const QListWidget* list, int value);
// The selected entry read as a number, or the default when none is selected or it is no number.
int ListNumberOr(const QComboBox* list, int fallback);
int ListNumberOr(const QListWidget* list, int fallback);
// Sets an option button; a value above 1 counts as 0.
void SetOptionState(QAbstractButton* button, int value);
// Enabled, then background colour, then text.
void SetTextFieldState(QLineEdit* field, const QString& text, const QColor& background, bool enabled);
// Makes a text box read-only or editable, and shows which: a read-only box takes
// the window's background from the palette, so it does not look like a field to type in.
void SetReadOnlyLook(QLineEdit* field, bool readOnly);
// Enter in the control moves the focus to the next control instead of choosing.
void EnterMovesFocus(QWidget* control);
// Closes every open window (top-level or child window) of that name.
void UnloadWindowsNamed(const QString& name);

} // namespace tarvane
