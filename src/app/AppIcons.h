#pragma once
// The program's icon and tool-bar images: freedesktop theme icons where the theme has
// them, drawn by us otherwise.

#include <QIcon>

QIcon AppIcon();
QIcon CommandIcon(int commandId);
