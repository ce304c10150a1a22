#pragma once
// The memory-frequency picker: a CB plan channel chosen by plan and channel
// number gives the frequency of a memory channel.
#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvane {

struct Program;

class Frm_Mem_Freq : public QDialog {
    Q_OBJECT
  public:
    // `freqText` is the text of the edit dialog's frequency box.
    Frm_Mem_Freq(Program& p, const QString& freqText, QWidget* parent = nullptr);

    // The frequency box's text, which OK hands back.
    QString FreqText() const;
    QComboBox* GroupList() const { return group_; }
    QComboBox* ChannelList() const { return channel_; }
    QLineEdit* FreqBox() const { return freq_; }

  private:
    void FillChannels();
    void ShowFreq();

    Program& p_;
    bool loading_ = false;
    int groupPos_ = 0;   // 0: "Off", else CB plan group + 1
    int channelPos_ = 0; // from 0
    QComboBox* group_ = nullptr;
    QComboBox* channel_ = nullptr;
    QLineEdit* freq_ = nullptr;
};

} // namespace tarvane
