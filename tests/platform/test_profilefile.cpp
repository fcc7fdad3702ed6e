#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/ProfileFile.h"
#include "platform/SettingsPath.h"

namespace fs = std::filesystem;

namespace {

class ProfileFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("korvale-profile-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        path_ = (dir_ / "korvale.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Put(const std::string& text) { Put(path_, text); }
    static void Put(const std::string& path, const std::string& text) {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    std::string Get() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesDefaults) {
    ProfileFile p(path_);
    EXPECT_EQ(p.ReadInt("admin", "trackver", 42), 42);
    EXPECT_EQ(p.ReadText("admin", "path", "./*.kvl"), "./*.kvl");
    EXPECT_FALSE(fs::exists(path_));  // reading never creates the file

    Put("[admin]\nfirst=1\n");
    EXPECT_EQ(p.ReadInt("graph", "xaxis", 1), 1);
    EXPECT_EQ(p.ReadInt("admin", "trackver", 0), 0);
    EXPECT_EQ(p.ReadInt("admin", "first", 0), 1);
}

TEST_F(ProfileFileTest, SectionAndKeyNamesIgnoreCase) {
    Put("[Admin]\nTrackVer=107\n[GRAPH]\nyAxis = 4 \n");
    ProfileFile p(path_);
    EXPECT_EQ(p.ReadInt("admin", "trackver", 0), 107);
    EXPECT_EQ(p.ReadInt("ADMIN", "TRACKVER", 0), 107);
    EXPECT_EQ(p.ReadInt("graph", "yaxis", 2), 4);
    // Same key in another section is a different key.
    EXPECT_EQ(p.ReadInt("graph", "trackver", -1), -1);
}

TEST_F(ProfileFileTest, IntegerValues) {
    Put("[s]\nplain=12\nneg=-7\nplus=+3\nspaced=  9  \nsuffix=12abc\nword=abc\nempty=\n"
        "big=2147483647\nsmall=-2147483648\nover=2147483648\nhuge=99999999999999999999\nsign=-\n");
    ProfileFile p(path_);
    EXPECT_EQ(p.ReadInt("s", "plain", 0), 12);
    EXPECT_EQ(p.ReadInt("s", "neg", 0), -7);
    EXPECT_EQ(p.ReadInt("s", "plus", 0), 3);
    EXPECT_EQ(p.ReadInt("s", "spaced", 0), 9);
    // Leading digits are the number, as the platform's reading took them.
    EXPECT_EQ(p.ReadInt("s", "suffix", 5), 12);
    // No digits, or a number beyond the int range, reads as the default.
    EXPECT_EQ(p.ReadInt("s", "word", 5), 5);
    EXPECT_EQ(p.ReadInt("s", "empty", 5), 5);
    EXPECT_EQ(p.ReadInt("s", "sign", 5), 5);
    EXPECT_EQ(p.ReadInt("s", "big", 0), 2147483647);
    EXPECT_EQ(p.ReadInt("s", "small", 0), -2147483647 - 1);
    EXPECT_EQ(p.ReadInt("s", "over", 5), 5);
    EXPECT_EQ(p.ReadInt("s", "huge", 5), 5);
}

TEST_F(ProfileFileTest, TextValuesAndBufferSize) {
    Put("[import]\npath = /home/me/replays/*.rpl \nquoted=\"a b\"\nnone=\n; path=commented\n");
    ProfileFile p(path_);
    EXPECT_EQ(p.ReadText("import", "path", "x"), "/home/me/replays/*.rpl");
    EXPECT_EQ(p.ReadText("import", "quoted", "x"), "a b");
    // A present but empty value is the empty text, not the default.
    EXPECT_EQ(p.ReadText("import", "none", "x"), "");
    EXPECT_EQ(p.ReadText("import", "path", "x", 6), "/home");
    EXPECT_EQ(p.ReadText("import", "missing", "default", 4), "def");
    EXPECT_EQ(p.ReadText("import", "path", "x", 0), "");
}

TEST_F(ProfileFileTest, FirstWriteCreatesTheFile) {
    ProfileFile p(path_);
    p.WriteInt("admin", "trackver", 107);
    EXPECT_EQ(Get(), "[admin]\ntrackver=107\n");
    EXPECT_EQ(p.ReadInt("admin", "trackver", 0), 107);
    p.WriteInt("admin", "first", -1);
    EXPECT_EQ(Get(), "[admin]\ntrackver=107\nfirst=-1\n");
}

TEST_F(ProfileFileTest, WriteChangesOneLineAndKeepsTheRest) {
    const std::string before =
        "; Korvale settings\n"
        "[Admin]\n"
        "Path=/tmp/*.kvl\n"
        "TrackVer=100\n"
        "\n"
        "[graph]\n"
        "  xaxis=0   \n"
        "odd line without equals\n"
        "\n"
        "[assoc]\n"
        "nassoc=0\n";
    Put(before);
    ProfileFile p(path_);
    p.WriteInt("admin", "trackver", 107);
    std::string expected = before;
    expected.replace(expected.find("TrackVer=100"), 12, "TrackVer=107");
    EXPECT_EQ(Get(), expected);

    // A new key goes at the end of its section, before the blank line that separates it.
    p.WriteText("graph", "yaxis", "3");
    expected.replace(expected.find("odd line without equals\n") + 24, 0, "yaxis=3\n");
    EXPECT_EQ(Get(), expected);

    // A new section is appended after a blank line.
    p.WriteText("window", "appmax", "0");
    expected += "\n[window]\nappmax=0\n";
    EXPECT_EQ(Get(), expected);
    EXPECT_EQ(p.ReadText("window", "appmax", "x"), "0");
}

TEST_F(ProfileFileTest, FirstOfDuplicateSectionsAndKeysIsUsed) {
    Put("[a]\nk=1\nk=2\n[a]\nk=3\n");
    ProfileFile p(path_);
    EXPECT_EQ(p.ReadInt("a", "k", 0), 1);
    p.WriteInt("a", "k", 9);
    EXPECT_EQ(Get(), "[a]\nk=9\nk=2\n[a]\nk=3\n");
}

TEST_F(ProfileFileTest, KeepsCarriageReturnLineEnds) {
    Put("[admin]\r\nfirst=0\r\n");
    ProfileFile p(path_);
    EXPECT_EQ(p.ReadInt("admin", "first", 5), 0);
    p.WriteInt("admin", "first", 1);
    p.WriteInt("admin", "trackver", 2);
    EXPECT_EQ(Get(), "[admin]\r\nfirst=1\r\ntrackver=2\r\n");
}

TEST_F(ProfileFileTest, ValuesAndNamesCannotInjectLines) {
    ProfileFile p(path_);
    p.WriteText("export", "resol", "10\n[admin]\ntrackver=999");
    EXPECT_EQ(Get(), "[export]\nresol=10\n");
    EXPECT_EQ(p.ReadInt("admin", "trackver", 0), 0);
    p.WriteText("export", "bad\nkey", "1");
    p.WriteText("export", "a=b", "1");
    p.WriteText("ex]port", "k", "1");
    EXPECT_EQ(Get(), "[export]\nresol=10\n");
}

TEST_F(ProfileFileTest, WriteFailureIsSilentAndLeavesNoFile) {
    ProfileFile p((dir_ / "no-such-dir" / "korvale.ini").string());
    p.WriteInt("admin", "first", 1);
    EXPECT_EQ(p.ReadInt("admin", "first", 0), 0);
    EXPECT_FALSE(fs::exists(dir_ / "no-such-dir"));
}

TEST_F(ProfileFileTest, EachLineKeepsItsOwnLineEnd) {
    // The first line ends in LF, the others in CR LF; a missing last line end stays missing.
    Put("[admin]\nfirst=0\r\npath=/a b/*.kvl\r\n[graph]\r\nxaxis=1");
    ProfileFile p(path_);
    p.WriteInt("admin", "first", 1);
    EXPECT_EQ(Get(), "[admin]\nfirst=1\r\npath=/a b/*.kvl\r\n[graph]\r\nxaxis=1");
    p.WriteInt("graph", "yaxis", 4);
    EXPECT_EQ(Get(), "[admin]\nfirst=1\r\npath=/a b/*.kvl\r\n[graph]\r\nxaxis=1\nyaxis=4\n");
}

TEST_F(ProfileFileTest, ReadOnceAndWrittenOnlyWhenAValueChanges) {
    Put("[graph]\nxaxis=1\nyaxis=2\n");
    ProfileFile p(path_);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(p.ReadInt("graph", "xaxis", 0), 1);
        EXPECT_EQ(p.ReadText("graph", "missing", "d"), "d");
    }
    EXPECT_EQ(p.LoadCount(), 1);
    const auto inode = fs::status(path_).type();
    struct stat before {};
    ::stat(path_.c_str(), &before);
    p.WriteInt("graph", "xaxis", 1);  // the same value: the file is not touched
    p.WriteText("GRAPH", "YAXIS", "2");
    struct stat after {};
    ::stat(path_.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(inode, fs::file_type::regular);
    p.WriteInt("graph", "xaxis", 0);
    EXPECT_EQ(Get(), "[graph]\nxaxis=0\nyaxis=2\n");
    EXPECT_EQ(p.LoadCount(), 1);  // our own write does not make us read again
    // A change made by someone else is seen at the next read.
    Put("[graph]\nxaxis=5\n");
    EXPECT_EQ(p.ReadInt("graph", "xaxis", 0), 5);
}

// Its cost is measured by bench_settings; here, that such a file is read from disk once and
// comes through a start-up's reads and writes with every other byte kept.
TEST_F(ProfileFileTest, AMegabyteFileIsReadOnceAndKeptByteForByte) {
    std::string big = "[admin]\nfirst=1\n";
    for (int i = 0; big.size() < (1u << 20); ++i)
        big += "[recent" + std::to_string(i) + "]\nfile=/home/me/documents/lap" +
               std::to_string(i) + ".kvl\r\n";
    big += "[graph]\nxaxis=0\n";
    Put(big);
    ProfileFile p(path_);
    // About what a start-up reads and writes.
    for (int i = 0; i < 100; ++i) EXPECT_EQ(p.ReadInt("graph", "xaxis", 1), 0);
    for (int i = 0; i < 8; ++i) p.WriteInt("window", "appx", 100 + i);
    EXPECT_EQ(p.LoadCount(), 1);
    EXPECT_EQ(Get(), big + "\n[window]\nappx=107\n");
}

TEST_F(ProfileFileTest, NonRegularUnwritableOrLinkedFiles) {
    // A FIFO reads as missing without waiting and is never replaced.
    ASSERT_EQ(::mkfifo(path_.c_str(), 0644), 0);
    ProfileFile fifo(path_);
    EXPECT_EQ(fifo.ReadInt("admin", "first", 7), 7);
    fifo.WriteInt("admin", "first", 1);
    EXPECT_TRUE(fs::is_fifo(path_));
    fs::remove(path_);

    // A read-only settings file is left as it is.
    Put("[admin]\nfirst=0\n");
    fs::permissions(path_, fs::perms::owner_read);
    ProfileFile locked(path_);
    locked.WriteInt("admin", "first", 1);
    EXPECT_EQ(Get(), "[admin]\nfirst=0\n");
    EXPECT_EQ(locked.ReadInt("admin", "first", 5), 0);
    fs::remove(path_);

    // A symlinked settings file is written through its link.
    Put((dir_ / "real.ini").string(), "[admin]\nfirst=0\n");
    fs::create_symlink("real.ini", path_);
    ProfileFile linked(path_);
    linked.WriteInt("admin", "first", 1);
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(Get(), "[admin]\nfirst=1\n");
}

// Regression: one start and close of the program rewrote the settings file 41 times.
TEST_F(ProfileFileTest, DeferredWritesWaitForOneFlushOntoWhatIsOnDiskThen) {
    Put("[a]\nx=1\n");
    ProfileFile p(path_);
    p.SetDeferred(true);
    p.WriteInt("a", "x", 2);
    p.WriteText("b", "y", "hello");
    p.WriteText("b", "y", "world");
    EXPECT_EQ(p.ReadInt("a", "x", 0), 2);
    EXPECT_EQ(p.ReadText("b", "y", ""), "world");
    EXPECT_EQ(Get(), "[a]\nx=1\n");
    EXPECT_EQ(p.WriteCount(), 0);
    // Another program adds a line meanwhile: it stays, and our changes go onto it.
    Put("[a]\nx=1\nz=9\n");
    EXPECT_TRUE(p.Flush());
    EXPECT_EQ(Get(), "[a]\nx=2\nz=9\n\n[b]\ny=world\n");
    EXPECT_EQ(p.WriteCount(), 1);
    EXPECT_TRUE(p.Flush());  // nothing left to write
    EXPECT_EQ(p.WriteCount(), 1);
    // What its owner forgot to write is written when it goes.
    {
        ProfileFile q(path_);
        q.SetDeferred(true);
        q.WriteInt("a", "z", 8);
    }
    EXPECT_EQ(Get(), "[a]\nx=2\nz=8\n\n[b]\ny=world\n");
}

// Regression: with HOME unset the installed program wrote /usr/bin/korvale.ini.
TEST_F(ProfileFileTest, WithoutAPathValuesLastTheRunAndNothingIsWritten) {
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_);
    {
        ProfileFile p("");
        p.WriteInt("admin", "first", 1);
        EXPECT_EQ(p.ReadInt("admin", "first", 0), 1);
        EXPECT_FALSE(p.Flush());
        EXPECT_EQ(p.WriteCount(), 0);
    }
    fs::current_path(cwd);
    EXPECT_TRUE(fs::is_empty(dir_));
}

TEST(SettingsPath, EnvironmentOverridesTheFileBesideTheExecutable) {
    const char* saved = std::getenv(kSettingsEnvironmentVariable);
    std::string keep = saved ? saved : "";
    setenv(kSettingsEnvironmentVariable, "/tmp/elsewhere.ini", 1);
    EXPECT_EQ(SettingsPath("/opt/korvale/bin"), "/tmp/elsewhere.ini");
    setenv(kSettingsEnvironmentVariable, "", 1);
    EXPECT_EQ(SettingsPath("/opt/korvale/bin"), "/opt/korvale/bin/korvale.ini");
    unsetenv(kSettingsEnvironmentVariable);
    EXPECT_EQ(SettingsPath("/opt/korvale/bin"), "/opt/korvale/bin/korvale.ini");
    if (saved) setenv(kSettingsEnvironmentVariable, keep.c_str(), 1);
}

}  // namespace
