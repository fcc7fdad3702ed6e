#pragma once
// Short ways for tests to put a document into a state, through its own operations.
#include "commands/Document.h"

inline void SetAxis(TDocument& doc, TelemetryChannel TAxes::*axis, TelemetryChannel channel) {
    TAxes axes = doc.axes();
    axes.*axis = channel;
    doc.SetAxes(axes);
}

inline void RemoveAllLaps(TDocument& doc) {
    while (!doc.laps().Empty()) doc.RemoveLap(0);
}
