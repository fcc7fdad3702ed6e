// korvale-cli tracks: builds a track data file from its readable source, prints a track
// data file in that same readable form, and lists the track list.
//
// The readable form is JSON:
//   { "key": {"a": A, "b": B, "x": X, "y": Y},   the header's key-stream words
//     "version": V,                               the data version (107 is 1.07)
//     "extraLines": "by row" or "by line",         the layout of the extra lines (by row
//                                                  when absent; dump prints the file's)
//     "tracks": [ {                               the records in file order
//        "name", "pathPattern", "altPathPattern": texts,
//        "trackId": 0..255, "trackLength": units, "inchesPerUnit": number,
//        "corners": [ {"name": text, "position": feet}, ... ],
//        "pointCount": M                          0: no detailed geometry, nothing follows
//        "mapWidth", "mapHeight", "sideFlag": 0 or 1,
//        "edges": [ [[x, y], ... M + 1 points], [[x, y], ...] ],   edge 0, edge 1
//        "widths": [M values]  or  "constantWidth": value,
//        "anchorCount": Q, "anchorPoints": [|Q|], "anchorPositions": [|Q|],
//        "others": [ {"colour": [r, g, b], "points": [[x, y], ...]} ],
//        "pointPositions": [...]   derived; printed by dump, ignored by build
//     } ] }
// A double that is not finite is written as the text "0x" followed by its 16 hex digits. A
// text that is not UTF-8 is written as {"escaped": TEXT}, where "\\" is a backslash and
// "\xHH" a byte.
// Building what dump printed gives the same file byte for byte.

#include <cctype>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/SystemReason.h"
#include "platform/Utf8.h"
#include "track/Geometry.h"
#include "track/TrackDataFile.h"
#include "track/TrackList.h"

using nlohmann::json;
// Printing keeps the members in the order written, as the format above lists them.
using ojson = nlohmann::ordered_json;

namespace {

// ---- reading the source -------------------------------------------------------------

class Source {
  public:
    std::string error;

