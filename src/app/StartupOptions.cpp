#include "app/StartupOptions.h"

#include <cstring>

TStartupOptions ParseStartupOptions(int argc, const char* const* argv) {
    TStartupOptions out;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--screenshot") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                out.error = "--screenshot needs a file name";
                return out;
            }
            out.screenshotFile = argv[++i];
        } else if (out.document.empty()) {
            // Only the first document counts; later ones are ignored as the shell's
            // single-document open passes one.
            out.document = arg;
        }
    }
    return out;
}
