#pragma once
// The lock-key indicators of the status bar. Qt does not report the lock keys' state, so
// it is read from the keyboard LEDs the kernel exposes (/sys/class/leds/*::capslock and so
// on); where there are none, the indicators follow the lock-key presses they see.

#include <optional>
#include <string>

struct TLockKeyState {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// The state from a leds directory; nothing when it has no keyboard lock LEDs at all.
std::optional<TLockKeyState> ReadLockKeyLeds(const std::string& ledsDir = "/sys/class/leds");
