#include "state/MemoryMap.h"

namespace tarvane {
namespace {

constexpr MemoryRegion kRegions[] = {
    {mem::kChannelBlocks, 400 * mem::kBlockSize, "ChannelCodec", "channel slots 1..400"},
    {mem::kValidBitmap, mem::kBitmapCleared, "ChannelCodec", "valid bits of slots 1..400"},
    {mem::kScanBitmap, mem::kBitmapCleared, "ChannelCodec", "scan bits of slots 1..400"},
    {mem::kMemBlocks, 8 * mem::kBlockSize, "ChannelCodec", "memory channels 402..409"},
    {mem::kVfoBlock, mem::kBlockSize, "ChannelCodec", "VFO slot 401"},
    {mem::kActiveGroup, 2, "OptionsArea", "active group, memory-channel use"},
    {mem::kDtmfPresence, 2, "DtmfArea", "DTMF code presence bits"},
    {mem::kMemChannelSel, 1, "OptionsArea", "selected memory channel"},
    {mem::kMemValid, 2, "ChannelCodec", "valid and scan bits of memory channels"},
    {mem::kGroupFlags, 2, "OptionsArea", "group enable bits 0..9"},
    {mem::kWorkChannels, 10, "OptionsArea", "working channel of each group"},
    {mem::kCommonBlock + 3, 13, "OptionsArea", "common channel block, bytes 3..15"},
    {mem::kOptionBytes, 8, "OptionsArea", "options beep .. channel display"},
    {mem::kKeyMode, 1, "KeysArea", "key mode"},
    {mem::kKeyMode + 1, 5, "OptionsArea", "options scan type .. auto power-on"},
    {mem::kDtmfSettings, 6, "DtmfArea", "DTMF settings"},
    {mem::kSwrLimit, 7, "OptionsArea", "SWR limit, edit flags, display options"},
    {mem::kKeyFunctions, 18, "KeysArea", "key functions"},
    {mem::kEmgBlocks, 3 * mem::kBlockSize, "ChannelCodec", "emergency channels 410..412"},
    {mem::kEmgChannelSel, 1, "OptionsArea", "selected emergency channel"},
    {mem::kEmgValid, 2, "ChannelCodec", "valid and scan bits of emergency channels"},
    {mem::kToneTips + 0x00, 60, "ToneTipsArea", "tone tips 1, 2"},
    {mem::kToneTips + 0x40, 60, "ToneTipsArea", "tone tips 3, 4"},
    {mem::kToneTips + 0x80, 60, "ToneTipsArea", "tone tips 5, 6"},
    {mem::kToneTips + 0xC0, 60, "ToneTipsArea", "tone tips 7, 8"},
    {mem::kDtmfDigits, 256, "DtmfArea", "DTMF code digits"},
};

} // namespace

std::span<const MemoryRegion> MemoryRegions() {
    return kRegions;
}

} // namespace tarvane
