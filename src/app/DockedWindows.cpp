#include "app/DockedWindows.h"

#include <QDockWidget>
#include <QMainWindow>

#include <algorithm>

#include "app/MapWindows.h"
#include "app/SideWindows.h"
#include "app/TKorvaleWindow.h"
#include "platform/ProfileFile.h"
#include "views/windows/TDataWindow.h"
#include "views/windows/TGGPlotWindow.h"
#include "views/windows/TReplayInfo.h"
#include "views/windows/TSectorsWindow.h"

namespace {
struct TDockSpec {
    const char* name;
    const char* title;
    Qt::DockWidgetArea area;
};
// In the order of TDockedWindows' entries: the tables below the graph, the list and the
// small pictures beside it.
constexpr TDockSpec kSpecs[TDockedWindows::kCount] = {
    {"lapListDock", "Replay Info", Qt::LeftDockWidgetArea},
    {"dataDock", "Lap Data", Qt::BottomDockWidgetArea},
    {"sectorsDock", "Sectors", Qt::BottomDockWidgetArea},
    {"pipDock", "PiP", Qt::RightDockWidgetArea},
    {"ggPlotDock", "G-G Plot", Qt::RightDockWidgetArea},
};
}  // namespace

TDockedWindows::TDockedWindows(TKorvaleWindow& client) : QObject(&client), client_(client) {}

TDockedWindows::~TDockedWindows() = default;

QWidget* TDockedWindows::WidgetOf(int i) const {
    switch (i) {
        case 0:
            return client_.sideWindows().infoWindow();
        case 1:
            return client_.sideWindows().dataWindow();
        case 2:
            return client_.sectorsWindow();
        case 3:
            return client_.pip();
        default:
            return client_.ggWindow();
    }
}

bool TDockedWindows::ShownFlag(int i) const {
    const TViewState& v = client_.view();
    switch (i) {
        case 0:
            return v.side.infoShown;
        case 1:
            return v.side.dataShown;
        case 2:
            return v.analysis.sectorsShown;
        case 3:
            return v.side.pipShown;
        default:
            return v.side.ggShown;
    }
}

void TDockedWindows::SetDocked(bool on) {
    if (on == docked_) return;
    if (on) {
        frame_ = qobject_cast<QMainWindow*>(client_.window());
        if (frame_ == nullptr) return;  // no frame to dock into
        const TSideWindow sides[3] = {TSideWindow::LapList, TSideWindow::DataWindow,
                                      TSideWindow::PictureInPicture};
        for (int i = 0; i < kCount; ++i) {
            TEntry& e = docks_[size_t(i)];
            e.widget = WidgetOf(i);
            if (e.widget == nullptr) continue;
            if (i != 2 && i != 4)
                e.placement = client_.SideWindowPlacement(static_cast<int>(sides[i == 3 ? 2 : i]));
            e.parent = e.widget->parentWidget();
            e.flags = e.widget->windowFlags();
            e.geometry = e.widget->geometry();
            e.dock = new QDockWidget(QString::fromLatin1(kSpecs[i].title), frame_);
            e.dock->setObjectName(QString::fromLatin1(kSpecs[i].name));
            // The windows come and go by their View commands, as when they float.
            e.dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
            e.dock->setWidget(e.widget);
            frame_->addDockWidget(kSpecs[i].area, e.dock);
            e.dock->hide();
        }
        // The tables below the graph side by side, the pictures beside it one above the other.
        if (docks_[1].dock != nullptr && docks_[2].dock != nullptr)
            frame_->splitDockWidget(docks_[1].dock, docks_[2].dock, Qt::Horizontal);
        if (docks_[3].dock != nullptr && docks_[4].dock != nullptr)
            frame_->splitDockWidget(docks_[3].dock, docks_[4].dock, Qt::Vertical);
        const std::string stored = client_.settings().ReadText("window", "dockstate", "", 65536);
        layoutStored_ =
            !stored.empty() &&
            frame_->restoreState(QByteArray::fromBase64(QByteArray::fromStdString(stored)));
        sized_ = {};
        docked_ = true;
        Sync();
        return;
    }
    SaveState();
    for (TEntry& e : docks_) {
        if (e.dock == nullptr) continue;
        QWidget* w = e.widget;
        e.dock->setWidget(nullptr);
        w->setParent(e.parent, e.flags);
        w->setGeometry(e.geometry);
        frame_->removeDockWidget(e.dock);
        delete e.dock;
        e.dock = nullptr;
    }
    docked_ = false;
    for (int i = 0; i < kCount; ++i)
        if (QWidget* w = docks_[size_t(i)].widget) w->setVisible(ShownFlag(i));
}

void TDockedWindows::Sync() {
    if (!docked_) return;
    for (int i = 0; i < kCount; ++i) {
        TEntry& e = docks_[size_t(i)];
        if (e.dock == nullptr) continue;
        const bool shown = ShownFlag(i);
        e.widget->setVisible(shown);
        e.dock->setVisible(shown);
    }
    if (!layoutStored_) FirstSizes();
}

void TDockedWindows::FirstSizes() {
    const int width = frame_->width();
    auto firstShown = [&](int i) {
        const TEntry& e = docks_[size_t(i)];
        return e.dock != nullptr && e.dock->isVisible() && !sized_[size_t(i)];
    };
    if (firstShown(0)) {
        sized_[0] = true;
        const int w = client_.sideWindows().infoWindow()->ContentSize().width();
        frame_->resizeDocks({docks_[0].dock}, {std::min(w, width / 4)}, Qt::Horizontal);
    }
    // The two tables below the graph share its width.
    if (firstShown(1) || firstShown(2)) {
        QList<QDockWidget*> tables;
        QList<int> widths;
        for (int i : {1, 2})
            if (docks_[size_t(i)].dock->isVisible()) {
                sized_[size_t(i)] = true;
                tables << docks_[size_t(i)].dock;
                widths << width / 2;
            }
        frame_->resizeDocks(tables, widths, Qt::Horizontal);
    }
    for (int i : {3, 4})
        if (firstShown(i)) {
            sized_[size_t(i)] = true;
            frame_->resizeDocks({docks_[size_t(i)].dock}, {std::min(360, width / 4)},
                                Qt::Horizontal);
        }
}

void TDockedWindows::SaveState() {
    if (!docked_ || frame_ == nullptr) return;
    client_.settings().WriteText("window", "dockstate",
                                 frame_->saveState().toBase64().toStdString());
}

bool TDockedWindows::FloatingPlacement(TSideWindow which, TWindowRect& rect) const {
    if (!docked_) return false;
    const int i = which == TSideWindow::LapList ? 0 : which == TSideWindow::DataWindow ? 1 : 3;
    if (docks_[size_t(i)].dock == nullptr) return false;
    rect = docks_[size_t(i)].placement;
    return true;
}
