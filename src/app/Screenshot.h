#pragma once
// Renders a window into a PNG file: what the user would see, without a display.

#include <string>

class QWidget;

// False when the file could not be written.
bool WriteScreenshot(QWidget& window, const std::string& path);
