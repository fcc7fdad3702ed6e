#pragma once
// The one channel on which the document tells the windows what changed. The document and
// the commands raise a TDocumentChange; every subscriber (the main window now; the map,
// picture-in-picture, data and lap list windows as they arrive) gets each one, in order,
// and switches on its kind. Qt-free, so the tests subscribe in the same way.
#include <cstdint>
#include <string>

class TReplay;

enum class TChangeKind {
    LapAdded,        // index, lap: appended at index (the end of the list)
    LapEdited,       // index, lap: name or colour changed
    LapRemoved,      // index: the lap that was at index is gone
    AllLapsRemoved,  // the document was cleared
    TrackOpened,     // hasGeometry: an opened document's track became current
    AxesChanged,     // the document's axis channels changed
    CaptionChanged,  // caption: the frame's new caption
    LapsChanged,     // the laps or the track changed as a whole: extents differ, ranges reset
    Repaint,         // the main view repaints (the graph state says whether all of it)
    ShowGraph,       // the main view goes back to the graph, as the Graph command does
    ClosePictureInPicture,  // the picture-in-picture window closes
};

struct TDocumentChange {
    TDocumentChange(TChangeKind k, int32_t i = -1, const TReplay* l = nullptr)
        : kind(k), index(i), lap(l) {}

    TChangeKind kind;
    int32_t index = -1;
    const TReplay* lap = nullptr;  // valid only while the change is delivered
    bool hasGeometry = false;
    std::string caption;
};

// "LapAdded: <name>", "LapEdited: <index> <name>", "LapRemoved: <index>", "AllLapsRemoved",
// "TrackOpened: geometry|no geometry", "AxesChanged", "Caption: <text>", "LapsChanged",
// "Repaint", "SwitchToGraph", "ClosePictureInPicture": one line per change, for logs.
std::string ChangeText(const TDocumentChange& change);

class TDocumentObserver {
  public:
    virtual ~TDocumentObserver() = default;
    virtual void Changed(const TDocumentChange& change) = 0;
};
