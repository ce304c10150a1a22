#pragma once
// The editor laid over a cell of the channel table while it is edited: a text box
// for the frequency (Text1) and the offset (Text2), a list for Public, DUP, TSQ
// and Scan (Combo1..Combo4). It only edits; the table stores what it holds.
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace tarvane {

class CellEditor : public QObject {
    Q_OBJECT
  public:
    // `lists`: the entries of the list columns in value order (Public, DUP, TSQ, Scan).
    CellEditor(QTableWidget* grid, const std::array<QStringList, 4>& lists, QObject* parent);

    // Opens the editor of the column over the cell (row from 0), holding the cell's text.
    void Open(int row, int column, const QString& cellText);
    // Hides every editor without committing.
    void Close();
    int Column() const { return column_; }   // 0 while none is open
    int Channel() const { return channel_; } // the row of the open editor, from 1
    // The value to store: a typed frequency in "#0.00000" when it reads as a
    // number, the offset as typed, a list's position.
    QString Value() const;
    // False while the editor holds what it was opened with.
    bool Changed() const;
    // True when the focus moved from inside the open editor to outside it.
    bool FocusLeft(const QWidget* from, const QWidget* to) const;

    std::function<void()> Commit;                 // Enter, or a list entry chosen
    std::function<void(const char* step)> Failed; // a key failed unexpectedly, by the step's name

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* Current() const;
    QLineEdit* TextBox() const;
    QComboBox* List() const;
    void Place(QWidget* editor);
    bool Key(QObject* editor, QKeyEvent* e);
    bool Owns(const QObject* o) const;

    QTableWidget* grid_;
    QLineEdit* text1_ = nullptr; // frequency
    QLineEdit* text2_ = nullptr; // offset
    std::array<QComboBox*, 4> lists_{};
    int column_ = 0;
    int channel_ = 0;
    QString original_; // the text, or a list's position, it was opened with
};

} // namespace tarvane