    bool Fail(const std::string& where, const std::string& what) {
        if (error.empty()) error = where + ": " + what;
        return false;
    }
    const json* Member(const json& obj, const char* key, const std::string& where,
                       bool required = true) {
        if (!obj.is_object()) return Fail(where, "expected an object"), nullptr;
        auto it = obj.find(key);
        if (it == obj.end()) {
            if (required) Fail(where, std::string("missing \"") + key + "\"");
            return nullptr;
        }
        return &*it;
    }
    bool Int(const json& v, int64_t lo, int64_t hi, int64_t& out, const std::string& where) {
        if (v.is_number_unsigned()) {
            uint64_t u = v.get<uint64_t>();
            if (u > static_cast<uint64_t>(INT64_MAX)) return Fail(where, "number out of range");
            out = static_cast<int64_t>(u);
        } else if (v.is_number_integer()) {
            out = v.get<int64_t>();
        } else {
            return Fail(where, "expected an integer");
        }
        if (out < lo || out > hi) return Fail(where, "number out of range");
        return true;
    }
    template <typename T>
    bool Field(const json& obj, const char* key, T& out, const std::string& where) {
        const json* v = Member(obj, key, where);
        int64_t n;
        if (!v || !Int(*v, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), n,
                       where + "." + key))
            return false;
        out = static_cast<T>(n);
        return true;
    }
    bool Double(const json& v, double& out, const std::string& where) {
        if (v.is_number()) {
            out = v.get<double>();
            return true;
        }
        if (v.is_string()) {
            const std::string s = v.get<std::string>();
            uint64_t bits = 0;
            if (s.size() == 18 && s[0] == '0' && s[1] == 'x') {
                char* end = nullptr;
                bits = std::strtoull(s.c_str() + 2, &end, 16);
                if (end == s.c_str() + 18) {
                    std::memcpy(&out, &bits, sizeof out);
                    return true;
                }
            }
        }
        return Fail(where, "expected a number or \"0x\" and 16 hex digits");
    }
    bool Text(const json& obj, const char* key, std::string& out, const std::string& where) {
        const json* v = Member(obj, key, where);
        if (!v) return false;
        if (v->is_string()) {
            out = v->get<std::string>();
            return true;
        }
        // {"escaped": "..."}: a text that is not UTF-8, its other bytes as "\xHH".
        const json* escaped =
            v->is_object() && v->size() == 1 ? Member(*v, "escaped", where, false) : nullptr;
        if (!escaped || !escaped->is_string())
            return Fail(where + "." + key, "expected a text or {\"escaped\": text}");
        if (!Unescape(escaped->get<std::string>(), out))
            return Fail(where + "." + key, "an escape is not \\\\ or \\xHH");
        return true;
    }
    static bool Unescape(const std::string& in, std::string& out) {
        out.clear();
        for (size_t i = 0; i < in.size(); ++i) {
            if (in[i] != '\\') {
                out += in[i];
                continue;
            }
            if (i + 1 < in.size() && in[i + 1] == '\\') {
                out += '\\';
                ++i;
                continue;
            }
            if (i + 3 >= in.size()) return false;
            if (in[i + 1] != 'x' || !std::isxdigit(static_cast<unsigned char>(in[i + 2])) ||
                !std::isxdigit(static_cast<unsigned char>(in[i + 3])))
                return false;
            out += static_cast<char>(std::stoi(in.substr(i + 2, 2), nullptr, 16));
            i += 3;
        }
        return true;
    }
    bool Array(const json* v, const std::string& where) {
        if (!v) return false;
        if (!v->is_array()) return Fail(where, "expected an array");
        return true;
    }
    bool Int32s(const json* v, std::vector<int32_t>& out, const std::string& where) {
        if (!Array(v, where)) return false;
        out.clear();
        for (size_t i = 0; i < v->size(); ++i) {
            int64_t n;
            if (!Int((*v)[i], INT32_MIN, INT32_MAX, n, where + "[" + std::to_string(i) + "]"))
                return false;
            out.push_back(static_cast<int32_t>(n));
        }
        return true;
    }
    bool Points(const json* v, std::vector<int32_t>& xs, std::vector<int32_t>& ys,
                const std::string& where) {
        if (!Array(v, where)) return false;
        xs.clear();
        ys.clear();
        for (size_t i = 0; i < v->size(); ++i) {
            const json& p = (*v)[i];
            std::string at = where + "[" + std::to_string(i) + "]";
            int64_t x, y;
            if (!p.is_array() || p.size() != 2) return Fail(at, "expected [x, y]");
            if (!Int(p[0], INT32_MIN, INT32_MAX, x, at) || !Int(p[1], INT32_MIN, INT32_MAX, y, at))
                return false;
            xs.push_back(static_cast<int32_t>(x));
            ys.push_back(static_cast<int32_t>(y));
        }
        return true;
    }

