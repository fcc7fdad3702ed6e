#include "cli/Command.h"

#include <algorithm>
#include <cstdio>

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
    std::fprintf(out, "\n'korvale-cli COMMAND --help' describes a command.\n");
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
