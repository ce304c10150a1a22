#include "ChannelWindowFixtures.h"

#include <QComboBox>
#include <QTest>
#include <set>

#include "base/NumberText.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"

namespace tarvane::test {

void AddPlan(Program& p, int group, int count, double first) {
    const int band = p.Model.ModelType;
    const int steps = static_cast<int>((p.Model.UpperLimit - first) / 0.005) + 1;
    for (int n = 1; n <= count; ++n) {
        const int slot = GroupBase(group, band) + n;
        if (FindChannelSlot(p.Image, slot) >= 0) continue;
        AppendChannel(p.Image, slot, FormatFixed(first + 0.005 * ((n - 1) % steps), 5));
    }
}

const ChannelRecord* RecordOf(const Program& p, int slot) {
    int i = FindChannelSlot(p.Image, slot);
    return i < 0 ? nullptr : &p.Image.Channels[static_cast<size_t>(i)];
}

ChannelRecord* RecordOf(Program& p, int slot) {
    int i = FindChannelSlot(p.Image, slot);
    return i < 0 ? nullptr : &p.Image.Channels[static_cast<size_t>(i)];
}

bool Choose(QComboBox* list, const QString& text) {
    const int i = list->findText(text);
    if (i < 0 || !list->isEnabled()) return false;
    list->setCurrentIndex(i);
    emit list->activated(i);
    return true;
}

bool ShowAndWait(QWidget* w) {
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowExposed(w);
}

bool SlotsUnique(const Program& p) {
    std::set<int> seen;
    for (int i = 0; i < p.Image.UsedCount(); ++i)
        if (!seen.insert(p.Image.Channels[static_cast<size_t>(i)].SlotNumber).second) return false;
    return true;
}

} // namespace tarvane::test
