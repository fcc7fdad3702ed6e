#pragma once
// The program's icon and tool-bar images: freedesktop theme icons where the theme has
// them, drawn by us otherwise.

#include <QIcon>
#include <QPixmap>

QIcon AppIcon();
QIcon CommandIcon(int commandId);
// The About box's picture beside the title: a chequered flag.
QPixmap AboutImage();