    bool Track(const json& j, TTrackData& t, const std::string& where) {
        if (!Text(j, "name", t.name, where) || !Text(j, "pathPattern", t.pathPattern, where) ||
            !Text(j, "altPathPattern", t.altPathPattern, where) ||
            !Field(j, "trackId", t.trackId, where) ||
            !Field(j, "trackLength", t.trackLength, where))
            return false;
        const json* ipu = Member(j, "inchesPerUnit", where);
        if (!ipu || !Double(*ipu, t.inchesPerUnit, where + ".inchesPerUnit")) return false;
        const json* corners = Member(j, "corners", where);
        if (!Array(corners, where + ".corners")) return false;
        if (corners->size() > 32767) return Fail(where + ".corners", "too many corners");
        t.cornerCount = static_cast<int16_t>(corners->size());
        for (size_t i = 0; i < corners->size(); ++i) {
            std::string at = where + ".corners[" + std::to_string(i) + "]";
            std::string name;
            double position;
            const json* pos = Member((*corners)[i], "position", at);
            if (!Text((*corners)[i], "name", name, at) || !pos ||
                !Double(*pos, position, at + ".position"))
                return false;
            t.cornerNames.push_back(name);
            t.cornerPositions.push_back(position);
        }
        if (!Field(j, "pointCount", t.pointCount, where)) return false;
        if (t.pointCount == 0) return true;

        if (!Field(j, "mapWidth", t.mapWidth, where) ||
            !Field(j, "mapHeight", t.mapHeight, where) || !Field(j, "sideFlag", t.sideFlag, where))
            return false;
        const json* edges = Member(j, "edges", where);
        if (!Array(edges, where + ".edges")) return false;
        if (edges->size() != 2) return Fail(where + ".edges", "expected two edges");
        for (size_t e = 0; e < 2; ++e)
            if (!Points(&(*edges)[e], t.edgeX[e], t.edgeY[e],
                        where + ".edges[" + std::to_string(e) + "]"))
                return false;
        if (const json* widths = Member(j, "widths", where, false)) {
            if (!Int32s(widths, t.widths, where + ".widths")) return false;
            if (t.widths.empty())
                return Fail(where + ".widths", "empty; give constantWidth instead");
            t.widthCount = static_cast<int32_t>(t.widths.size());
            t.widths.push_back(t.widths.front());
        } else if (!Field(j, "constantWidth", t.constantWidth, where)) {
            return false;
        }
        if (!Field(j, "anchorCount", t.anchorCount, where)) return false;
        if (t.anchorCount != 0 &&
            (!Int32s(Member(j, "anchorPoints", where), t.anchorPoints, where + ".anchorPoints") ||
             !Int32s(Member(j, "anchorPositions", where), t.anchorPositions,
                     where + ".anchorPositions")))
            return false;
        const json* others = Member(j, "others", where);
        if (!Array(others, where + ".others")) return false;
        for (size_t i = 0; i < others->size(); ++i) {
            std::string at = where + ".others[" + std::to_string(i) + "]";
            auto o = std::make_unique<TTrackOther>();
            std::vector<int32_t> rgb;
            if (!Int32s(Member((*others)[i], "colour", at), rgb, at + ".colour")) return false;
            if (rgb.size() != 3) return Fail(at + ".colour", "expected [r, g, b]");
            for (int32_t c : rgb)
                if (c < 0 || c > 255) return Fail(at + ".colour", "colour byte out of range");
            o->colour = rgb[0] + 256 * rgb[1] + 65536 * rgb[2];
            if (!Points(Member((*others)[i], "points", at), o->xs, o->ys, at + ".points"))
                return false;
            o->count = static_cast<int32_t>(o->xs.size());
            t.others.push_back(std::move(o));
        }
        return true;
    }

    bool File(const json& j, TTrackDataFile& file) {
        const json* key = Member(j, "key", "source");
        if (!key || !Field(*key, "a", file.header.a, "key") ||
            !Field(*key, "b", file.header.b, "key") || !Field(*key, "x", file.header.x, "key") ||
            !Field(*key, "y", file.header.y, "key") || !Field(j, "version", file.version, "source"))
            return false;
        // How the extra lines are laid out in the file; by row unless the source says.
        if (const json* layout = Member(j, "extraLines", "source", false)) {
            if (*layout == "by row")
                file.othersLayout = TrackOthersLayout::Rows;
            else if (*layout == "by line")
                file.othersLayout = TrackOthersLayout::Lines;
            else
                return Fail("extraLines", "expected \"by row\" or \"by line\"");
        }
        const json* tracks = Member(j, "tracks", "source");
        if (!Array(tracks, "tracks")) return false;
        for (size_t i = 0; i < tracks->size(); ++i) {
            auto t = std::make_unique<TTrackData>();
            if (!Track((*tracks)[i], *t, "tracks[" + std::to_string(i) + "]")) return false;
            file.records.push_back(std::move(t));
        }
        return true;
    }
};

// ---- printing the readable form -----------------------------------------------------

ojson DoubleJson(double v) {
    if (std::isfinite(v)) return v;
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    char text[24];
    std::snprintf(text, sizeof text, "0x%016" PRIx64, bits);
    return text;
}

// A text that is UTF-8 prints as it is; any other is {"escaped": ...} with its backslashes
// doubled and every byte outside a well-formed sequence as "\xHH", so that build gets the
// very same bytes back.
ojson TextJson(const std::string& text) {
    if (IsValidUtf8(text)) return text;
    std::string escaped;
    for (size_t i = 0; i < text.size();) {
        const size_t n = Utf8SequenceLength(text, i);
        if (n == 0) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(text[i]));
            escaped += buf;
            ++i;
        } else {
            if (text[i] == '\\') escaped += '\\';
            escaped.append(text, i, n);
            i += n;
        }
    }
    return ojson{{"escaped", escaped}};
}

ojson PointsJson(const std::vector<int32_t>& xs, const std::vector<int32_t>& ys) {
    ojson points = ojson::array();
    for (size_t i = 0; i < xs.size() && i < ys.size(); ++i)
        points.push_back(ojson::array({xs[i], ys[i]}));
    return points;
}

