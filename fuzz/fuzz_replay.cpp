// Feeds arbitrary bytes to the replay reader as a replay file: header and driver table,
// the lap scan, the lap descriptions and the reading of every lap found.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "replay/OpenReplay.h"

namespace {

std::string InputPath() {
    static const std::string path = "/tmp/korvale-fuzz-replay-" + std::to_string(getpid()) + ".rpl";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = InputPath();
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return 0;
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    TOpenReplay replay;
    // A short track makes crossings, and so laps, likely in random positions.
    if (OpenReplay(path, 4000, 6.0, replay) == TReplayReadStatus::Ok) {
        int reads = 0;
        for (size_t i = 0; i < replay.laps.size(); ++i) {
            const auto& chain = replay.laps[i];
            for (size_t k = 0; k < chain.size() && reads < 64; ++k, ++reads) {
                (void)LapDescription(chain, k, k % 2 == 0, replay.header);
                std::unique_ptr<TReplay> lap;
                ReadReplayLap(replay, int32_t(i), int32_t(k), lap);
            }
        }
    }
    std::remove(path.c_str());
    return 0;
}
