#pragma once
// The open telemetry document: its laps, its track, its axis channels, and the facts about
// its file. The main window owns one; everything else reads it through the const accessors
// and changes it only through the member functions below, which keep what depends on the
// laps (the channel extents) right and raise the change for the windows themselves.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "channels/Channels.h"
#include "commands/DocumentChange.h"
#include "document/LapList.h"
#include "document/Rgb.h"

class TTrackList;
class TTrackData;

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
    static TSourceReplay One(std::string lowerCaseName) {
        TSourceReplay s;
        s.SetOne(std::move(lowerCaseName));
        return s;
    }
    static TSourceReplay Several() {
        TSourceReplay s;
        s.SetSeveral();
        return s;
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

// The channels of the graph's three axes. Documents and settings store them as numbers,
// converted where they are read and written (ChannelOfDocumentNumber, ChannelNumber).
struct TAxes {
    TelemetryChannel x = TelemetryChannel::Position;
    TelemetryChannel y = TelemetryChannel::Speed;
    TelemetryChannel y2 = TelemetryChannel::None;
    friend bool operator==(const TAxes&, const TAxes&) = default;
};

// The axes a document file gives. A number outside the channels is kept as it is, as the
// graph draws such an axis with its default and Save writes the number back unchanged.
inline TelemetryChannel ChannelOfDocumentNumber(int32_t number) {
    return static_cast<TelemetryChannel>(number);
}

class TDocument {
  public:
    // tracks: the program's track list, which currentTrack() indexes.
    explicit TDocument(TTrackList& tracks);
    TDocument(const TDocument&) = delete;
    TDocument& operator=(const TDocument&) = delete;

    // ---- the change channel ----
    // Observers are told of every change in the order they subscribed; an observer must
    // unsubscribe before it is destroyed.
    void Subscribe(TDocumentObserver& observer);
    void Unsubscribe(TDocumentObserver& observer);
    // For the notices a command raises itself (caption, repaint, laps changed as a whole).
    void Raise(const TDocumentChange& change) const;

    // ---- reading ----
    const TLapList& laps() const { return laps_; }
    int32_t currentTrack() const { return currentTrack_; }  // index into the track list, -1
    bool HasTrack() const { return currentTrack_ >= 0; }
    // The current track, or nullptr when there is none (or the index is stale).
    const TTrackData* Track() const;
    TAxes axes() const { return axes_; }
    // The axes Save compares against: taken at start, on open and on clear.
    TAxes savedAxes() const { return savedAxes_; }
    bool AxesChanged() const { return !(axes_ == savedAxes_); }
    bool dirty() const { return dirty_; }
    // "%0.40s%0.10s" of the file's name; none until a document was opened or saved.
    const std::optional<std::string>& docTitle() const { return docTitle_; }
    const TSourceReplay& sourceReplay() const { return sourceReplay_; }
    // Full path of the document's file; empty for one never saved or opened.
    const std::string& documentPath() const { return documentPath_; }
    // Per channel, over all laps on the current track; always up to date.
    const ChannelRange& extents() const;
    // "Korvale", "Korvale - title [track, source]" and the forms between.
    std::string Caption() const;

    // ---- laps ----
    // Appends the lap and raises LapAdded.
    void AddLap(std::unique_ptr<TReplay> lap);
    // Renames and recolours lap index (name cut to 31 characters); marks the document
    // changed and raises LapEdited. False for an index out of range.
    bool EditLap(int32_t index, const std::string& name, Rgb colour);
    // Removes lap index, marks the document changed and raises LapRemoved.
    bool RemoveLap(int32_t index);
    // Empties the document: laps (the lap counter restarts when there were any), sources,
    // track (its geometry released), the changed flag; takes the saved-axes snapshot and
    // raises AllLapsRemoved. The title and path are kept.
    void Clear();

    // ---- track ----
    // An opened document's track: geometry prepared, TrackOpened raised.
    void OpenTrack(int32_t index);
    // The track of a replay being imported: geometry prepared, no notice (the lap that
    // follows, or the ending of a failed import, tells the windows).
    void UseTrack(int32_t index);
    // Back to no track, its geometry released.
    void DropTrack();
    // Only the index: for a track whose geometry is prepared already or not needed.
    void SetCurrentTrack(int32_t index) {
        currentTrack_ = index;
        LapsEdited();
    }

    // ---- axes and file facts ----
    // Raises AxesChanged when any channel differs; false when nothing changed.
    bool SetAxes(TAxes axes);
    void TakeAxesSnapshot() { savedAxes_ = axes_; }
    void SetSavedAxes(TAxes axes) { savedAxes_ = axes; }
    void SetDirty(bool dirty) { dirty_ = dirty; }
    void SetDocTitle(std::optional<std::string> title) { docTitle_ = std::move(title); }
    void SetDocumentPath(std::string path) { documentPath_ = std::move(path); }
    void SourceImported(const std::string& replayName) { sourceReplay_.Imported(replayName); }
    void SetSeveralSources() { sourceReplay_.SetSeveral(); }
    void SetSourceReplay(TSourceReplay source) { sourceReplay_ = std::move(source); }
    // Raises CaptionChanged with Caption().
    void UpdateCaption() const;

  private:
    void LapsEdited() { extentsStale_ = true; }

    TTrackList& tracks_;
    std::vector<TDocumentObserver*> observers_;
    TLapList laps_;
    int32_t currentTrack_ = -1;
    TAxes axes_;
    TAxes savedAxes_;
    bool dirty_ = false;
    std::optional<std::string> docTitle_;
    TSourceReplay sourceReplay_;
    std::string documentPath_;
    // Derived from the laps and the track, computed when first asked for after a change.
    mutable ChannelRange extents_;
    mutable bool extentsStale_ = true;
};
