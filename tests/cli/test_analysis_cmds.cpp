// korvale-cli sectors and delta on a hand-made document whose sector times and deltas are
// known exactly: the printed tables against the expected text.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "CliReplayFixture.h"
#include "document/KvlFile.h"
#include "track/TrackDataFile.h"

using cli_replay_test::RunCli;

namespace {

// One lap of the 3000-foot test loop: positions (one unit is one foot) per frame.
std::unique_ptr<TReplay> Lap(const char* name, std::vector<int32_t> positions) {
    auto lap = std::make_unique<TReplay>(name, 1);
    lap->ResizeSamples(int32_t(positions.size()));
    lap->positions = positions;
    lap->startFrame = 0;
    lap->endFrame = double(positions.size() - 1);
    lap->startPosition = positions.front();
    lap->endPosition = positions.back();
    lap->inchesPerUnit = 12;
    lap->lapLength = 3000;
    return lap;
}

std::vector<int32_t> Paced(std::vector<std::pair<int32_t, int32_t>> legs, int32_t from = 0) {
    std::vector<int32_t> p{from};
    for (auto [to, step] : legs)
        while (p.back() < to) p.push_back(p.back() + step);
    return p;
}

class AnalysisCli : public testing::Test {
  protected:
    void SetUp() override {
        TTrackDataFile file;
        file.version = 100;
        auto track = std::make_unique<TTrackData>();
        track->name = "Test Loop";
        track->trackId = 20;
        track->trackLength = 3000;
        track->inchesPerUnit = 12;
        track->cornerNames = {"Hook, \"Big\"", "Bend", "Last"};
        track->cornerPositions = {500, 1500, 2500};
        track->cornerCount = 3;
        file.records.push_back(std::move(track));
        std::string error;
        ASSERT_TRUE(WriteTrackDataFile(dir.File("tracks.dat"), file, error)) << error;
        tracks = dir.File("tracks.dat");

        // Sectors: 0-1000, 1000-2000, 2000-3000 feet. Ann: 10 frames each. Bo: 8, 20, 5.
        // Cy: from 1500 feet on, 10 frames for the last sector.
        laps.push_back(Lap("Ann", Paced({{3000, 100}})));
        laps.push_back(Lap("Bo", Paced({{1000, 125}, {2000, 50}, {3000, 200}})));
        laps.push_back(Lap("Cy", Paced({{3000, 100}}, 1500)));
        std::vector<const TReplay*> pointers;
        for (const auto& l : laps) pointers.push_back(l.get());
        KvlDocumentView view;
        view.trackId = 20;
        view.laps = &pointers;
        doc = dir.File("laps.kvl");
        ASSERT_TRUE(WriteKvlDocument(doc, view).ok);
    }

    replay_test::TempDir dir;
    std::string tracks, doc;
    std::vector<std::unique_ptr<TReplay>> laps;
};

}  // namespace

