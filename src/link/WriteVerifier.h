#pragma once
// The read-back of a write and its rewrite rounds. A write that saw a time-out
// or a reply it cannot trust (or every write, when asked) reads the written
// blocks back before "END"; the blocks that differ are written again and read
// back again, at most kRewriteRounds times. This class only keeps the books:
// which block is next, which differed, which round it is. The engine sends.
#include <cstddef>
#include <vector>

namespace tarvane {

// Rounds of writing again the blocks that the read-back found different.
inline constexpr int kRewriteRounds = 3;

// What the blocks of a transfer are doing, for the progress window.
enum class TransferPhase { Blocks, Check, Rewrite };

class WriteVerifier {
  public:
    // What comes after a read-back that went through every block of its round.
    enum class Next {
        End,      // every block holds what was sent
        Rewrite,  // a new round writes the differing blocks again
        NotTaken, // the last round is over and some still differ (NotTaken() of them)
    };

    // A new transfer: writing every block, nothing suspect, no round yet.
    void Reset();
    // A time-out, a late, extra or unexpected reply during a write.
    void MarkSuspect() { suspect_ = true; }
    bool Suspect() const { return suspect_; }
    // After the last block: whether the write is read back.
    bool Wanted(bool always) const { return suspect_ || always; }
    // The give-up question restarted the write: every block again, rounds from
    // the start. What made it suspect still holds.
    void Restart();

    TransferPhase Phase() const { return phase_; }
    // Reads back every block below the end address, as the first round.
    void BeginCheck(int endAddress);
    // The address of the phase's current block; -1 when the phase is through.
    int Block() const;
    // Check: the current block was read back; same is whether it holds what was sent.
    void Checked(bool same);
    // Rewrite: the current block has been written again.
    void Rewritten() { ++index_; }
    // Blocks of the phase done and in all, for the progress.
    size_t Done() const { return index_; }
    size_t Total() const { return blocks_.size(); }
    // The read-back is through: what follows it (a Rewrite phase begins here).
    Next CheckDone();
    // The rewrite is through: the same blocks are read back.
    void RewriteDone();
    // Blocks that still differed after the last round (0 when everything took
    // or nothing was checked).
    int NotTaken() const { return notTaken_; }
    // Blocks the first read-back found different that hold what was sent now.
    int Mended() const { return firstDiffering_ - notTaken_; }

  private:
    void Begin(TransferPhase phase, std::vector<int> blocks);

    TransferPhase phase_ = TransferPhase::Blocks;
    bool suspect_ = false;
    std::vector<int> blocks_; // Check/Rewrite: the block addresses, in order
    size_t index_ = 0;
    std::vector<int> differing_; // Check: blocks found different so far
    int round_ = 0;
    int notTaken_ = 0;
    int firstDiffering_ = 0;
};

} // namespace tarvane
