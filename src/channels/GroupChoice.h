#pragma once
// The group choice of the channel windows: one list of all groups on an HF or HAM
// radio; on a CB radio two country lists ("U" and "UK" share one place in the
// first list, and the second list tells them apart).
#include <QObject>
#include <functional>

class QComboBox;
class QWidget;

namespace tarvane {

class GroupChoice : public QObject {
    Q_OBJECT
  public:
    // Makes the lists as children of the parent, named with the prefix
    // ("cboGroup", "cboCountry1", "cboCountry2" after it).
    GroupChoice(QWidget* parent, int band, const QString& prefix = QString());

    // Shows the group without reporting a choice.
    void ShowGroup(int group);
    // The group the lists name, -1 when none.
    int ChosenGroup() const;
    // Places the lists: the single list or the first country list at (x, y), the
    // second country list below the first.
    void Place(int x, int y, int width, int rowHeight);
    // The width that shows every entry of the lists, at least the design width.
    int NeededWidth(int designPixels) const;
    // The bottom edge of the lowest list as placed.
    int Bottom() const;
    bool IsCountry() const { return country1_ != nullptr; }
    QComboBox* GroupList() const { return group_; }
    QComboBox* CountryList1() const { return country1_; }
    QComboBox* CountryList2() const { return country2_; }
    void SetEnabled(bool on);

  signals:
    // The user chose a group.
    void GroupChosen(int group);

  private:
    void FirstCountryChosen();

    int band_;
    QComboBox* group_ = nullptr;
    QComboBox* country1_ = nullptr;
    QComboBox* country2_ = nullptr;
    bool showing_ = false;
};

} // namespace tarvane
