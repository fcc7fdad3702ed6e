#pragma once
// A lap's name as the windows show it: its stored Windows-1252 bytes as text
// (platform/NameCodec.h).
#include <QString>
#include <cstring>
#include <string>

#include "platform/NameCodec.h"

inline QString LapNameText(const std::string& stored) {
    return QString::fromStdString(NameToUtf8(stored));
}

// The 32-byte name field, up to its NUL (at most 31 bytes before it).
inline QString LapNameText(const char (&field)[32]) {
    return QString::fromStdString(NameToUtf8(field));
}
