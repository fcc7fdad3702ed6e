#include "commands/Document.h"

#include <algorithm>

#include "platform/TextCase.h"
#include "track/Geometry.h"
#include "track/TrackList.h"

void TSourceReplay::Imported(const std::string& replayName) {
    if (kind_ == Kind::Empty) {
        SetOne(LowerCaseCopy(replayName));
    } else if (kind_ == Kind::One && !EqualIgnoringCase(name_, replayName)) {
        SetSeveral();
    }
}

TDocument::TDocument(TTrackList& tracks) : tracks_(tracks) {}

void TDocument::Subscribe(TDocumentObserver& observer) {
    if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end())
        observers_.push_back(&observer);
}

void TDocument::Unsubscribe(TDocumentObserver& observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer),
                     observers_.end());
}

void TDocument::Raise(const TDocumentChange& change) const {
    // A copy, so that an observer may unsubscribe while it is being told.
    const std::vector<TDocumentObserver*> observers = observers_;
    for (TDocumentObserver* o : observers) o->Changed(change);
}

const TTrackData* TDocument::Track() const {
    if (currentTrack_ < 0 || currentTrack_ >= tracks_.Count()) return nullptr;
    return &tracks_.At(currentTrack_);
}

const ChannelRange& TDocument::extents() const {
    if (extentsStale_) {
        extents_ = ChannelExtents(laps_.Pointers(), Track());
        extentsStale_ = false;
    }
    return extents_;
}

std::string TDocument::Caption() const {
    const TTrackData* track = Track();
    if (track == nullptr) return "Korvale";
    std::string caption = "Korvale";
    if (docTitle_) caption += " - " + *docTitle_;
    caption += " [" + track->name;
    if (sourceReplay_.IsOne()) caption += ", " + sourceReplay_.Name();
    caption += "]";
    return caption;
}

void TDocument::UpdateCaption() const {
    TDocumentChange change{TChangeKind::CaptionChanged};
    change.caption = Caption();
    Raise(change);
}

void TDocument::AddLap(std::unique_ptr<TReplay> lap) {
    const TReplay& added = *lap;
    laps_.Add(std::move(lap));
    LapsEdited();
    Raise({TChangeKind::LapAdded, laps_.Count() - 1, &added});
}

bool TDocument::EditLap(int32_t index, const std::string& name, Rgb colour) {
    if (index < 0 || index >= laps_.Count()) return false;
    TReplay& lap = laps_.At(index);
    dirty_ = true;
    lap.SetDriverName(name.c_str());
    lap.colour = colour;
    Raise({TChangeKind::LapEdited, index, &lap});
    return true;
}

bool TDocument::RemoveLap(int32_t index) {
    if (index < 0 || index >= laps_.Count()) return false;
    laps_.RemoveBySerial(laps_.At(index).serial);
    LapsEdited();
    dirty_ = true;
    Raise({TChangeKind::LapRemoved, index});
    return true;
}

void TDocument::Clear() {
    laps_.Clear();  // the lap counter restarts only when laps were held
    sourceReplay_.Clear();
    DropTrack();
    dirty_ = false;
    TakeAxesSnapshot();
    Raise({TChangeKind::AllLapsRemoved});
}

void TDocument::OpenTrack(int32_t index) {
    UseTrack(index);
    if (const TTrackData* track = Track()) {
        TDocumentChange change{TChangeKind::TrackOpened};
        change.hasGeometry = track->hasGeometry();
        Raise(change);
    }
}

void TDocument::UseTrack(int32_t index) {
    currentTrack_ = index;
    if (currentTrack_ >= 0 && currentTrack_ < tracks_.Count())
        PrepareGeometry(tracks_.At(currentTrack_));
    LapsEdited();
}

void TDocument::DropTrack() {
    if (currentTrack_ >= 0 && currentTrack_ < tracks_.Count())
        ReleaseGeometry(tracks_.At(currentTrack_));
    currentTrack_ = -1;
    LapsEdited();
}

bool TDocument::SetAxes(TAxes axes) {
    if (axes == axes_) return false;
    axes_ = axes;
    Raise({TChangeKind::AxesChanged});
    return true;
}
