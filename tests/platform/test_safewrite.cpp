// Saving respects what it replaces, and reading refuses what is not a regular file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/ReadFile.h"
#include "platform/SafeWrite.h"
#include "platform/TempCleanup.h"
#include "platform/Utf8.h"

namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("korvale-files-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static void Put(const std::string& path, const std::string& text) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Everything in the directory, so that a temporary file left behind shows.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    static mode_t Mode(const std::string& path) {
        struct stat st {};
        ::stat(path.c_str(), &st);
        return st.st_mode & 07777;
    }

    fs::path dir_;
};

// Regression: a save that failed part way destroyed the earlier file.
TEST_F(FilesTest, ReplacesAWholeFileAndLeavesNoTemporaryFile) {
    Put(Path("doc.kvl"), "old contents that are longer");
    EXPECT_EQ(SafeWriteFile(Path("doc.kvl"), "new"), SafeWriteStatus::Ok);
    EXPECT_EQ(Get(Path("doc.kvl")), "new");
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.kvl"});

    // A save given up before it is committed leaves the earlier file and nothing else.
    {
        TSafeWrite out(Path("doc.kvl"));
        ASSERT_TRUE(out.Open());
        out.Stream() << "half";
    }
    EXPECT_EQ(Get(Path("doc.kvl")), "new");
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.kvl"});

    // A new file is made with the usual mode for new files.
    const mode_t mask = ::umask(022);
    EXPECT_EQ(SafeWriteFile(Path("fresh.txt"), "x"), SafeWriteStatus::Ok);
    ::umask(mask);
    EXPECT_EQ(Mode(Path("fresh.txt")), 0644u);
}

TEST_F(FilesTest, WritesThroughASymlinkAndKeepsTheLink) {
    fs::create_directories(dir_ / "real");
    Put(Path("real/doc.kvl"), "old");
    fs::create_symlink("real/doc.kvl", dir_ / "link.kvl");
    EXPECT_EQ(SafeWriteFile(Path("link.kvl"), "new"), SafeWriteStatus::Ok);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.kvl"));
    EXPECT_EQ(Get(Path("real/doc.kvl")), "new");
    // A link that names a file not yet there makes that file.
    fs::create_symlink("real/later.kvl", dir_ / "dangling.kvl");
    EXPECT_EQ(SafeWriteFile(Path("dangling.kvl"), "made"), SafeWriteStatus::Ok);
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.kvl"));
    EXPECT_EQ(Get(Path("real/later.kvl")), "made");
    // A loop of links is refused.
    fs::create_symlink("loop2", dir_ / "loop1");
    fs::create_symlink("loop1", dir_ / "loop2");
    EXPECT_EQ(SafeWriteFile(Path("loop1"), "x"), SafeWriteStatus::CannotCreate);
}

TEST_F(FilesTest, RefusesTargetsThatAreNotWritableRegularFiles) {
    Put(Path("readonly.kvl"), "keep");
    fs::permissions(Path("readonly.kvl"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(SafeWriteFile(Path("readonly.kvl"), "new"), SafeWriteStatus::CannotCreate);
    EXPECT_EQ(Get(Path("readonly.kvl")), "keep");
    EXPECT_EQ(Mode(Path("readonly.kvl")), 0444u);

    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0644), 0);
    EXPECT_EQ(SafeWriteFile(Path("fifo"), "new"), SafeWriteStatus::CannotCreate);
    EXPECT_TRUE(fs::is_fifo(Path("fifo")));
    EXPECT_EQ(SafeWriteFile(dir_.string(), "new"), SafeWriteStatus::CannotCreate);

    // A copy of /dev/null, where the system lets us make one.
    if (::mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_EQ(SafeWriteFile(Path("null"), "new"), SafeWriteStatus::CannotCreate);
        EXPECT_TRUE(fs::is_character_file(Path("null")));
    }
    EXPECT_EQ(SafeWriteFile(Path("no-such-dir/doc.kvl"), "x"), SafeWriteStatus::CannotCreate);
    EXPECT_FALSE(fs::exists(Path("no-such-dir")));
}

TEST_F(FilesTest, KeepsModeOwnerAndHardLinks) {
    Put(Path("private.kvl"), "old");
    ::chmod(Path("private.kvl").c_str(), 0600);
    EXPECT_EQ(SafeWriteFile(Path("private.kvl"), "new"), SafeWriteStatus::Ok);
    EXPECT_EQ(Mode(Path("private.kvl")), 0600u);
    ::chmod(Path("private.kvl").c_str(), 0640);
    EXPECT_EQ(SafeWriteFile(Path("private.kvl"), "newer"), SafeWriteStatus::Ok);
    EXPECT_EQ(Mode(Path("private.kvl")), 0640u);

    if (::geteuid() == 0) {
        // Root may give the new file the old one's owner, and must.
        ASSERT_EQ(::chown(Path("private.kvl").c_str(), 65534, 65534), 0);
        EXPECT_EQ(SafeWriteFile(Path("private.kvl"), "owned"), SafeWriteStatus::Ok);
        struct stat st {};
        ::stat(Path("private.kvl").c_str(), &st);
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(st.st_gid, 65534u);
    }

    Put(Path("a.kvl"), "old");
    fs::create_hard_link(Path("a.kvl"), Path("b.kvl"));
    EXPECT_EQ(SafeWriteFile(Path("a.kvl"), "shared"), SafeWriteStatus::Ok);
    EXPECT_EQ(Get(Path("b.kvl")), "shared");
    EXPECT_EQ(fs::hard_link_count(Path("a.kvl")), 2u);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a.kvl", "b.kvl", "private.kvl"}));
}

