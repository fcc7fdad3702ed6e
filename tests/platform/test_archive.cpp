// The archive adapter: listing, extraction with its progress protocol, and the refusals
// that keep a hostile archive from writing outside its directory or filling the disk.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "platform/Archive.h"
#include "support/ZipWriter.h"

namespace fs = std::filesystem;
using namespace zip_test;

namespace {

// Records every message and answers through a script (0 by default).
class Recorder : public TArchiveProgress {
  public:
    std::function<int(int, const std::string&)> answer;
    std::vector<std::pair<int, std::string>> posts;
    int Post(int number, const std::string& text) override {
        posts.emplace_back(number, text);
        return answer ? answer(number, text) : 0;
    }
    std::vector<int> Percents() const {
        std::vector<int> out;
        for (const auto& p : posts)
            if (p.first <= 100) out.push_back(p.first);
        return out;
    }
};

class ArchiveTest : public testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("korvale-archive-" + std::to_string(getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root_ / "out");
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string Zip(const std::vector<Member>& members, const std::string& name = "a.rpz") {
        const std::string path = (root_ / name).string();
        WriteZip(path, members);
        return path;
    }
    std::string Out() const { return (root_ / "out").string(); }
    // Every path below the test's directory, relative to it.
    std::set<std::string> Tree() const {
        std::set<std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(root_))
            out.insert(fs::relative(e.path(), root_).string());
        return out;
    }
    // The first member of that name (or one that is not there).
    int Extract(const std::string& archive, const std::string& member, std::string& name) {
        std::vector<TArchiveMember> members;
        ListArchiveMembers(archive, members);
        TArchiveMember chosen{member, 1000, 0};
        for (auto it = members.rbegin(); it != members.rend(); ++it)
            if (it->name == member) chosen = *it;
        return ExtractArchiveMember(archive, Out(), chosen, progress, name);
    }
    static std::vector<std::string> Names(const std::vector<TArchiveMember>& members) {
        std::vector<std::string> out;
        for (const auto& m : members) out.push_back(m.name);
        return out;
    }

    fs::path root_;
    Recorder progress;
};

TEST_F(ArchiveTest, ListsTheReplaysInArchiveOrderAndNamesWhatIsNotAnArchive) {
    const std::string archive = Zip(
        {{"b.rpl", Bytes("one")}, {"races/", {}}, {"races/A long replay name.rpl", Bytes("two")}});
    std::vector<TArchiveMember> names;
    ASSERT_EQ(ListArchiveMembers(archive, names), kArchiveOk);
    EXPECT_EQ(Names(names), (std::vector<std::string>{"b.rpl", "races/A long replay name.rpl"}));
    EXPECT_EQ(names[1].index, 2u) << "its position among all entries, the folder counted";

    const std::string text = (root_ / "notes.rpz").string();
    WriteAll(text, Bytes("Track : Marlow Flats Speedway\n"));
    EXPECT_EQ(ListArchiveMembers(text, names), kArchiveNotZip);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(ListArchiveMembers((root_ / "missing.rpz").string(), names), kArchiveCannotOpen);
    EXPECT_EQ(ListArchiveMembers(Out(), names), kArchiveNotRegularFile);
    // Only the end record: libzip writes no file for an archive without members.
    std::vector<uint8_t> empty = Bytes("PK\x05\x06");
    empty.resize(22, 0);
    WriteAll((root_ / "empty.rpz").string(), empty);
    EXPECT_EQ(ListArchiveMembers((root_ / "empty.rpz").string(), names), kArchiveNoReplays);
    EXPECT_EQ(ListArchiveMembers(Zip({{"dir/", {}}}, "dirs.rpz"), names), kArchiveNoReplays);

    // Regression: an archive cut off anywhere after its first header was "not a ZIP file".
    const std::vector<uint8_t> whole = ReadAll(archive);
    for (const size_t keep : {size_t(4), size_t(40), whole.size() / 2, whole.size() - 30}) {
        WriteAll(archive, std::vector<uint8_t>(whole.begin(), whole.begin() + long(keep)));
        EXPECT_EQ(ListArchiveMembers(archive, names), kArchiveIncomplete) << keep;
    }
    EXPECT_NE(ArchiveErrorText(kArchiveIncomplete).find("damaged or incomplete"),
              std::string::npos);
}

