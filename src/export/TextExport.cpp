#include "export/TextExport.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "channels/Channels.h"
#include "platform/NameCodec.h"
#include "platform/SafeWrite.h"

const char* const kTextExportColumnNames[7] = {
    "Time", "Pos", "Speed", "Line", "In-line Force", "Lateral Force", "Slip Angle"};

std::optional<double> ParseExportResolution(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return std::nullopt;
    if (!(v > 0)) return std::nullopt;
    return v;
}

bool ExportResolutionUnusual(double resolution, bool xIsPosition) {
    if (xIsPosition) return resolution < 1 || resolution > 10;
    return resolution < 0.1 || resolution > 1;
}

namespace {

// The farthest a lap read from a replay reaches: 24-bit positions, and an end at most 704
// frames past its samples; in feet, no real lap comes near kMaxLapFeet (the longest
// circuits are some 70,000 ft). A damaged document that claims more (a scale of 1e300
// inches a unit, say) would have the export write rows until the disk is full.
constexpr double kMaxLapFeet = 1e6;

bool LapRangePlausible(const TReplay& lap) {
    const double units = lap.endPosition - lap.startPosition;
    const double feet = units * lap.inchesPerUnit / 12.0;
    const double frames = lap.endFrame - lap.startFrame;
    return std::abs(units) <= double(1 << 25) && std::abs(feet) <= kMaxLapFeet &&
           std::abs(frames) <= double(std::max(lap.sampleCount, 0)) + 1000.0;
}

// "-0.0000" (a value that rounds to zero from below) reads as a signed zero in most tools
// and differs from "0.0000" in a diff for no reason: the sign goes when no digit is left.
const char* WithoutNegativeZero(char* field) {
    char* minus = std::strchr(field, '-');
    if (minus == nullptr || minus[1] != '0') return field;
    const char after = minus[1 + std::strspn(minus + 1, "0.")];
    if (after != ',' && after != '\0') return field;
    // Keep the field's width: the minus becomes a space, or goes where there is no padding.
    if (minus != field) {
        *minus = ' ';
        return field;
    }
    return field + 1;
}

// A CSV field in double quotes, with its quotes doubled.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

class RowWriter {
  public:
    explicit RowWriter(bool comma) : comma_(comma) {}
    void Text(const char* s) {
        char buf[512];
        std::snprintf(buf, sizeof buf, comma_ ? "%s," : "%10s", s);
        Add(buf);
    }
    void Number(double v) {
        char buf[512];
        std::snprintf(buf, sizeof buf, comma_ ? "%f," : "%10.4f", v);
        Add(WithoutNegativeZero(buf));
    }
    // A field written as it is (the table form's own).
    void Raw(const std::string& s) {
        row_ += s;
        row_ += ',';
    }
    // The row without its trailing comma, and the newline.
    bool End(std::ostream& out) {
        if (comma_ && !row_.empty()) row_.pop_back();
        row_ += '\n';
        out << row_;
        row_.clear();
        return bool(out);
    }

  private:
    // Without commas the fields keep their widths, but one that fills its width gets a
    // space before it, so that no two fields touch and every row splits on white space.
    void Add(const char* field) {
        if (!comma_ && !row_.empty() && field[0] != ' ') row_ += ' ';
        row_ += field;
    }

    bool comma_;
    std::string row_;
};

// The x range of a lap's rows: feet along the track, or seconds from its start.
void LapRange(const TReplay& lap, bool xIsPosition, double& start, double& end) {
    start = 0;
    if (xIsPosition) {
        start = lap.startPosition * lap.inchesPerUnit / 12.0;
        end = lap.endPosition * lap.inchesPerUnit / 12.0;
    } else {
        end = (lap.endFrame - lap.startFrame) / 15.0;
    }
}

// About how many rows the table will hold, for the progress only.
int64_t RowsToWrite(const std::vector<const TReplay*>& laps, const TextExportChoices& choices) {
    double rows = 0;
    for (const TReplay* lap : laps) {
        if (!lap || !LapRangePlausible(*lap)) continue;
        double start = 0, end = 0;
        LapRange(*lap, choices.xIsPosition, start, end);
        if (end > start) rows += std::ceil((end - start) / choices.resolution);
    }
    return rows < 9e18 ? int64_t(rows) : int64_t(9e18);
}

}  // namespace

