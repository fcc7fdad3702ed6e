#include "app/WorkspaceCommands.h"

#include "app/DockedWindows.h"
#include "app/MapWindows.h"
#include "app/TKorvaleWindow.h"
#include "app/TStackedChannelsDlg.h"
#include "commands/CommandIds.h"
#include "commands/ViewState.h"
#include "platform/ProfileFile.h"
#include "views/graph/GraphCommands.h"
#include "views/graph/StackedGraph.h"
#include "views/graph/TGraphView.h"

namespace {

// Flips a view choice and writes it, so that a user who never touches it keeps the settings
// file as it was.
void Toggle(TKorvaleWindow& w, bool& flag, const char* key) {
    flag = !flag;
    w.settings().WriteInt("view", key, flag ? 1 : 0);
}

TCommandEnabling GraphToggle(const TKorvaleWindow& w, bool on) {
    return {AxisCommandEnabled(w.view()), true, on};
}

}  // namespace

void ReadWorkspaceSettings(const ProfileFile& settings, TViewState& view) {
    view.graph.gridShown = settings.ReadInt("view", "grid", 0) != 0;
    view.graph.cursorLineShown = settings.ReadInt("view", "cursorline", 0) != 0;
    view.map.cornerNamesShown = settings.ReadInt("view", "mapcorners", 0) != 0;
    view.graph.stacked = settings.ReadInt("view", "stacked", 0) != 0;
    view.side.docked = settings.ReadInt("view", "docked", 0) != 0;
    view.graph.stackedChannels =
        ParseStackedChannels(settings.ReadText("view", "stackchannels", ""));
}

const std::vector<TWindowCommand>& WorkspaceCommands() {
    static const std::vector<TWindowCommand> commands = {
        {cmd::Grid,
         [](TKorvaleWindow& w) {
             Toggle(w, w.view().graph.gridShown, "grid");
             w.graph()->FullRepaint();
             w.maps().Repaint();
         },
         [](const TKorvaleWindow& w) { return GraphToggle(w, w.view().graph.gridShown); }},
        {cmd::CursorLine,
         [](TKorvaleWindow& w) {
             Toggle(w, w.view().graph.cursorLineShown, "cursorline");
             w.graph()->FullRepaint();
             w.maps().Repaint();
         },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{true, true, w.view().graph.cursorLineShown};
         }},
        {cmd::MapCornerNames,
         [](TKorvaleWindow& w) {
             Toggle(w, w.view().map.cornerNamesShown, "mapcorners");
             w.maps().Repaint();
         },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{w.maps().MapEnabled(), true, w.view().map.cornerNamesShown};
         }},
        {cmd::StackedChannels,
         [](TKorvaleWindow& w) { w.graph()->SetStacked(!w.view().graph.stacked); },
         [](const TKorvaleWindow& w) { return GraphToggle(w, w.view().graph.stacked); }},
        {cmd::ChooseStackedChannels,
         [](TKorvaleWindow& w) {
             TStackedChannelsDlg dialog({w.view().graph.stackedChannels}, &w);
             if (dialog.exec() != QDialog::Accepted) return;
             const TStackedChannelsXfer chosen = dialog.Result();
             if (chosen.channels.empty()) return;
             // Choosing the channels is asking to see them.
             w.graph()->SetStacked(true);
             if (chosen.channels != w.view().graph.stackedChannels)
                 w.graph()->SetStackedChannels(chosen.channels);
         },
         [](const TKorvaleWindow& w) { return TCommandEnabling{AxisCommandEnabled(w.view())}; }},
        {cmd::GGPlot, [](TKorvaleWindow& w) { w.ToggleGGPlot(); },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{w.doc().HasTrack() || w.view().side.ggShown, true,
                                     w.view().side.ggShown};
         }},
        {cmd::DockSideWindows,
         [](TKorvaleWindow& w) {
             Toggle(w, w.view().side.docked, "docked");
             w.docks().SetDocked(w.view().side.docked);
         },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{true, true, w.view().side.docked};
         }},
    };
    return commands;
}
