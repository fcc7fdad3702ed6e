#include "document/KvlFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <new>
#include <ostream>

#include "platform/ReadFile.h"
#include "platform/SafeWrite.h"
#include "track/TrackList.h"

namespace {

bool ReadBytes(std::istream& in, void* dst, size_t n) {
    if (n == 0) return true;
    in.read(static_cast<char*>(dst), static_cast<std::streamsize>(n));
    return in.good() || (in.eof() && static_cast<size_t>(in.gcount()) == n);
}

bool ReadI32(std::istream& in, int32_t& v) {
    uint8_t b[4];
    if (!ReadBytes(in, b, 4)) return false;
    v = static_cast<int32_t>(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) |
                             (uint32_t(b[3]) << 24));
    return true;
}

bool ReadF64(std::istream& in, double& v) {
    uint8_t b[8];
    if (!ReadBytes(in, b, 8)) return false;
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | b[i];
    std::memcpy(&v, &u, 8);
    return true;
}

bool WriteBytes(std::ostream& out, const void* src, size_t n) {
    if (n == 0) return bool(out);
    out.write(static_cast<const char*>(src), static_cast<std::streamsize>(n));
    return bool(out);
}

bool WriteI32(std::ostream& out, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    const uint8_t b[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
    return WriteBytes(out, b, 4);
}

bool WriteF64(std::ostream& out, double v) {
    uint64_t u = 0;
    std::memcpy(&u, &v, 8);
    uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = uint8_t(u >> (8 * i));
    return WriteBytes(out, b, 8);
}

// Bytes left in the stream from its current position, or -1 when it cannot seek.
long long BytesLeft(std::istream& in) {
    const auto pos = in.tellg();
    if (pos < 0) return -1;
    in.seekg(0, std::ios::end);
    const auto end = in.tellg();
    in.clear();
    in.seekg(pos);
    if (end < 0 || !in) {
        in.clear();
        in.seekg(pos);
        return -1;
    }
    return static_cast<long long>(end - pos);
}

// Reads count little-endian elements of width W in bounded chunks, so that a stream whose
// length is unknown can never make us allocate more than it actually delivers.
template <typename T>
bool ReadArray(std::istream& in, std::vector<T>& dst, size_t count) {
    constexpr size_t W = sizeof(T);
    constexpr size_t kChunk = 1 << 16;
    std::vector<uint8_t> buf;
    size_t done = 0;
    while (done < count) {
        const size_t n = std::min(kChunk, count - done);
        buf.resize(n * W);
        if (!ReadBytes(in, buf.data(), buf.size())) return false;
        for (size_t i = 0; i < n; ++i) {
            std::make_unsigned_t<T> u = 0;
            for (size_t k = W; k-- > 0;) u = static_cast<decltype(u)>((u << 8) | buf[i * W + k]);
            dst[done + i] = static_cast<T>(u);
        }
        done += n;
    }
    return true;
}

template <typename T>
bool WriteArray(std::ostream& out, const std::vector<T>& src, size_t count) {
    constexpr size_t W = sizeof(T);
    std::vector<uint8_t> buf(count * W);
    for (size_t i = 0; i < count; ++i) {
        const auto u = static_cast<std::make_unsigned_t<T>>(src[i]);
        for (size_t k = 0; k < W; ++k) buf[i * W + k] = uint8_t(u >> (8 * k));
    }
    return WriteBytes(out, buf.data(), buf.size());
}

constexpr std::array<uint8_t, 16> kOldTrackIds = {1,  27, 25, 24, 23, 19, 16, 18,
                                                  29, 12, 11, 9,  8,  6,  4,  2};
constexpr size_t kSampleBytes = 4 + 4 + 2 + 1;
constexpr size_t kLapTailBytes = 5 * 8 + 4 + 3 + 4;

}  // namespace

int KvlOldTrackId(int32_t oldNumber) {
    if (oldNumber < 0 || oldNumber >= static_cast<int32_t>(kOldTrackIds.size())) return -1;
    return kOldTrackIds[static_cast<size_t>(oldNumber)];
}

