#include "state/History.h"

#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

void EditHistory::Reset(const RadioImage& image) {
    undo_.clear();
    redo_.clear();
    committed_ = image;
    pending_.clear();
    lastMergeKey_.clear();
}

void EditHistory::Absorb(const RadioImage& image) {
    committed_ = image;
    pending_.clear();
    lastMergeKey_.clear();
}

bool EditHistory::Commit(const RadioImage& image, const std::string& label, const std::string& mergeKey) {
    const std::string name = pending_.empty() ? label : pending_;
    pending_.clear();
    if (image == committed_) return false;
    redo_.clear();
    if (!mergeKey.empty() && mergeKey == lastMergeKey_ && !undo_.empty()) {
        committed_ = image;
        // Typed back to where the step started: no step is left.
        if (undo_.back().image == committed_) {
            undo_.pop_back();
            lastMergeKey_.clear();
        }
        return true;
    }
    undo_.push_back(Step{committed_, name, mergeKey});
    if (undo_.size() > kMaxSteps) undo_.pop_front();
    committed_ = image;
    lastMergeKey_ = mergeKey;
    return true;
}

bool EditHistory::Undo(RadioImage& image) {
    if (undo_.empty()) return false;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(Step{committed_, step.label, {}});
    committed_ = std::move(step.image);
    image = committed_;
    pending_.clear();
    lastMergeKey_.clear();
    return true;
}

bool EditHistory::Redo(RadioImage& image) {
    if (redo_.empty()) return false;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(Step{committed_, step.label, {}});
    committed_ = std::move(step.image);
    image = committed_;
    pending_.clear();
    lastMergeKey_.clear();
    return true;
}

void NoteEdit(Program& p, const std::string& label) {
    p.History.Note(label);
}

bool CommitStep(Program& p, const std::string& fallbackLabel, const std::string& mergeKey) {
    return p.History.Commit(p.Image, fallbackLabel.empty() ? LangText(p, txt::kEdit) : fallbackLabel,
                            mergeKey);
}

} // namespace tarvane
