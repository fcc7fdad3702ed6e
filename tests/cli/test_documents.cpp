// import, info, export-text and export-replay over a simulated race: the numbers that come out
// are the ones the simulator drove, and every refusal gets its message.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "../sim/SimTracks.h"
#include "CliReplayFixture.h"
#include "cli/Command.h"
#include "document/KvlFile.h"
#include "replay/OpenReplay.h"
#include "sim/Simulator.h"
#include "track/Geometry.h"
#include "track/TrackDataFile.h"
#include "track/TrackList.h"

using cli_replay_test::RunCli;

namespace {

// A driver-table name as the reader gives it back.
std::string TableName(const std::string& name) {
    return name.empty() ? "Unknown" : name.substr(0, 31);
}

std::vector<std::vector<double>> ReadCommaRows(const std::string& path, std::string& header) {
    std::ifstream in(path);
    std::string line;
    std::vector<std::vector<double>> rows;
    while (std::getline(in, line)) {
        if (line.rfind("Driver : ", 0) == 0) {
            std::getline(in, header);
            continue;
        }
        if (line.empty() || line.rfind("Track : ", 0) == 0) continue;
        std::vector<double> row;
        std::stringstream fields(line);
        std::string field;
        while (std::getline(fields, field, ',')) row.push_back(std::stod(field));
        rows.push_back(row);
    }
    return rows;
}

class DocumentCli : public testing::Test {
  protected:
    void SetUp() override {
        road = simtest::RoadCourse();
        TTrackDataFile file;
        file.version = 100;
        file.records.push_back(std::make_unique<TTrackData>(simtest::RoadCourse()));
        file.records.push_back(std::make_unique<TTrackData>(simtest::ShortOval()));
        std::string error;
        ASSERT_TRUE(WriteTrackDataFile(dir.File("tracks.dat"), file, error)) << error;
        tracks = dir.File("tracks.dat");
        PrepareGeometry(road);

        options.track = &road;
        options.cars = 3;
        options.laps = 2;
        options.seed = 5;
        options.untidy = false;
        truth = sim::SimulateRace(options);
        replay = dir.Write("testroad-race.rpl", sim::SimulateReplayBytes(options));
        oval = simtest::ShortOval();
        sim::SimOptions ovalOptions = options;
        ovalOptions.track = &oval;
        ovalReplay = dir.Write("testoval-race.rpl", sim::SimulateReplayBytes(ovalOptions));
        doc = dir.File("doc.kvl");
    }

    cli_replay_test::RunResult Import(std::vector<std::string> extra) {
        std::vector<std::string> args{"import", replay, "--tracks", tracks, "-o", doc};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    }

    replay_test::TempDir dir;
    TTrackData road, oval;
    sim::SimOptions options;
    sim::RaceTruth truth;
    std::string tracks, replay, ovalReplay, doc;
};

}  // namespace

