#include "app/RenderRun.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

#include "app/ImageExport.h"
#include "commands/CommandContext.h"
#include "commands/DocumentCommands.h"
#include "commands/QuietPrompts.h"
#include "platform/ProfileFile.h"
#include "track/TTrackData.h"
#include "track/TrackList.h"
#include "views/graph/GraphRanges.h"

namespace {

// Without a user: every message goes to the error output and takes the answer that changes
// nothing; every dialog is declined.
class TRenderPrompts : public TQuietPrompts {
  public:
    TMsgAnswer MessageBox(const std::string& title, const std::string& text, TMsgIcon,
                          TMsgButtons buttons) override {
        std::fprintf(stderr, "korvale: %s: %s\n", title.c_str(), text.c_str());
        return UnchangingAnswer(buttons);
    }
};

int ScreenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

}  // namespace

int RunRender(const TRenderOptions& options, const AppPaths& paths) {
    // A settings file of the run's own, gone when it ends: the picture depends on the
    // document and the command line only.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "korvale: no temporary directory for the run\n");
        return 1;
    }
    ProfileFile settings(scratch.filePath(QStringLiteral("korvale.ini")).toStdString());
    TTrackList tracks;
    const TrackLoadResult loaded = LoadTrackData(paths.trackData, settings, tracks);
    if (!loaded.ok) {
        std::fprintf(stderr, "korvale: %s: %s\n", loaded.message.c_str(), paths.trackData.c_str());
        return 1;
    }
    TDocument doc{tracks};
    TViewState view;
    TSessionState session;
    TRenderPrompts prompts;
    TCommandContext ctx{doc, view, session, tracks, settings, prompts};

    if (!ReadDocument(ctx, options.document)) return 1;  // the message is out already
    if (doc.laps().Empty()) {
        std::fprintf(stderr, "korvale: %s holds no lap to draw\n", options.document.c_str());
        return 1;
    }
    if (options.viewMap) {
        const TTrackData* track = CurrentTrack(ctx);
        if (track == nullptr || !track->hasGeometry()) {
            std::fprintf(stderr, "korvale: --view map: the track of %s has no map\n",
                         options.document.c_str());
            return 1;
        }
        if (options.colourBy == TMapColour::TimeDelta && doc.laps().Count() < 2) {
            std::fprintf(stderr, "korvale: --colour-by Time Delta needs two laps\n");
            return 1;
        }
    }
    view.map.colour = options.colourBy;
    if (!options.stacked.empty()) {
        view.graph.stacked = true;
        view.graph.stackedChannels = options.stacked;
    }
    const TAxes axes = doc.axes();
    ChangeAxes(ctx, options.x.value_or(axes.x), options.y.value_or(axes.y),
               options.y2.value_or(axes.y2));
    ResetGraphRanges(doc, view.graph);
    if (options.hasRange) view.graph.viewRange.x = {options.x0, options.x1};
    view.viewMode = options.viewMap ? ViewMap : ViewGraph;

    const QSize size(options.width > 0 ? options.width : kDefaultRenderWidth,
                     options.height > 0 ? options.height : kDefaultRenderHeight);
    std::string error;
    const TImageView what = options.viewMap ? TImageView::Map : TImageView::Graph;
    if (!WriteViewImage(ctx, what, size, ScreenDpiY(), options.output, error)) {
        std::fprintf(stderr, "korvale: cannot write %s: %s\n", options.output.c_str(),
                     error.c_str());
        return 1;
    }
    return 0;
}
