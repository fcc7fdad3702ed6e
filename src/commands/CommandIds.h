#pragma once
// The command ids of the menus, tool bar, accelerators and the graph's pop-up menus: the
// one table every other place names them from. Help topics are numbered by them, so they
// keep their values.

namespace cmd {
inline constexpr int FileNew = 24331;
inline constexpr int FileOpen = 24332;
inline constexpr int FileSave = 24333;
inline constexpr int FileSaveAs = 24334;
inline constexpr int ImportReplay = 24606;
inline constexpr int ImportAverageLap = 18752;
inline constexpr int ExportTextData = 24605;
inline constexpr int ExportToReplay = 18753;
inline constexpr int ExportImage = 24630;
inline constexpr int Exit = 24310;
inline constexpr int EditInfo = 7693;
inline constexpr int DeleteLap = 7692;
inline constexpr int Graph = 24609;
inline constexpr int Map = 24610;
inline constexpr int PictureInPicture = 24611;
inline constexpr int FullSize = 5685;
inline constexpr int ZoomOut = 5684;
inline constexpr int Corners = 24608;
inline constexpr int SpeedComparison = 24613;
inline constexpr int OtherMarkers = 24614;
inline constexpr int Info = 24607;
inline constexpr int Data = 24612;
inline constexpr int HelpContents = 2001;
inline constexpr int HelpUsing = 2002;
inline constexpr int About = 2009;
// Commands of our own, beyond the original menus; numbered apart from those.
inline constexpr int Legend = 24650;
inline constexpr int ShowAllLaps = 24651;

// The workspace: reading aids, stacked channels, docking and the G-G plot.
inline constexpr int Grid = 24660;
inline constexpr int CursorLine = 24661;
inline constexpr int MapCornerNames = 24662;
inline constexpr int StackedChannels = 24663;
inline constexpr int ChooseStackedChannels = 24664;
inline constexpr int DockSideWindows = 24665;
inline constexpr int GGPlot = 24666;

// Lap analysis: the reference lap, the time delta strip and the sectors window.
inline constexpr int SetReferenceLap = 7694;
inline constexpr int TimeDelta = 24620;
inline constexpr int Sectors = 24621;
// View > Delta Strip: what the time delta strip draws (TDeltaMode).
inline constexpr int DeltaRunning = 24680;
inline constexpr int DeltaFromLeftEdge = 24681;
inline constexpr int DeltaRate = 24682;

// View > Colour Map By: Lap Colours, then the channels in the order of MapColours().
inline constexpr int ColourMapLaps = 24640;
inline constexpr int ColourMapSpeed = 24641;
inline constexpr int ColourMapLine = 24642;
inline constexpr int ColourMapInlineForce = 24643;
inline constexpr int ColourMapLateralForce = 24644;
inline constexpr int ColourMapSlipAngle = 24645;
inline constexpr int ColourMapTimeDelta = 24646;

// Axis choices of the View menu's X-Axis, Y-Axis and 2nd Y-Axis pop-ups.
inline constexpr int XTime = 7124;
inline constexpr int XPosition = 7123;
inline constexpr int YTime = 7129;
inline constexpr int YPosition = 7127;
inline constexpr int YSpeed = 7128;
inline constexpr int YLine = 7126;
inline constexpr int YLateralForce = 51683;
inline constexpr int YInlineForce = 7125;
inline constexpr int YSlipAngle = 51685;
inline constexpr int Y2None = 21686;
inline constexpr int Y2Time = 21687;
inline constexpr int Y2Position = 21688;
inline constexpr int Y2Speed = 21690;
inline constexpr int Y2Line = 21689;
inline constexpr int Y2LateralForce = 21692;
inline constexpr int Y2InlineForce = 21691;
inline constexpr int Y2SlipAngle = 21693;
}  // namespace cmd

// Help topics that are not commands.
namespace topic {
inline constexpr int FirstRun = 4143;
// The dialogs' Help buttons.
inline constexpr int ImportLapDialog = 1;
inline constexpr int EditInfoDialog = 3;
inline constexpr int ExportDialogs = 4;  // text export and export to replay share it
inline constexpr int AverageLapDialog = 7;
}  // namespace topic
