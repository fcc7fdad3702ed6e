#include "track/TrackDataFile.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/ReadFile.h"
#include "platform/SafeWrite.h"
#include "track/KeyStream.h"

namespace {

// Coordinates stay within this bound so that every difference the geometry forms from
// them (edge steps and differences of steps) fits a signed 32-bit integer.
constexpr int64_t kCoordinateLimit = int64_t{1} << 29;
constexpr int64_t kSquaredStepLimit = int64_t{1} << 31;

uint32_t GetU32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : p_(data), left_(size) {}

    void Start(const TTrackDataHeader& h) { keys_ = TKeyStream(h.a, h.b, h.x, h.y); }
    size_t left() const { return left_; }

    bool Raw32(uint32_t& v) {
        if (left_ < 4) return false;
        v = GetU32(p_);
        Skip(4);
        return true;
    }
    bool Int32(int32_t& v) {
        uint32_t raw;
        if (!Raw32(raw)) return false;
        v = static_cast<int32_t>(raw - keys_.next());
        return true;
    }
    bool Int16(int16_t& v) {
        if (left_ < 2) return false;
        uint16_t raw = static_cast<uint16_t>(p_[0] | (p_[1] << 8));
        Skip(2);
        v = static_cast<int16_t>(static_cast<uint16_t>(raw - static_cast<uint16_t>(keys_.next())));
        return true;
    }
    bool Byte(uint8_t& v) {
        if (left_ < 1) return false;
        v = static_cast<uint8_t>(p_[0] - static_cast<uint8_t>(keys_.next()));
        Skip(1);
        return true;
    }
    bool Double(double& v) {
        if (left_ < 8) return false;
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) {
            uint8_t b = 0;
            Byte(b);
            bits |= uint64_t{b} << (8 * i);
        }
        std::memcpy(&v, &bits, sizeof v);
        return true;
    }
    // An int16 length that counts the stored terminating NUL, then that many bytes.
    bool String(std::string& s) {
        int16_t length;
        if (!Int16(length) || length < 0 || static_cast<size_t>(length) > left_) return false;
        std::string bytes(static_cast<size_t>(length), '\0');
        for (auto& c : bytes) {
            uint8_t b = 0;
            Byte(b);
            c = static_cast<char>(b);
        }
        s = bytes.substr(0, bytes.find('\0'));
        return true;
    }
    // count int32 values, refused before allocating when the file cannot hold them.
    bool Int32Array(int64_t count, std::vector<int32_t>& out) {
        if (count < 0 || static_cast<uint64_t>(count) > left_ / 4) return false;
        out.resize(static_cast<size_t>(count));
        for (auto& v : out) Int32(v);
        return true;
    }

  private:
    void Skip(size_t n) {
        p_ += n;
        left_ -= n;
    }
    const uint8_t* p_;
    size_t left_;
    TKeyStream keys_;
};

