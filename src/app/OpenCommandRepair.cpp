#include "app/OpenCommandRepair.h"

#ifdef _WIN32
#include <windows.h>
#endif

std::optional<std::string> RepairOpenCommand(const std::string& command) {
    const std::string::size_type first = command.find("%1");
    if (first == std::string::npos) return std::nullopt;
    if (command.find("\"%1\"") != std::string::npos) return std::nullopt;
    return command.substr(0, first) + "\"%1\"";
}

#ifdef _WIN32
void RepairRegisteredOpenCommand() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "KorvaleFile\\shell\\open\\command", 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    char buffer[260] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        buffer[size < sizeof buffer ? size : sizeof buffer - 1] = '\0';
        if (const auto repaired = RepairOpenCommand(buffer)) {
            // Written back as a plain string; failures are silent.
            RegSetValueExA(key, nullptr, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(repaired->c_str()),
                           static_cast<DWORD>(repaired->size() + 1));
        }
    }
    RegCloseKey(key);
}
#else
void RepairRegisteredOpenCommand() {
    // Linux and other POSIX desktops register documents through the installed .desktop
    // file and shared-mime-info type, which pass the path (%f) as one argument: there is
    // no such registration to repair.
}
#endif
