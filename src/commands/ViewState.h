#pragma once
// What the windows show, as opposed to what the document holds. The main window owns one
// TViewState beside its views; each view writes its own part and only reads the document.
// Nothing here is saved in a document; settings the user keeps go through the settings file.
#include <cstdint>
#include <vector>

#include "channels/Channels.h"

inline constexpr int32_t NoCursor = -1000000;

enum TViewMode : int32_t { ViewGraph = 0, ViewMap = 1 };

// One axis' shown values, lowest and highest.
struct TRange {
    double min = 0, max = 0;
    friend bool operator==(const TRange&, const TRange&) = default;
};

// The graph's three axes: x, y and the second y.
struct TAxisRanges {
    TRange x, y, y2;
    friend bool operator==(const TAxisRanges&, const TAxisRanges&) = default;
};

// The telemetry graph (main window and picture-in-picture).
struct TGraphViewState {
    TAxisRanges fullRange;     // from the extents for the current axes, with margins
    TAxisRanges viewRange;     // what zooming shows, inside fullRange
    bool dragging = false;     // a rubber band is being drawn
    bool dragEnabled = false;  // a left press may start one
    // The cached picture of axes and curves is stale: the next paint rebuilds it.
    bool repaintPending = false;
    // The lap legend in the plot's corner (View > Legend); kept in the settings, "view".
    bool legendShown = false;
    // View > Grid: round ticks and a light grid (settings "view", "grid").
    bool gridShown = false;
    // View > Cursor Line: the cursor line follows the pointer over the graph whatever
    // windows are open, and the map marks each lap there (settings "view", "cursorline").
    bool cursorLineShown = false;
    // View > Stacked Channels: each channel in its own pane, one above the other, on the
    // shared x axis (settings "view", "stacked" and "stackchannels").
    bool stacked = false;
    std::vector<TelemetryChannel> stackedChannels = DefaultStackedChannels();
    static std::vector<TelemetryChannel> DefaultStackedChannels() {
        return {TelemetryChannel::Speed, TelemetryChannel::Line, TelemetryChannel::InlineForce,
                TelemetryChannel::LateralForce};
    }
};

// What the reference lap's line on the map is coloured by: Laps draws every lap in its own
// colour; the others draw the reference lap through a colour map of that channel.
enum class TMapColour : int32_t {
    Laps,
    Speed,
    Line,
    InlineForce,
    LateralForce,
    SlipAngle,
    TimeDelta
};

// The track map's markers. The map's scale and scroll position are the map view's own
// (views/map/MapNavigation.h), as the picture-in-picture window keeps its own.
struct TMapViewState {
    bool comparisonShown = false;
    bool otherMarkersShown = false;
    // Per track segment: 0 no winner, 1 the first lap, 2 the second; empty when none.
    std::vector<uint8_t> segmentWinner;
    // View > Colour Map By (settings "view", "mapcolour"); opt-in, Laps by default.
    TMapColour colour = TMapColour::Laps;
    // View > Corner Names: the corners named beside the track (settings "view",
    // "mapcorners"); off by default.
    bool cornerNamesShown = false;
};

// The side windows: whether each is shown. Their own view state (selection, scroll)
// goes here as they arrive; they learn of document changes by subscribing to it.
struct TSideWindowsState {
    bool infoShown = false;
    bool pipShown = false;
    bool dataShown = false;
    // View > Dock Side Windows: the side windows are docks of the main window (settings
    // "view", "docked"; their layout in "window", "dockstate").
    bool docked = false;
    bool ggShown = false;  // View > G-G Plot
};

// What the time delta strip draws: the running delta (time behind the reference so far),
// the delta from the left edge of the shown range (what that stretch of track costs), or
// the delta rate (time lost per 100 feet). Settings "view", "deltamode": 0, 1, 2.
enum class TDeltaMode : int32_t { Running = 0, FromLeftEdge = 1, Rate = 2 };

// Lap analysis: the time delta strip, the sectors window and the reference lap. Opt-in and
// off by default; the reference lap is never stored in a document.
struct TAnalysisViewState {
    bool deltaShown = false;    // View > Time Delta (settings "view", "timedelta")
    bool sectorsShown = false;  // View > Sectors
    // Serial of the lap the user picked as the reference; -1: the fastest lap. A serial that
    // is no longer in the document means the fastest lap as well.
    int32_t referenceSerial = -1;
    TDeltaMode deltaMode = TDeltaMode::Running;
    // Serial of the lap selected in the lap list, -1 for none: the lap the map's Time Delta
    // colouring and the speed comparison of more than two laps compare with the reference.
    int32_t selectedSerial = -1;
};

struct TViewState {
    int32_t viewMode = ViewGraph;  // what the main window shows
    // The cursor is a distance along the track shared by the graph, the map, the
    // picture-in-picture window and the data window; NoCursor when there is none.
    int32_t cursorPosition = NoCursor;
    bool cornersShown = false;
    // Serials of the laps hidden from the views (commands/LapVisibility.h); never stored.
    std::vector<int32_t> hiddenLaps;
    TGraphViewState graph;
    TMapViewState map;
    TSideWindowsState side;
    TAnalysisViewState analysis;
};
