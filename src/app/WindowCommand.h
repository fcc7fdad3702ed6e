#pragma once
// One command of the main window: its id, its handler and its enabler.

class TKorvaleWindow;

struct TCommandEnabling {
    bool enabled = false;
    bool checkable = false;
    bool checked = false;
};

struct TWindowCommand {
    int id;
    void (*run)(TKorvaleWindow&);
    TCommandEnabling (*enabler)(const TKorvaleWindow&);
};
