#include "views/graph/GraphCommands.h"

#include "commands/CommandIds.h"
#include "commands/Document.h"
#include "commands/ViewState.h"

namespace {
constexpr TAxisKind X = TAxisKind::X, Y = TAxisKind::Y, Y2 = TAxisKind::Y2;
}

const TAxisCommand kAxisCommands[17] = {
    {cmd::XTime, "&Time", X, ChannelTime, "Use time as the x-axis"},
    {cmd::XPosition, "&Position", X, ChannelPosition, "Use position as the x-axis"},
    {cmd::YTime, "&Time", Y, ChannelTime, "Use time as the y-axis"},
    {cmd::YPosition, "&Position", Y, ChannelPosition, "Use position as the y-axis"},
    {cmd::YSpeed, "&Speed", Y, ChannelSpeed, "Use speed as the y-axis"},
    {cmd::YLine, "&Line", Y, ChannelLine, "Use the racing line as the y-axis"},
    {cmd::YLateralForce, "L&ateral Force", Y, ChannelLateralForce,
     "Use the lateral force as the y-axis"},
    {cmd::YInlineForce, "&In-line Force", Y, ChannelInlineForce,
     "Use the in-line force as the y-axis"},
    {cmd::YSlipAngle, "Slip An&gle", Y, ChannelSlipAngle, "Use the skid angle as the y-axis"},
    {cmd::Y2None, "&None", Y2, ChannelNone, "Use no second y-axis"},
    {cmd::Y2Time, "&Time", Y2, ChannelTime, "Use time as the second y-axis"},
    {cmd::Y2Position, "&Position", Y2, ChannelPosition, "Use position as the second y-axis"},
    {cmd::Y2Speed, "&Speed", Y2, ChannelSpeed, "Use speed as the second y-axis"},
    {cmd::Y2Line, "&Line", Y2, ChannelLine, "Use the racing line as the second y-axis"},
    {cmd::Y2LateralForce, "L&ateral Force", Y2, ChannelLateralForce,
     "Use the lateral force as the second y-axis"},
    {cmd::Y2InlineForce, "&In-line Force", Y2, ChannelInlineForce,
     "Use the in-line force as the second y-axis"},
    {cmd::Y2SlipAngle, "Slip An&gle", Y2, ChannelSlipAngle,
     "Use the skid angle as the second y-axis"},
};

const TAxisCommand* FindAxisCommand(int id) {
    for (const TAxisCommand& c : kAxisCommands)
        if (c.id == id) return &c;
    return nullptr;
}

bool AxisCommandEnabled(const TViewState& view) {
    return !(view.viewMode == ViewMap && !view.side.pipShown);
}

int AxisChannel(const TDocument& doc, TAxisKind kind) {
    const TAxes a = doc.axes();
    return kind == TAxisKind::X ? a.x : kind == TAxisKind::Y ? a.y : a.y2;
}

bool AxisCommandChecked(const TDocument& doc, const TAxisCommand& command) {
    return AxisChannel(doc, command.kind) == command.channel;
}
