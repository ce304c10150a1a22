#include "doc/Undo.h"

#include "image/ImageOps.h"
#include "state/Program.h"
#include "state/lang/LangText.h"

namespace tarvane {

void ResetHistory(Program& p) {
    p.History.Reset(p.Image);
}

namespace {

bool Replace(Program& p, bool undo) {
    CommitStep(p, "");
    const bool done = undo ? p.History.Undo(p.Image) : p.History.Redo(p.Image);
    if (!done) return false;
    // A step never changes the model, but a snapshot carries its version: keep them together.
    if (p.Image.Settings.Version.ModelType != p.Model.ModelType) ApplyVersion(p, p.Image.Settings);
    p.Notify.imageReplaced();
    p.Notify.captionChanged();
    return true;
}

} // namespace

bool UndoEdit(Program& p) {
    return Replace(p, true);
}

bool RedoEdit(Program& p) {
    return Replace(p, false);
}

std::string UndoMenuText(Program& p) {
    return p.History.CanUndo() ? FillIn(LangText(p, 33202_txt), {p.History.UndoLabel()})
                               : LangText(p, 33200_txt);
}

std::string RedoMenuText(Program& p) {
    return p.History.CanRedo() ? FillIn(LangText(p, 33203_txt), {p.History.RedoLabel()})
                               : LangText(p, 33201_txt);
}

} // namespace tarvane
