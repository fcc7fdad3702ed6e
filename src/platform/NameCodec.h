#pragma once
// Driver and lap names as the files hold them (replays, documents, the replay export): 8-bit
// bytes in Windows-1252, the code page the simulation writes them in. Everything shown or
// written out as text (the windows, the text export, korvale-cli) is UTF-8, converted here
// and nowhere else, so that a name reads the same everywhere and survives an edit.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// The stored bytes (up to a NUL, if any) as UTF-8. The five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+0081 and so on, as Windows maps them,
// so that every byte has a character and converting back gives the same bytes.
std::string NameToUtf8(std::string_view stored);
// A 32-byte name field, which a damaged file may leave without its NUL.
inline std::string NameToUtf8(const char (&field)[32]) {
    return NameToUtf8(std::string_view(field, strnlen(field, sizeof field)));
}

// True for the characters a stored name can hold: those of Windows-1252, with the five
// undefined bytes' characters.
bool NameCharacterStorable(char32_t c);

// The stored bytes of a UTF-8 name, at most maxBytes of them: a character Windows-1252 lacks
// becomes '?', and a byte outside a well-formed UTF-8 sequence is kept as it is (it can only
// have come from a stored name shown as it was).
std::string NameFromUtf8(std::string_view utf8, size_t maxBytes);
