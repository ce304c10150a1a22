#pragma once
// "Program many radios": one file (the open document or a chosen one) written
// into the radio on every chosen port, then into the next radio on each port
// until Stop. A row per port shows the radio, the progress, the read-back and
// the time; every radio is a row of the day's programming log. With the clone
// choice the radio on one port is read first and copied into the others.
#include <QDialog>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace tarvane {

struct Program;
class RadioBatch;

class FrmBatch : public QDialog {
    Q_OBJECT
  public:
    // `folder`: where the backups and the programming logs are kept.
    FrmBatch(Program& p, const std::string& folder, QWidget* parent = nullptr);
    ~FrmBatch() override;

    QRadioButton* OptionDocument = nullptr;
    QRadioButton* OptionFile = nullptr;
    QPushButton* CommandChooseFile = nullptr;
    QCheckBox* CheckClone = nullptr;
    QComboBox* ComboCloneFrom = nullptr;
    QListWidget* ListPorts = nullptr;
    QLineEdit* TextPath = nullptr;
    QPushButton* CommandAddPath = nullptr;
    QLabel* LabelRule = nullptr;
    QTableWidget* Grid = nullptr;
    QLabel* LabelClone = nullptr; // the clone's source read, while it runs
    QPushButton* CommandStart = nullptr;
    QPushButton* CommandStop = nullptr;
    QPushButton* CommandClose = nullptr;
    RadioBatch& Batch() { return *batch_; }
    // The chosen file (empty: the open document).
    void SetFile(const QString& path);
    // Adds a device to the port list, checked.
    void AddPort(const QString& device);

  protected:
    void done(int result) override;

  private:
    void CommandStart_Click();
    void ShowRow(int port);
    void ShowRunning();
    bool SourceReady();
    Program& p_;
    std::string folder_;
    QString file_;
    std::string cloneFrom_;
    std::unique_ptr<RadioBatch> batch_;
    bool closeWhenDone_ = false;
};

} // namespace tarvane
