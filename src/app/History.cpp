#include "app/History.h"

#include "app/Program.h"
#include "app/lang/LangText.h"
#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "image/ImageOps.h"

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
    return p.History.Commit(p.Image, fallbackLabel.empty() ? LangText(p, 33235_txt) : fallbackLabel,
                            mergeKey);
}

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

std::string FillIn(std::string text, std::initializer_list<std::string> values) {
    int n = 0;
    for (const std::string& value : values) {
        const std::string mark = "%" + std::to_string(++n);
        if (const size_t at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), value);
    }
    return text;
}

std::string UndoMenuText(Program& p) {
    return p.History.CanUndo() ? FillIn(LangText(p, 33202_txt), {p.History.UndoLabel()})
                               : LangText(p, 33200_txt);
}

std::string RedoMenuText(Program& p) {
    return p.History.CanRedo() ? FillIn(LangText(p, 33203_txt), {p.History.RedoLabel()})
                               : LangText(p, 33201_txt);
}

std::string ChannelFieldLabel(Program& p, int group, int channel, int column) {
    // Short field names, one per column code 1..18.
    static constexpr TextId kFieldNames[18] = {
        33210_txt, 33211_txt, 33212_txt, 33213_txt, 33214_txt, 33215_txt, 33216_txt, 33217_txt, 33218_txt,
        33219_txt, 33220_txt, 33221_txt, 33222_txt, 33223_txt, 33224_txt, 33225_txt, 33226_txt, 33227_txt};
    const bool known = column >= kColRxFreq && column <= kColTdct;
    const std::string field = known ? LangText(p, kFieldNames[column - 1]) : std::string();
    return FillIn(LangText(p, 33204_txt),
                  {GroupName(group, p.Model.ModelType), std::to_string(channel), field});
}

std::string ChannelCommandLabel(Program& p, ChannelCommand command, int group, int first, int count) {
    TextId id = 33205_txt;
    switch (command) {
    case ChannelCommand::Cut:
        id = 33205_txt;
        break;
    case ChannelCommand::Paste:
        id = 33206_txt;
        break;
    case ChannelCommand::Insert:
        id = 33207_txt;
        break;
    case ChannelCommand::Delete:
        id = 33208_txt;
        break;
    case ChannelCommand::Move:
        id = 33209_txt;
        break;
    }
    const std::string rows =
        count > 1 ? std::to_string(first) + "-" + std::to_string(first + count - 1) : std::to_string(first);
    return FillIn(LangText(p, id), {GroupName(group, p.Model.ModelType), rows});
}

} // namespace tarvane
