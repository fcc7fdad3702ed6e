#include "analysis/Sectors.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "analysis/LapAnalysis.h"
#include "channels/Channels.h"

std::vector<TSector> TrackSectors(const TTrackData& track) {
    const double length = track.trackLength * track.inchesPerUnit / 12;
    std::vector<std::pair<double, std::string>> corners;
    const size_t count = std::min(track.cornerNames.size(), track.cornerPositions.size());
    for (size_t c = 0; c < count; ++c)
        if (std::isfinite(track.cornerPositions[c]))
            corners.emplace_back(track.cornerPositions[c], track.cornerNames[c]);
    // Corners listed out of order still split the track by where they are.
    std::stable_sort(corners.begin(), corners.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<TSector> sectors;
    if (corners.empty()) {
        const char* const names[3] = {"S1", "S2", "S3"};
        for (int s = 0; s < 3; ++s)
            sectors.push_back({names[s], length * s / 3, length * (s + 1) / 3});
        sectors.back().to = length;
        return sectors;
    }
    // Boundaries stay within the track, so that a corner listed beyond its end cannot
    // make a sector run backwards.
    auto clamp = [length](double feet) { return std::clamp(feet, 0.0, std::max(length, 0.0)); };
    double from = 0;
    for (size_t c = 0; c < corners.size(); ++c) {
        const double to = c + 1 < corners.size()
                              ? clamp((corners[c].first + corners[c + 1].first) / 2)
                              : std::max(length, 0.0);
        sectors.push_back({corners[c].second, from, std::max(from, to)});
        from = std::max(from, to);
    }
    return sectors;
}

std::optional<double> SectorTime(const TReplay& lap, const TSector& sector) {
    if (!CoversPosition(lap, sector.from) || !CoversPosition(lap, sector.to)) return std::nullopt;
    return TimeAtPosition(lap, sector.to) - TimeAtPosition(lap, sector.from);
}

TSectorTable ComputeSectorTable(const std::vector<const TReplay*>& laps, const TTrackData& track,
                                int32_t reference) {
    TSectorTable table;
    table.sectors = TrackSectors(track);
    const size_t sectorCount = table.sectors.size();
    table.bestLap.assign(sectorCount, -1);
    table.bestTimes.assign(sectorCount, std::nullopt);
    table.rows.reserve(laps.size());
    for (size_t i = 0; i < laps.size(); ++i) {
        const TReplay& lap = *laps[i];
        TSectorRow row;
        row.lapTime = LapTime(lap);
        row.fullLap = IsFullLap(lap);
        row.times.reserve(sectorCount);
        for (size_t s = 0; s < sectorCount; ++s) {
            const std::optional<double> time = SectorTime(lap, table.sectors[s]);
            row.times.push_back(time);
            if (time && (!table.bestTimes[s] || *time < *table.bestTimes[s])) {
                table.bestTimes[s] = time;
                table.bestLap[s] = static_cast<int32_t>(i);
            }
        }
        table.rows.push_back(std::move(row));
    }
    table.fastestLap = FastestLap(laps);
    if (sectorCount > 0 && std::all_of(table.bestTimes.begin(), table.bestTimes.end(),
                                       [](const auto& t) { return t.has_value(); })) {
        double sum = 0;
        for (const auto& t : table.bestTimes) sum += *t;
        table.ideal = sum;
    }
    if (reference < 0 || reference >= static_cast<int32_t>(laps.size())) return table;
    table.reference = reference;
    const TSectorRow& ref = table.rows[size_t(reference)];
    for (size_t i = 0; i < table.rows.size(); ++i) {
        TSectorRow& row = table.rows[i];
        row.differences.assign(sectorCount, std::nullopt);
        if (i == size_t(reference)) continue;
        for (size_t s = 0; s < sectorCount; ++s)
            if (row.times[s] && ref.times[s]) row.differences[s] = *row.times[s] - *ref.times[s];
        // Only whole laps have lap times to compare.
        if (row.fullLap && ref.fullLap) row.lapDifference = row.lapTime - ref.lapTime;
    }
    return table;
}
