#include "sim/TruthJson.h"

#include <cstdio>

#include "platform/SafeWrite.h"

namespace sim {

namespace {

// Names are the driver table's bytes: quotes, backslashes and control bytes are escaped,
// bytes above 127 are taken as the code points of the same number.
void AppendString(std::string& out, const std::string& text) {
    out += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += ch;
        }
    }
    out += '"';
}

}  // namespace

std::string TruthJson(const RaceTruth& truth) {
    std::string out = "{\"frames\": " + std::to_string(truth.frameCount) +
                      ", \"trackLength\": " + std::to_string(truth.trackLength) +
                      ", \"drivers\": [";
    for (size_t i = 0; i < truth.drivers.size(); ++i) {
        const DriverTruth& d = truth.drivers[i];
        if (i > 0) out += ", ";
        out += "{\"name\": ";
        AppendString(out, d.name);
        out += ", \"slot\": " + std::to_string(d.slot) + ", \"crossings\": [";
        for (size_t k = 0; k < d.lapCrossings.size(); ++k) {
            char number[64];
            std::snprintf(number, sizeof number, "%s%.6f", k > 0 ? ", " : "", d.lapCrossings[k]);
            out += number;
        }
        out += "]}";
    }
    out += "]}\n";
    return out;
}

bool WriteTruthJson(const RaceTruth& truth, const std::string& path, std::string& error) {
    switch (SafeWriteFile(path, TruthJson(truth))) {
        case SafeWriteStatus::Ok:
            return true;
        case SafeWriteStatus::CannotCreate:
            error = "cannot create " + path;
            return false;
        case SafeWriteStatus::WriteFailed:
            break;
    }
    error = "error writing " + path;
    return false;
}

}  // namespace sim
