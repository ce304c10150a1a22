#pragma once
// The captions every dialog's standard buttons carry, found by the buttons' names.
class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace tarvane {

struct Program;

// "CommandOK" takes text 9017, "CommandCancel" text 9018.
void SetOkCancelCaptions(QWidget* window, Program& p);
// "CommandClose" takes text 9023.
void SetCloseCaption(QWidget* window, Program& p);
// "CommandHelp" takes text 9025.
void SetHelpCaption(QWidget* window, Program& p);
void SetCloseHelpCaptions(QWidget* window, Program& p);
// Makes the dialog's "CommandOK" and "CommandCancel" buttons with their captions
// (OK the default button: Return presses it), Cancel rejecting the dialog, and
// returns them right-aligned in a row for the dialog's layout.
QHBoxLayout* MakeOkCancelRow(QDialog* dialog, Program& p, QPushButton*& ok, QPushButton*& cancel);
// A dialog of fixed size with a title and (when closable) a close button only.
void MakeFixedDialog(QDialog* dialog, bool closable = true);

} // namespace tarvane
