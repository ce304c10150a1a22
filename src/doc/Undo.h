#pragma once
// Undo and redo of the working document, over the snapshots of the program's history.
#include <string>

namespace tarvane {

struct Program;

// A fresh history for a document that was opened, read or made new.
void ResetHistory(Program& p);
// Undo and redo of the working image: an uncommitted change is committed first,
// the image is replaced in place, the model follows its version, and the windows
// are told as after a read (imageReplaced, captionChanged). False when there is
// no step.
bool UndoEdit(Program& p);
bool RedoEdit(Program& p);

// "Undo: channel D 5 frequency" / "Redo: ..." for the menus; the plain entry
// when there is no step.
std::string UndoMenuText(Program& p);
std::string RedoMenuText(Program& p);

} // namespace tarvane
