#include "app/StartupOptions.h"

#include <QCommandLineParser>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/VersionData.h"

namespace {

// The platform's own options (QGuiApplication takes them off the command line when it
// starts, after this parser has read it), accepted here so that they are not refused.
const char* const kToolkitValueOptions[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",     "display",
    "geometry",     "qwindowgeometry",    "style",         "stylesheet", "title",
    "qwindowtitle", "qwindowicon"};
const char* const kToolkitFlags[] = {"reverse", "nograb", "dograb", "sync", "widgetcount"};

// The words of --show, separated by commas; false with the error set on an unknown one.
bool ParseShow(const std::string& list, TStartupOptions& out) {
    std::stringstream words(list);
    std::string word;
    bool any = false;
    while (std::getline(words, word, ',')) {
        if (word == "pip") {
            out.showPip = true;
        } else if (word == "data") {
            out.showData = true;
        } else if (word == "info") {
            out.showInfo = true;
        } else {
            out.error = "--show takes pip, data and info, not \"" + word + "\"";
            return false;
        }
        any = true;
    }
    if (!any) out.error = "--show needs a list of windows";
    return any;
}

}  // namespace

TStartupOptions ParseStartupOptions(const QStringList& arguments) {
    TStartupOptions out;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Korvale lap telemetry viewer."));
    // The toolkit's options are single-dash words ("-platform offscreen").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Prints these options and ends."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Prints the version and ends."));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Renders the main window (with DOCUMENT opened) into the PNG file FILE "
                       "without a display, and ends."),
        QStringLiteral("FILE"));
    const QCommandLineOption view(
        QStringLiteral("view"),
        QStringLiteral("With --screenshot: the main window's view, graph (the default) or map "
                       "(the track map, fitted)."),
        QStringLiteral("graph|map"));
    const QCommandLineOption show(
        QStringLiteral("show"),
        QStringLiteral("With --screenshot: side windows to open and write beside FILE, as "
                       "FILE-pip.png for pip (the picture-in-picture window), FILE-data.png "
                       "for data (the data window) and FILE-info.png for info (the lap list)."),
        QStringLiteral("pip,data,info"));
    const QCommandLineOption cursor(
        QStringLiteral("cursor"),
        QStringLiteral("With --screenshot: places the cursor FEET along the track, so that the "
                       "data window shows every lap's values there."),
        QStringLiteral("FEET"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(screenshot);
    parser.addOption(view);
    parser.addOption(show);
    parser.addOption(cursor);
    for (const char* name : kToolkitValueOptions) {
        QCommandLineOption o(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const char* name : kToolkitFlags) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    parser.addPositionalArgument(QStringLiteral("DOCUMENT"),
                                 QStringLiteral("The telemetry document (.kvl) to open."),
                                 QStringLiteral("[DOCUMENT]"));
    out.usage = parser.helpText().toStdString();

    if (!parser.parse(arguments)) {
        out.error = parser.errorText().toStdString();
        return out;
    }
    out.help = parser.isSet(help);
    out.version = parser.isSet(version);
    if (parser.isSet(screenshot)) {
        out.screenshotFile = parser.value(screenshot).toStdString();
        if (out.screenshotFile.empty()) {
            out.error = "--screenshot needs a file name";
            return out;
        }
    }
    if (parser.isSet(show) && !ParseShow(parser.value(show).toStdString(), out)) return out;
    if (parser.isSet(view)) {
        const std::string name = parser.value(view).toStdString();
        if (name != "graph" && name != "map") {
            out.error = "--view takes graph or map, not \"" + name + "\"";
            return out;
        }
        out.viewMap = name == "map";
    }
    if (parser.isSet(cursor)) {
        const std::string text = parser.value(cursor).toStdString();
        errno = 0;
        char* end = nullptr;
        const double feet = std::strtod(text.c_str(), &end);
        if (text.empty() || errno != 0 || *end != '\0' || !std::isfinite(feet) || feet < 0) {
            out.error = "--cursor takes a distance along the track in feet";
            return out;
        }
        out.cursorFeet = feet;
    }
    if (out.screenshotFile.empty() &&
        (parser.isSet(show) || parser.isSet(view) || parser.isSet(cursor))) {
        out.error = "--show, --view and --cursor go with --screenshot";
        return out;
    }
    // Only the first document counts; later ones are ignored, as the shell's
    // single-document open passes one.
    const QStringList documents = parser.positionalArguments();
    if (!documents.isEmpty()) out.document = documents.front().toStdString();
    return out;
}

TStartupOptions ParseStartupOptions(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return ParseStartupOptions(arguments);
}

std::string SideScreenshotPath(const std::string& file, const std::string& suffix) {
    const std::filesystem::path p(file);
    std::filesystem::path out = p.parent_path() / (p.stem().string() + suffix);
    out += p.extension();
    return out.string();
}

std::string VersionText() {
    const VersionData data = CompiledVersionData();
    return data.ProductName().value_or("Korvale") + " " +
           data.ProductVersion().value_or("(version unknown)");
}
