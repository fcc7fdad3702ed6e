#include "document/LapList.h"

void TLapList::Add(std::unique_ptr<TReplay> lap) {
    if (lap) laps_.push_back(std::move(lap));
}

int32_t TLapList::IndexOfSerial(int32_t serial) const {
    for (size_t i = 0; i < laps_.size(); ++i) {
        if (laps_[i]->serial == serial) return static_cast<int32_t>(i);
    }
    return -1;
}

bool TLapList::RemoveBySerial(int32_t serial) {
    const int32_t i = IndexOfSerial(serial);
    if (i < 0) return false;
    laps_.erase(laps_.begin() + i);
    return true;
}

void TLapList::Clear() {
    if (laps_.empty()) return;
    laps_.clear();
    TReplay::ResetLapCounter();
}

TReplay* TLapList::FindBySerial(int32_t serial) {
    const int32_t i = IndexOfSerial(serial);
    return i < 0 ? nullptr : laps_[static_cast<size_t>(i)].get();
}

const TReplay* TLapList::FindBySerial(int32_t serial) const {
    const int32_t i = IndexOfSerial(serial);
    return i < 0 ? nullptr : laps_[static_cast<size_t>(i)].get();
}

std::vector<const TReplay*> TLapList::Pointers() const {
    std::vector<const TReplay*> out;
    out.reserve(laps_.size());
    for (const auto& lap : laps_) out.push_back(lap.get());
    return out;
}
