#pragma once
// Channel values of one lap at a run of x values that only grow, as the graph asks for them
// column by column. Every value equals ChannelValue's bit for bit; the walk is only faster:
// - the time at a position is found by moving forward from the previous column's sample
//   instead of searching the lap again;
// - what depends only on the lap (its sample count, duration, where a frame lies safely
//   inside it) is worked out once, when the walk starts;
// - the speed and the smoothed forces, away from the lap's first and last frames, are
//   worked for many columns at once, and the forces evaluate each of their nested
//   interpolations once where the same lap time is asked for twice.
// A walk reads its lap and track while it lives; it belongs to one thread.

#include <cstddef>
#include <cstdint>

#include "channels/Channels.h"

class TChannelWalk {
  public:
    TChannelWalk(const TReplay& lap, const TTrackData* track);

    // The lap time at x of channel xChannel: x itself on Time, the time at position x (feet)
    // otherwise. Positions asked in ascending order cost a few steps each; one smaller
    // than the last starts the search afresh.
    double TimeOf(double x, TelemetryChannel xChannel);

    // ChannelValue(lap, x, xChannel, yChannel, track), given t = TimeOf(x, xChannel).
    double ValueAt(double x, TelemetryChannel xChannel, double t, TelemetryChannel yChannel) const;
    // The same for count columns at once: out[c] for x[c] and t[c].
    void ValuesAt(const double* x, const double* t, size_t count, TelemetryChannel xChannel,
                  TelemetryChannel yChannel, double* out) const;

  private:
    // True when every frame that the forces at t reach (three frames either way) lies
    // inside the samples and the lap, away from its first and last frame, with a whole
    // frame to spare for rounding.
    bool Inside(double t) const;
    // Columns are worked in chunks small enough for the stack; each step of a chunk is one
    // short loop of the same operations over all its columns, which the compiler can do
    // two columns at a time.
    static constexpr size_t Chunk = 16;
    template <size_t K>
    void SampleFeet(const int32_t* samples, const double (&f)[K][Chunk], size_t m,
                    double (&feet)[K][Chunk]) const;
    void SpeedsInside(const double* t, size_t m, double* out) const;
    void ForceMeansInside(const int32_t* samples, const double* t, size_t m, double* out,
                          bool* ok) const;
    // One column the way ChannelValue takes it.
    double Value(double x, TelemetryChannel xChannel, double t, TelemetryChannel yChannel) const;

    const TReplay& lap_;
    const TTrackData* track_;
    size_t n_;
    double startFrame_, endFrame_, inchesPerUnit_;
    // Bounds on startFrame + 15 t within which Inside holds; empty when the lap's numbers
    // are too large for the rounding argument behind it.
    double insideFrom_ = 1, insideTo_ = 0;
    const int32_t* positions_ = nullptr;
    const int32_t* lines_ = nullptr;
    const int32_t* index_ = nullptr;  // running maximum of positions
    // The cursor: index_[cursor_] is the first sample past lastPosition_ (in track units).
    size_t cursor_ = 1;
    double lastPosition_;
};