// Regression: of two members of the same name, choosing the second extracted the first.
TEST_F(ArchiveTest, TheMemberAtTheChosenPositionIsExtractedEvenWhenNamesRepeat) {
    const std::string archive = Zip({{"heat.rpl", Bytes("first")},
                                     {"old/heat.rpl", Bytes("elsewhere")},
                                     {"HEAT.rpl", Bytes("second")}});
    ReplaceName(archive, "HEAT.rpl", "heat.rpl");
    std::vector<TArchiveMember> members;
    ASSERT_EQ(ListArchiveMembers(archive, members), kArchiveOk);
    ASSERT_EQ(members.size(), 3u);
    std::string name;
    ASSERT_EQ(ExtractArchiveMember(archive, Out(), members[2], progress, name), kArchiveOk);
    EXPECT_EQ(ReadAll(Out() + "/heat.rpl"), Bytes("second"));

    // The archive changed since it was listed: the position no longer holds that name.
    Zip({{"heat.rpl", Bytes("first")}, {"other.rpl", Bytes("x")}, {"third.rpl", Bytes("y")}});
    fs::remove(Out() + "/heat.rpl");
    EXPECT_EQ(ExtractArchiveMember(archive, Out(), members[2], progress, name),
              kArchiveMemberMissing);
    EXPECT_EQ(ExtractArchiveMember(archive, Out(), {"heat.rpl", 7, 0}, progress, name),
              kArchiveMemberMissing);
    EXPECT_TRUE(fs::is_empty(Out()));
}

TEST_F(ArchiveTest, ExtractsAMemberReportingStatusAndPercentUpToAHundred) {
    const std::vector<uint8_t> replay = Noise(300000);
    const std::string archive = Zip({{"heat.rpl", Bytes("other")}, {"Heat2.RPL", replay}});
    std::string name;
    ASSERT_EQ(Extract(archive, "Heat2.RPL", name), kArchiveOk);
    EXPECT_EQ(name, "Heat2.RPL");
    EXPECT_EQ(ReadAll(Out() + "/Heat2.RPL"), replay);

    ASSERT_GE(progress.posts.size(), 4u);
    EXPECT_EQ(progress.posts[0],
              std::make_pair(kArchiveStatusText, std::string("Extracting Heat2.RPL")));
    const std::vector<int> percents = progress.Percents();
    EXPECT_EQ(percents.front(), 0);
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_GE(percents.size(), 5u) << "one message per part read, so that Abort is heard";
}

TEST_F(ArchiveTest, AbortEndsWithCode23AndLeavesNothingBehind) {
    const std::string archive = Zip({{"heat.rpl", Noise(400000)}});
    progress.answer = [](int number, const std::string&) {
        return number > 0 && number <= 100 ? kArchiveAbort : 0;
    };
    std::string name = "stale";
    EXPECT_EQ(Extract(archive, "heat.rpl", name), kArchiveStopped);
    EXPECT_TRUE(name.empty());
    EXPECT_TRUE(fs::is_empty(Out()));
    EXPECT_LT(progress.Percents().back(), 100);
}

TEST_F(ArchiveTest, AnExistingFileIsReplacedOnlyAfterYes) {
    const std::string archive = Zip({{"heat.rpl", Bytes("new replay")}});
    WriteAll(Out() + "/heat.rpl", Bytes("old replay"));
    std::string name;

    progress.answer = [](int number, const std::string&) {
        return number == kArchiveOverwriteQuestion ? kArchiveOverwriteNo : 0;
    };
    EXPECT_EQ(Extract(archive, "heat.rpl", name), kArchiveStopped);
    EXPECT_EQ(ReadAll(Out() + "/heat.rpl"), Bytes("old replay"));
    ASSERT_EQ(progress.posts.size(), 3u);
    EXPECT_EQ(progress.posts[2],
              std::make_pair(kArchiveOverwriteQuestion, (fs::path(Out()) / "heat.rpl").string()));

    progress.answer = [](int number, const std::string&) {
        return number == kArchiveOverwriteQuestion ? kArchiveOverwriteYes : 0;
    };
    EXPECT_EQ(Extract(archive, "heat.rpl", name), kArchiveOk);
    EXPECT_EQ(ReadAll(Out() + "/heat.rpl"), Bytes("new replay"));
}

