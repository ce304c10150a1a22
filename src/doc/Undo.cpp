#include "doc/Undo.h"

#include "image/ImageOps.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

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
    return p.History.CanUndo() ? FillIn(LangText(p, txt::kUndo_33202), {p.History.UndoLabel()})
                               : LangText(p, txt::kUndo_33200);
}

std::string RedoMenuText(Program& p) {
    return p.History.CanRedo() ? FillIn(LangText(p, txt::kRedo_33203), {p.History.RedoLabel()})
                               : LangText(p, txt::kRedo_33201);
}

} // namespace tarvane
