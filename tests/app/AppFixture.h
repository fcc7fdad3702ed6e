#pragma once
// A program directory of its own for each test: the built track data, the help file and a
// settings file that starts out missing, and the application made over it with its message
// boxes answered by the test.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppPaths.h"
#include "app/TKorvaleApp.h"
#include "app/TKorvaleWindow.h"
#include "app/TSDIDecFrame.h"
#include "platform/ProfileFile.h"

namespace app_test {

namespace fs = std::filesystem;

struct TShownMessage {
    std::string title;
    std::string text;
    TMsgIcon icon;
    TMsgButtons buttons;
};

class AppFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("korvale-app-" + std::to_string(::getpid()) + "-" +
                                           info->test_suite_name() + "-" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(fs::path(KORVALE_BIN_DIR) / "tracks.dat", dir / "tracks.dat");
        fs::copy_file(fs::path(KORVALE_SOURCE_DIR) / "data/help/Korvale.hlp", dir / "Korvale.hlp");
        paths.trackData = (dir / "tracks.dat").string();
        paths.helpFile = (dir / "Korvale.hlp").string();
        paths.settingsFile = (dir / "korvale.ini").string();
    }
    void TearDown() override {
        app.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    // Creates the application and its main window; false as the program's start would end.
    bool Start(const std::string& document = {}) {
        app = std::make_unique<TKorvaleApp>(paths, document);
        app->SetMessageAnswerer([this](const std::string& title, const std::string& text,
                                       TMsgIcon icon, TMsgButtons buttons) {
            messages.push_back({title, text, icon, buttons});
            if (!answers.empty()) {
                const TMsgAnswer a = answers.front();
                answers.pop_front();
                return a;
            }
            return buttons == TMsgButtons::Ok ? TMsgAnswer::Ok : TMsgAnswer::Cancel;
        });
        return app->CreateMainWindow();
    }
    // A second run of the program over the same directory.
    bool Restart(const std::string& document = {}) {
        app.reset();
        messages.clear();
        return Start(document);
    }

    // Marks the settings as those of a program that has run before: no first-run help,
    // no track-data announcement.
    void NotFirstRun() {
        ProfileFile s(paths.settingsFile);
        s.WriteInt("admin", "first", 1);
        s.WriteInt("admin", "trackver", 107);
    }

    std::string Sample(const std::string& name = "sample.kvl") {
        const fs::path to = dir / name;
        fs::copy_file(fs::path(KORVALE_BIN_DIR) / "sample.kvl", to,
                      fs::copy_options::overwrite_existing);
        return to.string();
    }

    ProfileFile Settings() const { return ProfileFile(paths.settingsFile); }
    TSDIDecFrame& frame() { return *app->frame(); }
    TKorvaleWindow& window() { return *app->window(); }

    bool Shown(const std::string& title) const {
        for (const auto& m : messages)
            if (m.title == title) return true;
        return false;
    }

    fs::path dir;
    AppPaths paths;
    std::unique_ptr<TKorvaleApp> app;
    std::vector<TShownMessage> messages;
    std::deque<TMsgAnswer> answers;
};

// Runs act on the next modal dialog with the given title once it is open.
inline void WhenModal(const QString& title, std::function<void(QDialog*)> act, int tries = 200) {
    QTimer::singleShot(10, [title, act, tries] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->windowTitle() == title) {
            act(dialog);
        } else if (tries > 0) {
            WhenModal(title, act, tries - 1);
        } else {
            ADD_FAILURE() << "no dialog \"" << title.toStdString() << "\"";
        }
    });
}

}  // namespace app_test
