#include "freq/ChannelSlots.h"

#include "freq/FreqCodec.h"

namespace tarvane {

int FindChannelSlot(const RadioImage& image, int slot) {
    for (int i = 0; i < image.UsedCount(); ++i)
        if (image.Channels[static_cast<size_t>(i)].SlotNumber == slot) return i;
    return -1;
}

bool AppendChannel(RadioImage& image, int slot, std::string_view displayText) {
    int n = image.UsedCount();
    if (n >= kMaxChannels) return false;
    ChannelRecord r;
    r.SlotNumber = static_cast<int16_t>(slot);
    r.IsBlank = 0;
    r.Scan = 1;
    r.RxFreq.Assign(DisplayToFreq(displayText));
    r.OffSetFre = 100;
    r.NB = 1;
    r.Public = 1;
    image.Channels[static_cast<size_t>(n)] = r;
    image.Settings.ChannelCount = static_cast<int16_t>(n + 1);
    return true;
}

} // namespace tarvane
