#include "app/CommandTable.h"

#include <utility>

#include "commands/CommandIds.h"
#include "views/graph/GraphCommands.h"

namespace {
TMenuEntry Item(int id, const char* text, const char* hint) {
    return TMenuEntry{TMenuEntry::Command, id, text, hint};
}
TMenuEntry Separator() {
    return TMenuEntry{TMenuEntry::Separator, 0, "", ""};
}
TMenuEntry SubMenu(const char* text) {
    return TMenuEntry{TMenuEntry::SubMenuBegin, 0, text, ""};
}
TMenuEntry SubMenuEnd() {
    return TMenuEntry{TMenuEntry::SubMenuEnd, 0, "", ""};
}
TMenuEntry Recent() {
    return TMenuEntry{TMenuEntry::RecentFiles, 0, "", ""};
}

// The View menu's three axis pop-ups, from the graph's own table of axis commands.
std::vector<TMenuEntry> ViewMenu() {
    using namespace cmd;
    std::vector<TMenuEntry> view = {
        Item(Graph, "&Graph\tF5", "Show the telemetry graph"),
        Item(Map, "&Map\tF6", "Show the track map"),
        Item(PictureInPicture, "&Picture-in-picture\tF7", "Open a picture-in-picture window"),
    };
    const std::pair<TAxisKind, const char*> axisMenus[3] = {
        {TAxisKind::X, "&X-Axis"}, {TAxisKind::Y, "&Y-Axis"}, {TAxisKind::Y2, "&2nd Y-Axis"}};
    for (const auto& [kind, title] : axisMenus) {
        view.push_back(SubMenu(title));
        for (const TAxisCommand& a : kAxisCommands)
            if (a.kind == kind) view.push_back(Item(a.id, a.menuText, a.hint));
        view.push_back(SubMenuEnd());
    }
    const std::vector<TMenuEntry> rest = {
        Separator(),
        Item(FullSize, "&Full Size", "Show the entire graph"),
        Item(ZoomOut, "Zoom &Out", ""),
        Separator(),
        Item(Corners, "&Corners\tF9", "Show the corner markers"),
        Item(SpeedComparison, "&Speed Comparison\tF10", "Compare the first lap to the second"),
        Item(OtherMarkers, "O&ther Markers", "Show extra markers on the map"),
        SubMenu("Colo&ur Map By"),
        Item(ColourMapLaps, "&Lap Colours", "Draw each lap on the map in its own colour"),
        Item(ColourMapSpeed, "&Speed", "Colour the reference lap on the map by its speed"),
        Item(ColourMapLine, "L&ine", "Colour the reference lap on the map by its line"),
        Item(ColourMapInlineForce, "In-line &Force",
             "Colour the reference lap on the map by its in-line force"),
        Item(ColourMapLateralForce, "L&ateral Force",
             "Colour the reference lap on the map by its lateral force"),
        Item(ColourMapSlipAngle, "Slip A&ngle",
             "Colour the reference lap on the map by its slip angle"),
        Item(ColourMapTimeDelta, "&Time Delta",
             "Colour a lap on the map by its time gained or lost against the reference lap"),
        SubMenuEnd(),
        Item(Info, "I&nfo\tF11", "Show the replay info window"),
        Item(Data, "&Data\tF12", "Show detailed lap data"),
        Separator(),
        Item(TimeDelta, "Time De&lta\tCtrl+T",
             "Show each lap's time gained or lost against the reference lap"),
    };
    view.insert(view.end(), rest.begin(), rest.end());
    view.push_back(SubMenu("Delta &Strip"));
    for (const TDeltaModeCommand& m : kDeltaModeCommands)
        view.push_back(Item(m.id, m.menuText, m.hint));
    view.push_back(SubMenuEnd());
    const std::vector<TMenuEntry> last = {
        Item(Sectors, "Secto&rs", "Show the sector times, the corner speeds and the ideal lap"),
        Item(Legend, "&Legend", "Name the laps in a corner of the graph"),
        Item(Grid, "Gr&id", "Draw round ticks and a light grid behind the curves"),
        Item(CursorLine, "Cursor Lin&e",
             "Show the cursor line under the pointer and each lap's place on the map"),
        Item(MapCornerNames, "Corner N&ames", "Write the corner names beside the track on the map"),
        Item(StackedChannels, "Stac&ked Channels",
             "Show each chosen channel in its own pane on the shared x axis"),
        Item(ChooseStackedChannels, "C&hoose Stacked Channels...",
             "Choose the stacked channels and their order"),
        Item(GGPlot, "G-G Pl&ot", "Plot each lap's lateral force against its in-line force"),
        Item(DockSideWindows, "Dock Side &Windows",
             "Dock the side windows into the main window instead of floating them"),
    };
    view.insert(view.end(), last.begin(), last.end());
    return view;
}
}  // namespace

