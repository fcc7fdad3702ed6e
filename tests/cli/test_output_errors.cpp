#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct TProcessResult {
    int code = -1;
    std::string err;
};

// The real korvale-cli with its standard output on a full disk.
TProcessResult RunIntoFullDisk(const std::string& arguments) {
    const fs::path err =
        fs::temp_directory_path() / ("korvale-cli-full-" + std::to_string(::getpid()) + ".txt");
    const std::string command = "\"" KORVALE_BIN_DIR "/korvale-cli\" " + arguments +
                                " >/dev/full 2>\"" + err.string() + "\"";
    TProcessResult r;
    const int status = std::system(command.c_str());
    if (WIFEXITED(status)) r.code = WEXITSTATUS(status);
    std::ifstream in(err);
    std::stringstream text;
    text << in.rdbuf();
    r.err = text.str();
    fs::remove(err);
    return r;
}

// Regression: tracks dump and tracks list into a full disk exited 0 with a truncated file.
TEST(CliOutput, EveryCommandWhoseOutputCannotBeWrittenFailsAndSaysSo) {
    const std::string tracks = "\"" KORVALE_BIN_DIR "/tracks.dat\"";
    for (const std::string& args :
         {"tracks list --tracks " + tracks, "tracks dump " + tracks,
          "info \"" KORVALE_BIN_DIR "/sample.kvl\" --tracks " + tracks, std::string("--help")}) {
        SCOPED_TRACE(args);
        const TProcessResult r = RunIntoFullDisk(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("korvale-cli: cannot write the output"), std::string::npos) << r.err;
    }
}

}  // namespace
