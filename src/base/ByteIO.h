#pragma once
// Little-endian field access into byte buffers. Every offset is checked against
// the buffer so a wrong layout constant fails loudly in tests instead of
// reading a neighbour's bytes.
#include <cassert>
#include <cstdint>
#include <cstring>
#include <span>

#include "base/FixedText.h"

namespace tarvane {

class ByteWriter {
  public:
    explicit ByteWriter(std::span<uint8_t> out) : out_(out) {}
    void I16(size_t at, int16_t v) {
        assert(at + 2 <= out_.size());
        auto u = static_cast<uint16_t>(v);
        out_[at] = static_cast<uint8_t>(u & 0xFF);
        out_[at + 1] = static_cast<uint8_t>(u >> 8);
    }
    void U8(size_t at, uint8_t v) {
        assert(at < out_.size());
        out_[at] = v;
    }
    template <size_t N> void Text(size_t at, const FixedText<N>& t) {
        assert(at + N <= out_.size());
        std::memcpy(out_.data() + at, t.chars.data(), N);
    }
    void Bytes(size_t at, const uint8_t* src, size_t n) {
        assert(at + n <= out_.size());
        std::memcpy(out_.data() + at, src, n);
    }

  private:
    std::span<uint8_t> out_;
};

class ByteReader {
  public:
    explicit ByteReader(std::span<const uint8_t> in) : in_(in) {}
    int16_t I16(size_t at) const {
        assert(at + 2 <= in_.size());
        return static_cast<int16_t>(static_cast<uint16_t>(in_[at] | (in_[at + 1] << 8)));
    }
    uint8_t U8(size_t at) const {
        assert(at < in_.size());
        return in_[at];
    }
    template <size_t N> void Text(size_t at, FixedText<N>& t) const {
        assert(at + N <= in_.size());
        std::memcpy(t.chars.data(), in_.data() + at, N);
    }
    void Bytes(size_t at, uint8_t* dst, size_t n) const {
        assert(at + n <= in_.size());
        std::memcpy(dst, in_.data() + at, n);
    }

  private:
    std::span<const uint8_t> in_;
};

} // namespace tarvane
