#include "app/ResizeRules.h"

#include <QtTest>

// How the left column, the tab control and its three views follow the
// window's client area, and how small the window may become, without a
// window.
class TestResizeRules : public QObject {
    Q_OBJECT
private slots:
    void compute_data();
    void compute();
    void minimumClient_data();
    void minimumClient();
};

// All measures twips. The design size: the client area of 10890 x 7530, a
// port frame of 2292 and a status bar of 300; the left column is 7215
// tall, the scroll bar 240 wide.
void TestResizeRules::compute_data() {
    QTest::addColumn<double>("clientWidth");
    QTest::addColumn<double>("clientHeight");
    QTest::addColumn<double>("statusBarHeight");
    QTest::addColumn<bool>("columnScrolls");
    QTest::addColumn<QVector<double>>("expected"); // tab L T W H, Sax, hex, grid W H
    QTest::newRow("design size") << 10890.0 << 7530.0 << 300.0 << false
                                 << QVector<double>{2492, 0,    8398, 7230, 8148,
                                                    6780, 8148, 6830, 8148, 6230};
    QTest::newRow("no status bar")
        << 10890.0 << 7530.0 << 0.0 << false
        << QVector<double>{2492, 0, 8398, 7530, 8148, 7080, 8148, 7130, 8148, 6530};
    QTest::newRow("column just fits")
        << 10890.0 << 7515.0 << 300.0 << false
        << QVector<double>{2492, 0, 8398, 7215, 8148, 6765, 8148, 6815, 8148, 6215};
    QTest::newRow("column scrolls: the tab moves right by the scroll bar")
        << 10890.0 << 6000.0 << 300.0 << true
        << QVector<double>{2732, 0, 8158, 5700, 7908, 5250, 7908, 5300, 7908, 4700};
    QTest::newRow("views shrink to nothing")
        << 2900.0 << 1200.0 << 300.0 << true
        << QVector<double>{2732, 0, 168, 900, 0, 450, 0, 500, 0, 0};
    QTest::newRow("narrower than the port frame")
        << 1000.0 << 200.0 << 300.0 << true << QVector<double>{2732, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

void TestResizeRules::compute() {
    QFETCH(double, clientWidth);
    QFETCH(double, clientHeight);
    QFETCH(double, statusBarHeight);
    QFETCH(bool, columnScrolls);
    QFETCH(QVector<double>, expected);
    ResizeRules::Input input;
    input.ClientWidth = clientWidth;
    input.ClientHeight = clientHeight;
    input.PortFrameWidth = 2292;
    input.StatusBarHeight = statusBarHeight;
    input.LeftColumnHeight = 7215;
    input.ScrollBarWidth = 240;
    const ResizeRules::Layout layout = ResizeRules::Compute(input);
    const QVector<double> actual{layout.SSTab.Left,   layout.SSTab.Top, layout.SSTab.Width,
                                 layout.SSTab.Height, layout.SaxWidth,  layout.SaxHeight,
                                 layout.HexWidth,     layout.HexHeight, layout.GridWidth,
                                 layout.GridHeight};
    QCOMPARE(actual, expected);
    QCOMPARE(layout.LeftColumnScrolls, columnScrolls);
    // The column fills the height the tab control has, and ends where it starts.
    QCOMPARE(layout.LeftColumn.Left, 0.0);
    QCOMPARE(layout.LeftColumn.Top, 0.0);
    QCOMPARE(layout.LeftColumn.Width, layout.SSTab.Left);
    QCOMPARE(layout.LeftColumn.Height, layout.SSTab.Height);
}

// In pixels: a frame of 4 x 30, a status bar of 22 and a left column of
// 481, as at 96 dots per inch; the smallest outer size is 333 x 347.
void TestResizeRules::minimumClient_data() {
    QTest::addColumn<double>("screenWidth");
    QTest::addColumn<double>("screenHeight");
    QTest::addColumn<double>("columnHeight");
    QTest::addColumn<double>("expectedWidth");
    QTest::addColumn<double>("expectedHeight");
    QTest::newRow("large screen: tall enough for the column")
        << 1920.0 << 1080.0 << 481.0 << 329.0 << 503.0;
    QTest::newRow("a short column: the smallest outer size")
        << 1920.0 << 1080.0 << 200.0 << 329.0 << 317.0;
    QTest::newRow("screen too low for the column: the screen's room")
        << 700.0 << 450.0 << 481.0 << 329.0 << 420.0;
    QTest::newRow("screen smaller than the smallest outer size")
        << 300.0 << 200.0 << 481.0 << 296.0 << 170.0;
    QTest::newRow("no room at all") << 2.0 << 10.0 << 481.0 << 0.0 << 0.0;
}

void TestResizeRules::minimumClient() {
    QFETCH(double, screenWidth);
    QFETCH(double, screenHeight);
    QFETCH(double, columnHeight);
    ResizeRules::MinimumInput input;
    input.Outer = {333, 347};
    input.Frame = {4, 30};
    input.Screen = {screenWidth, screenHeight};
    input.LeftColumnHeight = columnHeight;
    input.StatusBarHeight = 22;
    const ResizeRules::Size minimum = ResizeRules::MinimumClient(input);
    QTEST(minimum.Width, "expectedWidth");
    QTEST(minimum.Height, "expectedHeight");
}

QTEST_APPLESS_MAIN(TestResizeRules)
#include "tst_resizerules.moc"
