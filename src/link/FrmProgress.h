#pragma once
// The progress window of a read or write: modal while blocks move.
#include <QDialog>

class QLabel;
class QProgressBar;

namespace tarvane {

struct Program;

class FrmProgress : public QDialog {
    Q_OBJECT
  public:
    // writing: caption 9028, else 9027.
    FrmProgress(Program& p, bool writing, QWidget* parent = nullptr);
    void SetProgressValue(int value);
    // Only the transfer closes the window; the user answers its questions instead.
    void Finish();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

  protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

  private:
    bool finished_ = false;
};

} // namespace tarvane
