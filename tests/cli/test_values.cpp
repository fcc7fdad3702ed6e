// korvale-cli values: the data window's readout for scripts, on a document of hand-made
// laps whose values are known from their samples.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "CliReplayFixture.h"
#include "document/KvlFile.h"

using cli_replay_test::RunCli;
using cli_replay_test::RunResult;

namespace {

// Ridgeway Oval: 6 inches a unit, so a foot is two units.
class ValuesCli : public cli_replay_test::ReplayCliTest {
  protected:
    void SetUp() override {
        ReplayCliTest::SetUp();
        // "Ann": 101 samples 100 units apart from the line, 24 units off the wall.
        // "Bo": 51 samples from 4000 units (2000 ft) on, 2 units (-1.00 ft) the other side.
        TReplay ann("Ann", 1), bo("Bo", 2);
        for (auto [lap, n, from] : {std::tuple{&ann, 101, 0}, std::tuple{&bo, 51, 4000}}) {
            lap->ResizeSamples(n);
            for (int k = 0; k < n; ++k) {
                lap->positions[size_t(k)] = from + 100 * k;
                lap->lines[size_t(k)] = lap == &ann ? 24 : -2;
            }
            lap->startFrame = 0;
            lap->endFrame = n - 1;
            lap->startPosition = from;
            lap->endPosition = from + 100 * (n - 1);
            lap->inchesPerUnit = 6;
            lap->lapLength = 10000;
        }
        const std::vector<const TReplay*> laps{&ann, &bo};
        KvlDocumentView view;
        view.trackId = 3;
        view.laps = &laps;
        ASSERT_TRUE(WriteKvlDocument(dir.File("doc.kvl"), view).ok);
    }
    std::vector<std::vector<std::string>> Rows(const std::string& out) {
        std::vector<std::vector<std::string>> rows;
        std::stringstream lines(out);
        std::string line;
        while (std::getline(lines, line)) {
            std::vector<std::string> fields;
            size_t start = 0, tab;
            while ((tab = line.find('\t', start)) != std::string::npos) {
                fields.push_back(line.substr(start, tab - start));
                start = tab + 1;
            }
            fields.push_back(line.substr(start));
            rows.push_back(fields);
        }
        return rows;
    }
    // The seven values of a row, which must each have six decimals.
    void ExpectValues(const std::vector<std::string>& row, const std::vector<double>& want) {
        ASSERT_EQ(row.size(), 8u);
        for (size_t i = 0; i < 7; ++i) {
            const std::string& f = row[i + 1];
            ASSERT_GE(f.size(), 8u) << f;
            EXPECT_EQ(f[f.size() - 7], '.') << f;
            EXPECT_NEAR(std::strtod(f.c_str(), nullptr), want[i], 1e-6) << "field " << i;
        }
    }
};

constexpr double kMphPerFootPerFrame = 15.0 * 3600.0 / 5280.0;

TEST_F(ValuesCli, PositionAndTimeAsTheDataWindowShowsThem) {
    const std::string doc = dir.File("doc.kvl");
    RunResult r = RunCli({"values", doc, "--at", "1000", "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "0");
    // 1000 ft is sample 20 of Ann: 50 ft a frame, 12 ft from the wall, no forces or slip.
    ExpectValues(rows[0], {20.0 / 15, 1000, 50 * kMphPerFootPerFrame, 12, 0, 0, 0});
    EXPECT_EQ(r.out.substr(r.out.find('\n') + 1), "1\t\t\t\t\t\t\t\n") << "Bo starts at 2000 ft";

    r = RunCli({"values", doc, "--time", "2", "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 2u);
    ExpectValues(rows[0], {2, 1500, 50 * kMphPerFootPerFrame, 12, 0, 0, 0});
    // Regression: a value of exactly -1 was printed as an empty field.
    ExpectValues(rows[1], {2, 3500, 50 * kMphPerFootPerFrame, -1, 0, 0, 0});
    r = RunCli({"values", doc, "--time", "5", "--tracks", tracks});
    EXPECT_EQ(Rows(r.out)[1].size(), 8u);
    EXPECT_EQ(Rows(r.out)[1][1], "") << "Bo's lap lasts 3.3 s";
}

TEST_F(ValuesCli, RefusesWhatItCannotRead) {
    const std::string doc = dir.File("doc.kvl");
    EXPECT_EQ(RunCli({"values", doc, "--tracks", tracks}).code, 2) << "neither --at nor --time";
    EXPECT_EQ(RunCli({"values", doc, "--at", "1", "--time", "1", "--tracks", tracks}).code, 2);
    for (const char* bad : {"abc", "12ft", "nan", "1e999", ""}) {
        const RunResult r = RunCli({"values", doc, "--at", bad, "--tracks", tracks});
        EXPECT_EQ(r.code, 1) << bad;
        EXPECT_NE(r.err.find("--at takes a number"), std::string::npos) << r.err;
    }
    const RunResult missing =
        RunCli({"values", dir.File("none.kvl"), "--at", "1", "--tracks", tracks});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("Open Error"), std::string::npos) << missing.err;
    EXPECT_EQ(RunCli({"values", "--help"}).code, 0);
}

}  // namespace
