#include "commands/TrackChoice.h"

#include "replay/ReplayTrack.h"
#include "track/TrackList.h"

namespace {

// Where the dialog starts: on the document's track, which is the only one an import can
// take; else on the track whose own path pattern names the replay (a remembered choice for
// its directory may have made the path ambiguous); else on the first track. Starting on
// the first track alphabetically invited an OK that read the replay with another track.
int PreselectedTrack(const TCommandContext& ctx, const std::string& lowerCasePath) {
    if (ctx.doc.HasTrack()) return ctx.doc.currentTrack();
    for (int t = 0; t < ctx.tracks.Count(); ++t)
        if (TrackMatchesPath(ctx.tracks.At(t), lowerCasePath)) return t;
    return 0;
}

}  // namespace

int ChooseTrackForReplay(TCommandContext& ctx, const std::string& path) {
    return ChooseTrackForReplay(ctx, path, path);
}

int ChooseTrackForReplay(TCommandContext& ctx, const std::string& path,
                         const std::string& scopePath) {
    const std::string lower = LowerCaseCopy(path);
    const int r = MatchTrackForPath(ctx.tracks, ctx.session.associations, lower);
    if (r >= 0) return r;

    std::string component;
    TChooseTrackXfer xfer;
    xfer.scopeText = TrackChoiceScope(LowerCaseCopy(scopePath), r == kAmbiguousTrack, &component);
    for (int t = 0; t < ctx.tracks.Count(); ++t) xfer.trackNames.push_back(ctx.tracks.At(t).name);
    xfer.selection = PreselectedTrack(ctx, lower);
    xfer.remember = ctx.session.rememberTrackChoice;
    if (!ctx.prompts.ChooseTrack(xfer)) return -1;
    // The box keeps what the user made of it, but only an OK with the box shown changes it.
    if (!xfer.scopeText.empty()) ctx.session.rememberTrackChoice = xfer.remember;
    if (xfer.selection < 0 || xfer.selection >= ctx.tracks.Count()) return -1;
    if (xfer.remember && r == kNoTrackYet) {
        ctx.session.associations.push_back(
            TAssocTrack{component, int32_t(ctx.tracks.At(xfer.selection).trackId)});
    }
    return xfer.selection;
}
