#pragma once
// korvale --render: the document read and drawn offscreen without a main window, with the
// axes, range and view the command line asks for. Nothing is written but the picture: the
// user's settings and recent files are left alone, so a batch of pictures cannot change
// what the next start of the program shows.
#include <string>

#include "app/AppPaths.h"
#include "app/RenderOptions.h"

// 0 when the picture was written; otherwise 1 after saying why on the error output.
int RunRender(const TRenderOptions& options, const AppPaths& paths);
