#pragma once
// The one way the tests make a lap by hand: driver and car, the samples (from a rule per
// sample, a steady run, or given arrays), and the numbers that place the lap's ends. What a
// test does not set stays as a new TReplay has it.
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "document/TReplay.h"

struct TLapSample {
    int32_t position = 0;
    int32_t line = 0;
    int16_t heading = 0;
    uint8_t aux = 0;
};

class TLapBuilder {
  public:
    // The lap takes its serial from the program-wide counter here, as a TReplay does.
    explicit TLapBuilder(const char* driverName = "Tester", int32_t carNumber = 7)
        : lap_(std::make_unique<TReplay>(driverName, carNumber)) {}

    // n samples, sample k as rule(k) gives it.
    TLapBuilder& Samples(int32_t n, const std::function<TLapSample(int32_t)>& rule) {
        lap_->ResizeSamples(n);
        for (int32_t k = 0; k < n; ++k) {
            const TLapSample s = rule(k);
            const auto i = static_cast<size_t>(k);
            lap_->positions[i] = s.position;
            lap_->lines[i] = s.line;
            lap_->headings[i] = s.heading;
            lap_->auxBytes[i] = s.aux;
        }
        return *this;
    }

    // n samples at from + k * step, all on one line with one heading.
    TLapBuilder& Steady(int32_t n, int32_t from, int32_t step, int32_t line = 0,
                        int16_t heading = 0) {
        return Samples(n, [=](int32_t k) { return TLapSample{from + k * step, line, heading}; });
    }

    // The positions as given; lines and headings too where given, else zero.
    TLapBuilder& Positions(std::vector<int32_t> positions, std::vector<int32_t> lines = {},
                           std::vector<int16_t> headings = {}) {
        lap_->ResizeSamples(static_cast<int32_t>(positions.size()));
        lap_->positions = std::move(positions);
        if (!lines.empty()) lap_->lines = std::move(lines);
        if (!headings.empty()) lap_->headings = std::move(headings);
        return *this;
    }

    TLapBuilder& Frames(double startFrame, double endFrame) {
        lap_->startFrame = startFrame;
        lap_->endFrame = endFrame;
        return *this;
    }
    TLapBuilder& Span(double startPosition, double endPosition) {
        lap_->startPosition = startPosition;
        lap_->endPosition = endPosition;
        return *this;
    }
    TLapBuilder& Scale(double inchesPerUnit) {
        lap_->inchesPerUnit = inchesPerUnit;
        return *this;
    }
    TLapBuilder& Length(int32_t lapLength) {
        lap_->lapLength = lapLength;
        return *this;
    }
    TLapBuilder& Colour(Rgb colour) {
        lap_->colour = colour;
        return *this;
    }

    std::unique_ptr<TReplay> Build() { return std::move(lap_); }

  private:
    std::unique_ptr<TReplay> lap_;
};
