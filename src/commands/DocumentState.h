#pragma once
// The open document and the view state that the commands change, as one plain object that
// the main window owns. The views read it and keep no copies; the commands (commands/*)
// are the only code that changes the document part.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "channels/Channels.h"
#include "document/LapList.h"
#include "track/TrackAssociation.h"

inline constexpr int32_t NoCursor = -1000000;

enum TViewMode : int32_t { ViewGraph = 0, ViewMap = 1 };

// Where the laps came from: nothing yet, exactly one replay (its lower-case file name and
// extension), or several replays. The several-sources state is a state of its own, so no
// file name can be mistaken for it.
class TSourceReplay {
  public:
    bool IsEmpty() const { return kind_ == Kind::Empty; }
    bool IsSeveral() const { return kind_ == Kind::Several; }
    bool IsOne() const { return kind_ == Kind::One; }
    const std::string& Name() const { return name_; }  // empty unless IsOne()
    void Clear() {
        kind_ = Kind::Empty;
        name_.clear();
    }
    void SetSeveral() {
        kind_ = Kind::Several;
        name_.clear();
    }
    void SetOne(std::string lowerCaseName) {
        kind_ = Kind::One;
        name_ = std::move(lowerCaseName);
    }
    // After a lap was imported from replayName: empty becomes that name in lower case, a
    // different name (without regard to case) becomes several sources.
    void Imported(const std::string& replayName);

  private:
    enum class Kind { Empty, One, Several };
    Kind kind_ = Kind::Empty;
    std::string name_;
};

// The text-export choices, read at start and written by the close check (section "export").
struct TExportSettings {
    bool xPosition = true;          // "xpos"
    bool xTime = false;             // "xtime"
    bool yPosition = false;         // "ypos"
    bool yTime = false;             // "ytime"
    bool ySpeed = true;             // "yspeed"
    bool yLine = false;             // "yline"
    bool yInline = false;           // "ygs"
    bool yLateral = false;          // "ylatgs"
    bool ySlip = false;             // "yslip", kept like the other channels
    bool comma = false;             // "comma"
    bool separateLaps = false;      // "seplaps" (Export to Replay)
    std::string resolution = "10";  // "resol"
    std::string fileName;           // not stored
    std::string replayFileName;     // Export to Replay's; not stored
};

struct TDocumentState {
    // ---- the document ----
    TLapList laps;
    int32_t currentTrack = -1;  // index into the track list, -1 for none
    int32_t xAxis = 1, yAxis = 2, y2Axis = 7;
    bool dirty = false;
    std::optional<std::string> docTitle;  // "%0.40s%0.10s" of the file's name; none at start
    TSourceReplay sourceReplay;
    // The axes Save compares against: taken at start, on open and on clear.
    std::array<int32_t, 3> savedAxes{1, 2, 7};
    // Full path of the document's file; empty for one never saved or opened.
    std::string documentPath;

    // ---- remembered track choices ----
    TAssocList associations;
    int32_t assocCountAtLoad = 0;

    // ---- derived from the laps: recomputed after every change, never saved ----
    ChannelRange extents;
    // x min, x max, y min, y max, second-y min, second-y max
    std::array<double, 6> fullRange{};
    std::array<double, 6> viewRange{};

    // ---- view state ----
    int32_t viewMode = ViewGraph;
    bool dragging = false;
    bool dragEnabled = false;
    int32_t cursorPosition = NoCursor;
    bool repaintPending = false;
    bool cornersShown = false;
    bool comparisonShown = false;
    bool otherMarkersShown = false;
    // Per track segment: 0 no winner, 1 the first lap, 2 the second; empty when none.
    std::vector<uint8_t> segmentWinner;
    double mapScale = 0;  // 0: the map has not been fitted yet
    std::array<int32_t, 2> savedMapScroll{0, 0};
    bool infoShown = false;
    bool pipShown = false;
    bool dataShown = false;

    TExportSettings exportSettings;

    bool HasTrack() const { return currentTrack >= 0; }
    bool AxesChanged() const {
        return xAxis != savedAxes[0] || yAxis != savedAxes[1] || y2Axis != savedAxes[2];
    }
    void TakeAxesSnapshot() { savedAxes = {xAxis, yAxis, y2Axis}; }
};
