// Reads a fuzz input front to back; past its end every read gives zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qm54fuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t Word()
    {
        const uint16_t low = Byte();
        return static_cast<uint16_t>(low | Byte() << 8);
    }
    // Up to count bytes, fewer at the end of the input.
    std::span<const uint8_t> Take(size_t count)
    {
        const size_t n = count < size_ - pos_ ? count : size_ - pos_;
        const std::span<const uint8_t> part(data_ + pos_, n);
        pos_ += n;
        return part;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace qm54fuzz
