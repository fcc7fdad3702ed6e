#pragma once
// Shared pieces of the graph view tests: prompts that only count what they were told, and
// a document with a hand-made track and laps.
#include <QApplication>
#include <QImage>
#include <QWidget>

#include <memory>
#include <string>

#include "commands/CommandContext.h"
#include "commands/Prompts.h"
#include "document/TReplay.h"
#include "platform/ProfileFile.h"
#include "support/DocumentEdits.h"
#include "support/LapBuilder.h"
#include "support/QuietPrompts.h"
#include "track/TrackList.h"

// The QApplication comes from QtAppEnvironment.cpp, set up before any test runs.
inline QApplication& TestApp() {
    return *qApp;
}

// Quiet prompts that also count what the document announced.
class TCountingPrompts : public TQuietPrompts, public TDocumentObserver {
  public:
    int lapsChanged = 0, repaints = 0, switchToGraph = 0, allLapsRemoved = 0;

    void Changed(const TDocumentChange& change) override {
        switch (change.kind) {
            case TChangeKind::LapsChanged:
                ++lapsChanged;
                break;
            case TChangeKind::Repaint:
                ++repaints;
                break;
            case TChangeKind::AllLapsRemoved:
                ++allLapsRemoved;
                break;
            case TChangeKind::ShowGraph:
                ++switchToGraph;
                break;
            default:
                break;
        }
    }
};

// A track 10000 units long at 12 inches per unit, so that units and feet are the same.
inline std::unique_ptr<TTrackData> MakeTestTrack(bool geometry) {
    auto t = std::make_unique<TTrackData>();
    t->name = "Test Ring";
    t->trackId = 9;
    t->trackLength = 10000;
    t->inchesPerUnit = 12;
    t->cornerCount = 2;
    t->cornerNames = {"Hook", "Bend"};
    t->cornerPositions = {2500, 7500};
    t->pointCount = geometry ? 1 : 0;  // marks detailed geometry; widths stay constant
    return t;
}

// A lap of n samples; sample k at position from + k * stepUnits, on the centre line.
inline std::unique_ptr<TReplay> MakeLinearLap(int n, int from, int stepUnits, Rgb colour) {
    return TLapBuilder("Tester", 7)
        .Steady(n, from, stepUnits)
        .Frames(0, n - 1)
        .Span(from, from + (n - 1) * stepUnits)
        .Scale(12)
        .Length(10000)
        .Colour(colour)
        .Build();
}

struct TGraphFixtureState {
    TTrackList tracks;
    TDocument doc{tracks};
    TViewState viewState;
    TSessionState session;
    ProfileFile settings{"/nonexistent-dir/korvale-graph-test.ini"};
    TCountingPrompts prompts;
    TCommandContext ctx{doc, viewState, session, tracks, settings, prompts};

    TGraphFixtureState() {
        TestApp();
        doc.Subscribe(prompts);
    }
    ~TGraphFixtureState() { doc.Unsubscribe(prompts); }

    void UseTrack(bool geometry = true) {
        tracks.Clear();
        doc.SetCurrentTrack(tracks.Insert(MakeTestTrack(geometry)));
    }
    void AddLap(std::unique_ptr<TReplay> lap) { doc.AddLap(std::move(lap)); }
};

inline QImage Render(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
