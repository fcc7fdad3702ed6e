#pragma once
// Shared pieces of the graph view tests: prompts that only count what they were told, a
// document with a hand-made track and laps, the colours and pixel counts the rendered
// pictures are checked with, and the fixture of the graph's rendering tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "commands/CommandContext.h"
#include "commands/Prompts.h"
#include "commands/QuietPrompts.h"
#include "document/TReplay.h"
#include "platform/ProfileFile.h"
#include "support/DocumentEdits.h"
#include "support/LapBuilder.h"
#include "track/TrackList.h"
#include "views/graph/TGraphView.h"

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

// The colours the views draw with, as a rendered picture holds them.
inline const QRgb kBlack = qRgb(0, 0, 0);
inline const QRgb kWhite = qRgb(255, 255, 255);
inline const QRgb kGrey = qRgb(192, 192, 192);
inline const QRgb kGreen = qRgb(0, 192, 0);
// Two lap colours that no part of the frame uses.
inline const Rgb kLapA{200, 0, 100};
inline const Rgb kLapB{0, 0, 255};

inline QRgb Of(Rgb c) {
    return qRgb(c.r, c.g, c.b);
}

// The pixels of r that match.
inline int CountIn(const QImage& img, const QRect& r, const std::function<bool(QRgb)>& match) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (match(img.pixel(x, y))) ++n;
    return n;
}

inline bool HasColourInColumn(const QImage& img, int x, QRgb c) {
    return CountIn(img, QRect(x, 0, 1, img.height()), [c](QRgb p) { return p == c; }) > 0;
}

// The graph's rendering tests: the test track, x on Position, y on Time and no second
// axis, so that a lap at constant speed draws a straight line whose rows a test can work
// out by hand.
class TGraphRenderTest : public ::testing::Test, public TGraphFixtureState {
  protected:
    void SetUp() override {
        UseTrack();
        SetAxis(doc, &TAxes::x, TelemetryChannel::Position);
        SetAxis(doc, &TAxes::y, TelemetryChannel::Time);
        SetAxis(doc, &TAxes::y2, TelemetryChannel::None);
    }
    // The view at w x h with its ranges fitted to the laps.
    static void Prepare(TGraphView& view, int w, int h) {
        view.ResetRanges();
        view.resize(w, h);
    }
    static QImage RenderAt(TGraphView& view, int w, int h) {
        Prepare(view, w, h);
        return Render(view);
    }
};
