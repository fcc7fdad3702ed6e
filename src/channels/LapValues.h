#pragma once
// The readout of the data window: the seven channel values of every lap at the point the
// user is pointing at (on the graph, the map or the picture-in-picture window). The window
// draws what this computes; korvale-cli values prints it.
//
// A pointed-at point is (x, kind): kind TelemetryChannel::Position with x a position in track
// units, or kind TelemetryChannel::Time with x a time in seconds on the graph's Time axis (a lap
// time, as the curves are drawn). Two values of x are reserved, as the callers have always used
// them: -1 for "nothing is pointed at" and -2 for "the shared cursor position".

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "channels/Channels.h"
#include "document/LapList.h"
#include "document/Rgb.h"
#include "track/TTrackData.h"

inline constexpr double kPointedAtNothing = -1;
inline constexpr double kPointedAtCursor = -2;
// The kind that stands for the graph's current x-axis.
inline constexpr auto kPointedKindOfXAxis = static_cast<TelemetryChannel>(-1);
// One value of a cell, or none for an empty cell. Kept apart from the value rather than
// marked by -1, which is a value a channel can have (a line of -1.00 ft is one).
using TLapValue = std::optional<double>;
inline constexpr TLapValue kNoLapValue = std::nullopt;

// One lap's values in channel order: time (s), position (ft), speed (mph), line (ft),
// in-line force (g's), lateral force (g's), slip angle (degrees).
using TLapValues = std::array<TLapValue, ChannelCount>;
inline constexpr TLapValues kNoLapValues = {};

struct TPointedAt {
    double x = kPointedAtNothing;
    TelemetryChannel kind = TelemetryChannel::Position;
};

// Settles the reserved values: -2 becomes the cursor position (nothing when there is no
// cursor), a document without a current track points at nothing, and a negative kind
// becomes the graph's x-axis.
TPointedAt ResolvePointedAt(double x, TelemetryChannel kind, std::optional<int32_t> cursorPosition,
                            bool hasTrack, TelemetryChannel xAxis);

// The values of one lap at a position in feet (TelemetryChannel::Position) or a lap time in seconds
// (TelemetryChannel::Time). A lap covers a position between its start and end positions and a time
// within its own duration (bounds included); an uncovered lap gets kNoLapValues.
// track: the document's current track, for the Line channel.
TLapValues LapValuesAt(const TReplay& lap, const TTrackData* track, double x,
                       TelemetryChannel kind);

// What ShowLapValues reads of the document and the views at the moment it runs.
struct TLapValuesSource {
    const TLapList* laps = nullptr;
    const TTrackData* track = nullptr;                    // the current track, nullptr for none
    std::optional<int32_t> cursorPosition;                // the shared cursor, none without one
    TelemetryChannel xAxis = TelemetryChannel::Position;  // the graph's x-axis channel
    // The lap the "Delta" row compares with while the time delta strip is shown; -1: no
    // Delta row.
    int32_t deltaReference = -1;
};

// One column of the data window per lap, in document lap order.
struct TLapData {
    std::string name;  // the driver name, as the column was added or last updated
    TLapValues values = kNoLapValues;
    // Seconds behind the reference lap at the pointed-at position; none where either lap
    // does not cover it, at a time, and without a Delta row.
    std::optional<double> delta;
    bool expanded = true;    // false: the column is collapsed to a square
    int32_t savedWidth = 0;  // the column's width before it was collapsed, pixels
    Rgb colour{0, 0, 0};
    // The lap is hidden from the views: the column is collapsed whatever expanded says,
    // and its values and delta stay empty.
    bool hidden = false;
};

// The data window's columns and their values, without any drawing.
class TLapDataTable {
  public:
    void AddLapColumn(const TReplay& lap);
    // Index out of range: nothing happens.
    void RemoveLapColumn(int32_t index);
    void RemoveAllLapColumns();
    void UpdateLapColumn(int32_t index, const std::string& name, Rgb colour);
    // Hides or shows a lap's column; false when the index is out of range or nothing changed.
    // Hiding empties its values and its delta.
    bool SetColumnHidden(int32_t index, bool hidden);

    // The data window's readout: resolves (x, kind) against the source and shows the
    // values of every lap there.
    void ShowLapValues(double x, TelemetryChannel kind, const TLapValuesSource& source);
    // The values of every lap at a resolved point (see ResolvePointedAt). Columns follow
    // the laps one to one; should their counts ever differ, only the common part is set
    // and the rest is emptied.
    // deltaReference: the lap the Delta row compares with, -1 for no Delta row.
    void ShowValues(const TLapList& laps, const TTrackData* track, TPointedAt at,
                    int32_t deltaReference = -1);
    bool DeltaShown() const { return deltaShown_; }

    int32_t Count() const { return static_cast<int32_t>(columns_.size()); }
    const TLapData& At(int32_t index) const { return columns_.at(static_cast<size_t>(index)); }
    TLapData& At(int32_t index) { return columns_.at(static_cast<size_t>(index)); }

  private:
    std::vector<TLapData> columns_;
    bool deltaShown_ = false;
};
