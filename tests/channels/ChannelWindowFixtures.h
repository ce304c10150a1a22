#pragma once
// Programs and small helpers for the channel window tests.
#include <QString>
#include <string>

#include "TestProgram.h"

class QComboBox;
class QWidget;

namespace tarvane::test {

// Adds channels 1..count of the group, on frequencies from `first` MHz up in 5 kHz
// steps (within the band: the steps wrap round to `first`).
void AddPlan(Program& p, int group, int count, double first);
// The record of the slot, or nullptr.
const ChannelRecord* RecordOf(const Program& p, int slot);
ChannelRecord* RecordOf(Program& p, int slot);
// Chooses the entry with the text as a user does (the list's "activated").
bool Choose(QComboBox* list, const QString& text);
// Shows a window and waits until it can take input.
bool ShowAndWait(QWidget* w);
// Slots unique in the used records.
bool SlotsUnique(const Program& p);

} // namespace tarvane::test
