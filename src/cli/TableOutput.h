#pragma once
// The tables korvale-cli sectors and corners print: fields separated by tabs, or CSV.
#include <cstdint>
#include <string>
#include <vector>

#include "document/TReplay.h"

namespace cli {

// A CSV field, quoted when it holds a comma, a quote or a line break (quotes doubled).
std::string CsvField(const std::string& text);

// One line of fields to stdout: tab-separated and ending in "\n", or CSV ending in "\r\n".
void PrintRow(const std::vector<std::string>& fields, bool csv);

// The lap a --ref value names: a lap number from 0, or "fastest" for the fastest lap; -1 for
// anything else or a lap the document does not hold.
int32_t LapReference(const std::string& text, const std::vector<const TReplay*>& laps);

}  // namespace cli
