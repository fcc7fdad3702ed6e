// Where the program finds its files, and the lock-key state read from the keyboard LEDs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/AppPaths.h"
#include "app/LockKeys.h"

namespace fs = std::filesystem;

namespace {
class PathsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("korvale-paths-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        if (const char* s = std::getenv("KORVALE_SETTINGS")) savedSettings = s;
        unsetenv("KORVALE_SETTINGS");
    }
    void TearDown() override {
        if (savedSettings) setenv("KORVALE_SETTINGS", savedSettings->c_str(), 1);
        fs::remove_all(root);
    }
    static void Touch(const fs::path& p) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "x";
    }
    fs::path root;
    std::optional<std::string> savedSettings;
};
}  // namespace

TEST_F(PathsTest, DataFilesBesideTheProgramComeFirstThenShareKorvale) {
    const std::string bin = (root / "bin").string();
    // Neither exists: the expected place beside the program, so messages name it.
    EXPECT_EQ(LocateDataFile(bin, "tracks.dat"), (root / "bin" / "tracks.dat").string());
    Touch(root / "share" / "korvale" / "tracks.dat");
    EXPECT_EQ(LocateDataFile(bin, "tracks.dat"),
              (root / "share" / "korvale" / "tracks.dat").string());
    Touch(root / "bin" / "tracks.dat");
    EXPECT_EQ(LocateDataFile(bin, "tracks.dat"), (root / "bin" / "tracks.dat").string());

    Touch(root / "share" / "korvale" / "Korvale.hlp");
    const AppPaths p = LocateAppPaths(bin, (root / "config").string());
    EXPECT_EQ(p.helpFile, (root / "share" / "korvale" / "Korvale.hlp").string());
    EXPECT_EQ(p.trackData, (root / "bin" / "tracks.dat").string());
}

TEST_F(PathsTest, SettingsBesideAWritableProgramOtherwiseInTheConfigDirectory) {
    const std::string bin = (root / "bin").string();
    EXPECT_EQ(LocateAppPaths(bin, (root / "config").string()).settingsFile,
              (root / "bin" / "korvale.ini").string());
    // A program directory that cannot be written (here: one that does not exist).
    const std::string gone = (root / "missing" / "bin").string();
    const AppPaths p = LocateAppPaths(gone, (root / "config").string());
    EXPECT_EQ(p.settingsFile, (root / "config" / "korvale" / "korvale.ini").string());
    EXPECT_TRUE(fs::is_directory(root / "config" / "korvale"));
    // Regression: without any configuration directory (HOME unset) the settings went beside
    // the program; now there is no settings file at all.
    EXPECT_EQ(LocateAppPaths(gone, "").settingsFile, "");
}

// Guards: an installed program run by root wrote korvale.ini into /usr/bin.
TEST_F(PathsTest, AnInstalledProgramKeepsSettingsInTheConfigDirectoryEvenWhenBinIsWritable) {
    const std::string bin = (root / "bin").string();
    Touch(root / "share" / "korvale" / "tracks.dat");
    const AppPaths p = LocateAppPaths(bin, (root / "config").string());
    EXPECT_EQ(p.trackData, (root / "share" / "korvale" / "tracks.dat").string());
    EXPECT_EQ(p.settingsFile, (root / "config" / "korvale" / "korvale.ini").string());
    // Without a configuration directory it keeps none, rather than writing into bin.
    EXPECT_EQ(LocateAppPaths(bin, "").settingsFile, "");
    // A build tree (data beside the program) keeps them beside it.
    Touch(root / "bin" / "tracks.dat");
    EXPECT_EQ(LocateAppPaths(bin, (root / "config").string()).settingsFile,
              (root / "bin" / "korvale.ini").string());
}

TEST_F(PathsTest, TheEnvironmentOverridesTheSettingsFile) {
    setenv("KORVALE_SETTINGS", (root / "elsewhere.ini").c_str(), 1);
    EXPECT_EQ(LocateAppPaths((root / "bin").string(), "").settingsFile,
              (root / "elsewhere.ini").string());
    setenv("KORVALE_SETTINGS", "", 1);
    EXPECT_EQ(LocateAppPaths((root / "bin").string(), "").settingsFile,
              (root / "bin" / "korvale.ini").string());
}

TEST_F(PathsTest, ConfigHomeFromXdgOrHome) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> savedXdg =
        xdg ? std::optional<std::string>(xdg) : std::nullopt;
    setenv("XDG_CONFIG_HOME", "/x/config", 1);
    EXPECT_EQ(UserConfigHome(), "/x/config");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    setenv("XDG_CONFIG_HOME", "relative", 1);
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        EXPECT_EQ(UserConfigHome(), (fs::path(home) / ".config").string());
    }
    if (savedXdg)
        setenv("XDG_CONFIG_HOME", savedXdg->c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST_F(PathsTest, LockKeysFromTheKeyboardLeds) {
    const fs::path leds = root / "leds";
    EXPECT_EQ(ReadLockKeyLeds(leds.string()), std::nullopt);  // no such directory
    fs::create_directories(leds / "mmc0::");
    EXPECT_EQ(ReadLockKeyLeds(leds.string()), std::nullopt);  // no keyboard LEDs
    auto led = [&](const std::string& name, int value) {
        fs::create_directories(leds / name);
        std::ofstream(leds / name / "brightness") << value << "\n";
    };
    led("input3::capslock", 1);
    led("input3::numlock", 0);
    led("input3::scrolllock", 0);
    auto s = ReadLockKeyLeds(leds.string());
    ASSERT_TRUE(s.has_value());
    EXPECT_TRUE(s->caps);
    EXPECT_FALSE(s->num);
    EXPECT_FALSE(s->scroll);
    // A second keyboard with Num Lock on: on for the program too.
    led("input7::numlock", 1);
    s = ReadLockKeyLeds(leds.string());
    ASSERT_TRUE(s.has_value());
    EXPECT_TRUE(s->num);
}
