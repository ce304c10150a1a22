#pragma once
#include <vector>

#include "base/Signal.h"
// The channel table: the channels of one group as a grid, the group choice and
// the group's settings above it. Every change goes through SetChannelField.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <exception>
#include <functional>

#include "state/lang/LangText.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tarvane {

struct Program;
struct ChannelRecord;
class CellEditor;
class GroupChoice;

class frmCommChInfo : public QWidget {
    Q_OBJECT
  public:
    explicit frmCommChInfo(Program& p, QWidget* parent = nullptr);
    ~frmCommChInfo() override;

    // Redraws every row of the displayed group.
    void reShowAllGrid();
    // Redraws the row of the slot when it lies in the displayed group.
    void reShowGrid(int slot);
    // Redraws the group panel for the displayed group.
    void ReshowByCh();
    // The image was replaced as a whole: shows it again on the same row and column.
    void ShowReplacedImage();
    // Shows the displayed group in the group lists.
    void ChangeGroup();
    // Hides every cell editor without committing.
    void SetEditDisable();
    // Opens the editor of the current cell.
    void EnterGridEdit();
    void ReShowChInfoByLanguage();
    // Commits the open cell editor (the frame calls it before reading, writing, saving).
    Q_INVOKABLE void CommitEdit();
    // The user chose a group: it becomes the current and the displayed group.
    void ChooseGroup(int group);
    // A channel-edit command by its toolbar or menu key ("BtnCHCut", "MnuCHCut", ...).
    void RunCommand(const QString& key);

    int ShownGroup() const { return group_; }
    int CurrentChannel() const;
    int EditColumn() const;
    QTableWidget* Grid() const { return grid_; }
    // The channel edit dialog is shown by whoever hosts the window; standalone the
    // table shows it as a window of its own.
    std::function<void()> ShowEditDialog;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildGrid();
    void BuildPanel();
    void BuildButtons();
    void LoadTexts(bool afterLanguageChange);
    // Places the panel, grid and buttons for the font and the texts.
    void LayOut();
    void LayOutPanel();
    void SetTitle();
    void InitShowGrid();
    void FillRow(int row);
    void ClearRow(int row);
    void CurrentCellMoved();
    void ShowEditDialogNow();
    void FocusMoved(QWidget* from, QWidget* to);
    // Rows of the selection (or the current row), as first channel and count.
    std::pair<int, int> SelectedChannels() const;
    void SelectChannel(int channel);
    // Group panel reactions
    void PanelList0Chosen();
    void EmgChannelChosen(int which);
    void EmgModulationChosen(int which);
    void GroupEnabledChosen();
    void ShowEmgModulation(int which, int selection);
    // Runs a step; an unexpected failure shows the step's name and the window stays.
    template <class F> void Guard(const char* step, F&& f) {
        try {
            f();
        } catch (const std::exception&) {
            Tell(p_, step);
        }
    }

    // The channel of the row in the displayed group, nullptr for an empty slot.
    const ChannelRecord* RowRecord(int row) const;

    Program& p_;
    QStringList offOn_, dupTexts_, scanTexts_; // list column texts in value order
    std::vector<Subscription> subscriptions_;  // end with the window
    int band_ = 0;                             // the band the lists were built for
    int group_ = 0;
    int panelRight_ = 0, panelBottom_ = 0; // where the panel ends, in pixels
    bool refreshing_ = false;
    bool committing_ = false;
    QString titleKeyText_;

    QTableWidget* grid_ = nullptr;
    CellEditor* editor_ = nullptr;
    GroupChoice* groups_ = nullptr;
    QLabel* groupLabel_ = nullptr;
    QLabel* panelLabels_[4] = {};
    QComboBox* panelLists_[4] = {};
    QComboBox* emgMod_[2] = {};
    QPushButton* editButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPointer<QWidget> ownDialog_;
};

} // namespace tarvane
