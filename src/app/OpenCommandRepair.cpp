#include "app/OpenCommandRepair.h"

std::optional<std::string> RepairOpenCommand(const std::string& command) {
    const std::string::size_type first = command.find("%1");
    if (first == std::string::npos) return std::nullopt;
    if (command.find("\"%1\"") != std::string::npos) return std::nullopt;
    return command.substr(0, first) + "\"%1\"";
}

void RepairRegisteredOpenCommand() {
    // Linux and other POSIX desktops register documents through the installed .desktop
    // file and shared-mime-info type, which pass the path as one argument: nothing to
    // repair. A Windows build reads "KorvaleFile\shell\open\command" here.
}
