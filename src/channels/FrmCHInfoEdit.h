#pragma once
#include <vector>

#include "base/Signal.h"
// The channel edit dialog: every field of one channel. It follows the channel
// table and stores each change at once through SetChannelField.
#include <QString>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvane {

struct Program;
class GroupChoice;

class FrmCHInfoEdit : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kOptionLists = 16;

    explicit FrmCHInfoEdit(Program& p, QWidget* parent = nullptr);
    ~FrmCHInfoEdit() override;

    // Loads the dialog; with followGrid the group and channel come from the channel table.
    void SetGridEditData(bool followGrid);
    // Refills the roger-beep list with the tone tips in use.
    void ShowRB();
    // Enables the options the common channel data would replace.
    void EnablePub(bool on);
    // A channel changed: follow the table, or stay on the own channel when the
    // dialog stored the change itself.
    void Reload();
    // The DTMF codes changed: the three DTMF lists are filled again.
    void RefillDtmfLists();
    // Stores the frequency and offset boxes (the frame calls it before a transfer).
    Q_INVOKABLE void CommitEdit();

    int Group() const;
    int Channel() const;
    QComboBox* OptionList(int k) const { return lists_[k]; }
    QLineEdit* FreqBox() const { return freq_; }
    QLineEdit* OffsetBox() const { return offset_; }
    QPushButton* MemButton() const { return memButton_; }
    QComboBox* ChannelList() const { return channel_; }
    GroupChoice* Groups() const { return groups_; }

    // Asks for a memory frequency, given the box's text; returns the box's new text.
    // Runs the memory-frequency window unless replaced (tests replace it).
    std::function<QString(const QString& current)> PickMemFreq;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Build();
    void LayOut();
    void LoadTexts();
    void FillChannelChoice(int group);
    void FillPowerList(bool fm);
    void StoreOption(int k);
    void StoreFreq();
    void StoreOffset();
    void Store(int column, const QString& value);
    void MemButtonClicked();

    Program& p_;
    std::vector<Subscription> subscriptions_; // end with the window
    int band_ = 0;                            // the band the lists were built for
    bool loading_ = false;
    bool storing_ = false;
    QString loadedFreq_, loadedOffset_;
    GroupChoice* groups_ = nullptr;
    QComboBox* channel_ = nullptr;
    QLineEdit* freq_ = nullptr;
    QLineEdit* offset_ = nullptr;
    QPushButton* memButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QLabel* groupLabel_ = nullptr;
    QLabel* channelLabel_ = nullptr;
    QLabel* freqLabel_ = nullptr;
    QLabel* offsetLabel_ = nullptr;
    QLabel* labels_[kOptionLists] = {};
    QComboBox* lists_[kOptionLists] = {};
};

} // namespace tarvane
