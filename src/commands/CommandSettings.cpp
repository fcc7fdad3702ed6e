#include "commands/CommandSettings.h"

#include "commands/RecentFiles.h"
#include "platform/ProfileFile.h"

namespace {
constexpr size_t kPathBufferSize = 260;
}

std::string DirectoryPart(const std::string& path) {
    const size_t sep = path.find_last_of("/\\");
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string FileNamePart(const std::string& path) {
    const size_t sep = path.find_last_of("/\\");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string ReadDocumentDirectory(const ProfileFile& settings) {
    return settings.ReadText("admin", "path", kDocumentPatternDefault, kPathBufferSize);
}

void WriteDocumentDirectory(ProfileFile& settings, const std::string& documentPath) {
    // Absolute, so that the folder is the same one when the program starts elsewhere.
    settings.WriteText("admin", "path", DirectoryPart(AbsolutePath(documentPath)) + "*.kvl");
}

std::string ReadReplayDirectory(const ProfileFile& settings) {
    return settings.ReadText("import", "path", kReplayPatternDefault, kPathBufferSize);
}

void WriteReplayDirectory(ProfileFile& settings, const std::string& replayPath) {
    settings.WriteText("import", "path", DirectoryPart(AbsolutePath(replayPath)) + "*.rpl;*.rpz");
}

bool ReadLapTimesFlag(const ProfileFile& settings) {
    return settings.ReadInt("import", "times", 1) == 1;
}

void WriteLapTimesFlag(ProfileFile& settings, bool lapTimes) {
    settings.WriteInt("import", "times", lapTimes ? 1 : 0);
}

TAxes ReadGraphAxes(const ProfileFile& settings) {
    // A channel no axis can show would leave the axis menus without a checked item and be
    // saved into documents, so it takes the default of its axis.
    auto read = [&](const char* key, TelemetryChannel fallback, TelemetryChannel highest) {
        const int32_t v = settings.ReadInt("graph", key, ChannelNumber(fallback));
        return ChannelFromNumber(v, highest).value_or(fallback);
    };
    TAxes axes;
    axes.x = read("xaxis", TelemetryChannel::Position, TelemetryChannel::Position);
    axes.y = read("yaxis", TelemetryChannel::Speed, TelemetryChannel::SlipAngle);
    axes.y2 = read("ayaxis", TelemetryChannel::None, TelemetryChannel::None);
    return axes;
}

void WriteGraphAxes(ProfileFile& settings, TAxes axes) {
    settings.WriteInt("graph", "xaxis", ChannelNumber(axes.x));
    settings.WriteInt("graph", "yaxis", ChannelNumber(axes.y));
    settings.WriteInt("graph", "ayaxis", ChannelNumber(axes.y2));
}

void ReadExportSettings(const ProfileFile& settings, TExportSettings& out) {
    auto flag = [&](const char* key, int def) { return settings.ReadInt("export", key, def) == 1; };
    out.xPosition = flag("xpos", 1);
    out.xTime = flag("xtime", 0);
    out.yPosition = flag("ypos", 0);
    out.yTime = flag("ytime", 0);
    out.ySpeed = flag("yspeed", 1);
    out.yLine = flag("yline", 0);
    out.yInline = flag("ygs", 0);
    out.yLateral = flag("ylatgs", 0);
    out.ySlip = flag("yslip", 0);
    out.comma = flag("comma", 0);
    out.separateLaps = flag("seplaps", 0);
    out.resolution = settings.ReadText("export", "resol", "10", 255);
}

void WriteExportSettings(ProfileFile& settings, const TExportSettings& c) {
    settings.WriteInt("export", "xpos", c.xPosition);
    settings.WriteInt("export", "xtime", c.xTime);
    settings.WriteInt("export", "ypos", c.yPosition);
    settings.WriteInt("export", "ytime", c.yTime);
    settings.WriteInt("export", "yspeed", c.ySpeed);
    settings.WriteInt("export", "yline", c.yLine);
    settings.WriteInt("export", "ygs", c.yInline);
    settings.WriteInt("export", "ylatgs", c.yLateral);
    settings.WriteInt("export", "yslip", c.ySlip);
    settings.WriteInt("export", "comma", c.comma);
    settings.WriteInt("export", "seplaps", c.separateLaps);
    settings.WriteText("export", "resol", c.resolution);
}
