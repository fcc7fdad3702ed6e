// Stored names (Windows-1252 bytes) and the UTF-8 text the windows, the text export and the
// command line show.
#include <gtest/gtest.h>

#include <string>

#include "platform/NameCodec.h"

TEST(NameCodec, BytesReadAsWindows1252) {
    EXPECT_EQ(NameToUtf8("J\xF6rg M\xFCller"), "J\xC3\xB6rg M\xC3\xBCller");  // Jörg Müller
    EXPECT_EQ(NameToUtf8("\x80 \x8A\x9F"), "\xE2\x82\xAC \xC5\xA0\xC5\xB8");  // € ŠŸ
    EXPECT_EQ(NameToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D") << "undefined: the C1 controls";
    EXPECT_EQ(NameToUtf8(std::string("Bo\0junk", 7)), "Bo") << "up to the NUL";

    // Every byte has its character and comes back as that byte.
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(NameFromUtf8(NameToUtf8(all), all.size()), all);
}

TEST(NameCodec, TextBecomesTheBytesAStoredNameHolds) {
    EXPECT_EQ(NameFromUtf8("Zo\xC3\xAB \xE2\x82\xAC", 31), "Zo\xEB \x80");  // Zoë €
    // Ł (U+0141) and a flag (U+1F3C1) have no byte: a question mark each.
    EXPECT_EQ(NameFromUtf8("\xC5\x81ukasz \xF0\x9F\x8F\x81", 31), "?ukasz ?");
    EXPECT_EQ(NameFromUtf8(std::string(16, 'a') + std::string(20, '\xE9'), 31).size(), 31u);
    EXPECT_EQ(NameFromUtf8(std::string(20, 'x') + "\xC3\xA9\xC3\xA9", 21),
              std::string(20, 'x') + "\xE9");
    EXPECT_EQ(NameFromUtf8("J\xE9r\xF4me", 31), "J\xE9r\xF4me") << "bytes outside UTF-8 kept";
    EXPECT_TRUE(NameCharacterStorable(U'\u20AC'));
    EXPECT_TRUE(NameCharacterStorable(U'\u00FF'));
    EXPECT_FALSE(NameCharacterStorable(U'\u0141'));
    EXPECT_FALSE(NameCharacterStorable(U'\u0100'));
}
