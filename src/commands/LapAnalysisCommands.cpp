#include "commands/LapAnalysisCommands.h"

#include <algorithm>

#include "analysis/LapAnalysis.h"
#include "commands/LapEditing.h"
#include "platform/ProfileFile.h"

int32_t ReferenceLapIndex(const TCommandContext& ctx) {
    return ReferenceLap(ctx.doc.laps().Pointers(), ctx.view.analysis.referenceSerial);
}

void SetReferenceLapCommand(TCommandContext& ctx) {
    if (ctx.doc.laps().Empty()) return;
    TChooseLapXfer xfer;
    xfer.texts = LapChoiceTexts(ctx.doc);
    xfer.selection = std::max(0, ReferenceLapIndex(ctx));
    if (!ctx.prompts.ChooseLap(xfer)) return;
    if (xfer.selection < 0 || xfer.selection >= ctx.doc.laps().Count()) return;
    ctx.view.analysis.referenceSerial = ctx.doc.laps().At(xfer.selection).serial;
    RequestRepaint(ctx);
}

void ForgetReferenceLap(TViewState& view) {
    view.analysis.referenceSerial = -1;
}

bool ReadTimeDeltaSetting(ProfileFile& settings) {
    return settings.ReadInt("view", "timedelta", 0) == 1;
}

void WriteTimeDeltaSetting(ProfileFile& settings, bool shown) {
    settings.WriteInt("view", "timedelta", shown ? 1 : 0);
}
