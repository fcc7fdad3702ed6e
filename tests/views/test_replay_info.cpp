// The "Replay Info" window driven through its widgets: rows and their line symbols, the
// selection addressed through the scroll position, the pop-up menu, the Delete key, and a
// selection that never outlives a change of the lap list.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "views/GraphTestSupport.h"
#include "views/windows/TReplayInfo.h"

namespace {

// Answers the pop-up menu from a script and records what it offered.
class TScriptedInfo : public TReplayInfo {
  public:
    using TReplayInfo::TReplayInfo;
    int answer = 0;
    QStringList offered;

  protected:
    int ExecPopupMenu(QMenu& menu, const QPoint&) override {
        offered.clear();
        for (QAction* a : menu.actions()) offered << a->text();
        return answer;
    }
};

struct ReplayInfoTest : testing::Test {
    TGraphFixtureState state;
    std::unique_ptr<TScriptedInfo> info;
    std::vector<int> edits, deletes;

    void SetUp() override {
        info = std::make_unique<TScriptedInfo>(state.doc.laps(), nullptr);
        info->Setup({0, 0, 300, 200});
        QObject::connect(info.get(), &TReplayInfo::editLapRequested,
                         [this](int32_t i) { edits.push_back(i); });
        QObject::connect(info.get(), &TReplayInfo::deleteLapRequested,
                         [this](int32_t i) { deletes.push_back(i); });
    }
    void AddLaps(int n) {
        for (int i = 0; i < n; ++i) {
            auto lap = MakeLinearLap(150, 0, 60, Rgb{uint8_t(20 * i), 0, 200});
            lap->SetDriverName(("Driver " + std::to_string(i)).c_str());
            state.AddLap(std::move(lap));
        }
        info->RefreshLapList();
    }
    void Mouse(QEvent::Type type, int y, Qt::MouseButton button) {
        QWidget* port = info->viewport();
        const QPointF local(10, y);
        QMouseEvent e(type, local, port->mapToGlobal(local), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
        QApplication::sendEvent(port, &e);
    }
    void Click(int y, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, y, button);
        Mouse(QEvent::MouseButtonRelease, y, button);
    }
    void DoubleClick(int y) {
        Click(y);
        Mouse(QEvent::MouseButtonDblClick, y, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, y, Qt::LeftButton);
    }
    void DeleteKey() {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
        QApplication::sendEvent(info.get(), &press);
        QApplication::sendEvent(info.get(), &release);
    }
};

TEST_F(ReplayInfoTest, RowsShowSymbolNameAndLapText) {
    AddLaps(2);
    info->show();
    QApplication::processEvents();
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Replay Info"));
    EXPECT_EQ(info->font().pixelSize(), 16);
    // 149 frames at 60 ft a frame: 9.933 s; the 8940 ft this partial lap covers in that time.
    EXPECT_EQ(TReplayInfo::LapText(state.doc.laps().At(0)),
              QStringLiteral("  9.933 s=613.636 mph"));
    const QFontMetrics fm(info->font());
    const int widest = fm.horizontalAdvance(QStringLiteral("Driver 0")) +
                       fm.horizontalAdvance(TReplayInfo::LapText(state.doc.laps().At(0))) + 36;
    EXPECT_EQ(info->listWidth(), widest);

    const QImage shot = info->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The line symbol of row 1 passes through (12, 24) and (16, 28), in the lap's colour.
    EXPECT_EQ(shot.pixel(12, 16 + 8), qRgb(20, 0, 200));
    EXPECT_EQ(shot.pixel(16, 16 + 12), qRgb(20, 0, 200));
}

TEST_F(ReplayInfoTest, ScrolledClicksAddressTheRightLap) {
    AddLaps(10);
    info->show();
    info->resize(300, 80);  // five rows
    QApplication::processEvents();
    EXPECT_EQ(info->verticalScrollBar()->maximum(), 10 - info->viewport()->height() / 16 + 16);
    info->verticalScrollBar()->setValue(3);

    Click(5);
    EXPECT_EQ(info->selectedLap(), 3);
    DoubleClick(5);
    EXPECT_EQ(edits, std::vector<int>{3});
    info->answer = TReplayInfo::kDeleteLapId;
    Click(5, Qt::RightButton);
    EXPECT_EQ(info->offered,
              (QStringList{QStringLiteral("Edit Info"), QStringLiteral("Delete Lap")}));
    EXPECT_EQ(deletes, std::vector<int>{3});
    info->answer = TReplayInfo::kEditInfoId;
    Click(16 + 5, Qt::RightButton);
    EXPECT_EQ(info->selectedLap(), 4);
    EXPECT_EQ(edits, (std::vector<int>{3, 4}));

    // Below the last row: nothing is selected, and neither the menu nor the key acts.
    info->verticalScrollBar()->setValue(9);
    info->offered.clear();
    Click(16 + 5, Qt::RightButton);
    EXPECT_EQ(info->selectedLap(), -1);
    EXPECT_TRUE(info->offered.isEmpty());
    DeleteKey();
    EXPECT_EQ(deletes, std::vector<int>{3});
}

TEST_F(ReplayInfoTest, DeleteKeyAndListChangesClearTheSelection) {
    AddLaps(3);
    info->show();
    QApplication::processEvents();
    Click(16 + 5);
    ASSERT_EQ(info->selectedLap(), 1);
    DeleteKey();
    EXPECT_EQ(deletes, std::vector<int>{1});
    EXPECT_EQ(info->selectedLap(), 1) << "the window only asks; the answer No keeps it";

    // A lap deleted elsewhere, laps imported, the document cleared or opened: the selected
    // row would stand for another lap or for none.
    const int32_t width = info->listWidth();
    state.doc.RemoveLap(0);
    info->LapListChanged();
    EXPECT_EQ(info->selectedLap(), -1);
    EXPECT_EQ(info->listWidth(), width) << "a deletion keeps the measured width";
    DeleteKey();
    EXPECT_EQ(deletes, std::vector<int>{1});

    Click(5);
    info->RefreshLapList();
    EXPECT_EQ(info->selectedLap(), -1);

    state.doc.Clear();
    info->RefreshLapList();
    EXPECT_EQ(info->listWidth(), 0) << "an empty list measures 0";
    Click(5);
    EXPECT_EQ(info->selectedLap(), -1);
}

TEST_F(ReplayInfoTest, FocusShowsTheSelection) {
    AddLaps(2);
    info->show();
    QApplication::processEvents();
    Click(16 + 5);
    auto rowPixel = [&] {
        return info->viewport()
            ->grab()
            .toImage()
            .convertToFormat(QImage::Format_RGB32)
            .pixel(info->viewport()->width() - 2, 16 + 10);
    };
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(info.get(), &in);
    EXPECT_TRUE(info->hasFocusHighlight());
    EXPECT_EQ(rowPixel(), qRgb(0, 0, 0)) << "the selected row is inverted while focused";
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(info.get(), &out);
    EXPECT_FALSE(info->hasFocusHighlight());
    EXPECT_EQ(rowPixel(), qRgb(255, 255, 255));
}

}  // namespace
