#pragma once
// The command line of a batch picture:
//   korvale --render OUT.png|OUT.svg [--view graph|map] [--size WxH] [--x time|position]
//           [--y CHANNEL] [--y2 CHANNEL|none] [--range X0:X1] [--colour-by CHANNEL]
//           [--stacked CHANNEL,CHANNEL,...] DOCUMENT
// Channel names are those of the axis menus (for --colour-by, of View > Colour Map By), in
// any case, with or without their spaces and dashes ("Lateral Force", "lateral-force",
// "slipangle", "time-delta").
#include <QStringList>
#include <string>

#include <optional>
#include <vector>

#include "channels/Channels.h"
#include "commands/ViewState.h"

struct TRenderOptions {
    std::string output;         // --render
    std::string document;       // the one positional argument
    bool viewMap = false;       // --view map
    int width = 0, height = 0;  // --size; 0 for the default size
    // The axes' channels; none keeps the document's.
    std::optional<TelemetryChannel> x, y, y2;
    bool hasRange = false;  // --range: the x axis shows x0 to x1 (seconds or feet)
    double x0 = 0, x1 = 0;
    // --colour-by: Lap Colours or a channel of View > Colour Map By (the map only)
    TMapColour colourBy = TMapColour::Laps;
    // --stacked: the graph's stacked panes, top first (also "inline", "lateral", "slip")
    std::vector<TelemetryChannel> stacked;
    bool help = false;  // --help: print usage and end
    std::string error;  // empty when the command line was understood
    std::string usage;  // the options, for a mistake's message
};

// The size a picture gets without --size.
inline constexpr int kDefaultRenderWidth = 800;
inline constexpr int kDefaultRenderHeight = 600;

// Whether the command line asks for a batch picture (holds --render in any spelling
// QCommandLineParser accepts).
bool IsRenderCommandLine(int argc, const char* const* argv);
// arguments: the whole command line, the program's name first.
TRenderOptions ParseRenderOptions(const QStringList& arguments);
// The channel an axis-menu name means, if any. Only channels the axis can hold are found:
// axis 0 for x, 1 for y, 2 for the second y (which also takes "none").
std::optional<TelemetryChannel> RenderChannelByName(const std::string& name, int axis);
