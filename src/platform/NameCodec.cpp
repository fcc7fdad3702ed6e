#include "platform/NameCodec.h"

#include <array>
#include <cstdint>

#include "platform/Utf8.h"

namespace {

// Bytes 0x80 to 0x9F; the undefined ones map to the C1 control of the same number.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CharacterOf(unsigned char b) {
    return b >= 0x80 && b <= 0x9F ? kHigh[b - 0x80] : b;
}

// The byte of a character, or -1 when Windows-1252 has none.
int ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string NameToUtf8(std::string_view stored) {
    std::string out;
    out.reserve(stored.size() * 2);
    for (const char ch : stored) {
        if (ch == '\0') break;
        AppendUtf8(out, CharacterOf(static_cast<unsigned char>(ch)));
    }
    return out;
}

bool NameCharacterStorable(char32_t c) {
    return ByteOf(c) >= 0;
}

std::string NameFromUtf8(std::string_view utf8, size_t maxBytes) {
    const std::string text(utf8);
    std::string out;
    for (size_t i = 0; i < text.size() && out.size() < maxBytes;) {
        const size_t n = Utf8SequenceLength(text, i);
        if (n == 0) {
            out += text[i++];
            continue;
        }
        const auto byte = [&](size_t k) { return static_cast<uint32_t>(uint8_t(text[i + k])); };
        char32_t c = 0;
        if (n == 1)
            c = byte(0);
        else if (n == 2)
            c = ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
        else if (n == 3)
            c = ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        else
            c = ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) |
                (byte(3) & 0x3F);
        const int b = ByteOf(c);
        out += b >= 0 ? static_cast<char>(b) : '?';
        i += n;
    }
    return out;
}