const char* TextExportMessage(TTextExportStatus status) {
    switch (status) {
        case TTextExportStatus::Ok:
            return "";
        case TTextExportStatus::CannotCreate:
            return kMsgCannotCreateExport;
        case TTextExportStatus::WriteFailed:
            return kMsgErrorExportingData;
        case TTextExportStatus::ResolutionNotNumber:
            return kMsgResolutionNotNumber;
        case TTextExportStatus::Cancelled:
            return kMsgExportCancelled;
    }
    return kMsgErrorExportingData;
}

TTextExportStatus WriteTextExport(std::ostream& out, const std::vector<const TReplay*>& laps,
                                  const std::string& trackName, const TTrackData* track,
                                  const TextExportChoices& choices,
                                  const TextExportProgress& progress) {
    const double r = choices.resolution;
    // A step that is not above 0 would never reach the end of the range.
    if (!(r > 0)) return TTextExportStatus::ResolutionNotNumber;
    const int64_t rowsTotal = progress ? RowsToWrite(laps, choices) : 0;
    int64_t rowsDone = 0;
    const TelemetryChannel xChannel =
        choices.xIsPosition ? TelemetryChannel::Position : TelemetryChannel::Time;
    // The table form always separates by commas, with no padding.
    RowWriter row(choices.comma || choices.table);
    if (choices.table) {
        out << "lap,name," << ChannelName(xChannel) << " (" << ChannelUnit(xChannel) << ")";
        for (int c = 0; c < 7; ++c) {
            const auto channel = static_cast<TelemetryChannel>(c);
            if (choices.channels[static_cast<size_t>(c)])
                out << "," << ChannelName(channel) << " (" << ChannelUnit(channel) << ")";
        }
        out << "\n";
    } else {
        out << "Track : " << trackName << "\n\n";
    }
    if (!out) return TTextExportStatus::WriteFailed;
    int lapNumber = 0;
    for (const TReplay* lap : laps) {
        if (!lap) continue;
        ++lapNumber;
        // Each row names its lap in the table form.
        const std::string lapFields =
            std::to_string(lapNumber) + "," + Quoted(NameToUtf8(lap->driverName));
        if (!choices.table) {
            out << "Driver : " << NameToUtf8(lap->driverName) << "\n";
            row.Text(choices.xIsPosition ? "Pos (ft)" : "Time (s)");
            for (int c = 0; c < 7; ++c)
                if (choices.channels[static_cast<size_t>(c)]) row.Text(kTextExportColumnNames[c]);
            if (!row.End(out)) return TTextExportStatus::WriteFailed;
        }

        if (!LapRangePlausible(*lap)) return TTextExportStatus::WriteFailed;
        double start = 0, end = 0;
        LapRange(*lap, choices.xIsPosition, start, end);
        double previous = 0;
        for (long long k = 0;; ++k) {
            const double x = start + static_cast<double>(k) * r;
            if (!(x < end)) break;
            // A step too small to move x any further would repeat the same row for ever.
            if (k > 0 && !(x > previous)) break;
            previous = x;
            if (choices.table) row.Raw(lapFields);
            row.Number(x);
            for (int c = 0; c < 7; ++c)
                if (choices.channels[static_cast<size_t>(c)])
                    row.Number(
                        ChannelValue(*lap, x, xChannel, static_cast<TelemetryChannel>(c), track));
            if (!row.End(out)) return TTextExportStatus::WriteFailed;
            if (progress && ++rowsDone % 1024 == 0 && !progress(rowsDone, rowsTotal))
                return TTextExportStatus::Cancelled;
        }
        if (!choices.table) out << "\n";
        if (!out) return TTextExportStatus::WriteFailed;
    }
    out.flush();
    return out ? TTextExportStatus::Ok : TTextExportStatus::WriteFailed;
}

TTextExportStatus WriteTextExport(const std::string& path, const std::vector<const TReplay*>& laps,
                                  const std::string& trackName, const TTrackData* track,
                                  const TextExportChoices& choices,
                                  const TextExportProgress& progress) {
    // Written beside the file and put in place only when complete, so that a failed or
    // cancelled export (a full disk, a kill, Cancel) leaves an earlier export as it was.
    TSafeWrite out(path);
    if (!out.Open()) return TTextExportStatus::CannotCreate;
    TTextExportStatus status =
        WriteTextExport(out.Stream(), laps, trackName, track, choices, progress);
    if (status == TTextExportStatus::Ok && !out.Commit()) status = TTextExportStatus::WriteFailed;
    return status;
}
