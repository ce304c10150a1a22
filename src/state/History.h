#pragma once
// Undo and redo over whole-image snapshots. The image is about 26 KB, so a
// history of 200 steps costs about 5 MB and needs no per-field bookkeeping.
//
// One place commits: the frame, after each handled user action, calls
// CommitStep; an edit that ran names itself with NoteEdit beforehand, so the
// step carries what it undoes ("channel D 5 frequency"). Anything else that
// changed the image becomes a step named by the caller's fallback (the window
// the user worked in).
#include <cstddef>
#include <deque>
#include <string>

#include "state/RadioImage.h"

namespace tarvane {

struct Program;

class EditHistory {
  public:
    static constexpr size_t kMaxSteps = 200;

    // Forgets every step; the image becomes the committed state.
    void Reset(const RadioImage& image);
    // Takes the image as the committed state without a step (a save stamps the
    // version into it; a window that opens shows what it stores).
    void Absorb(const RadioImage& image);
    // A step from the committed state to the image when they differ. `label`
    // names it; `mergeKey`, when not empty and equal to the last step's, folds
    // the change into that step (typing into one field is one step). True when
    // the image differed.
    bool Commit(const RadioImage& image, const std::string& label, const std::string& mergeKey = "");
    // Puts the image back one step (or forward); false when there is none.
    bool Undo(RadioImage& image);
    bool Redo(RadioImage& image);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    std::string UndoLabel() const { return undo_.empty() ? std::string() : undo_.back().label; }
    std::string RedoLabel() const { return redo_.empty() ? std::string() : redo_.back().label; }
    size_t UndoSteps() const { return undo_.size(); }
    size_t RedoSteps() const { return redo_.size(); }
    const RadioImage& Committed() const { return committed_; }

    // The label the next commit carries; the first noted since the last commit
    // wins, so a command that runs field edits keeps its own name.
    void Note(const std::string& label) {
        if (pending_.empty()) pending_ = label;
    }
    const std::string& Pending() const { return pending_; }

  private:
    struct Step {
        RadioImage image; // the state on the other side of the step
        std::string label;
        std::string mergeKey;
    };
    std::deque<Step> undo_; // states before each step, oldest first
    std::deque<Step> redo_; // states after each undone step, most recent last
    RadioImage committed_{};
    std::string pending_;
    std::string lastMergeKey_; // of the step just made; cleared by anything else
};

// Names the edit that is running, for the step the next commit makes.
void NoteEdit(Program& p, const std::string& label);
// Commits what changed since the last commit (see EditHistory::Commit); the
// noted label wins over the fallback.
bool CommitStep(Program& p, const std::string& fallbackLabel, const std::string& mergeKey = "");

} // namespace tarvane
