#pragma once
#include <cstdint>

// A colour as the program stores it: red, green and blue bytes.
struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
    // red + 256 x green + 65536 x blue, as colours are kept in files and settings.
    uint32_t Packed() const { return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16); }
    static Rgb FromPacked(uint32_t v) {
        return Rgb{uint8_t(v & 0xff), uint8_t((v >> 8) & 0xff), uint8_t((v >> 16) & 0xff)};
    }
};