bool ReadKvlLap(std::istream& in, TReplay& lap) {
    lap.ResizeSamples(0);
    char name[32];
    int32_t car = 0, n = 0;
    if (!ReadBytes(in, name, sizeof name) || !ReadI32(in, car) || !ReadI32(in, n)) return false;
    // A name without its terminator would run past the field wherever it is printed.
    name[31] = '\0';
    std::memcpy(lap.driverName, name, sizeof name);
    lap.carNumber = car;
    if (n < 0) return false;
    if (n > 0) {
        const long long left = BytesLeft(in);
        const auto need = static_cast<long long>(n) * static_cast<long long>(kSampleBytes) +
                          static_cast<long long>(kLapTailBytes);
        if (left >= 0 && need > left) return false;
        if (left < 0) {
            // Unknown length: read into growing buffers first, so only delivered data is held.
            std::vector<int32_t> lines, positions;
            std::vector<int16_t> headings;
            std::vector<uint8_t> aux;
            const size_t count = static_cast<size_t>(n);
            constexpr size_t kStep = 1 << 16;
            for (auto* v : {&lines, &positions}) {
                for (size_t done = 0; done < count;) {
                    const size_t k = std::min(kStep, count - done);
                    v->resize(done + k);
                    std::vector<int32_t> part(k);
                    if (!ReadArray(in, part, k)) return false;
                    std::copy(part.begin(), part.end(), v->begin() + static_cast<long>(done));
                    done += k;
                }
            }
            for (size_t done = 0; done < count;) {
                const size_t k = std::min(kStep, count - done);
                std::vector<int16_t> part(k);
                if (!ReadArray(in, part, k)) return false;
                headings.insert(headings.end(), part.begin(), part.end());
                done += k;
            }
            for (size_t done = 0; done < count;) {
                const size_t k = std::min(kStep, count - done);
                std::vector<uint8_t> part(k);
                if (!ReadArray(in, part, k)) return false;
                aux.insert(aux.end(), part.begin(), part.end());
                done += k;
            }
            lap.ResizeSamples(n);
            lap.lines = std::move(lines);
            lap.positions = std::move(positions);
            lap.headings = std::move(headings);
            lap.auxBytes = std::move(aux);
        } else {
            lap.ResizeSamples(n);
            const size_t count = static_cast<size_t>(n);
            if (!ReadArray(in, lap.lines, count) || !ReadArray(in, lap.positions, count) ||
                !ReadArray(in, lap.headings, count) || !ReadArray(in, lap.auxBytes, count)) {
                lap.ResizeSamples(0);
                return false;
            }
        }
        lap.InvalidatePositionIndex();
    }
    uint8_t rgb[3];
    int32_t storedSerial = 0;
    if (!ReadF64(in, lap.startFrame) || !ReadF64(in, lap.endFrame) ||
        !ReadF64(in, lap.startPosition) || !ReadF64(in, lap.endPosition) ||
        !ReadF64(in, lap.inchesPerUnit) || !ReadI32(in, lap.lapLength) || !ReadBytes(in, rgb, 3) ||
        !ReadI32(in, storedSerial))
        return false;
    lap.colour = Rgb{rgb[0], rgb[1], rgb[2]};
    return true;
}

bool WriteKvlLap(std::ostream& out, const TReplay& lap) {
    const int32_t n = lap.sampleCount;
    const size_t count = n > 0 ? static_cast<size_t>(n) : 0;
    if (!WriteBytes(out, lap.driverName, sizeof lap.driverName) || !WriteI32(out, lap.carNumber) ||
        !WriteI32(out, static_cast<int32_t>(count)))
        return false;
    if (count > 0) {
        if (lap.lines.size() < count || lap.positions.size() < count ||
            lap.headings.size() < count || lap.auxBytes.size() < count)
            return false;
        if (!WriteArray(out, lap.lines, count) || !WriteArray(out, lap.positions, count) ||
            !WriteArray(out, lap.headings, count) || !WriteArray(out, lap.auxBytes, count))
            return false;
    }
    const uint8_t rgb[3] = {lap.colour.r, lap.colour.g, lap.colour.b};
    return WriteF64(out, lap.startFrame) && WriteF64(out, lap.endFrame) &&
           WriteF64(out, lap.startPosition) && WriteF64(out, lap.endPosition) &&
           WriteF64(out, lap.inchesPerUnit) && WriteI32(out, lap.lapLength) &&
           WriteBytes(out, rgb, 3) && WriteI32(out, lap.serial);
}

