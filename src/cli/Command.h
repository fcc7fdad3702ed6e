#pragma once
// korvale-cli commands register themselves here; main() dispatches on the first word.

#include <functional>
#include <string>
#include <vector>

namespace cli {

// args: the words after the command name. Returns the process exit code.
using CommandFn = std::function<int(const std::vector<std::string>& args)>;

struct Command {
    std::string name;
    std::string summary;
    CommandFn run;
};

std::vector<Command>& Registry();

struct Registration {
    Registration(std::string name, std::string summary, CommandFn run) {
        Registry().push_back({std::move(name), std::move(summary), std::move(run)});
    }
};

// Runs one command line (args[0] is the command name) as main() would.
int Dispatch(const std::vector<std::string>& args);

}  // namespace cli
