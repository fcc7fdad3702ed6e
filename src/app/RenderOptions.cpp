#include "app/RenderOptions.h"

#include <QCommandLineParser>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "app/ImageExport.h"
#include "channels/Channels.h"
#include "commands/MapColour.h"
#include "views/graph/GraphCommands.h"

namespace {

std::string Folded(const std::string& name) {
    std::string out;
    for (const char c : name)
        if (c != ' ' && c != '-' && c != '_' && c != '&')
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Whole-string number: no trailing text, finite.
bool ParseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

bool ParseSize(const std::string& text, int& w, int& h) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    double dw = 0, dh = 0;
    if (!ParseNumber(text.substr(0, x), dw) || !ParseNumber(text.substr(x + 1), dh)) return false;
    if (dw != std::floor(dw) || dh != std::floor(dh)) return false;
    if (dw < 1 || dw > kMaxImageWidth || dh < 1 || dh > kMaxImageHeight) return false;
    w = static_cast<int>(dw);
    h = static_cast<int>(dh);
    return true;
}

}  // namespace

std::optional<TelemetryChannel> RenderChannelByName(const std::string& name, int axis) {
    const TAxisKind kinds[3] = {TAxisKind::X, TAxisKind::Y, TAxisKind::Y2};
    if (axis < 0 || axis > 2) return std::nullopt;
    const std::string wanted = Folded(name);
    for (const TAxisCommand& c : kAxisCommands)
        if (c.kind == kinds[axis] && Folded(c.menuText) == wanted) return c.channel;
    return std::nullopt;
}

bool IsRenderCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) return false;
        if (std::strcmp(argv[i], "--render") == 0 || std::strncmp(argv[i], "--render=", 9) == 0 ||
            std::strcmp(argv[i], "-render") == 0)
            return true;
    }
    return false;
}

TRenderOptions ParseRenderOptions(const QStringList& arguments) {
    TRenderOptions out;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Renders the graph or the track map of DOCUMENT into a PNG or SVG file "
                       "without a display."));
    auto add = [&](const char* name, const char* help, const char* value) {
        const QCommandLineOption o(QString::fromLatin1(name), QString::fromLatin1(help),
                                   QString::fromLatin1(value));
        parser.addOption(o);
        return o;
    };
    const auto render = add("render", "The picture to write: a .png or .svg file.", "OUT");
    const auto view = add("view", "What the picture shows: graph (the default) or map.", "VIEW");
    const auto size =
        add("size", "The picture's size in pixels, up to 7680x4320 (800x600).", "WxH");
    const auto x = add("x", "The graph's x-axis: time or position.", "CHANNEL");
    const auto y = add("y", "The graph's y-axis, a channel of the Y-Axis menu.", "CHANNEL");
    const auto y2 = add("y2", "The graph's second y-axis, or none.", "CHANNEL");
    const auto range = add("range", "The x range shown, in seconds or feet.", "X0:X1");
    const auto colour =
        add("colour-by",
            "With --view map: the reference lap coloured by this channel of the View menu's "
            "Colour Map By (Speed, Line, In-line Force, Lateral Force, Slip Angle, Time Delta).",
            "CHANNEL");
    const auto stacked =
        add("stacked",
            "The graph as stacked panes of these channels, top first, separated by commas "
            "(speed,line,inline,lateral).",
            "CHANNELS");
    parser.addPositionalArgument(QStringLiteral("DOCUMENT"),
                                 QStringLiteral("The telemetry document (.kvl) to draw."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Prints these options and ends."));
    parser.addOption(help);
    out.usage = parser.helpText().toStdString();

    auto fail = [&](const std::string& message) {
        out.error = message;
        return out;
    };
    if (!parser.parse(arguments)) return fail(parser.errorText().toStdString());
    out.help = parser.isSet(help);
    if (out.help) return out;
    out.output = parser.value(render).toStdString();
    if (out.output.empty()) return fail("--render needs a file name");
    const QStringList documents = parser.positionalArguments();
    if (documents.isEmpty()) return fail("--render needs a DOCUMENT to draw");
    if (documents.size() > 1)
        return fail("--render draws one DOCUMENT, not " + std::to_string(documents.size()));
    out.document = documents.front().toStdString();

    if (parser.isSet(view)) {
        const std::string v = parser.value(view).toStdString();
        if (v != "graph" && v != "map") return fail("--view takes graph or map, not \"" + v + "\"");
        out.viewMap = v == "map";
    }
    if (parser.isSet(size)) {
        const std::string s = parser.value(size).toStdString();
        if (!ParseSize(s, out.width, out.height))
            return fail("--size takes WxH from 1x1 to " + std::to_string(kMaxImageWidth) + "x" +
                        std::to_string(kMaxImageHeight) + ", not \"" + s + "\"");
    }
    const std::pair<const QCommandLineOption*, std::optional<TelemetryChannel>*> axes[3] = {
        {&x, &out.x}, {&y, &out.y}, {&y2, &out.y2}};
    const char* const axisNames[3] = {"--x", "--y", "--y2"};
    for (int a = 0; a < 3; ++a) {
        if (!parser.isSet(*axes[a].first)) continue;
        const std::string name = parser.value(*axes[a].first).toStdString();
        *axes[a].second = RenderChannelByName(name, a);
        if (!*axes[a].second)
            return fail(std::string(axisNames[a]) + ": no such channel for this axis: \"" + name +
                        "\"");
    }
    if (parser.isSet(range)) {
        const std::string r = parser.value(range).toStdString();
        const size_t colon = r.find(':');
        if (colon == std::string::npos || !ParseNumber(r.substr(0, colon), out.x0) ||
            !ParseNumber(r.substr(colon + 1), out.x1) || !(out.x0 < out.x1))
            return fail("--range takes X0:X1 with X0 below X1, not \"" + r + "\"");
        out.hasRange = true;
    }
    if (parser.isSet(colour)) {
        const std::string name = parser.value(colour).toStdString();
        if (!MapColourByName(name, out.colourBy))
            return fail("--colour-by: no such channel to colour by: \"" + name + "\"");
        if (!out.viewMap) return fail("--colour-by goes with --view map");
    }
    if (parser.isSet(stacked)) {
        if (out.viewMap) return fail("--stacked goes with --view graph");
        const QStringList names = parser.value(stacked).split(QLatin1Char(','));
        for (const QString& n : names) {
            const std::string name = n.trimmed().toStdString();
            std::optional<TelemetryChannel> c = RenderChannelByName(name, 1);
            const std::string lower = n.trimmed().toLower().toStdString();
            if (!c && lower == "inline") c = TelemetryChannel::InlineForce;
            if (!c && lower == "lateral") c = TelemetryChannel::LateralForce;
            if (!c && lower == "slip") c = TelemetryChannel::SlipAngle;
            if (!c) return fail("--stacked: no such channel: \"" + name + "\"");
            if (std::find(out.stacked.begin(), out.stacked.end(), *c) != out.stacked.end())
                return fail("--stacked: \"" + name + "\" is named twice");
            out.stacked.push_back(*c);
        }
    }
    return out;
}
