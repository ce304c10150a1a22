#pragma once
// Finding and appending channel records by their slot number.
#include <string_view>

#include "state/RadioImage.h"

namespace tarvane {

// Index of the first used record with the slot, or -1.
int FindChannelSlot(const RadioImage& image, int slot);
// Appends a record with the defaults of a new channel; the display text is turned
// into the frequency text. False (and nothing changed) when the list is full.
bool AppendChannel(RadioImage& image, int slot, std::string_view displayText);
} // namespace tarvane
