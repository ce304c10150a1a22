#pragma once
// Helpers of the feature window tests: choosing a list entry as a user does, and
// finding the language texts the windows show.
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QtTest>

#include "TestProgram.h"
#include "state/lang/LangText.h"

namespace tarvane::test {

// A user's choice: the entry becomes current and the list reports the activation.
inline void Choose(QComboBox* list, int index) {
    QVERIFY(list);
    QVERIFY2(index >= 0 && index < list->count(), "entry out of range");
    list->setCurrentIndex(index);
    emit list->activated(index);
}

inline void ChooseText(QComboBox* list, const QString& text) {
    const int i = list->findText(text);
    QVERIFY2(i >= 0, qPrintable("no entry " + text));
    Choose(list, i);
}

inline QStringList Entries(const QComboBox* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

inline void LeaveBox(QLineEdit* box) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &out);
}

inline QString Text(Program& p, int id) {
    return QString::fromStdString(LangText(p, TextId{id}));
}

// Puts a channel with a frequency text of the image into the slot: the record
// already there is replaced, otherwise one is appended.
inline ChannelRecord& AddTestChannel(Program& p, int slot, const char* freq) {
    for (int i = 0; i < p.Image.UsedCount(); ++i) {
        ChannelRecord& r = p.Image.Channels[static_cast<size_t>(i)];
        if (r.SlotNumber != slot) continue;
        r = ChannelRecord{};
        r.SlotNumber = static_cast<int16_t>(slot);
        r.RxFreq.Assign(freq);
        return r;
    }
    ChannelRecord& r = p.Image.Channels[static_cast<size_t>(p.Image.UsedCount())];
    r = ChannelRecord{};
    r.SlotNumber = static_cast<int16_t>(slot);
    r.RxFreq.Assign(freq);
    p.Image.Settings.ChannelCount = static_cast<int16_t>(p.Image.UsedCount() + 1);
    return r;
}

} // namespace tarvane::test