const std::vector<TMenuLayout>& MainMenuLayout() {
    using namespace cmd;
    // clang-format off
    static const std::vector<TMenuLayout> menus = {
        {"&File",
         {Item(FileNew, "&New\tCtrl+N", "Creates a new window"),
          Item(FileOpen, "&Open...\tCtrl+O", "Opens a window"),
          Item(FileSave, "&Save\tCtrl+S", "Saves the active document"),
          Item(FileSaveAs, "Save &As...", "Saves the active document with a new name"),
          Separator(),
          Item(ImportReplay, "&Import Replay\tCtrl+I", "Import replay lap"),
          Item(ImportAverageLap, "Import &Average Lap", "Import and average several laps"),
          Item(ExportTextData, "&Export Text Data\tCtrl+E", "Export replay data"),
          Item(ExportToReplay, "Export to &Replay", "Export the data to a replay"),
          Item(ExportImage, "Export I&mage...", "Export the graph or the map as a PNG or SVG picture"),
          Separator(),
          // The recent-files list goes here, followed by its own separator when not empty.
          Recent(),
          Item(Exit, "E&xit\tAlt+F4", "Quits Korvale and prompts to save the documents")}},
        {"&Lap",
         {Item(EditInfo, "&Edit Info", "Edit the name and color for a replay lap"),
          Item(DeleteLap, "&Delete Lap", "Delete a replay lap"),
          Separator(),
          Item(SetReferenceLap, "Set &Reference Lap...", "Choose the lap the others are compared with"),
          Item(ShowAllLaps, "Show &All Laps", "Show the laps hidden in the replay info window")}},
        {"&View", ViewMenu()},
        {"&Help",
         {Item(HelpContents, "&Contents", "Help table of contents"),
          Item(HelpUsing, "&Using help", "Help on using online Help"),
          Separator(),
          Item(About, "&About...", "About the Korvale application")}},
    };
    // clang-format on
    return menus;
}

std::vector<TMenuEntry> AllMenuCommands() {
    std::vector<TMenuEntry> out;
    for (const TMenuLayout& menu : MainMenuLayout())
        for (const TMenuEntry& e : menu.entries)
            if (e.kind == TMenuEntry::Command) out.push_back(e);
    return out;
}

const TMenuEntry* FindMenuCommand(int id) {
    for (const TMenuLayout& menu : MainMenuLayout())
        for (const TMenuEntry& e : menu.entries)
            if (e.kind == TMenuEntry::Command && e.id == id) return &e;
    return nullptr;
}

const std::vector<TAccelerator>& AcceleratorTable() {
    using namespace cmd;
    static const std::vector<TAccelerator> table = {
        {"Ctrl+N", FileNew},
        {"Ctrl+O", FileOpen},
        {"Ctrl+S", FileSave},
        {"Ctrl+E", ExportTextData},
        {"Ctrl+I", ImportReplay},
        {"F5", Graph},
        {"F6", Map},
        {"F7", PictureInPicture},
        {"F9", Corners},
        {"F10", SpeedComparison},
        {"F11", Info},
        {"F12", Data},
        {"Ctrl+T", TimeDelta},
    };
    return table;
}

const std::vector<TAccelerator>& SecondaryShortcuts() {
    using namespace cmd;
    static const std::vector<TAccelerator> table = {
        {"Ctrl+-", ZoomOut},
        {"Ctrl+0", FullSize},
    };
    return table;
}

const std::vector<TToolBarEntry>& ToolBarLayout() {
    using namespace cmd;
    static const std::vector<TToolBarEntry> bar = {
        {FileNew, 0},
        {FileOpen, 0},
        {FileSave, 0},
        {0, 20},
        {ImportReplay, 0},
        {ImportAverageLap, 0},
        {ExportTextData, 0},
        {ExportToReplay, 0},
        {0, 12},
        {Info, 0},
        {Corners, 0},
        {Data, 0},
        {SpeedComparison, 0},
        {0, 12},
        {FullSize, 0},
        {ZoomOut, 0},
        {0, 12},
        {Graph, 0},
        {Map, 0},
        {PictureInPicture, 0},
        {0, 12},
        {HelpContents, 0},
    };
    return bar;
}
