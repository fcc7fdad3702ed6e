#pragma once
// The import commands' fixture: tracks with path patterns, small replays written on
// demand, and scripted answers for the import dialogs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "../sim/SimTracks.h"
#include "CommandsFixture.h"
#include "commands/ImportCommands.h"
#include "replay/ReplayBuilder.h"
#include "sim/Simulator.h"

namespace commands_test {

namespace fs = std::filesystem;

inline const std::string kReplayDialog = "Dialog: Open | Open Replay | ";

// Chooses driver and laps in an import dialog and closes it with OK.
inline std::function<bool(TImportLapXfer&, const TImportLapSource&)> Pick(
    int32_t driver, std::vector<int32_t> laps) {
    return [driver, laps](TImportLapXfer& x, const TImportLapSource&) {
        x.selectedDriver = driver;
        x.selectedLaps = laps;
        return true;
    };
}
inline std::function<bool(TImportLapXfer&, const TImportLapSource&)> CancelDialog() {
    return [](TImportLapXfer&, const TImportLapSource&) { return false; };
}

class ImportTest : public CommandsTest {
  protected:
    void SetUp() override {
        tracks.Insert(MakeTrack("Short Track", 50, "shorttrack", "", 10000, 6.0));
        tracks.Insert(std::make_unique<TTrackData>(simtest::ShortOval()));
        tracks.At(TrackIndex("Test Oval")).pathPattern = "sprintcup";  // "testoval" holds "oval"
        fs::create_directories(Path("shorttrack"));
        fs::create_directories(Path("elsewhere"));
        fs::create_directories(Path("sprintcup"));
    }

    // Ann Lee (slot 1): partial, a full lap of 6 frames, partial. Bo (slot 2) never crosses
    // the line: one partial lap of 10 frames.
    static std::vector<uint8_t> TwoDriverReplay() {
        replay_test::ReplayBuilder b(2);
        b.Driver("Pace Car", 0).Driver("Ann Lee", 7).Driver("Bo", 105);
        const int32_t pos[10] = {8000, 9000, 500, 2500, 4500, 6500, 8500, 9900, 1400, 2400};
        for (int f = 0; f < 10; ++f)
            b.Frame({{1, pos[f], int16_t(10 * f), int16_t(f), uint8_t(f)},
                     {2, 100 + 300 * f, 5, 0, 0}});
        return b.Bytes();
    }
    std::string WriteReplay(const std::string& relative, const std::vector<uint8_t>& bytes) {
        WriteFileBytes(Path(relative), bytes);
        return Path(relative);
    }
    // A simulated race on the short oval: three cars, three full laps each, tidy.
    std::string WriteSimulatedReplay(const std::string& relative) {
        const TTrackData& oval = tracks.At(TrackIndex("Test Oval"));
        sim::SimOptions o;
        o.track = &oval;
        o.cars = 3;
        o.laps = 3;
        o.untidy = false;
        sim::SimResult result;
        const std::vector<uint8_t> bytes = sim::SimulateReplayBytes(o, &result);
        EXPECT_TRUE(result.ok) << result.message;
        return WriteReplay(relative, bytes);
    }

    // One scripted Import Replay of driver/lap from path.
    void ImportLap(const std::string& path, int32_t driver, int32_t lap) {
        prompts.openFiles.push_back(path);
        prompts.importLaps.push_back(Pick(driver, {lap}));
        ImportReplayCommand(ctx);
    }

    std::vector<std::string> Messages() const { return prompts.Only("Message:"); }
};

}  // namespace commands_test
