// smoke_check SHOT.PNG LAPS: the screenshot shows the first LAPS lap colours of the palette,
// each with enough pixels to be a drawn curve. Exit 0 when it does.
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "document/LapPalette.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: smoke_check SHOT.PNG LAPS\n");
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "smoke_check: cannot read %s\n", argv[1]);
        return 1;
    }
    const int laps = std::atoi(argv[2]);
    int failures = 0;
    for (int i = 0; i < laps && i < static_cast<int>(LapPalette.size()); ++i) {
        const Rgb c = LapPalette[static_cast<size_t>(i)];
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor p = image.pixelColor(x, y);
                if (std::abs(p.red() - c.r) < 8 && std::abs(p.green() - c.g) < 8 &&
                    std::abs(p.blue() - c.b) < 8)
                    ++n;
            }
        std::printf("lap colour %d (%d, %d, %d): %d pixels\n", i, c.r, c.g, c.b, n);
        if (n < 20) ++failures;
    }
    return failures == 0 ? 0 : 1;
}
