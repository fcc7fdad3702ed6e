#include "platform/Utf8.h"

#include <cstdio>

size_t Utf8SequenceLength(const std::string& text, size_t at) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b0 = byte(at);
    if (b0 < 0x80) return 1;
    size_t length = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) lo = 0xA0;  // overlong below
        if (b0 == 0xED) hi = 0x9F;  // surrogates above
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) lo = 0x90;  // overlong below
        if (b0 == 0xF4) hi = 0x8F;  // beyond U+10FFFF above
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    if (byte(at + 1) < lo || byte(at + 1) > hi) return 0;
    for (size_t k = 2; k < length; ++k)
        if (byte(at + k) < 0x80 || byte(at + k) > 0xBF) return 0;
    return length;
}

bool IsValidUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const size_t n = Utf8SequenceLength(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string EscapeControls(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    auto escape = [&out](unsigned char b) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", b);
        out += buf;
    };
    for (size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const size_t n = Utf8SequenceLength(text, i);
        // A byte outside a sequence, or a C0 control or DEL.
        if (n == 0 || (n == 1 && (b < 0x20 || b == 0x7F))) {
            escape(b);
            ++i;
        } else if (n == 2 && b == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            // U+0080 to U+009F: the C1 controls, which some terminals obey.
            escape(b);
            escape(static_cast<unsigned char>(text[i + 1]));
            i += 2;
        } else {
            out.append(text, i, n);
            i += n;
        }
    }
    return out;
}
