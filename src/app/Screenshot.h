#pragma once
// Renders a window into a PNG file: what the user would see, without a display.

#include <string>

class QWidget;
class TSDIDecFrame;
struct TStartupOptions;

// False when the file could not be written.
bool WriteScreenshot(QWidget& window, const std::string& path);

// The --screenshot run: the frame shown in the view asked for, the side windows asked for
// opened, the frame written to the screenshot file and each side window beside it. False
// (after saying why) when a picture could not be made or written.
bool WriteScreenshots(TSDIDecFrame& frame, const TStartupOptions& options);
