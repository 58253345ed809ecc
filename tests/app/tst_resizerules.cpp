#include "app/ResizeRules.h"

#include <QtTest>

// How the tab control and its three views follow the window's client area,
// without a window. All measures are twips.
class TestResizeRules : public QObject {
    Q_OBJECT
private slots:
    void compute_data();
    void compute();
};

// The design size: the client area of 10890 x 7530 twips, a port frame of
// 2292 and a status bar of 300.
void TestResizeRules::compute_data() {
    QTest::addColumn<double>("clientWidth");
    QTest::addColumn<double>("clientHeight");
    QTest::addColumn<double>("statusBarHeight");
    QTest::addColumn<QVector<double>>("expected"); // tab L T W H, Sax, hex, grid W H
    QTest::newRow("design size") << 10890.0 << 7530.0 << 300.0
                                 << QVector<double>{2492, 0,    8398, 7230, 8148,
                                                    6780, 8148, 6830, 8148, 6230};
    QTest::newRow("no status bar")
        << 10890.0 << 7530.0 << 0.0
        << QVector<double>{2492, 0, 8398, 7530, 8148, 7080, 8148, 7130, 8148, 6530};
    QTest::newRow("views shrink to nothing")
        << 2700.0 << 1200.0 << 300.0 << QVector<double>{2492, 0, 208, 900, 0, 450, 0, 500, 0, 0};
    QTest::newRow("narrower than the port frame")
        << 1000.0 << 200.0 << 300.0 << QVector<double>{2492, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

void TestResizeRules::compute() {
    QFETCH(double, clientWidth);
    QFETCH(double, clientHeight);
    QFETCH(double, statusBarHeight);
    QFETCH(QVector<double>, expected);
    ResizeRules::Input input;
    input.ClientWidth = clientWidth;
    input.ClientHeight = clientHeight;
    input.PortFrameWidth = 2292;
    input.StatusBarHeight = statusBarHeight;
    const ResizeRules::Layout layout = ResizeRules::Compute(input);
    const QVector<double> actual{layout.SSTab.Left,   layout.SSTab.Top, layout.SSTab.Width,
                                 layout.SSTab.Height, layout.SaxWidth,  layout.SaxHeight,
                                 layout.HexWidth,     layout.HexHeight, layout.GridWidth,
                                 layout.GridHeight};
    QCOMPARE(actual, expected);
}

QTEST_APPLESS_MAIN(TestResizeRules)
#include "tst_resizerules.moc"
