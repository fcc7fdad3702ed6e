#pragma once
// A replay's lap lists for the import dialogs, made up per driver: driver d has lapCounts[d]
// laps, the first and last "(partial)", the others a time or a speed that tells driver and
// lap apart. Every call is recorded.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "commands/Prompts.h"

namespace ui_test {

struct FakeLapSource {
    std::vector<int> lapCounts;
    std::vector<std::pair<int, bool>> textCalls;  // (driver, lapTimes)
    std::vector<bool> storedModes;                // each lapTimesChanged, in order

    explicit FakeLapSource(std::vector<int> counts) : lapCounts(std::move(counts)) {}

    static std::string LapText(int driver, int lap, int count, bool lapTimes) {
        if (lap == 0 || lap == count - 1) return "(partial)";
        char buf[32];
        if (lapTimes)
            std::snprintf(buf, sizeof buf, "%8.3f s", 80.0 + driver + lap / 8.0);
        else
            std::snprintf(buf, sizeof buf, "%9.3f mph", 120.0 + driver + lap / 8.0);
        return buf;
    }

    std::vector<std::string> Expected(int driver, bool lapTimes) const {
        std::vector<std::string> out;
        const int n = lapCounts[size_t(driver)];
        for (int k = 0; k < n; ++k) out.push_back(LapText(driver, k, n, lapTimes));
        return out;
    }

    TImportLapSource Source() {
        TImportLapSource s;
        s.lapTexts = [this](int32_t driver, bool lapTimes) {
            textCalls.emplace_back(driver, lapTimes);
            std::vector<std::string> out;
            if (driver < 0 || size_t(driver) >= lapCounts.size()) {
                ADD_FAILURE() << "lap texts asked for driver " << driver;
                return out;
            }
            return Expected(driver, lapTimes);
        };
        s.lapTimesChanged = [this](bool lapTimes) { storedModes.push_back(lapTimes); };
        return s;
    }
};

inline TImportLapXfer ThreeDrivers(bool lapTimes = true) {
    TImportLapXfer x;
    x.driverTexts = {" #7 - Ann Quill", "#24 - Bo Harrow", "#05 - Cy Marsh"};
    x.selectedDriver = 0;
    x.selectedLaps = {0};
    x.lapTimes = lapTimes;
    return x;
}

}  // namespace ui_test
