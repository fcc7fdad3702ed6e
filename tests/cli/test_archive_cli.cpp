// korvale-cli laps and import on a replay archive: the member chosen by --member or the
// first in sorted order, and nothing left beside the archive afterwards.
#include <filesystem>
#include <set>

#include "cli/CliReplayFixture.h"
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