const char* KvlReadMessage(TKvlReadStatus status) {
    switch (status) {
        case TKvlReadStatus::Ok:
            return "";
        case TKvlReadStatus::CannotOpen:
            return "Unable to open file";
        case TKvlReadStatus::NoMagic:
            return "Unable to read replay (05)";
        case TKvlReadStatus::BadMagic:
            return "Unable to read replay (06)";
        case TKvlReadStatus::NoXAxis:
            return "Unable to read replay (01)";
        case TKvlReadStatus::NoYAxis:
            return "Unable to read replay (07)";
        case TKvlReadStatus::NoY2Axis:
            return "Unable to read replay (08)";
        case TKvlReadStatus::NoTrack:
            return "Unable to read replay (02)";
        case TKvlReadStatus::UnknownTrack:
            return "Bad track value in file";
        case TKvlReadStatus::NoLapCount:
            return "Unable to read replay (03)";
        case TKvlReadStatus::BadLap:
            return "Unable to read replay (04)";
    }
    return "Unable to open file";
}

const char* KvlWriteMessage(TKvlWriteStatus status) {
    switch (status) {
        case TKvlWriteStatus::Ok:
            return "";
        case TKvlWriteStatus::CannotCreate:
            return "Unable to create file";
        case TKvlWriteStatus::NoMagic:
            return "Unable to save replay (06)";
        case TKvlWriteStatus::NoXAxis:
            return "Unable to save replay (01)";
        case TKvlWriteStatus::NoYAxis:
            return "Unable to save replay (02)";
        case TKvlWriteStatus::NoY2Axis:
            return "Unable to save replay (07)";
        case TKvlWriteStatus::NoTrack:
            return "Unable to save replay (04)";
        case TKvlWriteStatus::NoLapCount:
            return "Unable to save replay (03)";
        case TKvlWriteStatus::NoLap:
            return "Unable to save replay (05)";
    }
    return "Unable to create file";
}

KvlReadResult ReadKvlDocument(std::istream& in, const TTrackList& tracks) {
    KvlReadResult r;
    auto fail = [&r](TKvlReadStatus status) {
        r.status = status;
        return std::move(r);
    };
    r.stage = KvlReadStage::Magic;
    int32_t magic = 0;
    if (!ReadI32(in, magic)) return fail(TKvlReadStatus::NoMagic);
    if (magic != kKvlMagic && magic != kKvlMagicEarlier) return fail(TKvlReadStatus::BadMagic);
    r.stage = KvlReadStage::Header;
    r.earlierVersion = magic == kKvlMagicEarlier;

    if (!ReadI32(in, r.xAxis)) return fail(TKvlReadStatus::NoXAxis);
    r.hasXAxis = true;
    if (!ReadI32(in, r.yAxis)) return fail(TKvlReadStatus::NoYAxis);
    r.hasYAxis = true;
    if (r.earlierVersion) {
        r.y2Axis = kKvlNoneAxis;
    } else if (!ReadI32(in, r.y2Axis)) {
        return fail(TKvlReadStatus::NoY2Axis);
    }
    r.hasY2Axis = true;

    int32_t trackValue = 0;
    if (!ReadI32(in, trackValue)) return fail(TKvlReadStatus::NoTrack);
    const int low = trackValue & 0xff;
    const int id = r.earlierVersion ? KvlOldTrackId(low) : low;
    const int index = id < 0 ? -1 : tracks.FindById(static_cast<uint8_t>(id));
    if (index < 0) return fail(TKvlReadStatus::UnknownTrack);
    r.currentTrack = index;

    if (!ReadI32(in, r.lapCount)) return fail(TKvlReadStatus::NoLapCount);
    r.stage = KvlReadStage::Laps;
    // A negative count reads no laps, as a counting loop over it would. A count beyond what
    // any real document holds is refused at the first lap past the limit, keeping the laps
    // before it, as a file that ends early would.
    try {
        for (int32_t i = 0; i < r.lapCount; ++i) {
            if (i >= kKvlMaxLaps) return fail(TKvlReadStatus::BadLap);
            auto lap = std::make_unique<TReplay>(nullptr, 0);
            if (!ReadKvlLap(in, *lap)) return fail(TKvlReadStatus::BadLap);
            r.laps.push_back(std::move(lap));
        }
    } catch (const std::bad_alloc&) {
        return fail(TKvlReadStatus::BadLap);
    }
    r.stage = KvlReadStage::Done;
    r.status = TKvlReadStatus::Ok;
    r.ok = true;
    return r;
}

