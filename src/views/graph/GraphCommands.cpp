#include "views/graph/GraphCommands.h"

#include "commands/DocumentState.h"

const TAxisCommand kAxisCommands[17] = {
    {7124, "&Time", 1, 0, "Use time as the x-axis"},
    {7123, "&Position", 1, 1, "Use position as the x-axis"},
    {7129, "&Time", 2, 0, "Use time as the y-axis"},
    {7127, "&Position", 2, 1, "Use position as the y-axis"},
    {7128, "&Speed", 2, 2, "Use speed as the y-axis"},
    {7126, "&Line", 2, 3, "Use the racing line as the y-axis"},
    {51683, "L&ateral Force", 2, 5, "Use the lateral force as the y-axis"},
    {7125, "&In-line Force", 2, 4, "Use the in-line force as the y-axis"},
    {51685, "Slip An&gle", 2, 6, "Use the skid angle as the y-axis"},
    {21686, "&None", 3, 7, "Use no second y-axis"},
    {21687, "&Time", 3, 0, "Use time as the second y-axis"},
    {21688, "&Position", 3, 1, "Use position as the second y-axis"},
    {21690, "&Speed", 3, 2, "Use speed as the second y-axis"},
    {21689, "&Line", 3, 3, "Use the racing line as the second y-axis"},
    {21692, "L&ateral Force", 3, 5, "Use the lateral force as the second y-axis"},
    {21691, "&In-line Force", 3, 4, "Use the in-line force as the second y-axis"},
    {21693, "Slip An&gle", 3, 6, "Use the skid angle as the second y-axis"},
};

const TAxisCommand* FindAxisCommand(int id) {
    for (const TAxisCommand& c : kAxisCommands)
        if (c.id == id) return &c;
    return nullptr;
}

bool AxisCommandEnabled(const TDocumentState& doc) {
    return !(doc.viewMode == ViewMap && !doc.pipShown);
}

int AxisChannel(const TDocumentState& doc, int kind) {
    return kind == 1 ? doc.xAxis : kind == 2 ? doc.yAxis : doc.y2Axis;
}

bool AxisCommandChecked(const TDocumentState& doc, const TAxisCommand& command) {
    return AxisChannel(doc, command.kind) == command.channel;
}