TEST_F(ArchiveTest, HostileNamesNeverWriteOutsideTheDirectory) {
    const std::string archive = Zip({{"../escape.rpl", Bytes("1")},
                                     {"/tmp/absolute.rpl", Bytes("2")},
                                     {"a/b/../../deep.rpl", Bytes("3")},
                                     {"..\\windows.rpl", Bytes("4")},
                                     {"..", Bytes("5")},
                                     {"c:drive.rpl", Bytes("6")},
                                     {"link.rpl", Bytes("/etc/passwd"), false, true},
                                     {"Marlow Flats Speedway heat 12.rpl", Bytes("7")}});
    const std::set<std::string> before = Tree();
    struct Case {
        const char* member;
        int code;
        const char* file;
    };
    const Case cases[] = {
        {"../escape.rpl", kArchiveOk, "escape.rpl"},
        {"/tmp/absolute.rpl", kArchiveOk, "absolute.rpl"},
        {"a/b/../../deep.rpl", kArchiveOk, "deep.rpl"},
        {"..\\windows.rpl", kArchiveOk, "windows.rpl"},
        {"..", kArchiveUnsafeName, ""},
        {"c:drive.rpl", kArchiveUnsafeName, ""},
        {"link.rpl", kArchiveLink, ""},
        // Longer than 19 characters: used whole.
        {"Marlow Flats Speedway heat 12.rpl", kArchiveOk, "Marlow Flats Speedway heat 12.rpl"},
    };
    std::set<std::string> expected = before;
    for (const Case& c : cases) {
        std::string name;
        EXPECT_EQ(Extract(archive, c.member, name), c.code) << c.member;
        EXPECT_EQ(name, c.file) << c.member;
        if (c.code == kArchiveOk) expected.insert("out/" + name);
    }
    EXPECT_EQ(Tree(), expected);
    EXPECT_FALSE(fs::exists(root_.parent_path() / "escape.rpl"));
    EXPECT_EQ(ArchiveMemberFileName("races/oval/"), "");
}

TEST_F(ArchiveTest, MembersThatNoReplayCouldBeAreRefusedBeforeAnythingIsWritten) {
    std::string name;
    // Regression: a replay of parked cars packs a few hundred times smaller and was refused
    // as expanding too far; this one packs a thousand times smaller and is a valid member.
    const std::string parked =
        Zip({{"parked.rpl", std::vector<uint8_t>(4 << 20, 0)}}, "parked.rpz");
    EXPECT_EQ(Extract(parked, "parked.rpl", name), kArchiveOk);
    EXPECT_EQ(fs::file_size(Out() + "/parked.rpl"), uintmax_t(4 << 20));
    fs::remove(Out() + "/parked.rpl");

    const std::string huge = Zip({{"huge.rpl", Bytes("small"), true}}, "huge.rpz");
    SetUncompressedSize(huge, 0xF0000000u);
    EXPECT_EQ(Extract(huge, "huge.rpl", name), kArchiveMemberTooLarge);

    const std::string odd = Zip({{"odd.rpl", Bytes("packed oddly"), true}}, "odd.rpz");
    SetMethod(odd, 97);
    EXPECT_EQ(Extract(odd, "odd.rpl", name), kArchiveUnsupportedCompression);
    std::vector<TArchiveMember> members;
    ASSERT_EQ(ListArchiveMembers(odd, members), kArchiveOk);
    EXPECT_EQ(ArchiveErrorText(kArchiveUnsupportedCompression, members[0]),
              "The replay in the archive is packed with the compression method WavPack (97), "
              "which Korvale cannot unpack.");

    // Regression: a name longer than the file system takes was "cannot be created".
    const std::string longName = std::string(300, 'n') + ".rpl";
    EXPECT_EQ(Extract(Zip({{longName, Bytes("laps")}}, "long.rpz"), longName, name),
              kArchiveNameTooLong);

    const std::string locked = Zip({{"locked.rpl", Bytes("secret laps"), true}}, "locked.rpz");
    SetFlags(locked, 1);
    EXPECT_EQ(Extract(locked, "locked.rpl", name), kArchiveEncrypted);

    // A flipped byte inside the stored data: found by the check sum after writing began.
    const std::string damaged = Zip({{"damaged.rpl", Noise(200000), true}}, "damaged.rpz");
    std::vector<uint8_t> b = ReadAll(damaged);
    b[1000] ^= 0xff;
    WriteAll(damaged, b);
    EXPECT_EQ(Extract(damaged, "damaged.rpl", name), kArchiveMemberDamaged);

    EXPECT_EQ(Extract(damaged, "not there.rpl", name), kArchiveMemberMissing);
    EXPECT_TRUE(fs::is_empty(Out()));
}

TEST(ArchiveErrorText, EveryCodeHasItsOwnMessage) {
    std::set<std::string> texts;
    for (int code = kArchiveCannotOpen; code <= kArchiveLastError; ++code)
        texts.insert(ArchiveErrorText(code));
    EXPECT_EQ(texts.size(), size_t(kArchiveLastError));
    EXPECT_NE(ArchiveErrorText(kArchiveMemberTooLarge).find("256 MB"), std::string::npos);
    EXPECT_EQ(CompressionMethodName(200), "method 200");
}

}  // namespace