KvlReadResult ReadKvlDocument(const std::string& path, const TTrackList& tracks) {
    TReadFile file;
    if (!file.Open(path)) {
        KvlReadResult r;
        r.stage = KvlReadStage::NotOpened;
        r.status = TKvlReadStatus::CannotOpen;
        return r;
    }
    return ReadKvlDocument(file.Stream(), tracks);
}

KvlWriteResult WriteKvlDocument(std::ostream& out, const KvlDocumentView& doc) {
    KvlWriteResult r;
    auto fail = [&r](TKvlWriteStatus status) {
        r.status = status;
        return r;
    };
    static const std::vector<const TReplay*> kNoLaps;
    const auto& laps = doc.laps ? *doc.laps : kNoLaps;
    if (!WriteI32(out, kKvlMagic)) return fail(TKvlWriteStatus::NoMagic);
    if (!WriteI32(out, doc.xAxis)) return fail(TKvlWriteStatus::NoXAxis);
    if (!WriteI32(out, doc.yAxis)) return fail(TKvlWriteStatus::NoYAxis);
    if (!WriteI32(out, doc.y2Axis)) return fail(TKvlWriteStatus::NoY2Axis);
    if (!WriteI32(out, static_cast<int32_t>(static_cast<int8_t>(doc.trackId))))
        return fail(TKvlWriteStatus::NoTrack);
    if (!WriteI32(out, static_cast<int32_t>(laps.size()))) return fail(TKvlWriteStatus::NoLapCount);
    for (const TReplay* lap : laps)
        if (!lap || !WriteKvlLap(out, *lap)) return fail(TKvlWriteStatus::NoLap);
    // Buffered bytes that cannot be delivered are a failed lap write (or header when none).
    out.flush();
    if (!out) return fail(laps.empty() ? TKvlWriteStatus::NoLapCount : TKvlWriteStatus::NoLap);
    r.status = TKvlWriteStatus::Ok;
    r.ok = true;
    return r;
}

KvlWriteResult WriteKvlDocument(const std::string& path, const KvlDocumentView& doc) {
    return SafeSaveKvlDocument(path, doc);
}

KvlWriteResult SafeSaveKvlDocument(const std::string& target, const KvlDocumentView& doc) {
    TSafeWrite out(target);
    if (!out.Open()) return KvlWriteResult{false, TKvlWriteStatus::CannotCreate};
    KvlWriteResult r = WriteKvlDocument(out.Stream(), doc);
    if (!r.ok) return r;  // the temporary file goes with out
    // Bytes that never reached the disk are a failed lap write (or header when none).
    if (!out.Commit())
        r = KvlWriteResult{false, doc.laps && !doc.laps->empty() ? TKvlWriteStatus::NoLap
                                                                 : TKvlWriteStatus::NoLapCount};
    return r;
}

std::string KvlDocTitle(const std::string& path) {
    const std::filesystem::path p(path);
    const std::string stem = p.stem().string();
    const std::string ext = p.extension().string();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.40s%.10s", stem.c_str(), ext.c_str());
    return buf;
}