// The rules that the geometry and the map rely on when they index a record's arrays.
bool GeometryConsistent(const TTrackData& t, std::string& error) {
    const int64_t m = t.pointCount;
    if (m < 0) return error = "negative point count", false;
    if (m == 0) return true;
    for (int e = 0; e < 2; ++e) {
        if (static_cast<int64_t>(t.edgeX[e].size()) != m + 1 ||
            static_cast<int64_t>(t.edgeY[e].size()) != m + 1)
            return error = "edge arrays need point count + 1 points", false;
        for (int64_t i = 0; i <= m; ++i) {
            int64_t x = t.edgeX[e][static_cast<size_t>(i)], y = t.edgeY[e][static_cast<size_t>(i)];
            if (x <= -kCoordinateLimit || x >= kCoordinateLimit || y <= -kCoordinateLimit ||
                y >= kCoordinateLimit)
                return error = "edge coordinate out of range", false;
        }
    }
    if (t.sideFlag != 0 && t.sideFlag != 1) return error = "sideFlag must be 0 or 1", false;
    const auto& rx = t.edgeX[static_cast<size_t>(t.sideFlag)];
    const auto& ry = t.edgeY[static_cast<size_t>(t.sideFlag)];
    for (int64_t i = 1; i <= m; ++i) {
        int64_t dx = int64_t{rx[static_cast<size_t>(i)]} - rx[static_cast<size_t>(i - 1)];
        int64_t dy = int64_t{ry[static_cast<size_t>(i)]} - ry[static_cast<size_t>(i - 1)];
        if (dx * dx + dy * dy >= kSquaredStepLimit)
            return error = "reference edge step too long", false;
    }
    if (t.widthCount != 0) {
        if (t.widthCount != m) return error = "widthCount must be 0 or the point count", false;
        if (static_cast<int64_t>(t.widths.size()) != m + 1)
            return error = "widths need point count + 1 values", false;
    }
    const int64_t q = t.anchorCount < 0 ? -int64_t{t.anchorCount} : int64_t{t.anchorCount};
    if (static_cast<int64_t>(t.anchorPoints.size()) != q ||
        static_cast<int64_t>(t.anchorPositions.size()) != q)
        return error = "anchor arrays need |anchorCount| values", false;
    if (t.anchorCount > 0 && q < m)
        return error = "positive anchorCount below the point count", false;
    if (t.anchorCount < 0)
        for (int32_t a : t.anchorPoints)
            if (a < 0 || a > m) return error = "anchor point index out of range", false;
    for (const auto& o : t.others) {
        if (o->count < 0 || static_cast<int64_t>(o->xs.size()) != o->count ||
            static_cast<int64_t>(o->ys.size()) != o->count)
            return error = "extra line arrays need count points", false;
        // Drawn on the map with the edges, so held to the same range; it also tells a file
        // read in the wrong layout, whose points would be scrambled values.
        for (size_t i = 0; i < o->xs.size(); ++i)
            if (o->xs[i] <= -kCoordinateLimit || o->xs[i] >= kCoordinateLimit ||
                o->ys[i] <= -kCoordinateLimit || o->ys[i] >= kCoordinateLimit)
                return error = "extra line coordinate out of range", false;
    }
    return true;
}

// What the whole file may still make (see the limits in the header).
struct Budget {
    int64_t corners = kMaxTrackCorners;
    int64_t extraLines = kMaxTrackExtraLines;
};

