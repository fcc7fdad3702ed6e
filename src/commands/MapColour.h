#pragma once
// View > Colour Map By: the channels the map's reference lap can be coloured by, their
// names, units and settings keys, and the setting itself. Opt-in: "Lap Colours" (every lap
// in its own colour) is the default.
#include <array>
#include <string>

#include "channels/Channels.h"
#include "commands/ViewState.h"

class ProfileFile;

struct TMapColourInfo {
    TMapColour colour;
    const char* name;          // as the menus and --colour-by name it
    const char* unit;          // the legend's unit
    const char* key;           // the settings file's value
    TelemetryChannel channel;  // the values' channel; None for Laps and TimeDelta
    int decimals;              // the legend's digits after the point
};

inline constexpr int kMapColourCount = 7;
// In menu order, Laps first.
const std::array<TMapColourInfo, kMapColourCount>& MapColours();
const TMapColourInfo& MapColourInfo(TMapColour colour);

// The colouring a name means: the menu's name in any case, with or without its spaces and
// dashes ("Lateral Force", "lateral-force", "timedelta"), or the settings key. False for
// anything else.
bool MapColourByName(const std::string& name, TMapColour& colour);

// Settings "view", "mapcolour": one of the keys; anything else (or nothing) is Laps.
TMapColour ReadMapColourSetting(const ProfileFile& settings);
void WriteMapColourSetting(ProfileFile& settings, TMapColour colour);
