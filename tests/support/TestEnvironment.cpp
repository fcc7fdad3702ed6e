// Linked into every test executable: Qt tests render offscreen, and anything that falls
// back to the program's settings file writes to a private file of this process instead
// of beside the test binary.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct TestEnvironment {
    std::string settingsPath;

    TestEnvironment() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        if (std::getenv("KORVALE_SETTINGS") == nullptr) {
            std::error_code ec;
            auto dir = std::filesystem::temp_directory_path(ec);
            if (ec) dir = "/tmp";
            settingsPath = (dir / ("korvale-test-" + std::to_string(getpid()) + ".ini")).string();
            setenv("KORVALE_SETTINGS", settingsPath.c_str(), 1);
        }
    }
    ~TestEnvironment() {
        if (!settingsPath.empty()) {
            std::error_code ec;
            std::filesystem::remove(settingsPath, ec);
        }
    }
};

const TestEnvironment environment;

}  // namespace