bool ReadRecord(Reader& in, TTrackData& t, TrackOthersLayout layout, Budget& budget) {
    if (!in.String(t.name) || !in.String(t.pathPattern) || !in.String(t.altPathPattern))
        return false;
    if (!in.Byte(t.trackId) || !in.Int32(t.trackLength) || !in.Int16(t.cornerCount)) return false;
    // Each corner takes at least a length and a double.
    if (t.cornerCount < 0 || static_cast<size_t>(t.cornerCount) > in.left() / 10) return false;
    budget.corners -= t.cornerCount;
    if (budget.corners < 0) return false;
    t.cornerNames.resize(static_cast<size_t>(t.cornerCount));
    t.cornerPositions.resize(static_cast<size_t>(t.cornerCount));
    for (int i = 0; i < t.cornerCount; ++i)
        if (!in.String(t.cornerNames[static_cast<size_t>(i)]) ||
            !in.Double(t.cornerPositions[static_cast<size_t>(i)]))
            return false;
    if (!in.Double(t.inchesPerUnit) || !in.Int32(t.pointCount)) return false;
    if (t.pointCount == 0) return true;

    const int64_t m = t.pointCount;
    if (m < 0 || static_cast<uint64_t>(m + 1) > in.left() / 16) return false;
    if (!in.Int32(t.mapWidth) || !in.Int32(t.mapHeight)) return false;
    for (int e = 0; e < 2; ++e)
        if (!in.Int32Array(m + 1, t.edgeX[e]) || !in.Int32Array(m + 1, t.edgeY[e])) return false;

    if (!in.Int32(t.widthCount)) return false;
    if (t.widthCount == 0) {
        if (!in.Int32(t.constantWidth)) return false;
    } else {
        if (!in.Int32Array(t.widthCount, t.widths)) return false;
        t.widths.push_back(t.widths.front());
    }
    if (!in.Int32(t.anchorCount)) return false;
    if (t.anchorCount != 0) {
        const int64_t q = t.anchorCount < 0 ? -int64_t{t.anchorCount} : int64_t{t.anchorCount};
        if (static_cast<uint64_t>(q) > in.left() / 8) return false;
        if (!in.Int32Array(q, t.anchorPoints) || !in.Int32Array(q, t.anchorPositions)) return false;
    }
    if (!in.Int32(t.sideFlag)) return false;

    int32_t lines;
    // Three colour bytes and a count at least for each line.
    if (!in.Int32(lines) || lines < 0 || static_cast<uint64_t>(lines) > in.left() / 7) return false;
    budget.extraLines -= lines;
    if (budget.extraLines < 0) return false;
    for (int32_t l = 0; l < lines; ++l) t.others.push_back(std::make_unique<TTrackOther>());
    auto colour = [&in](TTrackOther& o) {
        uint8_t r = 0, g = 0, b = 0;  // a read past the end leaves 0, never garbage
        in.Byte(r);
        in.Byte(g);
        in.Byte(b);
        o.colour = r + 256 * g + 65536 * b;
    };
    auto count = [&in](TTrackOther& o) {
        return in.Int32(o.count) && o.count >= 0 && static_cast<uint64_t>(o.count) <= in.left() / 8;
    };
    if (layout == TrackOthersLayout::Lines) {
        for (auto& o : t.others) {
            colour(*o);
            if (!count(*o) || !in.Int32Array(o->count, o->xs) || !in.Int32Array(o->count, o->ys))
                return false;
        }
    } else {
        for (auto& o : t.others) colour(*o);
        for (auto& o : t.others)
            if (!count(*o)) return false;
        for (auto& o : t.others)
            if (!in.Int32Array(o->count, o->xs)) return false;
        for (auto& o : t.others)
            if (!in.Int32Array(o->count, o->ys)) return false;
    }
    std::string error;
    return GeometryConsistent(t, error);
}

class Writer {
  public:
    explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
    void Start(const TTrackDataHeader& h) { keys_ = TKeyStream(h.a, h.b, h.x, h.y); }

    void Raw32(uint32_t v) {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void Int32(int32_t v) { Raw32(static_cast<uint32_t>(v) + keys_.next()); }
    void Int16(int16_t v) {
        uint16_t s =
            static_cast<uint16_t>(static_cast<uint16_t>(v) + static_cast<uint16_t>(keys_.next()));
        out_.push_back(static_cast<uint8_t>(s));
        out_.push_back(static_cast<uint8_t>(s >> 8));
    }
    void Byte(uint8_t v) {
        out_.push_back(static_cast<uint8_t>(v + static_cast<uint8_t>(keys_.next())));
    }
    void Double(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i) Byte(static_cast<uint8_t>(bits >> (8 * i)));
    }
    void String(const std::string& s) {
        Int16(static_cast<int16_t>(s.size() + 1));
        for (char c : s) Byte(static_cast<uint8_t>(c));
        Byte(0);
    }
    void Int32s(const std::vector<int32_t>& v, size_t count) {
        for (size_t i = 0; i < count; ++i) Int32(v[i]);
    }

  private:
    std::vector<uint8_t>& out_;
    TKeyStream keys_;
};

bool StringStorable(const std::string& s, const char* what, std::string& error) {
    if (s.size() + 1 > 32767) return error = std::string(what) + " is too long", false;
    if (s.find('\0') != std::string::npos)
        return error = std::string(what) + " holds a NUL byte", false;
    return true;
}

