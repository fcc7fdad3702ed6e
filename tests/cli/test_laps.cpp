// korvale-cli laps: driver texts, lap numbers and descriptions, and the track choice.
#include <cstdio>
#include <regex>

#include "cli/CliReplayFixture.h"
#include "cli/CliTracks.h"
#include "replay/Scan.h"
#include "track/TrackDataFile.h"

using namespace cli_replay_test;

using LapsCommand = ReplayCliTest;

TEST_F(LapsCommand, ListsDriversAndLapsAsTheImportDialogDoes) {
    std::filesystem::create_directories(dir.File("Ridgeway Races"));
    const std::string replay = dir.Write("Ridgeway Races/Heat ONE.RPL", TwoDriverReplay());

    // The path's capitals are kept for opening; only the pattern match is case-blind.
    RunResult r = RunCli({"laps", replay, "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    // From where 500 -> 2500 reaches back to the line to where 8500 -> 9900 reaches it, as
    // the imported lap's ends lie.
    const double exact = (100.0 / 1400.0 + 5) - (-500.0 / 2000.0);
    char lapTime[32];
    std::snprintf(lapTime, sizeof lapTime, "%8.3f s", exact / 15);
    EXPECT_EQ(r.out, " #7 - Ann Lee\n\t0\t(partial)\n\t1\t" + std::string(lapTime) +
                         "\n\t2\t(partial)\n#05 - Bo\n\t0\t(partial)\n");

    r = RunCli({"laps", replay, "--tracks", tracks, "--speeds", "--track", "RIDGEWAY OVAL"});
    ASSERT_EQ(r.code, 0) << r.err;
    char speed[32];
    std::snprintf(speed, sizeof speed, "%9.3f mph",
                  (10000 * 6.0 / 12 / 5280) / (exact / 15) * 3600);
    EXPECT_NE(r.out.find("\t1\t" + std::string(speed) + "\n"), std::string::npos) << r.out;
}

// Regression: simulate took "kestrel" for a track that laps and import refused.
TEST_F(LapsCommand, TrackNamesArePrefixesOrPathPatternsInEveryCommand) {
    TTrackList list;
    TTrackDataFile file;
    ASSERT_EQ(ReadTrackDataFile(tracks, file), TrackReadStatus::Ok);
    list.Assign(std::move(file.records));
    ASSERT_EQ(list.At(0).name, "Marsh Annex");
    ASSERT_EQ(list.At(2).name, "Ridgeway Oval");
    const std::pair<const char*, int> names[] = {
        {"ridgeway oval", 2}, {"RIDGE", 2}, {"marsh r", 1}, {"Marsh", 1},  // "marsh", a pattern
        {"annex", 0},         {"Mar", -1},  {"oval", -1},   {"", -1}};
    for (const auto& [name, index] : names)
        EXPECT_EQ(cli::FindTrackNamed(list, name), index) << name;

    const std::string none = dir.Write("race.rpl", TwoDriverReplay());
    const RunResult r = RunCli({"laps", none, "--tracks", tracks, "--track", "ridge"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Ann Lee"), std::string::npos);
}

// Regression: "tracks build --help" printed the usage as an error and exited with 2.
TEST(CliDispatch, EverySubCommandOfTracksTakesHelp) {
    for (const char* sub : {"build", "dump", "list"}) {
        const RunResult r = RunCli({"tracks", sub, "--help"});
        EXPECT_EQ(r.code, 0) << sub;
        EXPECT_NE(r.out.find("korvale-cli tracks " + std::string(sub)), std::string::npos) << sub;
        EXPECT_EQ(r.err, "") << sub;
    }
}

TEST_F(LapsCommand, RefusesUnclearTracksAndBadReplays) {
    const std::string none = dir.Write("race.rpl", TwoDriverReplay());
    const std::string two = dir.Write("marsh annex.rpl", TwoDriverReplay());

    RunResult r = RunCli({"laps", none, "--tracks", tracks});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("no track matches"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--track"), std::string::npos);

    r = RunCli({"laps", two, "--tracks", tracks});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("more than one track"), std::string::npos) << r.err;

    r = RunCli({"laps", none, "--tracks", tracks, "--track", "Nowhere"});
    EXPECT_EQ(r.code, 1);

    std::vector<uint8_t> cut = TwoDriverReplay();
    cut.resize(30);
    r = RunCli({"laps", dir.Write("ridgeway-cut.rpl", cut), "--tracks", tracks});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Error reading replay header"), std::string::npos) << r.err;

    r = RunCli({"laps", dir.File("ridgeway-missing.rpl"), "--tracks", tracks});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Error opening replay: No such file or directory"), std::string::npos)
        << r.err;
    // A file that is not there is told so, whatever its name would match.
    r = RunCli({"laps", dir.File("elsewhere.rpl"), "--tracks", tracks});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Error opening replay: No such file or directory"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("track"), std::string::npos) << r.err;
    r = RunCli({"laps", dir.File(""), "--tracks", tracks, "--track", "Ridgeway Oval"});
    EXPECT_NE(r.err.find("Error opening replay: Is a directory"), std::string::npos) << r.err;

    r = RunCli({"laps", none, "--tracks", dir.File("nothing.dat"), "--track", "Ridgeway Oval"});
    EXPECT_EQ(r.code, 1);

    EXPECT_EQ(RunCli({"laps"}).code, 2);
    EXPECT_EQ(RunCli({"laps", none, "--bogus"}).code, 2);
    r = RunCli({"laps", "--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("usage: korvale-cli laps"), std::string::npos);
}

TEST(CliDispatch, HelpVersionAndUnknownOptions) {
    RunResult r = RunCli({"--version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(
        std::regex_match(r.out, std::regex("korvale-cli \\(Korvale\\) [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << r.out;
    r = RunCli({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("usage: korvale-cli COMMAND", 0), 0u) << r.out;
    r = RunCli({"--verbose"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("unknown option '--verbose'"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("usage: korvale-cli COMMAND"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}
