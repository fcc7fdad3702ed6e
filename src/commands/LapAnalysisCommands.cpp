#include "commands/LapAnalysisCommands.h"

#include <algorithm>
#include <vector>

#include "analysis/LapAnalysis.h"
#include "commands/LapEditing.h"
#include "platform/ProfileFile.h"

int32_t ReferenceLapIndex(const TCommandContext& ctx) {
    return ReferenceLap(ctx.doc.laps().Pointers(), ctx.view.analysis.referenceSerial);
}

int32_t SelectedLapIndex(const TCommandContext& ctx) {
    return ctx.view.analysis.selectedSerial < 0
               ? -1
               : ctx.doc.laps().IndexOfSerial(ctx.view.analysis.selectedSerial);
}

TComparedLaps ComparedLaps(const TCommandContext& ctx) {
    const int32_t count = ctx.doc.laps().Count();
    if (count < 2) return {};
    if (count == 2) return {0, 1};
    const int32_t reference = ReferenceLapIndex(ctx);
    if (reference < 0) return {};
    int32_t other = SelectedLapIndex(ctx);
    if (other < 0 || other == reference) {
        std::vector<const TReplay*> candidates;
        std::vector<int32_t> index;
        for (int32_t i = 0; i < count; ++i)
            if (i != reference) {
                candidates.push_back(&ctx.doc.laps().At(i));
                index.push_back(i);
            }
        const int32_t fastest = FastestLap(candidates);
        other = fastest >= 0 ? index[size_t(fastest)] : -1;
    }
    if (other < 0) return {};
    return {reference, other};
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

TDeltaMode ReadDeltaModeSetting(const ProfileFile& settings) {
    switch (settings.ReadInt("view", "deltamode", 0)) {
        case 1:
            return TDeltaMode::FromLeftEdge;
        case 2:
            return TDeltaMode::Rate;
        default:
            return TDeltaMode::Running;
    }
}

void WriteDeltaModeSetting(ProfileFile& settings, TDeltaMode mode) {
    settings.WriteInt("view", "deltamode", static_cast<int>(mode));
}
