#include "channels/LapValues.h"

#include <algorithm>

TPointedAt ResolvePointedAt(double x, TelemetryChannel kind, std::optional<int32_t> cursorPosition,
                            bool hasTrack, TelemetryChannel xAxis) {
    if (x == kPointedAtCursor) x = cursorPosition ? double(*cursorPosition) : kPointedAtNothing;
    if (!hasTrack) x = kPointedAtNothing;
    if (ChannelNumber(kind) < 0) kind = xAxis;
    return {x, kind};
}

namespace {

bool CoversFeet(const TReplay& lap, double feet) {
    const double from = lap.startPosition * lap.inchesPerUnit / 12;
    const double to = lap.endPosition * lap.inchesPerUnit / 12;
    return feet >= from && feet <= to;
}

}  // namespace

TLapValues LapValuesAt(const TReplay& lap, const TTrackData* track, double x,
                       TelemetryChannel kind) {
    double t = 0;
    double position = 0;
    if (kind == TelemetryChannel::Position) {
        if (!CoversFeet(lap, x)) return kNoLapValues;
        t = TimeAtPosition(lap, x);
        position = x;
    } else if (kind == TelemetryChannel::Time) {
        // The graph draws lap time x at x, so the readout covers the lap's own time span
        // and reads the lap at lap time x: the values are those of the curves under the
        // pointer.
        if (!(x >= 0 && x <= LapDuration(lap))) return kNoLapValues;
        t = x;
        position = PositionAt(lap, t);
    } else {
        return kNoLapValues;
    }
    return {t,
            position,
            SpeedAt(lap, t),
            LineAt(lap, t, track),
            InlineForceAt(lap, t),
            LateralForceAt(lap, t),
            SlipAngleAt(lap, t)};
}

void TLapDataTable::AddLapColumn(const TReplay& lap) {
    TLapData d;
    d.name = lap.driverName;
    d.colour = lap.colour;
    columns_.push_back(std::move(d));
}

void TLapDataTable::RemoveLapColumn(int32_t index) {
    if (index < 0 || index >= Count()) return;
    columns_.erase(columns_.begin() + index);
}

void TLapDataTable::RemoveAllLapColumns() {
    columns_.clear();
}

void TLapDataTable::UpdateLapColumn(int32_t index, const std::string& name, Rgb colour) {
    if (index < 0 || index >= Count()) return;
    columns_[size_t(index)].name = name;
    columns_[size_t(index)].colour = colour;
}

void TLapDataTable::ShowLapValues(double x, TelemetryChannel kind, const TLapValuesSource& source) {
    const TPointedAt at =
        ResolvePointedAt(x, kind, source.cursorPosition, source.track != nullptr, source.xAxis);
    if (source.laps == nullptr) {
        for (TLapData& d : columns_) {
            d.values = kNoLapValues;
            d.delta.reset();
        }
        deltaShown_ = source.deltaReference >= 0;
        return;
    }
    ShowValues(*source.laps, source.track, at, source.deltaReference);
}

void TLapDataTable::ShowValues(const TLapList& laps, const TTrackData* track, TPointedAt at,
                               int32_t deltaReference) {
    double x = at.x;
    const bool nothing = x == kPointedAtNothing || track == nullptr;
    if (!nothing && at.kind == TelemetryChannel::Position) x = x * track->inchesPerUnit / 12;
    const int32_t common = std::min(Count(), laps.Count());
    for (int32_t i = 0; i < Count(); ++i)
        columns_[size_t(i)].values =
            nothing || i >= common ? kNoLapValues : LapValuesAt(laps.At(i), track, x, at.kind);

    // The delta is the time behind the reference where both laps cover the position, as
    // the delta strip draws it.
    deltaShown_ = deltaReference >= 0;
    const bool deltaAt = deltaShown_ && !nothing && at.kind == TelemetryChannel::Position &&
                         deltaReference < laps.Count() && CoversFeet(laps.At(deltaReference), x);
    const double referenceTime = deltaAt ? TimeAtPosition(laps.At(deltaReference), x) : 0;
    for (int32_t i = 0; i < Count(); ++i) {
        std::optional<double>& delta = columns_[size_t(i)].delta;
        delta.reset();
        if (deltaAt && i < common && CoversFeet(laps.At(i), x))
            delta = TimeAtPosition(laps.At(i), x) - referenceTime;
    }
}