TEST_F(FilesTest, LongNamesSaveWithinTheNameLimit) {
    const long limit = ::pathconf(dir_.c_str(), _PC_NAME_MAX);
    const std::string longest(static_cast<size_t>(limit > 0 ? limit : 255) - 4, 'n');
    for (const std::string& name : {std::string(250 - 4, 'd') + ".kvl", longest + ".kvl"}) {
        EXPECT_EQ(SafeWriteFile(Path(name), "one"), SafeWriteStatus::Ok) << name.size();
        EXPECT_EQ(SafeWriteFile(Path(name), "two"), SafeWriteStatus::Ok) << name.size();
        EXPECT_EQ(Get(Path(name)), "two");
    }
    EXPECT_EQ(Entries().size(), 2u);
}

// A directory that cannot take a temporary file, holding a file that can be written: the
// file is written in place. Run as an ordinary user (a child that gives up root, when the
// tests run as root, since root may create files anywhere).
TEST_F(FilesTest, WritesInPlaceWhereTheDirectoryTakesNoTemporaryFile) {
    fs::create_directories(dir_ / "locked");
    const std::string target = Path("locked/doc.kvl");
    Put(target, "old");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
        ::chmod(dir_.c_str(), 0755);
    }
    ::chmod((dir_ / "locked").c_str(), 0555);
    const pid_t child = root ? ::fork() : 0;
    if (child == 0) {
        if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        TSafeWrite out(target);
        const bool opened = out.Open();
        const bool inPlace = out.InPlace();
        if (opened) out.Stream() << "new";
        const bool committed = opened && out.Commit();
        const int code = !opened ? 4 : !inPlace ? 5 : !committed ? 6 : 0;
        if (root) ::_exit(code);
        EXPECT_EQ(code, 0);
    } else {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_EQ(Get(target), "new");
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(dir_ / "locked")) entries += !e.path().empty();
    EXPECT_EQ(entries, 1u);  // no temporary file
    // A file that is not there cannot be made in such a directory.
    if (!root) {
        EXPECT_EQ(SafeWriteFile(Path("locked/other.kvl"), "x"), SafeWriteStatus::CannotCreate);
    }
}

// Regression: readers opened FIFOs and devices and waited on them for ever.
TEST_F(FilesTest, ReadersOpenOnlyRegularFilesAndNeverWait) {
    Put(Path("doc.kvl"), "0123456789");
    fs::create_symlink("doc.kvl", dir_ / "link.kvl");
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0644), 0);

    const auto start = std::chrono::steady_clock::now();
    TReadFile file;
    EXPECT_FALSE(file.Open(Path("fifo")));
    EXPECT_FALSE(file.Open(dir_.string()));
    EXPECT_FALSE(file.Open(Path("missing")));
    EXPECT_EQ(OpenRegularFileForReading(Path("fifo")), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    ASSERT_TRUE(file.Open(Path("link.kvl")));
    EXPECT_EQ(file.Size(), 10);
    std::istream& in = file.Stream();
    char four[4];
    ASSERT_TRUE(in.read(four, 4));
    EXPECT_EQ(std::string(four, 4), "0123");
    // What the readers do to learn the bytes left: tell, seek to the end, seek back.
    EXPECT_EQ(in.tellg(), 4);
    in.seekg(0, std::ios::end);
    EXPECT_EQ(in.tellg(), 10);
    in.seekg(4);
    ASSERT_TRUE(in.read(four, 4));
    EXPECT_EQ(std::string(four, 4), "4567");

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(file.Open(Path("doc.kvl")));
    EXPECT_FALSE(file.ReadAll(bytes, 9));
    ASSERT_TRUE(file.Open(Path("doc.kvl")));
    ASSERT_TRUE(file.ReadAll(bytes, 10));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "0123456789");
}

TEST(Utf8, ControlCharactersAndBrokenSequencesAreEscaped) {
    EXPECT_EQ(EscapeControls("Ann Lee"), "Ann Lee");
    EXPECT_EQ(EscapeControls("Jos\xC3\xA9 \xE2\x82\xAC"), "Jos\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(EscapeControls("\x1B[2Jx\x07\x7F"), "\\x1B[2Jx\\x07\\x7F");
    EXPECT_EQ(EscapeControls("a\xC2\x9B"
                             "1m"),
              "a\\xC2\\x9B1m");  // U+009B, the C1 CSI
    EXPECT_EQ(EscapeControls("caf\xE9"), "caf\\xE9");
    EXPECT_EQ(EscapeControls("\xC0\xAF\xED\xA0\x80"), "\\xC0\\xAF\\xED\\xA0\\x80");
    EXPECT_TRUE(IsValidUtf8("Jos\xC3\xA9 \xF0\x9F\x8F\x81"));
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));          // cut short
}

// Regression: a save stopped by Ctrl+C or a kill left its temporary file beside the target.
TEST_F(FilesTest, ASaveEndedBySignalLeavesNoTemporaryFile) {
    Put(Path("laps.txt"), "old");
    for (const int sig : {SIGINT, SIGTERM}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            InstallTempCleanupOnSignals();
            TSafeWrite out(Path("laps.txt"));
            if (!out.Open() || !out.Write("new, half", 9)) _exit(3);
            out.Stream().flush();
            std::raise(sig);
            _exit(4);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), sig) << "the signal still ends the program";
        EXPECT_EQ(Entries(), std::vector<std::string>{"laps.txt"});
        EXPECT_EQ(Get(Path("laps.txt")), "old");
    }
}

}  // namespace
