#include "track/TTrackData.h"

namespace {
// Program-wide count of extra lines made; two extra lines are the same exactly when their
// serials are equal.
int32_t otherCounter = 0;
}  // namespace

TTrackOther::TTrackOther() : serial(otherCounter++) {}

int32_t TTrackOther::Counter() {
    return otherCounter;
}
