#include "commands/DocumentChange.h"

#include "document/TReplay.h"

std::string ChangeText(const TDocumentChange& c) {
    const std::string name = c.lap != nullptr ? c.lap->driverName : "";
    switch (c.kind) {
        case TChangeKind::LapAdded:
            return "LapAdded: " + name;
        case TChangeKind::LapEdited:
            return "LapEdited: " + std::to_string(c.index) + " " + name;
        case TChangeKind::LapRemoved:
            return "LapRemoved: " + std::to_string(c.index);
        case TChangeKind::AllLapsRemoved:
            return "AllLapsRemoved";
        case TChangeKind::TrackOpened:
            return std::string("TrackOpened: ") + (c.hasGeometry ? "geometry" : "no geometry");
        case TChangeKind::AxesChanged:
            return "AxesChanged";
        case TChangeKind::CaptionChanged:
            return "Caption: " + c.caption;
        case TChangeKind::LapsChanged:
            return "LapsChanged";
        case TChangeKind::Repaint:
            return "Repaint";
        case TChangeKind::ShowGraph:
            return "SwitchToGraph";
        case TChangeKind::ClosePictureInPicture:
            return "ClosePictureInPicture";
    }
    return "?";
}
