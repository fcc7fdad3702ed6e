#include "replay/ReplayWriter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

#include "channels/Channels.h"
#include "platform/SafeWrite.h"
#include "platform/TextCase.h"

namespace {

constexpr int32_t kHeaderLengthValue = kReplayExportHeaderSize - 16;
constexpr int32_t kDriverEntrySize = 33;

// Real to integer truncates toward zero; values beyond 32 bits (a lap without a usable
// scale) are held at the range's ends rather than left undefined.
int32_t Truncate(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return int32_t(v);
}

void PutI32(std::vector<uint8_t>& out, int32_t v) {
    const uint32_t u = uint32_t(v);
    for (int b = 0; b < 4; ++b) out.push_back(uint8_t(u >> (8 * b)));
}

void PutI16(std::vector<uint8_t>& out, int32_t v) {
    const uint32_t u = uint32_t(v);
    out.push_back(uint8_t(u));
    out.push_back(uint8_t(u >> 8));
}

void PutCarRecord(std::vector<uint8_t>& out, int32_t slot, const TReplay& lap, int32_t i,
                  double inchesPerUnit) {
    const double t = i / 15.0 - lap.startFrame / 15.0;
    int32_t position = Truncate(PositionAt(lap, t) * 12 / inchesPerUnit);
    // A car that rolled back over the line is written where it was, behind the line, as the
    // replay's positions run from the line.
    if (lap.RolledOverLine() && lap.lapLength > 0) {
        if (position < 0) position += lap.lapLength;
        if (position > lap.lapLength) position -= lap.lapLength;
    }
    const int32_t line = Truncate(RawLineAt(lap, t) * 12 / inchesPerUnit);
    const size_t k = size_t(std::max(0, std::min(i, lap.sampleCount - 1)));
    const int16_t heading = k < lap.headings.size() ? lap.headings[k] : int16_t(0);
    const uint8_t aux = k < lap.auxBytes.size() ? lap.auxBytes[k] : uint8_t(0);
    out.push_back(uint8_t(slot * 2));
    PutI16(out, position % 65536);
    out.push_back(uint8_t(position / 65536));
    PutI16(out, line);
    PutI16(out, heading);
    out.push_back(aux);
}

class Output {
  public:
    explicit Output(TSafeWrite& file) : file_(file) {}
    // Writes what is pending once it has grown large, so that memory stays small.
    bool Flush(bool force = false) {
        if (!ok_) return false;
        if (!force && pending.size() < (1u << 20)) return true;
        if (!pending.empty() && !file_.Write(pending.data(), pending.size())) ok_ = false;
        pending.clear();
        return ok_;
    }
    // Puts the file in place; false when anything failed (the earlier file then stays).
    bool Commit() { return Flush(true) && file_.Commit(); }
    std::vector<uint8_t> pending;

  private:
    TSafeWrite& file_;
    bool ok_ = true;
};

}  // namespace

const char* ReplayWriteMessage(ReplayWriteStatus status) {
    switch (status) {
        case ReplayWriteStatus::Exported:
            return kMsgReplayExported;
        case ReplayWriteStatus::CreateFailed:
            return kMsgErrorCreatingReplay;
        case ReplayWriteStatus::WriteFailed:
            return kMsgErrorExportingReplay;
    }
    return kMsgErrorExportingReplay;
}

std::string ReplayExportPath(const std::string& fileName) {
    // Only the name is lower-cased: the directories must stay as given on a case-sensitive
    // file system.
#ifdef _WIN32
    const size_t cut = fileName.find_last_of("/\\:");
#else
    const size_t cut = fileName.find_last_of('/');
#endif
    const std::string dir = cut == std::string::npos ? std::string() : fileName.substr(0, cut + 1);
    std::string name = cut == std::string::npos ? fileName : fileName.substr(cut + 1);
    name = LowerCaseCopy(name);
    const size_t ext = name.find(".rpl");
    if (ext == std::string::npos || ext + 4 != name.size()) name += ".rpl";
    return dir + name;
}

