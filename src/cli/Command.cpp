#include "cli/Command.h"

#include <algorithm>
#include <cstdio>

#include "cli/VersionText.h"
#include "platform/VersionData.h"

namespace cli {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

static void PrintUsage(FILE* out) {
    std::fprintf(out, "usage: korvale-cli COMMAND [ARGS...]\n\ncommands:\n");
    std::vector<const Command*> sorted;
    for (const auto& c : Registry()) sorted.push_back(&c);
    std::sort(sorted.begin(), sorted.end(),
              [](const Command* a, const Command* b) { return a->name < b->name; });
    for (const auto* c : sorted)
        std::fprintf(out, "  %-14s %s\n", c->name.c_str(), c->summary.c_str());
    std::fprintf(out,
                 "\n'korvale-cli COMMAND --help' describes a command;"
                 " 'korvale-cli --version' names the version.\n");
}

static void PrintVersion() {
    VersionData version;
    version.Parse(CompiledVersionText());
    std::printf("korvale-cli (%s) %s\n", version.ProductName().value_or("Korvale").c_str(),
                version.ProductVersion().value_or("unknown").c_str());
}

int Dispatch(const std::vector<std::string>& args) {
    if (args.empty()) {
        PrintUsage(stderr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(stdout);
        return 0;
    }
    if (args[0] == "--version") {
        PrintVersion();
        return 0;
    }
    if (args[0].size() > 1 && args[0][0] == '-') {
        std::fprintf(stderr, "korvale-cli: unknown option '%s'\n", args[0].c_str());
        PrintUsage(stderr);
        return 2;
    }
    for (const auto& c : Registry()) {
        if (c.name == args[0]) {
            return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
        }
    }
    std::fprintf(stderr, "korvale-cli: unknown command '%s'\n", args[0].c_str());
    PrintUsage(stderr);
    return 2;
}

}  // namespace cli