ojson TrackJson(const TTrackData& t) {
    ojson j = ojson::object();
    j["name"] = TextJson(t.name);
    j["pathPattern"] = TextJson(t.pathPattern);
    j["altPathPattern"] = TextJson(t.altPathPattern);
    j["trackId"] = t.trackId;
    j["trackLength"] = t.trackLength;
    j["inchesPerUnit"] = DoubleJson(t.inchesPerUnit);
    ojson corners = ojson::array();
    for (size_t i = 0; i < t.cornerNames.size(); ++i)
        corners.push_back(
            {{"name", TextJson(t.cornerNames[i])}, {"position", DoubleJson(t.cornerPositions[i])}});
    j["corners"] = corners;
    j["pointCount"] = t.pointCount;
    if (t.pointCount == 0) return j;
    j["mapWidth"] = t.mapWidth;
    j["mapHeight"] = t.mapHeight;
    j["sideFlag"] = t.sideFlag;
    j["edges"] =
        ojson::array({PointsJson(t.edgeX[0], t.edgeY[0]), PointsJson(t.edgeX[1], t.edgeY[1])});
    if (t.widthCount != 0)
        j["widths"] = std::vector<int32_t>(t.widths.begin(), t.widths.begin() + t.widthCount);
    else
        j["constantWidth"] = t.constantWidth;
    j["anchorCount"] = t.anchorCount;
    if (t.anchorCount != 0) {
        j["anchorPoints"] = t.anchorPoints;
        j["anchorPositions"] = t.anchorPositions;
    }
    ojson others = ojson::array();
    for (const auto& o : t.others)
        others.push_back(
            {{"colour", {o->colour & 0xFF, (o->colour >> 8) & 0xFF, (o->colour >> 16) & 0xFF}},
             {"points", PointsJson(o->xs, o->ys)}});
    j["others"] = others;
    if (t.geometryPrepared()) j["pointPositions"] = t.pointPositions;
    return j;
}

bool IsScalar(const ojson& v) {
    return !v.is_array() && !v.is_object();
}

// Objects one member a line unless small and flat; arrays of numbers on one line; arrays of points
// one point a line, so that a track's geometry stays readable and diffs line by line.
void Print(const ojson& v, int indent, std::string& out) {
    auto dump = [](const ojson& x) {
        return x.dump(-1, ' ', false, ojson::error_handler_t::replace);
    };
    const std::string pad(static_cast<size_t>(indent + 2), ' ');
    if (v.is_object()) {
        bool small = true;
        for (const auto& member : v) small = small && IsScalar(member);
        if (small && dump(v).size() <= 72) return void(out += dump(v));
        out += "{\n";
        size_t n = 0;
        for (auto it = v.begin(); it != v.end(); ++it) {
            out += pad + dump(ojson(it.key())) + ": ";
            Print(it.value(), indent + 2, out);
            out += ++n < v.size() ? ",\n" : "\n";
        }
        out += std::string(static_cast<size_t>(indent), ' ') + "}";
    } else if (v.is_array()) {
        bool flat = true;
        for (const auto& e : v) flat = flat && IsScalar(e);
        if (flat || (v.size() == 2 && IsScalar(v[0]) && IsScalar(v[1])))
            return void(out += dump(v));
        out += "[\n";
        for (size_t i = 0; i < v.size(); ++i) {
            out += pad;
            Print(v[i], indent + 2, out);
            out += i + 1 < v.size() ? ",\n" : "\n";
        }
        out += std::string(static_cast<size_t>(indent), ' ') + "]";
    } else {
        out += dump(v);
    }
}

std::string Readable(TTrackDataFile& file) {
    ojson tracks = ojson::array();
    for (auto& t : file.records) {
        // The positions are derived from the anchors; shown so that a track's geometry can be
        // checked, and left out again by build.
        if (t->pointCount != 0) PrepareGeometry(*t);
        tracks.push_back(TrackJson(*t));
    }
    std::string out = "{\n";
    out += "  \"key\": ";
    Print(
        ojson{
            {"a", file.header.a}, {"b", file.header.b}, {"x", file.header.x}, {"y", file.header.y}},
        2, out);
    out += ",\n  \"version\": " + std::to_string(file.version);
    out += std::string(",\n  \"extraLines\": ") +
           (file.othersLayout == TrackOthersLayout::Lines ? "\"by line\"" : "\"by row\"");
    out += ",\n  \"tracks\": ";
    Print(tracks, 2, out);
    out += "\n}\n";
    return out;
}

