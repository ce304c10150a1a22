#pragma once
// The emergency-channel window: two emergency channels, each a reference to an
// existing channel with a copy of its settings. It edits a private copy; OK stores
// both records, Cancel forgets every edit.
#include <QDialog>
#include <array>
#include <vector>

#include "base/Signal.h"

#include "state/RadioImage.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tarvane {

struct Program;

class Frm_EMG : public QDialog {
    Q_OBJECT
  public:
    // Setting rows of the grid, 1..19 as the window numbers them.
    enum Row {
        kRowGroup = 1,
        kRowChannel,
        kRowFreq,
        kRowDup,
        kRowOffset,
        kRowScan,
        kRowTsq,
        kRowRdct,
        kRowTdct,
        kRowHiCut,
        kRowBusy,
        kRowNb,
        kRowAmFm,
        kRowRbTone,
        kRowDtmfBot,
        kRowDtmfEot,
        kRowDtmfCall,
        kRowPower,
        kRowAddSub5K,
        kRowCount = kRowAddSub5K
    };
    // Columns of the grid: the setting's name, then one column per emergency channel.
    enum Column { kColumnCaption, kColumnEmg1, kColumnEmg2, kColumnCount };

    explicit Frm_EMG(Program& p, QWidget* parent = nullptr);

    // The text of a value cell (kColumnEmg1 or kColumnEmg2).
    QString CellText(int row, int column) const;
    // Starts editing a cell as a double-click does; returns the editor shown, if any.
    QWidget* StartEdit(int row, int column);
    // Commits the cell being edited and hides its editor.
    void CommitEdit();
    void ShowRB();
    // The image was replaced as a whole: the copy is taken and shown again.
    void ShowReplacedImage();
    void CommandOK_Click();
    const std::array<EmergencyRecord, 2>& Records() const { return emg_; }

    QTableWidget* MSFlexGrid1 = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;

  private:
    void BuildGrid();
    void BuildEditors();
    void SetCell(int row, int column, const QString& text);
    void ShowColumn(int column);
    void FillRows(int column);
    void ClearRows(int column);
    void RebuildChannelList(int column);
    void RebuildPowerList(int column);
    void LoadChannel(int column);
    void ChannelChanged(int column, int16_t channel);
    QComboBox* ListEditor(int row, int column) const;
    int16_t* IndexField(ChannelRecord& r, int row) const;
    int16_t* NumberField(ChannelRecord& r, int row) const;

    Program& p_;
    std::array<EmergencyRecord, 2> emg_{};
    std::array<QComboBox*, kRowCount + 1> rowEditor_{}; // shared by both columns
    std::array<QComboBox*, 2> channelEditor_{};
    std::array<QComboBox*, 2> powerEditor_{};
    QLineEdit* offsetEditor_ = nullptr;
    QWidget* editor_ = nullptr; // the editor shown, if any
    int editRow_ = 0, editColumn_ = 0;
    int band_ = 0;
    std::vector<Subscription> subscriptions_; // end with the window
};

} // namespace tarvane
