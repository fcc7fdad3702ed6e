#pragma once
// The key stream that scrambles every field of the track data file after its header.
// Its four words start as the header holds them; nothing resets it between records.

#include <cstdint>

class TKeyStream {
  public:
    TKeyStream() = default;
    TKeyStream(uint32_t a, uint32_t b, uint32_t x, uint32_t y) : a_(a), b_(b), x_(x), y_(y) {}

    // The right shifts are arithmetic: when a running word is negative, copies of its sign
    // bit enter from the left, so this is not a rotation.
    uint32_t next() {
        x_ += a_;
        x_ = (x_ << 13) | static_cast<uint32_t>(static_cast<int32_t>(x_) >> 19);
        y_ += b_;
        y_ = (y_ << 7) | static_cast<uint32_t>(static_cast<int32_t>(y_) >> 25);
        return x_ + y_;
    }

    uint32_t a() const { return a_; }
    uint32_t b() const { return b_; }
    uint32_t x() const { return x_; }
    uint32_t y() const { return y_; }

  private:
    uint32_t a_ = 0, b_ = 0, x_ = 0, y_ = 0;
};
