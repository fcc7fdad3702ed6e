#include "commands/CommandContext.h"

const TTrackData* CurrentTrack(const TCommandContext& ctx) {
    return ctx.doc.Track();
}

void AnnounceLapsChanged(TCommandContext& ctx) {
    ctx.view.graph.repaintPending = true;
    ctx.doc.Raise({TChangeKind::LapsChanged});
}

void RequestRepaint(TCommandContext& ctx) {
    ctx.view.graph.repaintPending = true;
    ctx.doc.Raise({TChangeKind::Repaint});
}
