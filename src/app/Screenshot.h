#pragma once
// Renders a window into a PNG file: what the user would see, without a display.

#include <string>

class QWidget;
class TKorvaleApp;
struct TStartupOptions;

// False when the file could not be written.
bool WriteScreenshot(QWidget& window, const std::string& path);

// korvale --screenshot: the frame into options.screenshotFile, with the side windows of
// --show opened (each into its own file beside it, "-data" and "-info" before the
// extension) and the cursor of --cursor placed. False after a message on the error output
// when a picture could not be made or written.
bool WriteProgramScreenshots(TKorvaleApp& app, const TStartupOptions& options);