TEST_F(AnalysisCli, SectorsPrintsEachLapsSectorsAndTheIdealLapAsTextOrCsv) {
    auto r = RunCli({"sectors", doc, "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "lap\tname\tHook, \"Big\"\tBend\tLast\tlap time\n"
              "0\tAnn\t0.667\t0.667\t0.667\t2.000\n"
              "1\tBo\t0.533\t1.333\t0.333\t2.200\n"
              "2\tCy\t\t\t0.667\t1.000\n"
              "ideal\t\t0.533\t0.667\t0.333\t1.533\n");

    r = RunCli({"sectors", doc, "--csv", "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "lap,name,\"Hook, \"\"Big\"\"\",Bend,Last,lap time\r\n"
              "0,Ann,0.667,0.667,0.667,2.000\r\n"
              "1,Bo,0.533,1.333,0.333,2.200\r\n"
              "2,Cy,,,0.667,1.000\r\n"
              "ideal,,0.533,0.667,0.333,1.533\r\n");
}

TEST_F(AnalysisCli, DeltaPrintsTheGapToTheFastestLapOrTheChosenOneWhereBothCover) {
    auto r = RunCli({"delta", doc, "--lap", "1", "--step", "500", "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "0.0\t0.0000\n500.0\t-0.0667\n1000.0\t-0.1333\n1500.0\t0.2000\n"
              "2000.0\t0.5333\n2500.0\t0.3667\n3000.0\t0.2000\n");

    // Cy starts at 1500 feet: only the rows both laps cover.
    r = RunCli({"delta", doc, "--lap", "2", "--ref", "0", "--step", "1000", "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "2000.0\t-1.0000\n3000.0\t-1.0000\n");

    // The default step is 10 feet: 301 rows from 0 to 3000.
    r = RunCli({"delta", doc, "--lap", "0", "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 301);
    EXPECT_EQ(r.out.substr(0, 20), "0.0\t0.0000\n10.0\t0.00");
}

TEST_F(AnalysisCli, RefusesLapsThatAreNotThereAndStepsThatMakeNoSense) {
    EXPECT_EQ(RunCli({"delta", doc, "--tracks", tracks}).code, 2);
    for (std::vector<std::string> bad : {std::vector<std::string>{"--lap", "3"},
                                         {"--lap", "-1"},
                                         {"--lap", "x"},
                                         {"--lap", "0", "--ref", "9"},
                                         {"--lap", "0", "--step", "0"},
                                         {"--lap", "0", "--step", "nan"},
                                         {"--lap", "0", "--step", "-5"}}) {
        std::vector<std::string> args{"delta", doc, "--tracks", tracks};
        args.insert(args.end(), bad.begin(), bad.end());
        const auto r = RunCli(args);
        EXPECT_EQ(r.code, 1) << bad[1];
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("korvale-cli delta: "), std::string::npos) << r.err;
    }
    const auto missing = RunCli({"sectors", dir.File("none.kvl"), "--tracks", tracks});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("Open Error"), std::string::npos) << missing.err;
    EXPECT_EQ(RunCli({"sectors", doc, "--tracks", tracks, "--bogus"}).code, 2);
}

// Worked by hand: Ann's 100 ft a frame is 1022.7 mph throughout; Bo enters Bend at
// (1050 - 875) / 2 ft a frame, 894.9 mph, runs it at 50 ft a frame (511.4 mph from the first
// frame inside, at 1050 feet) and leaves at (2200 - 1950) / 2 = 125, 1278.4 mph. Ann, the
// fastest full lap, is the reference; Cy covers only the last corner.
TEST_F(AnalysisCli, CornersPrintEachLapsSpeedsAndTimeThroughEachCornerAgainstTheReference) {
    auto r = RunCli({"corners", doc, "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "corner\tlap\tname\tentry\tmin\tat\texit\ttime\t+/-\n"
              "Hook, \"Big\"\t0\tAnn\t1022.7\t1022.7\t0\t1022.7\t0.667\t\n"
              "Hook, \"Big\"\t1\tBo\t1278.4\t894.9\t1000\t894.9\t0.533\t-0.133\n"
              "Hook, \"Big\"\t2\tCy\t\t\t\t\t\t\n"
              "Bend\t0\tAnn\t1022.7\t1022.7\t1000\t1022.7\t0.667\t\n"
              "Bend\t1\tBo\t894.9\t511.4\t1050\t1278.4\t1.333\t+0.667\n"
              "Bend\t2\tCy\t\t\t\t\t\t\n"
              "Last\t0\tAnn\t1022.7\t1022.7\t2000\t1022.7\t0.667\t\n"
              "Last\t1\tBo\t1278.4\t1278.4\t2000\t2045.5\t0.333\t-0.333\n"
              "Last\t2\tCy\t1022.7\t1022.7\t2000\t1022.7\t0.667\t+0.000\n");

    // Against Bo as CSV: the same speeds, the differences turned round.
    r = RunCli({"corners", doc, "--csv", "--ref", "1", "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"Hook, \"\"Big\"\"\",0,Ann,1022.7,1022.7,0,1022.7,0.667,+0.133\r\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Bend,1,Bo,894.9,511.4,1050,1278.4,1.333,\r\n"), std::string::npos);
    EXPECT_EQ(RunCli({"corners", doc, "--ref", "3", "--tracks", tracks}).code, 1);
}

TEST_F(AnalysisCli, SectorsWithAReferenceAddEachDifferenceAndDeltaAddsItsRate) {
    auto r = RunCli({"sectors", doc, "--ref", "fastest", "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "lap\tname\tHook, \"Big\"\t+/-\tBend\t+/-\tLast\t+/-\tlap time\t+/-\n"
              "0\tAnn\t0.667\t\t0.667\t\t0.667\t\t2.000\t\n"
              "1\tBo\t0.533\t-0.133\t1.333\t+0.667\t0.333\t-0.333\t2.200\t+0.200\n"
              "2\tCy\t\t\t\t\t0.667\t+0.000\t1.000\t\n"
              "ideal\t\t0.533\t\t0.667\t\t0.333\t\t1.533\t\n");
    EXPECT_EQ(RunCli({"sectors", doc, "--ref", "x", "--tracks", tracks}).code, 1);

    // Per 100 feet Bo takes 100 / 125 / 15 s in Hook, 100 / 50 / 15 in Bend, 100 / 200 / 15
    // in Last, against Ann's 100 / 100 / 15; across a boundary the stretch holds 50 feet of
    // each. At 3000 feet the stretch moves back to 2900..3000.
    r = RunCli({"delta", doc, "--lap", "1", "--step", "500", "--rate", "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "0.0\t0.0000\t-0.0133\n500.0\t-0.0667\t-0.0133\n1000.0\t-0.1333\t0.0267\n"
              "1500.0\t0.2000\t0.0667\n2000.0\t0.5333\t0.0167\n2500.0\t0.3667\t-0.0333\n"
              "3000.0\t0.2000\t-0.0333\n");
}
