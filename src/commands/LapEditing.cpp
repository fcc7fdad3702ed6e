#include "commands/LapEditing.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "commands/DocumentCommands.h"
#include "platform/TextCase.h"

namespace {

bool ValidIndex(const TDocumentState& doc, int32_t index) {
    return index >= 0 && index < doc.laps.Count();
}

// The name as the 32-byte field keeps it: at most 31 characters.
std::string StoredName(const std::string& name) {
    return name.substr(0, std::min<size_t>(name.size(), 31));
}

bool ChooseDocumentLap(TCommandContext& ctx, int32_t& index) {
    TChooseLapXfer xfer;
    xfer.texts = LapChoiceTexts(ctx.doc);
    xfer.selection = 0;
    if (!ctx.prompts.ChooseLap(xfer)) return false;
    index = xfer.selection;
    return ValidIndex(ctx.doc, index);
}

}  // namespace

std::vector<std::string> LapChoiceTexts(const TDocumentState& doc) {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < doc.laps.Count(); ++i) {
        const TReplay& lap = doc.laps.At(i);
        char buf[128];
        std::snprintf(buf, sizeof buf, "%s  %7.3f s=%7.3f mph", lap.driverName,
                      (lap.endFrame - lap.startFrame) / 15.0, AverageLapSpeed(lap));
        texts.emplace_back(buf);
    }
    return texts;
}

bool EditLap(TCommandContext& ctx, int32_t index) {
    TDocumentState& doc = ctx.doc;
    if (!ValidIndex(doc, index)) return false;
    TReplay& lap = doc.laps.At(index);
    TEditInfoXfer xfer;
    xfer.name = lap.driverName;
    xfer.colour = lap.colour;
    if (!ctx.prompts.EditInfo(xfer)) return false;
    const std::string newName = StoredName(xfer.name);
    if (EqualIgnoringCase(newName, lap.driverName) && xfer.colour == lap.colour) return false;
    doc.dirty = true;
    lap.SetDriverName(newName.c_str());
    lap.colour = xfer.colour;
    doc.repaintPending = true;
    ctx.prompts.LapEdited(index, lap);
    ctx.prompts.Repaint();
    return true;
}

bool DeleteLap(TCommandContext& ctx, int32_t index) {
    TDocumentState& doc = ctx.doc;
    if (!ValidIndex(doc, index)) return false;
    if (ctx.prompts.MessageBox("Confirm Delete", "Delete this lap?", TMsgIcon::Question,
                               TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return false;
    doc.laps.RemoveBySerial(doc.laps.At(index).serial);
    doc.dirty = true;
    ctx.prompts.LapRemoved(index);
    if (doc.laps.Empty()) {
        ClearDocument(ctx);
    } else {
        RecomputeExtents(ctx);
        ctx.prompts.Repaint();
    }
    return true;
}

void EditInfoCommand(TCommandContext& ctx) {
    int32_t index = -1;
    if (ChooseDocumentLap(ctx, index)) EditLap(ctx, index);
}

void DeleteLapCommand(TCommandContext& ctx) {
    int32_t index = -1;
    if (ChooseDocumentLap(ctx, index)) DeleteLap(ctx, index);
}

bool LapCommandsEnabled(const TDocumentState& doc) {
    return !doc.laps.Empty();
}