ReplayWriteResult WriteReplay(const std::string& fileName, const std::vector<const TReplay*>& laps,
                              bool separateLaps) {
    ReplayWriteResult result;
    result.path = ReplayExportPath(fileName);
    const int32_t w = int32_t(std::min<size_t>(laps.size(), kReplayMaxExportLaps));
    result.lapsCapped = laps.size() > size_t(kReplayMaxExportLaps);

    int64_t sampleSum = 0;
    int32_t longest = 0;
    for (int32_t j = 0; j < w; ++j) {
        sampleSum += std::max(laps[size_t(j)]->sampleCount, 0);
        longest = std::max(longest, laps[size_t(j)]->sampleCount);
    }
    const int32_t frameLength = separateLaps ? 16 : 9 * w + 7;
    // The data size, and every frame's offset in the file, are 32-bit values of the format:
    // a replay that would not fit could be neither described nor read back. Refused before
    // anything is written, so an earlier file of the name stays as it was.
    const int64_t wideDataSize =
        separateLaps ? 16 * sampleSum : int64_t{frameLength} * int64_t{longest};
    if (wideDataSize + kReplayExportHeaderSize > std::numeric_limits<int32_t>::max()) {
        result.status = ReplayWriteStatus::WriteFailed;
        return result;
    }
    const int32_t dataSize = int32_t(wideDataSize);

    TSafeWrite file(result.path);
    if (!file.Open()) {
        result.status = ReplayWriteStatus::CreateFailed;
        return result;
    }
    Output out(file);

    auto& b = out.pending;
    PutI32(b, kHeaderLengthValue);
    PutI32(b, dataSize);
    PutI32(b, 0);
    PutI32(b, separateLaps ? 1 : w);
    PutI32(b, 1);
    for (int k = 0; k < 7; ++k) PutI32(b, 4);  // the mode byte reads 4: a pace-car entry follows

    char entry[kDriverEntrySize] = {};
    std::strcpy(entry, "Pace Car");
    b.insert(b.end(), entry, entry + kDriverEntrySize);
    for (int32_t j = 0; j < w; ++j) {
        const TReplay& lap = *laps[size_t(j)];
        b.insert(b.end(), lap.driverName, lap.driverName + 32);
        b.push_back(uint8_t(lap.carNumber));
    }
    b.resize(size_t(kReplayExportHeaderSize), 0);

    const double inchesPerUnit = w > 0 ? laps[0]->inchesPerUnit : 1.0;
    bool ok = true;
    if (separateLaps) {
        for (int32_t j = 0; j < w && ok; ++j) {
            const TReplay& lap = *laps[size_t(j)];
            for (int32_t i = 0; i < lap.sampleCount && ok; ++i) {
                PutCarRecord(b, 1, lap, i, inchesPerUnit);
                b.insert(b.end(), 3, 0);
                PutI32(b, frameLength);
                ok = out.Flush();
            }
        }
    } else {
        for (int32_t i = 0; i < longest && ok; ++i) {
            for (int32_t j = 0; j < w; ++j)
                PutCarRecord(b, j + 1, *laps[size_t(j)], i, inchesPerUnit);
            b.insert(b.end(), 3, 0);
            PutI32(b, frameLength);
            ok = out.Flush();
        }
    }
    if (!ok || !out.Commit()) result.status = ReplayWriteStatus::WriteFailed;
    return result;
}

ReplayWriteResult WriteReplay(const std::string& fileName,
                              const std::vector<std::unique_ptr<TReplay>>& laps,
                              bool separateLaps) {
    std::vector<const TReplay*> view;
    view.reserve(laps.size());
    for (const auto& lap : laps) view.push_back(lap.get());
    return WriteReplay(fileName, view, separateLaps);
}
