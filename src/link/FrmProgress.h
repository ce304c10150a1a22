#pragma once
// The progress window of a read or write: modal while blocks move.
#include <QDialog>

#include "link/LinkEngine.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarvane {

struct Program;

class FrmProgress : public QDialog {
    Q_OBJECT
  public:
    // writing: caption 9028, else 9027.
    FrmProgress(Program& p, bool writing, QWidget* parent = nullptr);
    void SetProgressValue(int value);
    // A write reading back what it wrote, or writing blocks again: the label
    // says which, the bar starts again.
    void SetPhase(tarvane::TransferPhase phase);
    // Only the transfer closes the window: Cancel, Escape or closing it ask
    // the transfer to end (cancelRequested), which then calls Finish.
    void Finish();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* CommandCancel = nullptr;

  signals:
    void cancelRequested();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

  private:
    Program& p_;
    bool finished_ = false;
};

} // namespace tarvane
