#include "app/StartupOptions.h"

#include <QCommandLineParser>

#include "app/VersionData.h"

namespace {

// The platform's own options (QGuiApplication takes them off the command line when it
// starts, after this parser has read it), accepted here so that they are not refused.
const char* const kToolkitValueOptions[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",     "display",
    "geometry",     "qwindowgeometry",    "style",         "stylesheet", "title",
    "qwindowtitle", "qwindowicon"};
const char* const kToolkitFlags[] = {"reverse", "nograb", "dograb", "sync", "widgetcount"};

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
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(screenshot);
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

std::string VersionText() {
    const VersionData data = CompiledVersionData();
    return data.ProductName().value_or("Korvale") + " " +
           data.ProductVersion().value_or("(version unknown)");
}
