#pragma once
// The document's laps, in the order they were added. Laps are identified by serial only:
// two laps with identical samples and names are still different laps.

#include <cstdint>
#include <memory>
#include <vector>

#include "document/TReplay.h"

class TLapList {
  public:
    void Add(std::unique_ptr<TReplay> lap);
    // Removes and destroys the lap with this serial; false when there is none.
    bool RemoveBySerial(int32_t serial);
    // Destroys every lap; the lap counter goes back to 0 only when laps were held.
    void Clear();

    int32_t Count() const { return static_cast<int32_t>(laps_.size()); }
    bool Empty() const { return laps_.empty(); }
    TReplay& At(int32_t index) { return *laps_.at(static_cast<size_t>(index)); }
    const TReplay& At(int32_t index) const { return *laps_.at(static_cast<size_t>(index)); }
    // Index of the lap with this serial, or -1.
    int32_t IndexOfSerial(int32_t serial) const;
    TReplay* FindBySerial(int32_t serial);
    const TReplay* FindBySerial(int32_t serial) const;

    // The laps in list order, for computations over all of them (extents, export).
    std::vector<const TReplay*> Pointers() const;

  private:
    std::vector<std::unique_ptr<TReplay>> laps_;
};
