#include <string>
#include <vector>

#include "cli/Command.h"
#include "platform/TempCleanup.h"

int main(int argc, char** argv) {
    // A run stopped with Ctrl+C or a kill while it extracts or saves leaves nothing behind.
    InstallTempCleanupOnSignals();
    std::vector<std::string> args(argv + 1, argv + argc);
    return cli::Dispatch(args);
}
