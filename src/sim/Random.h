#pragma once
// A small deterministic generator: the same seed gives the same race on every platform
// (the standard library's distributions are not specified bit for bit).

#include <cstdint>

namespace sim {

inline uint64_t MixBits(uint64_t z) {
    z += 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// A value in [0, 1) that depends only on its three keys, for per-lap variations that must
// not depend on the order in which they are asked for.
inline double HashUnit(uint64_t a, uint64_t b, uint64_t c) {
    uint64_t h = MixBits(MixBits(MixBits(a) ^ b) ^ c);
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t Next() {
        state_ += 0x9e3779b97f4a7c15ULL;
        return MixBits(state_);
    }
    // [0, 1)
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    // 0 .. n-1 (n > 0)
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }
    bool Chance(double p) { return Unit() < p; }

  private:
    uint64_t state_;
};

}  // namespace sim