// ---- the commands -------------------------------------------------------------------

int Usage(FILE* to) {
    std::fprintf(to,
                 "usage: korvale-cli tracks build SOURCE -o TRACKS.DAT\n"
                 "       korvale-cli tracks dump TRACKS.DAT\n"
                 "       korvale-cli tracks list [--tracks PATH]\n");
    return to == stdout ? 0 : 2;
}

int Build(const std::vector<std::string>& args) {
    cli::Options options(args, {"-o"}, {});
    if (!options.ok() || options.Positional().size() != 1 || !options.Value("-o"))
        return Usage(stderr);
    const std::string sourcePath = options.Positional()[0];
    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "korvale-cli tracks: cannot open %s\n",
                     cli::WithReason(sourcePath, cli::ReadFailureReason(sourcePath)).c_str());
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    json j = json::parse(text.str(), nullptr, false);
    if (j.is_discarded()) {
        std::fprintf(stderr, "korvale-cli tracks: %s is not valid JSON\n", sourcePath.c_str());
        return 1;
    }
    Source source;
    TTrackDataFile file;
    std::string error;
    if (!source.File(j, file)) {
        std::fprintf(stderr, "korvale-cli tracks: %s: %s\n", sourcePath.c_str(),
                     source.error.c_str());
        return 1;
    }
    // A source that cannot be encoded is told apart from a file that cannot be written.
    std::vector<uint8_t> encoded;
    if (!WriteTrackData(file, encoded, error)) {
        std::fprintf(stderr, "korvale-cli tracks: %s\n", error.c_str());
        return 1;
    }
    if (!WriteTrackDataFile(*options.Value("-o"), file, error)) {
        std::fprintf(stderr, "korvale-cli tracks: %s\n",
                     cli::WithReason(error, cli::WriteFailureReason(*options.Value("-o"))).c_str());
        return 1;
    }
    return 0;
}

bool Read(const std::string& path, TTrackDataFile& file) {
    TrackReadStatus status = ReadTrackDataFile(path, file);
    if (status == TrackReadStatus::Ok) return true;
    const std::string reason =
        status == TrackReadStatus::CannotOpen ? cli::ReadFailureReason(path) : "";
    std::fprintf(stderr, "korvale-cli tracks: %s: %s\n", path.c_str(),
                 cli::WithReason(TrackReadMessage(status), reason).c_str());
    return false;
}

int Dump(const std::vector<std::string>& args) {
    cli::Options options(args, {}, {});
    if (!options.ok() || options.Positional().size() != 1) return Usage(stderr);
    TTrackDataFile file;
    if (!Read(options.Positional()[0], file)) return 1;
    std::string out = Readable(file);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int List(const std::vector<std::string>& args) {
    cli::Options options(args, {"--tracks"}, {});
    if (!options.ok() || !options.Positional().empty()) return Usage(stderr);
    TTrackDataFile file;
    if (!Read(cli::TracksPath(options), file)) return 1;
    TTrackList list;
    list.Assign(std::move(file.records));
    for (int i = 0; i < list.Count(); ++i) {
        const TTrackData& t = list.At(i);
        std::printf("%d\t%d\t%s\t%" PRId32 "\t%.6f\t%d\t%" PRId32 "\n", i, t.trackId,
                    EscapeControls(t.name).c_str(), t.trackLength, t.inchesPerUnit, t.cornerCount,
                    t.pointCount);
    }
    return 0;
}

int Tracks(const std::vector<std::string>& args) {
    if (args.empty()) return Usage(stderr);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    // "tracks build --help" and its siblings describe themselves like every command.
    for (const std::string& a : rest)
        if (a == "--help" || a == "-h") return Usage(stdout);
    if (args[0] == "build") return Build(rest);
    if (args[0] == "dump") return Dump(rest);
    if (args[0] == "list") return List(rest);
    if (args[0] == "--help" || args[0] == "-h") return Usage(stdout);
    return Usage(stderr);
}

static cli::Registration reg{"tracks", "build, dump or list a track data file", &Tracks};

}  // namespace
