#include "commands/CommandContext.h"

#include "track/TrackList.h"

const TTrackData* CurrentTrack(const TCommandContext& ctx) {
    const int32_t t = ctx.doc.currentTrack;
    if (t < 0 || t >= ctx.tracks.Count()) return nullptr;
    return &ctx.tracks.At(t);
}

void RecomputeExtents(TCommandContext& ctx) {
    ctx.doc.extents = ChannelExtents(ctx.doc.laps.Pointers(), CurrentTrack(ctx));
    ctx.doc.repaintPending = true;
    ctx.prompts.LapsChanged();
}
