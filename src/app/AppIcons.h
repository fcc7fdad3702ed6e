#pragma once
// The program's icon and tool-bar images: the desktop theme's icons under their freedesktop
// names where a standard one exists, our own pictograms (src/resources/icons, at 16, 24 and
// 32 pixels) for Korvale's own commands and wherever the theme has none.

#include <QIcon>
#include <QPixmap>

QIcon AppIcon();
QIcon CommandIcon(int commandId);
// The About box's picture beside the title: a chequered flag.
QPixmap AboutImage();
