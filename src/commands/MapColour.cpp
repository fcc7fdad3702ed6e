#include "commands/MapColour.h"

#include <cctype>

#include "platform/ProfileFile.h"

namespace {

std::string Folded(const std::string& name) {
    std::string out;
    for (const char c : name)
        if (c != ' ' && c != '-' && c != '_')
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

const std::array<TMapColourInfo, kMapColourCount>& MapColours() {
    static const std::array<TMapColourInfo, kMapColourCount> table = {{
        {TMapColour::Laps, "Lap Colours", "", "laps", TelemetryChannel::None, 0},
        {TMapColour::Speed, "Speed", "mph", "speed", TelemetryChannel::Speed, 1},
        {TMapColour::Line, "Line", "feet", "line", TelemetryChannel::Line, 1},
        {TMapColour::InlineForce, "In-line Force", "g's", "inlineforce",
         TelemetryChannel::InlineForce, 2},
        {TMapColour::LateralForce, "Lateral Force", "g's", "lateralforce",
         TelemetryChannel::LateralForce, 2},
        {TMapColour::SlipAngle, "Slip Angle", "degrees", "slipangle", TelemetryChannel::SlipAngle,
         1},
        {TMapColour::TimeDelta, "Time Delta", "sec", "timedelta", TelemetryChannel::None, 2},
    }};
    return table;
}

const TMapColourInfo& MapColourInfo(TMapColour colour) {
    for (const TMapColourInfo& c : MapColours())
        if (c.colour == colour) return c;
    return MapColours().front();
}

bool MapColourByName(const std::string& name, TMapColour& colour) {
    const std::string wanted = Folded(name);
    for (const TMapColourInfo& c : MapColours()) {
        if (Folded(c.name) == wanted || c.key == wanted) {
            colour = c.colour;
            return true;
        }
    }
    return false;
}

TMapColour ReadMapColourSetting(const ProfileFile& settings) {
    const std::string key = Folded(settings.ReadText("view", "mapcolour", "laps"));
    for (const TMapColourInfo& c : MapColours())
        if (key == c.key) return c.colour;
    return TMapColour::Laps;
}

void WriteMapColourSetting(ProfileFile& settings, TMapColour colour) {
    settings.WriteText("view", "mapcolour", MapColourInfo(colour).key);
}
