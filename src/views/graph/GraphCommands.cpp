#include "views/graph/GraphCommands.h"

#include "commands/CommandIds.h"
#include "commands/Document.h"
#include "commands/ViewState.h"

namespace {
constexpr TAxisKind X = TAxisKind::X, Y = TAxisKind::Y, Y2 = TAxisKind::Y2;
}

const TAxisCommand kAxisCommands[17] = {
    {cmd::XTime, "&Time", X, TelemetryChannel::Time, "Use time as the x-axis"},
    {cmd::XPosition, "&Position", X, TelemetryChannel::Position, "Use position as the x-axis"},
    {cmd::YTime, "&Time", Y, TelemetryChannel::Time, "Use time as the y-axis"},
    {cmd::YPosition, "&Position", Y, TelemetryChannel::Position, "Use position as the y-axis"},
    {cmd::YSpeed, "&Speed", Y, TelemetryChannel::Speed, "Use speed as the y-axis"},
    {cmd::YLine, "&Line", Y, TelemetryChannel::Line, "Use the racing line as the y-axis"},
    {cmd::YLateralForce, "L&ateral Force", Y, TelemetryChannel::LateralForce,
     "Use the lateral force as the y-axis"},
    {cmd::YInlineForce, "&In-line Force", Y, TelemetryChannel::InlineForce,
     "Use the in-line force as the y-axis"},
    {cmd::YSlipAngle, "Slip An&gle", Y, TelemetryChannel::SlipAngle,
     "Use the skid angle as the y-axis"},
    {cmd::Y2None, "&None", Y2, TelemetryChannel::None, "Use no second y-axis"},
    {cmd::Y2Time, "&Time", Y2, TelemetryChannel::Time, "Use time as the second y-axis"},
    {cmd::Y2Position, "&Position", Y2, TelemetryChannel::Position,
     "Use position as the second y-axis"},
    {cmd::Y2Speed, "&Speed", Y2, TelemetryChannel::Speed, "Use speed as the second y-axis"},
    {cmd::Y2Line, "&Line", Y2, TelemetryChannel::Line, "Use the racing line as the second y-axis"},
    {cmd::Y2LateralForce, "L&ateral Force", Y2, TelemetryChannel::LateralForce,
     "Use the lateral force as the second y-axis"},
    {cmd::Y2InlineForce, "&In-line Force", Y2, TelemetryChannel::InlineForce,
     "Use the in-line force as the second y-axis"},
    {cmd::Y2SlipAngle, "Slip An&gle", Y2, TelemetryChannel::SlipAngle,
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

TelemetryChannel AxisChannel(const TDocument& doc, TAxisKind kind) {
    const TAxes a = doc.axes();
    return kind == TAxisKind::X ? a.x : kind == TAxisKind::Y ? a.y : a.y2;
}

bool AxisCommandChecked(const TDocument& doc, const TAxisCommand& command) {
    return AxisChannel(doc, command.kind) == command.channel;
}

const TDeltaModeCommand kDeltaModeCommands[3] = {
    {cmd::DeltaRunning, "&Running delta", TDeltaMode::Running,
     "Show the time each lap has gained or lost so far"},
    {cmd::DeltaFromLeftEdge, "Delta from the &left edge", TDeltaMode::FromLeftEdge,
     "Show the time gained or lost from the left edge of the graph"},
    {cmd::DeltaRate, "Delta r&ate", TDeltaMode::Rate, "Show the time gained or lost per 100 feet"},
};
