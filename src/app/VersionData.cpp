#include "app/VersionData.h"

#include <QFile>

// The resource lives in a static library; naming it here keeps the linker from dropping it.
static void InitVersionResource() {
    Q_INIT_RESOURCE(korvale);
}

VersionData CompiledVersionData() {
    InitVersionResource();
    VersionData data;
    QFile file(QStringLiteral(":/korvale/version.txt"));
    if (file.open(QIODevice::ReadOnly)) data.Parse(file.readAll().toStdString());
    return data;
}
