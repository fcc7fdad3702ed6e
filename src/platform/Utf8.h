#pragma once
// UTF-8 checks for texts that come from files (names in replays, documents and the track
// data file), which may hold any bytes.

#include <cstddef>
#include <string>

// The length of the well-formed UTF-8 sequence that starts at text[at] (1 to 4), or 0 when
// the byte there does not start one (overlong forms, surrogates and values above U+10FFFF
// are not well formed).
size_t Utf8SequenceLength(const std::string& text, size_t at);

bool IsValidUtf8(const std::string& text);

// The text with every control character (C0, DEL and the C1 controls U+0080 to U+009F) and
// every byte outside a well-formed sequence written as "\xHH", so that printing a name from
// a file cannot send escape sequences to a terminal. Other text is unchanged.
std::string EscapeControls(const std::string& text);
