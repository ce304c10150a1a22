#pragma once
// Loading a channel into an emergency record. The record refers to the channel
// with SlotNumber 40 * EmgGroup + EmgChannel; the record's own ChannelRecord takes a
// copy of its settings, which the emergency window may then change.
#include "state/RadioImage.h"

namespace tarvane {

// Copies RxFreq, Scan, TSQ, RDCT and TDCT of the referenced channel, and the twelve
// settings DUP, OffSetFre, HI_CUT, BUSY, NB, AM_FM, RBTone, DTMF_BOT, DTMF_EOT,
// DTMF_Call, Tx_Power and Add_Sub_5K from the channel itself, or from the
// CommonChannel when the channel's Public is 1 or more. False, with nothing copied,
// when no such channel exists or EmgChannel is not 1..40 or EmgGroup not 0..9.
bool LoadEmergencyChannel(const RadioImage& image, EmergencyRecord& record);

} // namespace tarvane
