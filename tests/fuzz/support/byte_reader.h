// Takes values off the front of a fuzz input; past its end every read gives 0
// (and Empty() says so), so a harness never reads outside the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

class ByteReader {
  public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }
    std::size_t Left() const { return Empty() ? 0 : size_ - pos_; }

    std::uint8_t Byte() { return Empty() ? 0 : data_[pos_++]; }
    // Little-endian; each byte read in its own statement, so the order is fixed.
    std::uint16_t U16() {
        const unsigned low = Byte();
        const unsigned high = Byte();
        return static_cast<std::uint16_t>(low | high << 8);
    }
    std::uint32_t U24() {
        const std::uint32_t low = U16();
        const std::uint32_t high = Byte();
        return low | high << 16;
    }
    // Up to n bytes as they are (fewer at the end of the input).
    std::string Bytes(std::size_t n) {
        if (n > Left())
            n = Left();
        std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return s;
    }
    std::string Rest() { return Bytes(Left()); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace fuzz
