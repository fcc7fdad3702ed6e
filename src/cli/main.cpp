#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "platform/TempCleanup.h"

int main(int argc, char** argv) {
    // A run stopped with Ctrl+C or a kill while it extracts or saves leaves nothing behind.
    InstallTempCleanupOnSignals();
    std::vector<std::string> args(argv + 1, argv + argc);
    const int result = cli::Dispatch(args);
    // Output that did not reach its file (a full disk, a closed pipe) is a failed command,
    // whichever command wrote it: a script must never take a truncated table for a whole one.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        const int error = errno;
        std::fprintf(stderr, "korvale-cli: cannot write the output%s%s\n", error != 0 ? ": " : "",
                     error != 0 ? std::strerror(error) : "");
        return result == 0 ? 1 : result;
    }
    return result;
}
