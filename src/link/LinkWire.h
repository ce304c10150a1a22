#pragma once
// The bytes on the wire between the program and the radio, as small value types.
// Every packet has encode(); every reply has a parse() that checks everything
// in one place and returns nothing for bytes that are not exactly that reply.
//
//   program -> radio                          radio -> program
//   "PROGRAM"                      7 bytes    "YK" 06                          3 bytes
//   02                             1 byte     "I" code[7] type fw[4] flags x 06 16 bytes
//   "R" addrHi addrLo 10           4 bytes    "W" addrHi addrLo N data[N] sum 06  N+6
//   "W" addrHi addrLo 10 data[16] sum 06 22   06 (Ack) or 0A (Nak)              1 byte
//   "END"                          3 bytes    06                               1 byte
//
// The checksum is the low byte of the sum of address high byte through the last
// data byte: neither the "W" nor the trailing 06 counts.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarvane {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kNak = 0x0A;
inline constexpr int kBlockSize = 16;
inline constexpr int kPasswordBlockAddress = 0x3E10;

// Reply lengths after the echo.
inline constexpr int kHandshakeReplyLength = 3;
inline constexpr int kIdentReplyLength = 16;
inline constexpr int kBlockReplyLength = kBlockSize + 6;
inline constexpr int kAckLength = 1;

uint8_t BlockChecksum(uint16_t address, std::span<const uint8_t> data);

struct HandshakePacket {
    static Bytes encode() { return {'P', 'R', 'O', 'G', 'R', 'A', 'M'}; }
};

struct HandshakeAck {
    static Bytes encode() { return {'Y', 'K', kAck}; }
    static bool parse(std::span<const uint8_t> in);
};

struct IdentRequest {
    static Bytes encode() { return {0x02}; }
};

struct EndPacket {
    static Bytes encode() { return {'E', 'N', 'D'}; }
};

struct ReadRequest {
    uint16_t address = 0;
    Bytes encode() const;
    static std::optional<ReadRequest> parse(std::span<const uint8_t> in);
};

// A 16-byte memory block: what the program writes and what the radio answers to "R".
struct DataBlock {
    uint16_t address = 0;
    std::array<uint8_t, kBlockSize> data{};
    Bytes encode() const;
    // Exactly kBlockReplyLength bytes with "W", length byte 0x10, right checksum and
    // trailing 0x06. The address is returned as found; the caller checks it.
    static std::optional<DataBlock> parse(std::span<const uint8_t> in);
};

// The 16-byte identification. Fixed texts end at their first NUL byte.
struct IdentReply {
    std::string modelCode;       // bytes 1..7
    uint8_t modelType = 0;       // byte 8
    std::string firmwareVersion; // bytes 9..12
    uint8_t flags = 0;           // byte 13, bit 0: CTCSS/DCS supported
    uint8_t spare = 0;           // byte 14, not interpreted
    Bytes encode() const;
    static std::optional<IdentReply> parse(std::span<const uint8_t> in);
};

inline constexpr uint8_t kFlagCtcssDcs = 0x01;

} // namespace tarvane
