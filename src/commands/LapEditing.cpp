#include "commands/LapEditing.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "commands/DocumentCommands.h"
#include "platform/NameCodec.h"
#include "platform/TextCase.h"

namespace {

bool ValidIndex(const TDocument& doc, int32_t index) {
    return index >= 0 && index < doc.laps().Count();
}

// What the 32-byte name field holds before its NUL.
constexpr size_t kStoredNameBytes = 31;

bool ChooseDocumentLap(TCommandContext& ctx, int32_t& index) {
    TChooseLapXfer xfer;
    xfer.texts = LapChoiceTexts(ctx.doc);
    xfer.selection = 0;
    if (!ctx.prompts.ChooseLap(xfer)) return false;
    index = xfer.selection;
    return ValidIndex(ctx.doc, index);
}

}  // namespace

std::vector<std::string> LapChoiceTexts(const TDocument& doc) {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < doc.laps().Count(); ++i) {
        const TReplay& lap = doc.laps().At(i);
        char buf[160];
        std::snprintf(buf, sizeof buf, "%s  %7.3f s=%7.3f mph", NameToUtf8(lap.driverName).c_str(),
                      (lap.endFrame - lap.startFrame) / 15.0, AverageLapSpeed(lap));
        texts.emplace_back(buf);
    }
    return texts;
}

bool EditLap(TCommandContext& ctx, int32_t index) {
    TDocument& doc = ctx.doc;
    if (!ValidIndex(doc, index)) return false;
    const TReplay& lap = doc.laps().At(index);
    TEditInfoXfer xfer;
    // The dialog edits the name as text; the document keeps its bytes.
    xfer.name = NameToUtf8(lap.driverName);
    xfer.colour = lap.colour;
    if (!ctx.prompts.EditInfo(xfer)) return false;
    const std::string newName = NameFromUtf8(xfer.name, kStoredNameBytes);
    if (EqualIgnoringCase(newName, lap.driverName) && xfer.colour == lap.colour) return false;
    doc.EditLap(index, newName, xfer.colour);
    RequestRepaint(ctx);
    return true;
}

bool DeleteLap(TCommandContext& ctx, int32_t index) {
    TDocument& doc = ctx.doc;
    if (!ValidIndex(doc, index)) return false;
    if (ctx.prompts.MessageBox("Confirm Delete", "Delete this lap?", TMsgIcon::Question,
                               TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return false;
    doc.RemoveLap(index);
    if (doc.laps().Empty()) {
        ClearDocument(ctx);
    } else {
        AnnounceLapsChanged(ctx);
        RequestRepaint(ctx);
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

bool LapCommandsEnabled(const TDocument& doc) {
    return !doc.laps().Empty();
}
