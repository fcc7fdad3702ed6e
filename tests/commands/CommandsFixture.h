#pragma once
// A main window's worth of state without a window: a track list, a private settings file
// in a temporary directory, the document, and scripted prompts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ScriptedPrompts.h"
#include "commands/CommandContext.h"
#include "commands/DocumentCommands.h"
#include "document/KvlFile.h"
#include "platform/ProfileFile.h"
#include "support/DocumentEdits.h"
#include "support/LapAssertions.h"
#include "support/LapBuilder.h"
#include "track/TrackList.h"

namespace commands_test {

inline std::unique_ptr<TTrackData> MakeTrack(const std::string& name, uint8_t id,
                                             const std::string& pattern,
                                             const std::string& alt = "", int32_t length = 95040,
                                             double inchesPerUnit = 1.0) {
    auto t = std::make_unique<TTrackData>();
    t->name = name;
    t->trackId = id;
    t->pathPattern = pattern;
    t->altPathPattern = alt;
    t->trackLength = length;
    t->inchesPerUnit = inchesPerUnit;
    return t;
}

// A lap of n samples moving steadily forward.
inline std::unique_ptr<TReplay> MakeLap(const char* name, int32_t n, int32_t step = 100,
                                        Rgb colour = {}) {
    return TLapBuilder(name, 7)
        .Samples(n,
                 [step](int32_t i) {
                     return TLapSample{i * step, (i % 7) - 3, int16_t(i * 11), uint8_t(i)};
                 })
        .Frames(-0.25, n - 0.5)
        .Span(0, 95040)
        .Scale(1.0)
        .Length(95040)
        .Colour(colour)
        .Build();
}

inline std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A document file assembled field by field, so that a test can stop it anywhere.
class KvlBytes {
  public:
    KvlBytes& I32(int32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(uint8_t(uint32_t(v) >> (8 * i)));
        return *this;
    }
    KvlBytes& Lap(const TReplay& lap) {
        std::ostringstream out;
        WriteKvlLap(out, lap);
        const std::string s = out.str();
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    KvlBytes& Raw(const std::vector<uint8_t>& b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
};

class CommandsTest : public testing::Test {
  protected:
    CommandsTest()
        : dir_(std::filesystem::temp_directory_path() /
               ("korvale-commands-" + std::to_string(getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name())),
          settings_((std::filesystem::create_directories(dir_), (dir_ / "korvale.ini").string())),
          ctx{doc, view, session, tracks, settings_, prompts} {
        doc.Subscribe(prompts);
        // Sorted by name as the track list keeps them: Bullring, Oval, Ridge.
        tracks.Insert(MakeTrack("Oval", 24, "oval"));
        tracks.Insert(MakeTrack("Ridge", 156, "ridge", "kestrel"));
        tracks.Insert(MakeTrack("Bullring", 3, "bullring"));
        TReplay::ResetLapCounter();
    }
    ~CommandsTest() override {
        doc.Unsubscribe(prompts);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Dir() const { return dir_.string(); }

    // Appends a lap to the document as an import would leave it (without the prompts).
    TReplay& AddLap(const char* name, int32_t n = 20, Rgb colour = {255, 0, 0}) {
        auto lap = MakeLap(name, n, 100, colour);
        TReplay& ref = *lap;
        doc.AddLap(std::move(lap));
        return ref;
    }
    // A document on the track of that name with the given laps, marked changed.
    void MakeDocument(const std::string& track, std::vector<const char*> names) {
        doc.SetCurrentTrack(TrackIndex(track));
        for (const char* n : names) AddLap(n);
        doc.SetDirty(true);
    }
    std::string Setting(const std::string& section, const std::string& key,
                        const std::string& def = "<missing>") const {
        return settings_.ReadText(section, key, def, 260);
    }
    ProfileFile& settings() { return settings_; }
    int TrackIndex(const std::string& name) const { return tracks.FindByName(name); }

    // A fresh settings object over the same file, as the next run of the program has.
    ProfileFile NextRunSettings() const { return ProfileFile(settings_.path()); }

    std::filesystem::path dir_;
    ProfileFile settings_;

  public:
    TTrackList tracks;
    TDocument doc{tracks};
    TViewState view;
    TSessionState session;
    ScriptedPrompts prompts;
    TCommandContext ctx;
};

}  // namespace commands_test
