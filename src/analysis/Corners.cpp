#include "analysis/Corners.h"

#include <cmath>

#include "analysis/LapAnalysis.h"
#include "channels/Channels.h"

TCornerCell CornerCell(const TReplay& lap, const TSector& sector,
                       std::optional<double> referenceTime) {
    TCornerCell cell;
    const std::optional<double> time = SectorTime(lap, sector);
    if (!time) return cell;
    cell.covered = true;
    cell.time = *time;
    if (referenceTime) cell.difference = *time - *referenceTime;
    const double tFrom = TimeAtPosition(lap, sector.from);
    const double tTo = TimeAtPosition(lap, sector.to);
    cell.entry = SpeedAt(lap, tFrom);
    cell.exit = SpeedAt(lap, tTo);
    cell.minimum = cell.entry;
    cell.minimumAt = sector.from;
    // Speeds equal but for rounding keep the earlier place, so that a steady stretch reports
    // where it begins.
    constexpr double kSame = 1e-9;
    if (cell.exit < cell.minimum - kSame) {
        cell.minimum = cell.exit;
        cell.minimumAt = sector.to;
    }
    // The samples between the ends, at the lap times where the lap has its recorded frames.
    const double firstFrame = std::ceil(lap.startFrame + tFrom * FrameRate);
    const double lastFrame = std::floor(lap.startFrame + tTo * FrameRate);
    if (std::isfinite(firstFrame) && std::isfinite(lastFrame))
        for (double f = firstFrame; f <= lastFrame; f += 1) {
            const double t = (f - lap.startFrame) / FrameRate;
            const double speed = SpeedAt(lap, t);
            if (speed < cell.minimum - kSame) {
                cell.minimum = speed;
                cell.minimumAt = PositionAt(lap, t);
            }
        }
    return cell;
}

TCornerTable ComputeCornerTable(const std::vector<const TReplay*>& laps, const TTrackData& track,
                                int32_t reference) {
    TCornerTable table;
    table.corners = TrackSectors(track);
    const bool hasReference = reference >= 0 && reference < static_cast<int32_t>(laps.size());
    table.reference = hasReference ? reference : -1;
    table.best.assign(table.corners.size(), {-1, -1, -1, -1});
    std::vector<std::optional<double>> referenceTimes(table.corners.size());
    if (hasReference)
        for (size_t c = 0; c < table.corners.size(); ++c)
            referenceTimes[c] = SectorTime(*laps[size_t(reference)], table.corners[c]);

    table.laps.reserve(laps.size());
    for (size_t i = 0; i < laps.size(); ++i) {
        std::vector<TCornerCell> row;
        row.reserve(table.corners.size());
        for (size_t c = 0; c < table.corners.size(); ++c) {
            const bool isReference = hasReference && i == size_t(reference);
            row.push_back(CornerCell(*laps[i], table.corners[c],
                                     isReference ? std::nullopt : referenceTimes[c]));
        }
        table.laps.push_back(std::move(row));
    }
    // Strictly better only, so that a tie goes to the earlier lap.
    for (size_t c = 0; c < table.corners.size(); ++c) {
        auto& best = table.best[c];
        for (size_t i = 0; i < laps.size(); ++i) {
            const TCornerCell& cell = table.laps[i][c];
            if (!cell.covered) continue;
            auto better = [&](TCornerColumn column, double value, bool lower) {
                int32_t& b = best[size_t(column)];
                if (b >= 0) {
                    const TCornerCell& was = table.laps[size_t(b)][c];
                    const double old = column == TCornerColumn::Entry     ? was.entry
                                       : column == TCornerColumn::Minimum ? was.minimum
                                       : column == TCornerColumn::Exit    ? was.exit
                                                                          : was.time;
                    if (lower ? !(value < old) : !(value > old)) return;
                }
                b = static_cast<int32_t>(i);
            };
            better(TCornerColumn::Entry, cell.entry, false);
            better(TCornerColumn::Minimum, cell.minimum, false);
            better(TCornerColumn::Exit, cell.exit, false);
            better(TCornerColumn::Time, cell.time, true);
        }
    }
    return table;
}
