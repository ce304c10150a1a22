#pragma once
// Many radios at once: one RadioLink (engine and port) per device, all driven
// by the one event loop. Each radio gets its information area read (serial
// number, dealer texts), then the file written and read back. With repeat the
// port then waits for the next radio (NextRadioWait) and programs it, until
// stop(). Every radio programmed or refused becomes a row, appended to the log.
// A clone first reads one radio and keeps the read as a backup; its memory is
// then what the others get, byte for byte.
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "batch/BatchRow.h"
#include "link/LinkEngine.h"
#include "state/MemoryMap.h"
#include "state/RadioImage.h"

namespace tarvane {

struct Program;
class RadioLink;

// What a port is doing, for the window's and the command line's rows.
enum class BatchStage { Idle, Cloning, Info, Write, Check, Rewrite, Waiting, Done };

class RadioBatch : public QObject {
    Q_OBJECT
  public:
    explicit RadioBatch(Program& p, QObject* parent = nullptr);
    ~RadioBatch() override;

    // The image written and the model the radios must be; the rows name
    // `fileName` and the checksum of `fileBytes` (the file as it is on disk).
    void setSource(const RadioImage& image, const CurrentModel& model, const std::string& fileName,
                   std::span<const uint8_t> fileBytes);
    void setRepeat(bool repeat) { repeat_ = repeat; }
    // Restarts after a radio stops answering, per radio.
    void setRetries(int retries) { retries_ = retries; }
    // "" keeps no log.
    void setLogPath(const std::string& path) { logPath_ = path; }
    // The folder the clone's read is kept in.
    void setBackupFolder(const std::string& folder) { backupFolder_ = folder; }

    // Programs every device (setSource first). False when none is given.
    bool start(const std::vector<std::string>& devices);
    // Reads `from` first, keeps it as a backup, then programs `to` with it.
    bool startClone(const std::string& from, const std::vector<std::string>& to);
    // Ends every transfer ("END" to each radio) and every wait; finished follows.
    void stop();
    bool running() const { return running_; }
    bool stopping() const { return stopping_; }
    // stop() ended a transfer that was running ("END" sent).
    bool endedTransfers() const { return ended_; }

    int portCount() const { return static_cast<int>(ports_.size()); }
    const BatchRow& row(int port) const;
    BatchStage stage(int port) const;
    int progress(int port) const;
    // Every row done so far, in order.
    const std::vector<BatchRow>& done() const { return done_; }
    // Devices whose radio got some blocks of an unfinished write.
    std::vector<std::string> mayHoldMix() const;
    // True when every radio the batch met holds the file (and there was one).
    bool allWritten() const;
    // The clone's read failed (nothing was written): its reason.
    const std::string& cloneFailure() const { return cloneFailure_; }
    const std::string& backupPath() const { return backupPath_; }
    // A log row that could not be written: the path (empty when all went in).
    const std::string& logFailure() const { return logFailure_; }

  signals:
    void rowChanged(int port);
    void rowDone(int port);
    // The read of a clone's source, in percent; the writes follow at 100.
    void cloneProgress(int percent);
    void finished();

  private:
    struct Port;
    int PortIndex(const Port& port) const;
    void BeginRadio(Port& port);
    void OnFinished(Port& port, LinkOperation op, bool success);
    void EndRadio(Port& port, BatchResult result, const std::string& reason);
    void Poll(Port& port);
    void AfterPoll(Port& port);
    void WaitOrEnd(Port& port);
    void CheckFinished();
    void OnCloneRead(bool success);
    std::string GaveUpReason(const Port& port) const;
    void Adjust(Port& port, LinkHost& host);

    Program& p_;
    RadioMemory memory_{};
    CurrentModel model_;
    std::array<uint8_t, kRadioInfoSize> cloneInfo_{};
    LinkState cloneState_;
    std::unique_ptr<RadioLink> cloneLink_;
    std::vector<std::string> cloneTargets_;
    std::string cloneFailure_;
    std::string backupPath_;
    std::vector<std::unique_ptr<Port>> ports_;
    std::vector<BatchRow> done_;
    std::vector<std::string> mix_;
    std::string fileName_, checksum_;
    std::string logPath_, logFailure_, backupFolder_;
    bool repeat_ = false;
    int retries_ = 2;
    bool running_ = false;
    bool stopping_ = false;
    bool ended_ = false;
};

} // namespace tarvane
