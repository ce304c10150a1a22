#include "link/WriteVerifier.h"

#include <utility>

#include "link/LinkWire.h"

namespace tarvane {

void WriteVerifier::Reset() {
    phase_ = TransferPhase::Blocks;
    suspect_ = false;
    blocks_.clear();
    index_ = 0;
    differing_.clear();
    round_ = 0;
    notTaken_ = 0;
    firstDiffering_ = 0;
}

void WriteVerifier::Restart() {
    phase_ = TransferPhase::Blocks;
    round_ = 0;
}

void WriteVerifier::Begin(TransferPhase phase, std::vector<int> blocks) {
    phase_ = phase;
    blocks_ = std::move(blocks);
    index_ = 0;
}

void WriteVerifier::BeginCheck(int endAddress) {
    std::vector<int> all;
    for (int a = 0; a < endAddress; a += kBlockSize)
        all.push_back(a);
    round_ = 0;
    differing_.clear();
    Begin(TransferPhase::Check, std::move(all));
}

int WriteVerifier::Block() const {
    return index_ < blocks_.size() ? blocks_[index_] : -1;
}

void WriteVerifier::Checked(bool same) {
    if (index_ >= blocks_.size()) return;
    if (!same) differing_.push_back(blocks_[index_]);
    ++index_;
}

WriteVerifier::Next WriteVerifier::CheckDone() {
    if (round_ == 0) firstDiffering_ = static_cast<int>(differing_.size());
    if (differing_.empty()) {
        notTaken_ = 0;
        return Next::End;
    }
    if (round_ >= kRewriteRounds) {
        notTaken_ = static_cast<int>(differing_.size());
        return Next::NotTaken;
    }
    ++round_;
    Begin(TransferPhase::Rewrite, differing_);
    return Next::Rewrite;
}

void WriteVerifier::RewriteDone() {
    differing_.clear();
    Begin(TransferPhase::Check, blocks_);
}

} // namespace tarvane
