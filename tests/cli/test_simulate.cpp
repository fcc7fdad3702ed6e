// korvale-cli simulate: options, messages, and the replay it writes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "replay/OpenReplay.h"
#include "sim/ReplayDecode.h"
#include "sim/SimTracks.h"
#include "sim/Simulator.h"
#include "track/TrackDataFile.h"

namespace {

struct SimRun {
    int code = 0;
    std::string out, err;
};

SimRun Simulate(std::vector<std::string> args) {
    args.insert(args.begin(), "simulate");
    SimRun r;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    r.code = cli::Dispatch(args);
    r.out = testing::internal::GetCapturedStdout();
    r.err = testing::internal::GetCapturedStderr();
    return r;
}

class SimulateCommand : public testing::Test {
  protected:
    void SetUp() override {
        TTrackDataFile file;
        file.version = 100;
        file.records.push_back(std::make_unique<TTrackData>(simtest::RoadCourse()));
        file.records.push_back(std::make_unique<TTrackData>(simtest::ShortOval()));
        std::string error;
        ASSERT_TRUE(WriteTrackDataFile(tracks, file, error)) << error;
    }
    std::string Out(const std::string& name) const { return (dir.path / name).string(); }

    simtest::TempDir dir;
    std::string tracks = (dir.path / "tracks.dat").string();
};

TEST_F(SimulateCommand, WritesTheSimulatorsReplay) {
    const SimRun r = Simulate({"--track", "Test Road Course", "--tracks", tracks, "--cars", "3",
                               "--laps", "1", "--seed", "5", "-o", Out("race.rpl")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("race.rpl"), std::string::npos);
    const TTrackData track = simtest::RoadCourse();
    sim::SimOptions o;
    o.track = &track;
    o.cars = 3;
    o.laps = 1;
    o.seed = 5;
    EXPECT_EQ(simtest::ReadFileBytes(Out("race.rpl")), sim::SimulateReplayBytes(o));
}

TEST_F(SimulateCommand, TruthFileHoldsTheCrossingsDriven) {
    const SimRun r =
        Simulate({"--track", "Test Road Course", "--tracks", tracks, "--cars", "3", "--laps", "2",
                  "--seed", "9", "--truth", Out("race.json"), "-o", Out("race.rpl")});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<uint8_t> bytes = simtest::ReadFileBytes(Out("race.json"));
    const std::string json(bytes.begin(), bytes.end());
    const TTrackData track = simtest::RoadCourse();
    sim::SimOptions o;
    o.track = &track;
    o.cars = 3;
    o.laps = 2;
    o.seed = 9;
    const sim::RaceTruth truth = sim::SimulateRace(o);
    EXPECT_EQ(json.rfind("{\"frames\": " + std::to_string(truth.frameCount) +
                             ", \"trackLength\": " + std::to_string(track.trackLength) +
                             ", \"drivers\": [{\"name\": ",
                         0),
              0u)
        << json;
    // Each driver in table order, the pace car left out, with every crossing to a millionth
    // of a frame.
    size_t at = 0;
    for (const sim::DriverTruth& d : truth.drivers) {
        at = json.find("\"slot\": " + std::to_string(d.slot) + ", \"crossings\": [", at);
        ASSERT_NE(at, std::string::npos) << "slot " << d.slot << " in " << json;
        const char* p = json.c_str() + json.find('[', at) + 1;
        ASSERT_GE(d.lapCrossings.size(), 3u);
        for (double c : d.lapCrossings) {
            char* end = nullptr;
            EXPECT_NEAR(std::strtod(p, &end), c, 1e-6);
            p = end + (*end == ',' ? 2 : 0);
        }
        EXPECT_EQ(*p, ']');
        ++at;
    }
    EXPECT_EQ(json.find("Pace Car"), std::string::npos);
    EXPECT_EQ(json.back(), '\n');
    // No truth without a file name, and no replay either.
    const SimRun bad = Simulate({"--track", "testoval", "--tracks", tracks, "--cars", "2", "--laps",
                                 "1", "--truth", "", "-o", Out("b.rpl")});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("--truth takes a file name"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Out("b.rpl")));
}

TEST_F(SimulateCommand, OptionsReachTheRecording) {
    // A track may be named without regard to case or by its path pattern.
    ASSERT_EQ(Simulate({"--track", "test oval", "--tracks", tracks, "--cars", "4", "--laps", "2",
                        "--no-pace-car", "-o", Out("a.rpl")})
                  .code,
              0);
    simtest::DecodedReplay a = simtest::Decode(simtest::ReadFileBytes(Out("a.rpl")));
    ASSERT_TRUE(a.ok) << a.error;
    EXPECT_EQ(a.mode, 5);
    EXPECT_EQ(a.slotCount, 4);
    EXPECT_EQ(a.table.size(), 4u);

    ASSERT_EQ(Simulate({"--track", "testoval", "--tracks", tracks, "--cars", "2", "--duration",
                        "10", "--tidy", "-o", Out("b.rpl")})
                  .code,
              0);
    simtest::DecodedReplay b = simtest::Decode(simtest::ReadFileBytes(Out("b.rpl")));
    ASSERT_TRUE(b.ok) << b.error;
    EXPECT_NE(b.mode, 5);
    EXPECT_EQ(b.table.size(), 3u);
    EXPECT_EQ(b.frames.size(), 150u);
    for (const auto& f : b.frames) {
        EXPECT_EQ(f.skipCounts[0] + f.skipCounts[1] + f.skipCounts[2], 0);
        EXPECT_EQ(f.length, 2 * 9 + 7);
    }
}

TEST_F(SimulateCommand, BadInputGetsAMessageAndAFailingExit) {
    const std::string out = Out("x.rpl");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--tracks", tracks, "--cars", "2", "--laps", "1", "-o", out},
         2,
         "--track and -o are required"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "2", "--laps", "1"},
         2,
         "--track and -o are required"},
        {{"--track", "testoval", "--tracks", tracks, "--laps", "1", "-o", out},
         2,
         "--cars and --laps"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "2", "-o", out},
         2,
         "--cars and --laps"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "2", "--laps", "1", "--bogus", "-o",
          out},
         2,
         "unknown option --bogus"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "2", "--laps", "1", "extra", "-o",
          out},
         2,
         "unexpected argument extra"},
        {{"--track", "Nowhere", "--tracks", tracks, "--cars", "2", "--laps", "1", "-o", out},
         1,
         "no single track named \"Nowhere\""},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "0", "--laps", "1", "-o", out},
         1,
         "--cars takes a whole number from 1 to 100"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "101", "--laps", "1", "-o", out},
         1,
         "--cars takes"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "2x", "--laps", "1", "-o", out},
         1,
         "--cars takes"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "2", "--laps", "0", "-o", out},
         1,
         "--laps takes"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "2", "--laps", "1", "--seed", "-4",
          "-o", out},
         1,
         "--seed takes"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "2", "--duration", "-5", "-o", out},
         1,
         "--duration takes"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "2", "--duration", "nan", "-o", out},
         1,
         "--duration takes"},
        {{"--track", "testoval", "--tracks", Out("missing.dat"), "--cars", "2", "--laps", "1", "-o",
          out},
         1,
         "Unable to open track data"},
        {{"--track", "testoval", "--tracks", tracks, "--cars", "2", "--laps", "1", "-o",
          Out("no/such/dir.rpl")},
         1,
         "cannot create"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto& a : c.args) line += a + " ";
        SCOPED_TRACE(line);
        const SimRun r = Simulate(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(SimulateHelp, DescribesTheCommand) {
    const SimRun r = Simulate({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("usage: korvale-cli simulate --track NAME"), std::string::npos);
    EXPECT_NE(r.out.find("--no-pace-car"), std::string::npos);
}

TEST(SimulateSamples, BuildMadeASampleReplayForEachTrackWithGeometry) {
    // The names carry the tracks' path patterns, so the program finds their track.
    TTrackDataFile data;
    ASSERT_EQ(ReadTrackDataFile(std::string(KORVALE_BIN_DIR) + "/tracks.dat", data),
              TrackReadStatus::Ok);
    struct Sample {
        const char* file;
        const char* pattern;
        int32_t cars;
        size_t fullLaps;
    };
    for (const Sample& s : {Sample{"sample-marlow.rpl", "marlow", 12, 5},
                            Sample{"sample-kestrel.rpl", "kestrel", 10, 4}}) {
        SCOPED_TRACE(s.file);
        const auto path = std::filesystem::path(KORVALE_BIN_DIR) / s.file;
        ASSERT_TRUE(std::filesystem::exists(path));
        const simtest::DecodedReplay r = simtest::Decode(simtest::ReadFileBytes(path));
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.slotCount, s.cars);
        const TTrackData* track = nullptr;
        int withGeometry = 0;
        for (const auto& t : data.records) {
            withGeometry += t->hasGeometry();
            if (t->pathPattern == s.pattern) track = t.get();
        }
        EXPECT_EQ(withGeometry, 2);
        ASSERT_NE(track, nullptr);
        EXPECT_TRUE(track->hasGeometry());
        // Every car drives the full laps that the sample document takes its laps from.
        TOpenReplay replay;
        ASSERT_EQ(OpenReplay(path.string(), track->trackLength, track->inchesPerUnit, replay),
                  TReplayReadStatus::Ok);
        for (const auto& chain : replay.laps) EXPECT_GE(chain.size(), s.fullLaps + 2);
    }
}

}  // namespace
