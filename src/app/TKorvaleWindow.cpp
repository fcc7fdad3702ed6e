#include "app/TKorvaleWindow.h"

#include <QLabel>
#include <QVBoxLayout>

TKorvaleWindow::TKorvaleWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("korvaleWindow"));
    setMinimumSize(320, 240);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    auto* layout = new QVBoxLayout(this);
    // Placeholder for the telemetry graph, which is not built yet: a labelled empty area
    // rather than anything that could pass for laps.
    auto* pending = new QLabel(QStringLiteral("Telemetry graph not available in this build"), this);
    pending->setObjectName(QStringLiteral("graphPending"));
    pending->setAlignment(Qt::AlignCenter);
    pending->setEnabled(false);
    layout->addWidget(pending);
}

bool TKorvaleWindow::CanClose() { return true; }