TEST_F(DocumentCli, ExportedChannelsAreWhatTheSimulatorDrove) {
    ASSERT_EQ(Import({"--driver", "1", "--lap", "1"}).code, 0);
    const std::string table = dir.File("table.txt");
    auto r = RunCli({"export-text", doc, "--tracks", tracks, "-o", table, "--x", "time",
                     "--resolution", "0.2", "--channels", "pos,speed,line,inline,slip", "--comma"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Data successfully exported\n");
    std::string header;
    const auto rows = ReadCommaRows(table, header);
    EXPECT_EQ(header, "Time (s),Pos,Speed,Line,In-line Force,Slip Angle");

    // Lap 1 of driver 1 runs from its first line crossing to its second.
    const sim::DriverTruth& d = truth.drivers[1];
    const double start = d.lapCrossings[0];
    const double lapFrames = d.lapCrossings[1] - start;
    ASSERT_NEAR(rows.size(), lapFrames / 15.0 / 0.2, 1.0);
    auto truthAt = [&](double frame, auto field) {
        const size_t i = static_cast<size_t>(std::floor(frame));
        const double r = frame - std::floor(frame);
        return (1 - r) * field(d.samples[i]) + r * field(d.samples[i + 1]);
    };
    int compared = 0;
    double forceError = 0;
    int steady = 0;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 6u);
        const double t = row[0];
        const double frame = start + 15.0 * t;
        // Away from the lap's first and last frames, where the stencils turn one-sided.
        if (frame < start + 3 || frame > start + lapFrames - 3) continue;
        ++compared;
        const double feet = truthAt(frame, [](const sim::CarSample& c) { return c.positionFeet; });
        EXPECT_NEAR(row[1], feet, 0.5) << t;
        EXPECT_NEAR(row[2], truthAt(frame, [](const sim::CarSample& c) { return c.speedMph; }), 2.0)
            << t;
        // Line measured from the other wall: the stored offset less the width there.
        const double raw = truthAt(frame, [](const sim::CarSample& c) { return c.lateralFeet; });
        const double width =
            TrackWidthAt(road, feet * 12 / road.inchesPerUnit) * road.inchesPerUnit / 12;
        EXPECT_NEAR(row[3], raw - width, 0.2) << t;
        // Forces are second differences of inch-resolution positions spread over five
        // frames: compared where the driver holds the pedal steady across that span.
        const double g = truthAt(frame, [](const sim::CarSample& c) { return c.inlineG; });
        double lo = g, hi = g;
        for (int k = -3; k <= 3; ++k) {
            const double v = d.samples[static_cast<size_t>(std::floor(frame)) + k].inlineG;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        if (hi - lo < 0.2) {
            EXPECT_NEAR(row[4], g, 0.3) << t;
            forceError += std::abs(row[4] - g);
            ++steady;
        }
        EXPECT_NEAR(row[5], truthAt(frame, [](const sim::CarSample& c) { return c.slipDegrees; }),
                    0.5)
            << t;
    }
    EXPECT_GT(compared, 100);
    ASSERT_GT(steady, 50);
    EXPECT_LT(forceError / steady, 0.1);
}

TEST_F(DocumentCli, TimeExportDefaultsToATenthOfASecondWithoutAWarning) {
    ASSERT_EQ(Import({"--driver", "1", "--lap", "1"}).code, 0);
    const std::string table = dir.File("time.txt");
    const auto r =
        RunCli({"export-text", doc, "--tracks", tracks, "-o", table, "--x", "time", "--comma"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string header;
    const auto rows = ReadCommaRows(table, header);
    EXPECT_EQ(header, "Time (s),Speed");
    ASSERT_GT(rows.size(), 2u);
    EXPECT_NEAR(rows[0][0], 0.0, 1e-9);
    EXPECT_NEAR(rows[1][0], 0.1, 1e-9);
}

// Regression: a partial lap's average speed took the whole track's length.
TEST_F(DocumentCli, APartialLapsSpeedIsTheDistanceItCoveredOverItsTime) {
    // Lap 0 of driver 1 runs from the start of the recording, part way round, to the line.
    ASSERT_EQ(Import({"--driver", "1", "--lap", "0"}).code, 0);
    const auto r = RunCli({"info", doc, "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string line = r.out.substr(r.out.rfind("  ") + 2);
    double seconds = 0, mph = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf s=%lf mph", &seconds, &mph), 2) << r.out;
    const sim::DriverTruth& d = truth.drivers[1];
    const double lapFeet = road.trackLength * road.inchesPerUnit / 12;
    const double coveredFeet = lapFeet - d.samples[0].positionFeet;
    ASSERT_GT(d.samples[0].positionFeet, 1000);  // well past the line: a partial lap
    EXPECT_NEAR(seconds, d.lapCrossings[0] / 15, 0.01);
    EXPECT_NEAR(mph, coveredFeet / 5280 / (d.lapCrossings[0] / 15) * 3600, 1.0) << r.out;
}

TEST_F(DocumentCli, ImportAppendInfoAndTheAverage) {
    ASSERT_EQ(Import({"--driver", "0", "--lap", "1"}).code, 0);
    auto r = Import({"--driver", "2", "--lap", "1", "--lap", "2", "--append"});
    ASSERT_EQ(r.code, 0) << r.err;
    r = RunCli({"info", doc, "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::vector<std::string> out;
    while (std::getline(lines, line)) out.push_back(line);
    ASSERT_EQ(out.size(), 7u) << r.out;
    EXPECT_EQ(out[0], "x axis\tPosition");
    EXPECT_EQ(out[1], "y axis\tSpeed");
    EXPECT_EQ(out[2], "second y axis\tNone");
    EXPECT_EQ(out[3], "track\t40\tTest Road Course");
    EXPECT_EQ(out[4], "laps\t2");
    EXPECT_EQ(out[5].rfind(TableName(truth.drivers[0].name) + "  ", 0), 0u) << out[5];
    EXPECT_EQ(out[6].rfind(TableName(truth.drivers[2].name) + "  ", 0), 0u) << out[6];
    EXPECT_NE(out[6].find(" s="), std::string::npos);
    EXPECT_NE(out[6].find(" mph"), std::string::npos);

    // The document holds the palette's first two colours and the averaged lap covers the track.
    TTrackDataFile data;
    ASSERT_EQ(ReadTrackDataFile(tracks, data), TrackReadStatus::Ok);
    TTrackList list;
    for (auto& t : data.records) list.Insert(std::move(t));
    KvlReadResult read = ReadKvlDocument(doc, list);
    ASSERT_TRUE(read.ok) << read.message();
    ASSERT_EQ(read.laps.size(), 2u);
    EXPECT_FALSE(read.laps[0]->colour == read.laps[1]->colour);
    const TReplay& mean = *read.laps[1];
    EXPECT_EQ(mean.startFrame, 0.0);
    EXPECT_GT(mean.positions.back(), road.trackLength - 2000);
    const double lap1 = truth.drivers[2].lapCrossings[1] - truth.drivers[2].lapCrossings[0];
    const double lap2 = truth.drivers[2].lapCrossings[2] - truth.drivers[2].lapCrossings[1];
    EXPECT_NEAR(mean.endFrame - mean.startFrame, (lap1 + lap2) / 2, 2.0);
}

TEST_F(DocumentCli, RefusalsGetTheProgramsMessages) {
    // Numbers out of range say what there is (three cars).
    auto r = Import({"--driver", "9", "--lap", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("--driver 9: the replay has 3 drivers (0 to 2)"), std::string::npos)
        << r.err;
    r = Import({"--driver", "1", "--lap", "99"});
    EXPECT_NE(r.err.find("--lap 99: driver 1 has "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" laps (0 to "), std::string::npos) << r.err;
    r = Import({"--driver", "0", "--lap", "0", "--lap", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Partial laps may not be used in averaging"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(doc));
    r = Import({"--driver", "x", "--lap", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(RunCli({"import", replay, "--tracks", tracks, "--driver", "0", "--lap", "1"}).code,
              2);

    // Appending a lap of another track leaves the document as it was.
    ASSERT_EQ(Import({"--driver", "0", "--lap", "1"}).code, 0);
    const auto before = replay_test::ReadAll(doc);
    r = RunCli({"import", ovalReplay, "--tracks", tracks, "-o", doc, "--driver", "0", "--lap", "1",
                "--append"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Can only import replays for Test Road Course"), std::string::npos)
        << r.err;
    EXPECT_EQ(replay_test::ReadAll(doc), before);

    // Files that cannot be opened or made say why, in the system's words.
    r = RunCli({"import", dir.File("missing.rpl"), "--track", "Test Oval", "--tracks", tracks, "-o",
                doc, "--driver", "0", "--lap", "1"});
    EXPECT_NE(r.err.find("Error opening replay: No such file or directory"), std::string::npos)
        << r.err;
    r = RunCli({"import", replay, "--tracks", tracks, "-o", dir.File("no/such/dir/doc.kvl"),
                "--driver", "0", "--lap", "1"});
    EXPECT_NE(r.err.find("Unable to create file: No such file or directory"), std::string::npos)
        << r.err;
    r = RunCli({"info", dir.File("missing.kvl"), "--tracks", tracks});
    EXPECT_NE(r.err.find("Unable to open file: No such file or directory"), std::string::npos)
        << r.err;
    r = RunCli({"info", dir.File("no"), "--tracks", dir.File("missing.dat")});
    EXPECT_NE(r.err.find("Unable to open track data: No such file or directory"), std::string::npos)
        << r.err;

    // Documents that cannot be read, and export choices that are refused.
    const std::string bad = dir.Write("bad.kvl", {0x09, 0x55, 0x4e, 0x01, 1, 0});
    r = RunCli({"info", bad, "--tracks", tracks});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Unable to read replay (01)"), std::string::npos) << r.err;
    r = RunCli(
        {"export-text", doc, "--tracks", tracks, "-o", dir.File("t.txt"), "--resolution", "5-"});
    EXPECT_NE(r.err.find("Resolution must be a number"), std::string::npos) << r.err;
    r = RunCli(
        {"export-text", doc, "--tracks", tracks, "-o", dir.File("t.txt"), "--resolution", "-5"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Resolution must be positive"), std::string::npos) << r.err;
    r = RunCli(
        {"export-text", doc, "--tracks", tracks, "-o", dir.File("t.txt"), "--channels", "rpm"});
    EXPECT_EQ(r.code, 1);
    r = RunCli({"export-text", doc, "--tracks", tracks, "-o", dir.File("no/such/dir/t.txt")});
    EXPECT_NE(r.err.find("Unable to create export file: No such file or directory"),
              std::string::npos)
        << r.err;
    r = RunCli({"export-replay", doc, "--tracks", tracks, "-o", dir.File("no/such/dir/r.rpl")});
    EXPECT_NE(r.err.find("Error creating replay: No such file or directory"), std::string::npos)
        << r.err;
}

TEST_F(DocumentCli, ExportedReplayReadsBackWithTheLapsNamesAndPositions) {
    ASSERT_EQ(Import({"--driver", "0", "--lap", "1"}).code, 0);
    ASSERT_EQ(Import({"--driver", "1", "--lap", "1", "--append"}).code, 0);
    std::filesystem::create_directories(dir.File("Out Dir"));
    auto r = RunCli({"export-replay", doc, "--tracks", tracks, "-o", dir.File("Out Dir/Both.RPL")});
    ASSERT_EQ(r.code, 0) << r.err;
    // Only the file name is lower-cased.
    const std::string written = dir.File("Out Dir/both.rpl");
    EXPECT_EQ(r.out, written + "\nReplay successfully exported\n");

    TOpenReplay back;
    ASSERT_EQ(OpenReplay(written, road.trackLength, road.inchesPerUnit, back),
              TReplayReadStatus::Ok);
    ASSERT_EQ(back.drivers.size(), 2u);
    EXPECT_EQ(std::string(back.drivers[0].name), TableName(truth.drivers[0].name));
    EXPECT_EQ(std::string(back.drivers[1].name), TableName(truth.drivers[1].name));
    std::unique_ptr<TReplay> lap;
    ASSERT_EQ(ReadReplayLap(back, 0, 0, lap), TReplayReadStatus::Ok);

    TTrackDataFile data;
    ASSERT_EQ(ReadTrackDataFile(tracks, data), TrackReadStatus::Ok);
    TTrackList list;
    for (auto& t : data.records) list.Insert(std::move(t));
    KvlReadResult read = ReadKvlDocument(doc, list);
    ASSERT_TRUE(read.ok);
    const TReplay& original = *read.laps[0];
    ASSERT_GE(lap->sampleCount, 3);
    // The replay's samples are the lap's own, from the lap's first sample on, to within the
    // unit lost converting through feet.
    for (int32_t s = 0; s < std::min(lap->sampleCount, original.sampleCount) - 1; ++s)
        ASSERT_NEAR(lap->positions[size_t(s)], original.positions[size_t(s)], 1) << s;
}

// Regression: control characters in names from files reached the terminal.
// Names read from files reach the terminal with their control characters escaped, and a
// FIFO named as a document is refused at once instead of waiting for a writer.
TEST_F(DocumentCli, NamesFromFilesCannotDriveTheTerminal) {
    ASSERT_EQ(Import({"--driver", "0", "--lap", "1"}).code, 0);
    TTrackDataFile data;
    ASSERT_EQ(ReadTrackDataFile(tracks, data), TrackReadStatus::Ok);
    TTrackList list;
    list.Assign(std::move(data.records));
    KvlReadResult read = ReadKvlDocument(doc, list);
    ASSERT_TRUE(read.ok);
    std::strcpy(read.laps[0]->driverName, "\x1b]0;owned\x07\x1b[2J");
    const std::vector<const TReplay*> laps{read.laps[0].get()};
    KvlDocumentView view;
    view.trackId = list.At(read.currentTrack).trackId;
    view.laps = &laps;
    ASSERT_TRUE(SafeSaveKvlDocument(doc, view).ok);
    const auto r = RunCli({"info", doc, "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos);
    EXPECT_NE(r.out.find("\\x1B]0;owned\\x07\\x1B[2J  "), std::string::npos) << r.out;

    const std::string fifo = dir.File("fifo.kvl");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const auto refused = RunCli({"info", fifo, "--tracks", tracks});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Unable to open file"), std::string::npos) << refused.err;
    const auto noTracks = RunCli({"info", doc, "--tracks", fifo});
    EXPECT_EQ(noTracks.code, 1);
    EXPECT_NE(noTracks.err.find("Unable to open track data"), std::string::npos);
}

// --all: every full lap of a driver, or of the whole field, each a lap of its own with the
// lap time the simulator drove, in driver and lap order.
TEST_F(DocumentCli, ImportAllTakesEveryFullLapOfADriverOrOfTheWholeRace) {
    TTrackDataFile data;
    ASSERT_EQ(ReadTrackDataFile(tracks, data), TrackReadStatus::Ok);
    TTrackList list;
    for (auto& t : data.records) list.Insert(std::move(t));
    auto expectLaps = [&](const std::vector<size_t>& drivers) {
        KvlReadResult read = ReadKvlDocument(doc, list);
        ASSERT_TRUE(read.ok) << read.message();
        size_t n = 0;
        for (size_t d : drivers) {
            const std::vector<double>& crossings = truth.drivers[d].lapCrossings;
            for (size_t k = 1; k < crossings.size(); ++k, ++n) {
                ASSERT_LT(n, read.laps.size());
                const TReplay& lap = *read.laps[n];
                EXPECT_EQ(lap.driverName, TableName(truth.drivers[d].name)) << n;
                EXPECT_NEAR((lap.endFrame - lap.startFrame) / 15,
                            (crossings[k] - crossings[k - 1]) / 15, 1.0 / 15)
                    << "driver " << d << " lap " << k;
                if (n > 0) {
                    EXPECT_FALSE(lap.colour == read.laps[n - 1]->colour) << n;
                }
            }
        }
        EXPECT_EQ(read.laps.size(), n);
    };
    auto r = Import({"--driver", "1", "--all"});
    ASSERT_EQ(r.code, 0) << r.err;
    expectLaps({1});
    EXPECT_EQ(size_t(std::count(r.out.begin(), r.out.end(), '\n')),
              truth.drivers[1].lapCrossings.size() - 1);

    r = Import({"--driver", "all", "--all"});
    ASSERT_EQ(r.code, 0) << r.err;
    expectLaps({0, 1, 2});

    // --all with --lap, or every driver without --all, is refused.
    EXPECT_EQ(Import({"--driver", "all", "--lap", "1"}).code, 1);
    EXPECT_EQ(Import({"--driver", "1", "--lap", "1", "--all"}).code, 2);
    EXPECT_EQ(Import({"--driver", "7", "--all"}).code, 1);
}
