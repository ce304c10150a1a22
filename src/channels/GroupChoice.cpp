#include "channels/GroupChoice.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "channels/ChannelRules.h"
#include "freq/Bands.h"
#include "ui/ListHelpers.h"
#include "ui/Twips.h"

namespace tarvane {

GroupChoice::GroupChoice(QWidget* parent, int band, const QString& prefix) : QObject(parent), band_(band) {
    if (band == kBandCB) {
        country1_ = new QComboBox(parent);
        country1_->setObjectName(prefix + "cboCountry1");
        country1_->addItems(ToQStringList(CountryListEntries()));
        country2_ = new QComboBox(parent);
        country2_->setObjectName(prefix + "cboCountry2");
        country2_->addItems(ToQStringList(SecondCountryEntries()));
        country2_->setCurrentIndex(-1);
        country2_->hide();
        connect(country1_, &QComboBox::activated, this, [this] { FirstCountryChosen(); });
        connect(country2_, &QComboBox::activated, this, [this] {
            int g = ChosenGroup();
            if (g >= 0) emit GroupChosen(g);
        });
    } else {
        group_ = new QComboBox(parent);
        group_->setObjectName(prefix + "cboGroup");
        group_->addItems(ToQStringList(GroupListEntries(band)));
        connect(group_, &QComboBox::activated, this, [this] {
            int g = ChosenGroup();
            if (g >= 0) emit GroupChosen(g);
        });
    }
}

void GroupChoice::FirstCountryChosen() {
    const bool shared = country1_->currentIndex() == kSharedCountryPos;
    country2_->setVisible(shared);
    if (shared && country2_->currentIndex() < 0) {
        QSignalBlocker block(country2_);
        country2_->setCurrentIndex(0);
    }
    int g = ChosenGroup();
    if (g >= 0) emit GroupChosen(g);
}

void GroupChoice::ShowGroup(int group) {
    if (group_) {
        QSignalBlocker block(group_);
        SelectListText(group_, QString::fromStdString(GroupName(group, band_)));
        return;
    }
    QSignalBlocker block1(country1_), block2(country2_);
    CountryChoice c = CountryChoiceOfGroup(group);
    SelectListIndex(country1_, c.First);
    if (c.Second >= 0) country2_->setCurrentIndex(c.Second);
    country2_->setVisible(c.First == kSharedCountryPos);
}

int GroupChoice::ChosenGroup() const {
    if (group_) return GroupByName(group_->currentText().toStdString(), band_);
    return GroupOfCountryChoice(country1_->currentIndex(), country2_->currentIndex());
}

void GroupChoice::Place(int x, int y, int width, int rowHeight) {
    if (group_) {
        group_->setGeometry(x, y, width, rowHeight - 4);
        return;
    }
    country1_->setGeometry(x, y, width, rowHeight - 4);
    country2_->setGeometry(x, y + rowHeight, width, rowHeight - 4);
}

int GroupChoice::NeededWidth(int designPixels) const {
    return WidthForItems(designPixels, {group_, country1_, country2_});
}

int GroupChoice::Bottom() const {
    return (group_ ? group_ : country2_)->geometry().bottom();
}

void GroupChoice::SetEnabled(bool on) {
    for (QComboBox* c : {group_, country1_, country2_})
        if (c) c->setEnabled(on);
}

} // namespace tarvane
