#pragma once
// A tracks.dat and small replays in a private directory, for the laps and import commands.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "replay/ReplayBuilder.h"
#include "track/TrackDataFile.h"

namespace cli_replay_test {

inline std::unique_ptr<TTrackData> Track(const std::string& name, const std::string& pattern,
                                         uint8_t id, int32_t length, double scale) {
    auto t = std::make_unique<TTrackData>();
    t->name = name;
    t->pathPattern = pattern;
    t->trackId = id;
    t->trackLength = length;
    t->inchesPerUnit = scale;
    return t;
}

struct RunResult {
    int code = 0;
    std::string out;
    std::string err;
};

inline RunResult RunCli(std::vector<std::string> args) {
    RunResult r;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    r.code = cli::Dispatch(args);
    r.out = testing::internal::GetCapturedStdout();
    r.err = testing::internal::GetCapturedStderr();
    return r;
}

class ReplayCliTest : public testing::Test {
  protected:
    void SetUp() override {
        TTrackDataFile file;
        file.version = 100;
        file.records.push_back(Track("Ridgeway Oval", "ridgeway", 3, 10000, 6.0));
        file.records.push_back(Track("Marsh Road Course", "marsh", 9, 20000, 3.0));
        file.records.push_back(Track("Marsh Annex", "annex", 10, 20000, 3.0));
        std::string error;
        ASSERT_TRUE(WriteTrackDataFile(dir.File("tracks.dat"), file, error)) << error;
        tracks = dir.File("tracks.dat");
    }

    // Two drivers (slots 1 and 2): the first with a full lap between two crossings.
    std::vector<uint8_t> TwoDriverReplay() const {
        replay_test::ReplayBuilder b(2);
        b.Driver("Pace Car", 0).Driver("Ann Lee", 7).Driver("Bo", 105);
        const int32_t pos[10] = {8000, 9000, 500, 2500, 4500, 6500, 8500, 9900, 1400, 2400};
        for (int f = 0; f < 10; ++f)
            b.Frame({{1, pos[f], int16_t(10 * f), int16_t(f), uint8_t(f)},
                     {2, 100 + 300 * f, 5, 0, 0}});
        return b.Bytes();
    }

    replay_test::TempDir dir;
    std::string tracks;
};

}  // namespace cli_replay_test
