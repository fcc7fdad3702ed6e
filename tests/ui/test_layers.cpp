// The arrows of the tree run one way: no subsystem's dialog includes a header of the program
// (app/), which is built on top of them. Regression: the dialogs took their button helper
// from app/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(Layers, NoDialogOfASubsystemIncludesTheProgramsHeaders) {
    std::vector<std::string> offending;
    int files = 0;
    for (const fs::directory_entry& entry :
         fs::recursive_directory_iterator(fs::path(KORVALE_SOURCE_DIR) / "src")) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file() || path.parent_path().filename() != "ui") continue;
        ++files;
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("#include \"app/", 0) == 0)
                offending.push_back(fs::relative(path, KORVALE_SOURCE_DIR).string() + ": " + line);
    }
    EXPECT_GT(files, 10) << "the dialogs were not found";
    EXPECT_TRUE(offending.empty()) << testing::PrintToString(offending);
}
