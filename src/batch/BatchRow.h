#pragma once
// The rows of a programming batch: one radio programmed (or refused) on one
// port, and the CSV log that keeps them. Also the rule that says when the radio
// on a port is a new one, so that a batch that goes on round after round never
// writes the same radio twice without it being swapped.
#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "state/LinkState.h"

namespace tarvane {

enum class BatchResult {
    Pending,     // still being programmed
    Written,     // holds the file: written and read back
    Failed,      // no answer, refused blocks, blocks that did not take
    Refused,     // the identification or the password stopped it before any block
    Interrupted, // stopped by the user; the radio may hold a mix
};

struct BatchRow {
    std::string port; // the device
    std::time_t started = 0;
    std::string model, band, firmware; // from the identification
    std::string serial;                // the information area's serial number text
    std::string dealer;                // the dealer texts that are set, joined by " / "
    std::string file, checksum;        // the file written and the checksum of its bytes
    BatchResult result = BatchResult::Pending;
    std::string reason; // why it failed or was refused; notes for a success
    int mended = 0;     // blocks the read-back found different and the rewrite mended
    double seconds = 0;
};

// The word of the log's result column (kept in English for whatever reads the log).
const char* ResultWord(BatchResult result);
// The log's first line.
std::string LogHeader();
// One row as a CSV line (RFC 4180 quoting), without the line end.
std::string LogLine(const BatchRow& row);
// "programming-YYYYMMDD.csv": one log per day beside the backups.
std::string DailyLogName(const std::tm& day);
// The newest programming log of the folder; "" when there is none.
std::string NewestLog(const std::string& folder);
// Appends the row, writing the header first when the file is new or empty.
// False when the file cannot be written.
bool AppendLogRow(const std::string& path, const BatchRow& row);
// CRC-32 of the bytes as eight hexadecimal digits.
std::string Checksum(std::span<const uint8_t> bytes);

// After a radio is done the port is polled (handshake and identification
// only). The next radio is due when a radio answers after a poll found the port
// silent (the radio was taken off or switched off), or when the radio that
// answers names another identity than the one just done.
class NextRadioWait {
  public:
    // The radio just programmed or refused; identity empty when none answered.
    void Done(const std::optional<RadioIdentity>& radio);
    // A poll ended: the identity that answered, or nothing. True: program now.
    bool Polled(const std::optional<RadioIdentity>& answer);
    bool SawSilence() const { return silence_; }

  private:
    std::optional<RadioIdentity> last_;
    bool silence_ = false;
};

} // namespace tarvane
