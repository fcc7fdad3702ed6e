#pragma once
// Temporary files and directories that must not outlive a program stopped by Ctrl+C or a
// kill: an archive member half extracted, its directory, a save not yet renamed into place.
// While a TTempPathGuard lives, its path is removed if SIGINT or SIGTERM ends the process
// (after the handlers were installed); the signal then ends the process as it would have.
//
// The paths live in a fixed table of fixed-size slots, because a signal handler may not
// allocate or take a lock; this table is the one piece of global mutable state it needs.
// A path that does not fit, or a full table, is simply not watched.
#include <string>

class TTempPathGuard {
  public:
    explicit TTempPathGuard(const std::string& path);
    ~TTempPathGuard();
    TTempPathGuard(const TTempPathGuard&) = delete;
    TTempPathGuard& operator=(const TTempPathGuard&) = delete;

  private:
    int slot_ = -1;
};

// Installs the SIGINT and SIGTERM handlers that remove the guarded paths, newest first (a
// file before the directory that holds it).
void InstallTempCleanupOnSignals();
