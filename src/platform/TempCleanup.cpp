#include "platform/TempCleanup.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

constexpr int kSlots = 16;
constexpr std::size_t kPathBytes = 4096;

struct TSlot {
    std::atomic<bool> used{false};
    // Raised once the path is written and lowered before the slot is given back, so that
    // the handler never reads a path being written.
    std::atomic<bool> ready{false};
    // Newest-first order of removal.
    std::atomic<unsigned> order{0};
    std::array<char, kPathBytes> path{};
};

std::array<TSlot, kSlots> gSlots;
std::atomic<unsigned> gNextOrder{1};

void RemovePath(const char* path) {
#ifndef _WIN32
    // Only async-signal-safe calls: one of the two fails on the other kind of entry.
    if (::unlink(path) != 0) ::rmdir(path);
#else
    std::remove(path);
#endif
}

extern "C" void RemoveTempPathsAndDie(int sig) {
    bool done[kSlots] = {};
    for (;;) {
        int newest = -1;
        unsigned newestOrder = 0;
        for (int i = 0; i < kSlots; ++i) {
            const TSlot& s = gSlots[std::size_t(i)];
            if (done[i] || !s.ready.load()) continue;
            const unsigned order = s.order.load();
            if (newest < 0 || order > newestOrder) {
                newest = i;
                newestOrder = order;
            }
        }
        if (newest < 0) break;
        done[newest] = true;
        RemovePath(gSlots[std::size_t(newest)].path.data());
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

}  // namespace

TTempPathGuard::TTempPathGuard(const std::string& path) {
    if (path.empty() || path.size() >= kPathBytes) return;
    for (int i = 0; i < kSlots; ++i) {
        TSlot& s = gSlots[std::size_t(i)];
        bool expected = false;
        if (!s.used.compare_exchange_strong(expected, true)) continue;
        std::memcpy(s.path.data(), path.c_str(), path.size() + 1);
        s.order.store(gNextOrder.fetch_add(1));
        s.ready.store(true);
        slot_ = i;
        return;
    }
}

TTempPathGuard::~TTempPathGuard() {
    if (slot_ < 0) return;
    TSlot& s = gSlots[std::size_t(slot_)];
    s.ready.store(false);
    s.used.store(false);
}

void InstallTempCleanupOnSignals() {
    std::signal(SIGINT, RemoveTempPathsAndDie);
    std::signal(SIGTERM, RemoveTempPathsAndDie);
}