bool RecordStorable(const TTrackData& t, std::string& error) {
    if (!StringStorable(t.name, "name", error) ||
        !StringStorable(t.pathPattern, "pathPattern", error) ||
        !StringStorable(t.altPathPattern, "altPathPattern", error))
        return false;
    if (t.cornerCount < 0 || t.cornerNames.size() != static_cast<size_t>(t.cornerCount) ||
        t.cornerPositions.size() != static_cast<size_t>(t.cornerCount))
        return error = "corner names and positions need cornerCount entries", false;
    for (const auto& n : t.cornerNames)
        if (!StringStorable(n, "corner name", error)) return false;
    if (t.pointCount == 0) {
        // Such a record ends after its point count: nothing else of it would be stored.
        if (!t.others.empty() || !t.edgeX[0].empty() || !t.edgeX[1].empty() || !t.widths.empty() ||
            !t.anchorPoints.empty() || t.anchorCount != 0 || t.widthCount != 0)
            return error =
                       "a track without points cannot hold edges, widths, anchors or extra lines",
                   false;
        return true;
    }
    for (const auto& o : t.others)
        if (o->colour < 0 || o->colour > 0xFFFFFF)
            return error = "extra line colour out of range", false;
    return GeometryConsistent(t, error);
}

}  // namespace

const char* TrackReadMessage(TrackReadStatus status) {
    switch (status) {
        case TrackReadStatus::Ok:
            return "";
        case TrackReadStatus::CannotRead:
            return kTrackDataReadMessage;
        case TrackReadStatus::CannotOpen:
        case TrackReadStatus::BadRecord:
            return kTrackDataOpenMessage;
    }
    return kTrackDataOpenMessage;
}

namespace {

TrackReadStatus ReadTrackDataAs(const uint8_t* data, size_t size, TrackOthersLayout layout,
                                TTrackDataFile& out) {
    out = TTrackDataFile{};
    out.othersLayout = layout;
    Reader in(data, size);
    TTrackDataHeader& h = out.header;
    if (!in.Raw32(h.a) || !in.Raw32(h.b) || !in.Raw32(h.x) || !in.Raw32(h.y))
        return TrackReadStatus::CannotRead;
    in.Start(h);
    int32_t count;
    if (!in.Int32(count) || !in.Int32(out.version)) return TrackReadStatus::CannotRead;
    Budget budget;
    // The count is only a loop bound: records are made one at a time as the bytes allow.
    for (int32_t i = 0; i < count; ++i) {
        auto track = std::make_unique<TTrackData>();
        if (i >= kMaxTrackRecords || !ReadRecord(in, *track, layout, budget)) {
            out.records.clear();
            return TrackReadStatus::BadRecord;
        }
        out.records.push_back(std::move(track));
    }
    return TrackReadStatus::Ok;
}

}  // namespace

TrackReadStatus ReadTrackData(const uint8_t* data, size_t size, TTrackDataFile& out) {
    try {
        const TrackReadStatus rows = ReadTrackDataAs(data, size, TrackOthersLayout::Rows, out);
        if (rows != TrackReadStatus::BadRecord) return rows;
        return ReadTrackDataAs(data, size, TrackOthersLayout::Lines, out);
    } catch (const std::bad_alloc&) {
        out = TTrackDataFile{};
        return TrackReadStatus::BadRecord;
    }
}

TrackReadStatus ReadTrackDataFile(const std::string& path, TTrackDataFile& out) {
    out = TTrackDataFile{};
    TReadFile file;
    if (!file.Open(path)) return TrackReadStatus::CannotOpen;
    std::vector<uint8_t> bytes;
    try {
        // A file larger than any real one is damage: refused as a record that cannot be read.
        if (!file.ReadAll(bytes, kMaxTrackDataBytes)) {
            if (file.Size() > kMaxTrackDataBytes) return TrackReadStatus::BadRecord;
            return TrackReadStatus::CannotRead;
        }
    } catch (const std::bad_alloc&) {
        return TrackReadStatus::BadRecord;
    }
    return ReadTrackData(bytes.data(), bytes.size(), out);
}

