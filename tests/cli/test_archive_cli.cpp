// korvale-cli laps and import on a replay archive: the member chosen by --member or the
// first in sorted order, and nothing left beside the archive afterwards.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <set>
#include <thread>

#include "cli/CliReplayFixture.h"
#include "platform/TempCleanup.h"
#include "support/ZipWriter.h"

using namespace cli_replay_test;
namespace fs = std::filesystem;

using ArchiveCli = ReplayCliTest;

namespace {

std::set<std::string> Listing(const std::string& directory) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(directory))
        out.insert(e.path().filename().string());
    return out;
}

}  // namespace

TEST_F(ArchiveCli, LapsAndImportTakeAMemberOfAnArchiveAndCleanUp) {
    fs::create_directories(dir.File("season"));
    std::vector<uint8_t> other = TwoDriverReplay();
    other.resize(30);  // a replay cut short: only --member picks it
    zip_test::WriteZip(
        dir.File("season/Ridgeway.rpz"),
        {{"zz-ridgeway-cut.rpl", other}, {"A-ridgeway-heat.rpl", TwoDriverReplay()}});
    const std::string archive = dir.File("season/Ridgeway.rpz");

    RunResult r = RunCli({"laps", archive, "--tracks", tracks});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind(" #7 - Ann Lee\n", 0), 0u) << r.out;

    r = RunCli({"laps", archive, "--tracks", tracks, "--member", "zz-ridgeway-cut.rpl"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Error reading replay header"), std::string::npos) << r.err;

    r = RunCli({"laps", archive, "--tracks", tracks, "--member", "missing.rpl"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("no member named \"missing.rpl\""), std::string::npos) << r.err;

    const std::string doc = dir.File("season/laps.kvl");
    r = RunCli({"import", archive, "--tracks", tracks, "--driver", "0", "--lap", "1", "-o", doc});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"Ann Lee\""), std::string::npos) << r.out;
    EXPECT_EQ(Listing(dir.File("season")), (std::set<std::string>{"Ridgeway.rpz", "laps.kvl"}));

    zip_test::WriteAll(dir.File("season/Broken.rpz"), zip_test::Bytes("not an archive"));
    r = RunCli({"laps", dir.File("season/Broken.rpz"), "--tracks", tracks});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("not a ZIP file"), std::string::npos) << r.err;
    r = RunCli({"laps", dir.File("season/laps.kvl"), "--tracks", tracks, "--member", "x"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(Listing(dir.File("season")),
              (std::set<std::string>{"Ridgeway.rpz", "laps.kvl", "Broken.rpz"}));
}

// Regression: messages named the extracted copy (gone by then) instead of the archive, and
// two members of one name could not be told apart.
TEST_F(ArchiveCli, MembersAreListedAndPickedByIndexAndMessagesNameTheArchive) {
    std::vector<uint8_t> cut = TwoDriverReplay();
    cut.resize(30);
    const std::string archive = dir.File("ridgeway.rpz");
    zip_test::WriteZip(
        archive,
        {{"Heat.rpl", cut}, {"b.rpl", cut}, {"heat.rpl", cut}, {"HEAT.rpl", TwoDriverReplay()}});
    zip_test::ReplaceName(archive, "HEAT.rpl", "Heat.rpl");
    RunResult r = RunCli({"archive-members", archive});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "0\tb.rpl\n1\tHeat.rpl\n2\tHeat.rpl\n3\theat.rpl\n");

    r = RunCli(
        {"laps", archive, "--tracks", tracks, "--track", "Ridgeway Oval", "--member-index", "2"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind(" #7 - Ann Lee\n", 0), 0u) << r.out;

    r = RunCli(
        {"laps", archive, "--tracks", tracks, "--track", "Ridgeway Oval", "--member", "Heat.rpl"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "korvale-cli laps: " + archive + ", member Heat.rpl: Error reading replay header\n");
    r = RunCli({"laps", archive, "--tracks", tracks, "--member-index", "4"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("--member-index 4: the archive has 4 members (0 to 3)"), std::string::npos)
        << r.err;
    EXPECT_EQ(Listing(dir.File("")), (std::set<std::string>{"ridgeway.rpz", "tracks.dat"}));

    r = RunCli({"archive-members", dir.File("tracks.dat")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("not a ZIP file"), std::string::npos) << r.err;
}

// Regression: a run killed while it extracted left its temporary directory and a partial
// replay beside the archive.
TEST_F(ArchiveCli, ARunKilledDuringTheExtractionLeavesNothingBeside) {
    const std::string archive = dir.File("ridgeway.rpz");
    // Parked cars: large and packed small, so that the extraction takes a while.
    zip_test::WriteZip(archive, {{"parked.rpl", std::vector<uint8_t>(size_t(128) << 20, 0)}});
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (std::freopen("/dev/null", "w", stdout) == nullptr ||
            std::freopen("/dev/null", "w", stderr) == nullptr)
            _exit(99);
        InstallTempCleanupOnSignals();
        _exit(cli::Dispatch({"laps", archive, "--tracks", tracks}));
    }
    const auto start = std::chrono::steady_clock::now();
    while (!fs::exists(dir.File("td0")) &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(20))
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "ended by itself before the kill: " << status;
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_EQ(Listing(dir.File("")), (std::set<std::string>{"ridgeway.rpz", "tracks.dat"}));
}
