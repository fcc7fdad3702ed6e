#include "commands/LapVisibility.h"

#include <algorithm>

#include "commands/Document.h"

bool LapHidden(const TViewState& view, int32_t serial) {
    return std::find(view.hiddenLaps.begin(), view.hiddenLaps.end(), serial) !=
           view.hiddenLaps.end();
}

bool SetLapHidden(TViewState& view, int32_t serial, bool hidden) {
    std::vector<int32_t>& h = view.hiddenLaps;
    const auto it = std::find(h.begin(), h.end(), serial);
    if (hidden == (it != h.end())) return false;
    if (hidden)
        h.push_back(serial);
    else
        h.erase(it);
    return true;
}

bool ShowAllLaps(TViewState& view) {
    const bool any = !view.hiddenLaps.empty();
    view.hiddenLaps.clear();
    return any;
}

void PruneHiddenLaps(TViewState& view, const TDocument& doc) {
    std::vector<int32_t>& h = view.hiddenLaps;
    h.erase(
        std::remove_if(h.begin(), h.end(),
                       [&](int32_t serial) { return doc.laps().FindBySerial(serial) == nullptr; }),
        h.end());
}

bool AnyLapHidden(const TDocument& doc, const TViewState& view) {
    for (int32_t serial : view.hiddenLaps)
        if (doc.laps().FindBySerial(serial) != nullptr) return true;
    return false;
}

std::vector<const TReplay*> ShownLaps(const TDocument& doc, const TViewState& view) {
    std::vector<const TReplay*> shown;
    const TLapList& laps = doc.laps();
    shown.reserve(static_cast<size_t>(laps.Count()));
    for (int32_t i = 0; i < laps.Count(); ++i)
        if (!LapHidden(view, laps.At(i).serial)) shown.push_back(&laps.At(i));
    return shown;
}

ChannelRange ShownExtents(const TDocument& doc, const TViewState& view) {
    if (!AnyLapHidden(doc, view)) return doc.extents();
    return ChannelExtents(ShownLaps(doc, view), doc.Track());
}
