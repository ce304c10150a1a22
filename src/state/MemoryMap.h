#pragma once
// The 7424-byte radio memory: where each area lies. Every area codec names its
// addresses here, so this is the one map of the memory.
#include <array>
#include <cstdint>
#include <span>

#include "state/RadioImage.h"

namespace tarvane {

using RadioMemory = std::array<uint8_t, kRadioMemorySize>;

// Addresses in the radio memory. Every area's codec names its addresses here so
// the region table below is the one map of the memory.
namespace mem {
inline constexpr int kChannelBlocks = 0x0000; // slots 1..400, 16 bytes each
inline constexpr int kBlockSize = 16;
inline constexpr int kValidBitmap = 0x1900; // slots 1..400: 50 bytes used, 64 cleared
inline constexpr int kScanBitmap = 0x1940;
inline constexpr int kBitmapCleared = 64;
inline constexpr int kBitmapUsed = 50;
inline constexpr int kMemBlocks = 0x1980; // slots 402..409
inline constexpr int kVfoBlock = 0x1A00;  // slot 401, no flags
inline constexpr int kActiveGroup = 0x1A11;
inline constexpr int kMemChannelUse = 0x1A12;
inline constexpr int kDtmfPresence = 0x1A19; // 2 bytes
inline constexpr int kMemChannelSel = 0x1A1B;
inline constexpr int kMemValid = 0x1A1C;
inline constexpr int kMemScan = 0x1A1D;
inline constexpr int kGroupFlags = 0x1A1E;   // 2 bytes, groups 0..9
inline constexpr int kWorkChannels = 0x1A20; // 10 bytes
inline constexpr int kCommonBlock = 0x1A30;  // a channel block; bytes 0..2 unused
inline constexpr int kOptionBytes = 0x1A40;  // 0x1A40..0x1A47 and 0x1A49..0x1A4D
inline constexpr int kAsqByte = 0x1A45;      // b7 AsqFun, b0-6 AsqValue
inline constexpr int kKeyMode = 0x1A48;
inline constexpr int kDtmfSettings = 0x1A4E; // 6 bytes
inline constexpr int kSwrLimit = 0x1A54;
inline constexpr int kEditFlags = 0x1A55;    // b0 mem edit, b1 SWR in use, b3 emergency edit
inline constexpr int kDisplayBytes = 0x1A56; // 4 bytes
inline constexpr int kDisplayMode = 0x1A5A;
inline constexpr int kKeyFunctions = 0x1A80; // 18 bytes
inline constexpr int kEmgBlocks = 0x1AA0;    // slots 410..412
inline constexpr int kEmgChannelSel = 0x1AE0;
inline constexpr int kEmgValid = 0x1AE1;
inline constexpr int kEmgScan = 0x1AE2;
inline constexpr int kToneTips = 0x1B00; // 8 x 30 bytes, two per 64
inline constexpr int kToneTipSize = 30;
inline constexpr int kDtmfDigits = 0x1C00; // 16 x 16 bytes
} // namespace mem

struct MemoryRegion {
    int Address;
    int Size;
    const char* Owner; // the area codec that writes it
    const char* What;
};
// Every byte range an encoder writes, ascending and without overlap. Bytes outside
// these ranges are never written and stay 0 after the memory is encoded.
std::span<const MemoryRegion> MemoryRegions();

} // namespace tarvane
