#include "features/options/OptionsArea.h"

namespace tarvane {
namespace {

// Options stored one byte each, with their address.
struct OptionByte {
    int option;
    int address;
};
constexpr OptionByte kOptionBytes[] = {
    {kOptBeep, 0x1A40},
    {kOptTimeOutTimer, 0x1A41},
    {kOptBacklight, 0x1A42},
    {kOptVolume, 0x1A43},
    {kOptSquelch, 0x1A44},
    {kOptGainControl, 0x1A46},
    {kOptChannelDisplay, 0x1A47},
    {kOptScanType, 0x1A49},
    {kOptScanTime, 0x1A4A},
    {kOptSquelchStepBack, 0x1A4B},
    {kOptAsqStepBack, 0x1A4C},
    {kOptAutoPowerOn, 0x1A4D},
    {kOptSwrLimit, mem::kSwrLimit},
};

uint8_t Byte(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}
uint8_t At(const RadioMemory& m, int address) {
    return m[static_cast<size_t>(address)];
}

} // namespace

void PackOptions(RadioMemory& m, const SettingsRecord& s) {
    const FeatureBlock& f = s.Features;
    auto put = [&m](int address, int v) { m[static_cast<size_t>(address)] = Byte(v); };
    put(mem::kActiveGroup, f.ActiveGroup);
    put(mem::kMemChannelUse, f.MemChannelUse);
    put(mem::kMemChannelSel, f.MemChannelSel);
    int flags = 0;
    for (int k = 0; k < 10; ++k)
        if (f.GroupEnabled[static_cast<size_t>(k)] > 0) flags |= 1 << k;
    put(mem::kGroupFlags, flags & 0xFF);
    put(mem::kGroupFlags + 1, flags >> 8);
    for (int k = 0; k < 10; ++k)
        put(mem::kWorkChannels + k, f.WorkChannel[static_cast<size_t>(k)]);
    EncodeChannelBlock(m, mem::kCommonBlock, s.CommonChannel);
    for (const OptionByte& o : kOptionBytes)
        put(o.address, f.Options[static_cast<size_t>(o.option)]);
    put(mem::kAsqByte, (f.Options[kOptAsqFun] & 1) << 7 | (f.Options[kOptAsqValue] & 0x7F));
    put(mem::kEditFlags, (f.EmgEditAllowed & 1) << 3 | (f.Options[kOptSwrInUse] & 1) << 1 |
                             (f.Options[kOptMemEditAllowed] & 1));
    for (int k = 0; k < 4; ++k)
        put(mem::kDisplayBytes + k, f.Display[static_cast<size_t>(k)]);
    put(mem::kDisplayMode, f.DisplayMode);
    put(mem::kEmgChannelSel, f.EmgChannelSel);
}

void UnpackOptions(const RadioMemory& m, SettingsRecord& s) {
    FeatureBlock& f = s.Features;
    f.ActiveGroup = At(m, mem::kActiveGroup);
    f.MemChannelUse = At(m, mem::kMemChannelUse) & 1;
    f.MemChannelSel = At(m, mem::kMemChannelSel);
    int flags = At(m, mem::kGroupFlags) | At(m, mem::kGroupFlags + 1) << 8;
    for (int k = 0; k < 10; ++k)
        f.GroupEnabled[static_cast<size_t>(k)] = static_cast<int16_t>((flags >> k) & 1);
    for (int k = 0; k < 10; ++k)
        f.WorkChannel[static_cast<size_t>(k)] = At(m, mem::kWorkChannels + k);
    DecodeChannelBlock(m, mem::kCommonBlock, s.CommonChannel);
    for (const OptionByte& o : kOptionBytes)
        f.Options[static_cast<size_t>(o.option)] = At(m, o.address);
    f.Options[kOptAsqFun] = At(m, mem::kAsqByte) >> 7;
    f.Options[kOptAsqValue] = At(m, mem::kAsqByte) & 0x7F;
    uint8_t edit = At(m, mem::kEditFlags);
    f.Options[kOptMemEditAllowed] = edit & 1;
    f.Options[kOptSwrInUse] = (edit >> 1) & 1;
    f.EmgEditAllowed = (edit >> 3) & 1;
    for (int k = 0; k < 4; ++k)
        f.Display[static_cast<size_t>(k)] = At(m, mem::kDisplayBytes + k);
    f.DisplayMode = At(m, mem::kDisplayMode);
    f.EmgChannelSel = At(m, mem::kEmgChannelSel);
}

} // namespace tarvane