bool WriteTrackData(const TTrackDataFile& file, std::vector<uint8_t>& bytes, std::string& error) {
    bytes.clear();
    size_t i = 0;
    while (i < file.records.size() && RecordStorable(*file.records[i], error)) ++i;
    if (i < file.records.size()) {
        error = "track " + std::to_string(i) + " (" + file.records[i]->name + "): " + error;
        return false;
    }
    if (file.records.size() > 0x7FFFFFFF) return error = "too many tracks", false;

    Writer out(bytes);
    out.Raw32(file.header.a);
    out.Raw32(file.header.b);
    out.Raw32(file.header.x);
    out.Raw32(file.header.y);
    out.Start(file.header);
    out.Int32(static_cast<int32_t>(file.records.size()));
    out.Int32(file.version);
    for (const auto& rec : file.records) {
        const TTrackData& t = *rec;
        out.String(t.name);
        out.String(t.pathPattern);
        out.String(t.altPathPattern);
        out.Byte(t.trackId);
        out.Int32(t.trackLength);
        out.Int16(t.cornerCount);
        for (int i = 0; i < t.cornerCount; ++i) {
            out.String(t.cornerNames[static_cast<size_t>(i)]);
            out.Double(t.cornerPositions[static_cast<size_t>(i)]);
        }
        out.Double(t.inchesPerUnit);
        out.Int32(t.pointCount);
        if (t.pointCount == 0) continue;
        const size_t points = static_cast<size_t>(t.pointCount) + 1;
        out.Int32(t.mapWidth);
        out.Int32(t.mapHeight);
        for (int e = 0; e < 2; ++e) {
            out.Int32s(t.edgeX[e], points);
            out.Int32s(t.edgeY[e], points);
        }
        out.Int32(t.widthCount);
        if (t.widthCount == 0)
            out.Int32(t.constantWidth);
        else
            out.Int32s(t.widths,
                       static_cast<size_t>(t.widthCount));  // the appended copy is not stored
        out.Int32(t.anchorCount);
        out.Int32s(t.anchorPoints, t.anchorPoints.size());
        out.Int32s(t.anchorPositions, t.anchorPositions.size());
        out.Int32(t.sideFlag);
        out.Int32(static_cast<int32_t>(t.others.size()));
        auto colour = [&out](const TTrackOther& o) {
            out.Byte(static_cast<uint8_t>(o.colour & 0xFF));
            out.Byte(static_cast<uint8_t>((o.colour >> 8) & 0xFF));
            out.Byte(static_cast<uint8_t>((o.colour >> 16) & 0xFF));
        };
        if (file.othersLayout == TrackOthersLayout::Lines) {
            for (const auto& o : t.others) {
                colour(*o);
                out.Int32(o->count);
                out.Int32s(o->xs, o->xs.size());
                out.Int32s(o->ys, o->ys.size());
            }
        } else {
            for (const auto& o : t.others) colour(*o);
            for (const auto& o : t.others) out.Int32(o->count);
            for (const auto& o : t.others) out.Int32s(o->xs, o->xs.size());
            for (const auto& o : t.others) out.Int32s(o->ys, o->ys.size());
        }
    }
    // The reader tries rows first: a file laid out by line that also reads consistently by
    // row would be misread by the program, so it is not made.
    if (file.othersLayout == TrackOthersLayout::Lines) {
        TTrackDataFile check;
        if (ReadTrackData(bytes.data(), bytes.size(), check) == TrackReadStatus::Ok &&
            check.othersLayout == TrackOthersLayout::Rows) {
            bytes.clear();
            return error = "the extra lines laid out by line would be read by row", false;
        }
    }
    return true;
}

bool WriteTrackDataFile(const std::string& path, const TTrackDataFile& file, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!WriteTrackData(file, bytes, error)) return false;
    TSafeWrite out(path);
    if (!out.Open()) return error = "cannot create " + path, false;
    out.Write(bytes.data(), bytes.size());
    if (!out.Commit()) return error = "cannot write " + path, false;
    return true;
}
