#include "link/LinkWire.h"

#include <algorithm>

namespace tarvane {

namespace {

// A fixed text field that ends early at its first NUL.
std::string TextUntilNul(std::span<const uint8_t> field) {
    auto end = std::find(field.begin(), field.end(), uint8_t{0});
    return std::string(field.begin(), end);
}

} // namespace

uint8_t BlockChecksum(uint16_t address, std::span<const uint8_t> data) {
    unsigned sum = (address >> 8) + (address & 0xFFu) + static_cast<unsigned>(data.size());
    for (uint8_t b : data) sum += b;
    return static_cast<uint8_t>(sum & 0xFFu);
}

bool HandshakeAck::parse(std::span<const uint8_t> in) {
    return in.size() == 3 && in[0] == 'Y' && in[1] == 'K' && in[2] == kAck;
}

Bytes ReadRequest::encode() const {
    return {'R', static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF), kBlockSize};
}

std::optional<ReadRequest> ReadRequest::parse(std::span<const uint8_t> in) {
    if (in.size() != 4 || in[0] != 'R' || in[3] != kBlockSize) return std::nullopt;
    return ReadRequest{static_cast<uint16_t>((in[1] << 8) | in[2])};
}

Bytes DataBlock::encode() const {
    Bytes out(kBlockReplyLength);
    out[0] = 'W';
    out[1] = static_cast<uint8_t>(address >> 8);
    out[2] = static_cast<uint8_t>(address & 0xFF);
    out[3] = kBlockSize;
    std::copy(data.begin(), data.end(), out.begin() + 4);
    out[20] = BlockChecksum(address, data);
    out[21] = kAck;
    return out;
}

std::optional<DataBlock> DataBlock::parse(std::span<const uint8_t> in) {
    // Length byte first: it decides where checksum and trailer sit.
    if (in.size() < static_cast<size_t>(kBlockReplyLength) || in[0] != 'W') return std::nullopt;
    const size_t n = in[3];
    if (n != kBlockSize || in.size() != n + 6 || in[n + 5] != kAck) return std::nullopt;
    DataBlock b;
    b.address = static_cast<uint16_t>((in[1] << 8) | in[2]);
    std::copy_n(in.begin() + 4, kBlockSize, b.data.begin());
    if (in[n + 4] != BlockChecksum(b.address, b.data)) return std::nullopt;
    return b;
}

Bytes IdentReply::encode() const {
    Bytes out(kIdentReplyLength, 0);
    out[0] = 'I';
    std::copy_n(modelCode.begin(), std::min<size_t>(modelCode.size(), 7), out.begin() + 1);
    out[8] = modelType;
    std::copy_n(firmwareVersion.begin(), std::min<size_t>(firmwareVersion.size(), 4), out.begin() + 9);
    out[13] = flags;
    out[14] = spare;
    out[15] = kAck;
    return out;
}

std::optional<IdentReply> IdentReply::parse(std::span<const uint8_t> in) {
    if (in.size() != kIdentReplyLength || in[0] != 'I' || in[15] != kAck) return std::nullopt;
    IdentReply r;
    r.modelCode = TextUntilNul(in.subspan(1, 7));
    r.modelType = in[8];
    r.firmwareVersion = TextUntilNul(in.subspan(9, 4));
    r.flags = in[13];
    r.spare = in[14];
    return r;
}

} // namespace tarvane
