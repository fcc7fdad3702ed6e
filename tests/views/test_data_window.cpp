// The "Lap Data" window driven through its widgets: the table's geometry in pixels, values
// that follow the pointer only while the window is shown, header clicks that collapse and
// restore a column, and columns that follow deletions and edits at once.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

#include "views/GraphTestSupport.h"
#include "views/windows/TDataWindow.h"

namespace {

const Rgb kRed{220, 0, 0};
const Rgb kBlue{0, 0, 200};
const Rgb kGreen{0, 160, 0};
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kGrid = qRgb(192, 192, 192);

QRgb ToRgb(Rgb c) {
    return qRgb(c.r, c.g, c.b);
}

struct DataWindowTest : testing::Test {
    TGraphFixtureState state;
    std::unique_ptr<TDataWindow> window;

    void SetUp() override {
        state.UseTrack(false);
        window = std::make_unique<TDataWindow>(
            [this] {
                return TLapValuesSource{&state.doc.laps(), state.doc.Track(),
                                        std::optional<int32_t>{}, state.doc.axes().x};
            },
            nullptr);
        window->Setup({0, 0, 400, 260});
        window->resize(400, 260);
    }
    void Add(const char* name, int from, Rgb colour, int step = 100) {
        auto lap = MakeLinearLap(100, from, step, colour);
        lap->SetDriverName(name);
        window->AddLapColumn(*lap);
        state.AddLap(std::move(lap));
    }
    QImage Shot() {
        QApplication::processEvents();
        return window->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The middle pixel of lap column k's colour bar.
    QPoint BarPoint(int k) {
        const std::vector<int> r = window->ColumnEdges();
        return {(r[size_t(k) - 1] + r[size_t(k)]) / 2, window->headerHeight() + 11};
    }
};

TEST_F(DataWindowTest, SetUpAndNewColumns) {
    const QFontMetrics fm(window->font());
    EXPECT_EQ(window->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(window->font().pixelSize(), 16) << "12 points at 96 dots per inch";
    EXPECT_EQ(window->header()->sectionSize(0),
              fm.horizontalAdvance(QStringLiteral("Skid Angle")) + 8);
    EXPECT_EQ(window->headerHeight(), window->header()->height());
    EXPECT_GT(window->headerHeight(), 0);
    EXPECT_TRUE(window->isHidden()) << "created hidden";
    EXPECT_TRUE(window->windowFlags() & Qt::Tool);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lap Data"));

    Add("A driver with a long name", 0, kRed);
    Add("Bo", 0, kBlue);
    ASSERT_EQ(window->header()->count(), 3);
    EXPECT_EQ(window->header()->model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("A driver with a long name"));
    // Each new column takes a name and a "%7.2f" value without clipping either.
    for (int k = 1; k <= 2; ++k) {
        const QString name = window->header()->model()->headerData(k, Qt::Horizontal).toString();
        EXPECT_GT(window->header()->sectionSize(k),
                  window->header()->fontMetrics().horizontalAdvance(name));
        EXPECT_GT(window->header()->sectionSize(k),
                  fm.horizontalAdvance(TDataWindow::CellText(-999.99)) + 2);
    }
}

TEST_F(DataWindowTest, ValuesFollowThePointerOnlyWhileShown) {
    Add("Whole", 0, kRed);
    Add("Late", 2000, kBlue);
    window->ShowLapValues(1000, TelemetryChannel::Position);
    EXPECT_EQ(window->columns().At(0).values[ChannelNumber(TelemetryChannel::Time)], kNoLapValue)
        << "hidden: nothing";

    window->show();
    window->ShowLapValues(1000, TelemetryChannel::Position);
    EXPECT_DOUBLE_EQ(window->columns().At(0).values[ChannelNumber(TelemetryChannel::Time)].value(),
                     10.0 / 15.0);
    EXPECT_EQ(window->columns().At(1).values[ChannelNumber(TelemetryChannel::Time)], kNoLapValue);
    EXPECT_EQ(TDataWindow::CellText(1000), QStringLiteral("1000.00"));
    EXPECT_EQ(TDataWindow::CellText(0.5), QStringLiteral("   0.50"));
    EXPECT_EQ(TDataWindow::CellText(kNoLapValue), QString());
    EXPECT_EQ(TDataWindow::CellText(-1.0), QStringLiteral("  -1.00"));

    // The covered lap's Time cell holds dark text; the uncovered lap's cell stays blank.
    QImage shot = Shot();
    const std::vector<int> r = window->ColumnEdges();
    const int timeRow = window->headerHeight() + 20;
    auto inked = [&](int left, int right) {
        for (int y = timeRow; y < timeRow + 16; ++y)
            for (int x = left + 1; x < right - 1; ++x)
                if (qGray(shot.pixel(x, y)) < 128) return true;
        return false;
    };
    EXPECT_TRUE(inked(r[0], r[1]));
    EXPECT_FALSE(inked(r[1], r[2]));
    // The colour bars, and the light grey line right of every column but the last.
    EXPECT_EQ(shot.pixel(BarPoint(1)), ToRgb(kRed));
    EXPECT_EQ(shot.pixel(BarPoint(2)), ToRgb(kBlue));
    EXPECT_EQ(shot.pixel(r[0], window->headerHeight() + 60), kGrid);
    EXPECT_EQ(shot.pixel(r[1], window->headerHeight() + 60), kGrid);
    EXPECT_NE(shot.pixel(r[2], window->headerHeight() + 60), kGrid);

    window->ShowLapValues(kPointedAtNothing, kPointedKindOfXAxis);
    EXPECT_EQ(window->columns().At(0).values[ChannelNumber(TelemetryChannel::Time)], kNoLapValue);
    shot = Shot();
    EXPECT_FALSE(inked(r[0], r[1])) << "every cell empty";
}

TEST_F(DataWindowTest, HeaderClickCollapsesToASquareAndRestores) {
    Add("Ann", 0, kRed);
    Add("Bo", 0, kBlue);
    window->show();
    window->ShowLapValues(1000, TelemetryChannel::Position);
    const int before = window->header()->sectionSize(1);
    const int second = window->header()->sectionSize(2);
    const QPoint bar = BarPoint(1);

    emit window->header()->sectionClicked(1);
    EXPECT_EQ(window->header()->sectionSize(1), window->headerHeight());
    EXPECT_FALSE(window->columns().At(0).expanded);
    EXPECT_EQ(window->columns().At(0).savedWidth, before);
    EXPECT_EQ(window->header()->sectionSize(2), second);
    QImage shot = Shot();
    const std::vector<int> r = window->ColumnEdges();
    for (int x = r[0] + 1; x < r[1]; ++x)
        EXPECT_EQ(shot.pixel(x, bar.y()), kWhite) << "collapsed columns stay empty, x " << x;
    EXPECT_EQ(shot.pixel(BarPoint(2)), ToRgb(kBlue)) << "the next column moved left";

    emit window->header()->sectionClicked(1);
    EXPECT_EQ(window->header()->sectionSize(1), before);
    EXPECT_TRUE(window->columns().At(0).expanded);
    EXPECT_EQ(Shot().pixel(bar), ToRgb(kRed));

    emit window->header()->sectionClicked(0);  // the label column does nothing
    EXPECT_EQ(window->header()->sectionSize(0),
              QFontMetrics(window->font()).horizontalAdvance(QStringLiteral("Skid Angle")) + 8);
}

TEST_F(DataWindowTest, DeletionsAndEditsReachTheColumnsAtOnce) {
    Add("One", 0, kRed);
    Add("Two", 0, kBlue, 50);  // a lap of its own: half as fast
    Add("Three", 0, kGreen);
    window->show();
    window->ShowLapValues(1000, TelemetryChannel::Position);
    const TLapValues third = window->columns().At(2).values;

    state.doc.RemoveLap(1);
    window->RemoveLapColumn(1);
    ASSERT_EQ(window->header()->count(), 3);
    EXPECT_EQ(window->header()->model()->headerData(2, Qt::Horizontal).toString(),
              QStringLiteral("Three"));
    EXPECT_EQ(window->columns().At(1).values, third);
    EXPECT_EQ(Shot().pixel(BarPoint(2)), ToRgb(kGreen));

    window->UpdateLapColumn(1, "Renamed third", kBlue);
    EXPECT_EQ(Shot().pixel(BarPoint(2)), ToRgb(kBlue)) << "the colour bar changes at once";
    EXPECT_EQ(window->header()->model()->headerData(2, Qt::Horizontal).toString(),
              QStringLiteral("Renamed third"));

    window->RemoveAllLapColumns();
    EXPECT_EQ(window->header()->count(), 1);
    EXPECT_EQ(window->columns().Count(), 0);
}

TEST_F(DataWindowTest, ScrollRangesInTwoPixelUnits) {
    for (int i = 0; i < 6; ++i) Add("Driver", 0, kRed);
    window->show();
    window->resize(300, 600);  // taller than the header and the table: no vertical scrolling
    QApplication::processEvents();
    EXPECT_EQ(window->verticalScrollBar()->maximum(), 0);
    // Scrolled to the end, in steps of two pixels, the table's far edge reaches the window's:
    // exactly, or one pixel beyond where the overhang is odd. One step less falls short.
    const auto expectReachesTheEdge = [this](const char* what) {
        QScrollBar* bar = window->horizontalScrollBar();
        const int overhang = window->header()->length() - window->viewport()->width();
        ASSERT_GT(overhang, 2) << what;
        bar->setValue(bar->maximum());
        QApplication::processEvents();
        EXPECT_EQ(window->header()->x(), -2 * bar->maximum()) << what;
        const int beyond =
            window->header()->x() + window->header()->length() - window->viewport()->width();
        EXPECT_EQ(beyond, overhang % 2) << what;
    };
    expectReachesTheEdge("even or odd");
    window->header()->resizeSection(3, window->header()->sectionSize(3) + 1);
    QApplication::processEvents();
    expectReachesTheEdge("one pixel wider");

    // Vertically the table ends 132 pixels below the header, after the "Slip Angle" row.
    window->resize(300, 100);
    QApplication::processEvents();
    QScrollBar* vbar = window->verticalScrollBar();
    const int over = window->headerHeight() + 132 - window->viewport()->height();
    ASSERT_GT(over, 2);
    EXPECT_LE(over - 2 * vbar->maximum(), 1);
    EXPECT_GE(over - 2 * vbar->maximum(), 0);
    // Scrolled, the header moves with the table.
    window->horizontalScrollBar()->setValue(10);
    QApplication::processEvents();
    EXPECT_EQ(window->header()->x(), -20);
}

}  // namespace
