#include "WindowHarness.h"

#include "app/TwoPanelStatusBar.h"
#include "measure/ui/MeasureTab.h"
#include "platform/ui/DropDownComboBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>

// The window on a screen of 1400 x 900 pixels at a scale of 2, which CTest
// sets up (QT_SCALE_FACTOR=2, the offscreen platform with
// screen-1400x900.json): 700 x 450 logical pixels, less than the window's
// design size and less than its minimum height. The window keeps within
// the screen, and every control can still be brought into view.
class TestScreenFit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void windowFitsTheScreen();
    void everyControlCanBeReached_data();
    void everyControlCanBeReached();
};

namespace {

// The window shown and made as small as it lets itself be.
void showAtItsMinimum(frmSDI12& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(1, 1);
    QTRY_COMPARE(window.size(), window.minimumSize());
}

// The whole widget shows: no ancestor clips it, and it lies in the window.
bool wholeInView(const QWidget& widget) {
    const QRect inWindow(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
    return widget.visibleRegion().boundingRect() == widget.rect() &&
           widget.window()->rect().contains(inWindow);
}

QWidget* controlNamed(frmSDI12& window, const QString& name) {
    const MeasureTab& measure = *window.Measure;
    const QList<QPair<QString, QWidget*>> controls{
        {"txtRepeatDelay", window.txtRepeatDelay},
        {"cboLines", window.cboLines},
        {"cmdSaveCsv", measure.cmdSaveCsv},
        {"cmdClearMeasurements", measure.cmdClearMeasurements},
        {"cmdIdentify", measure.cmdIdentify}};
    for (const auto& [controlName, control] : controls) {
        if (controlName == name)
            return control;
    }
    return nullptr;
}

} // namespace

void TestScreenFit::initTestCase() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    QVERIFY2(screen->devicePixelRatio() == 2 && screen->geometry().size() * 2 == QSize(1400, 900),
             "run with QT_SCALE_FACTOR=2 on a 1400 x 900 offscreen screen, as CTest does");
}

// The window starts within the screen, and its minimum (less than the
// design's) still fits it; the left column then scrolls beside the tabs.
void TestScreenFit::windowFitsTheScreen() {
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect room = window.screen()->availableGeometry();
    QTRY_VERIFY(room.contains(window.frameGeometry()));

    showAtItsMinimum(window);
    const QSize frame = window.frameGeometry().size() - window.size();
    QVERIFY(window.minimumHeight() + frame.height() <= room.height());
    QVERIFY(window.minimumWidth() + frame.width() <= room.width());
    qInfo("minimum client size: %d x %d device pixels",
          int(window.minimumWidth() * window.devicePixelRatio()),
          int(window.minimumHeight() * window.devicePixelRatio()));
    QVERIFY(wholeInView(*window.StatusBar));
    QVERIFY(window.scrControls->verticalScrollBar()->isVisible());
    QVERIFY(window.SSTab->x() >= window.scrControls->geometry().right() + 1);
}

// Each control, given the keyboard focus, comes whole into view: those at
// the foot of the left column and of the Measure tab, and those at their
// heads after that.
void TestScreenFit::everyControlCanBeReached_data() {
    QTest::addColumn<QStringList>("controls");
    QTest::newRow("foot of the left column") << QStringList{"txtRepeatDelay"};
    QTest::newRow("head of the left column after its foot")
        << QStringList{"txtRepeatDelay", "cboLines"};
    QTest::newRow("Save as CSV") << QStringList{"cmdSaveCsv"};
    QTest::newRow("Clear") << QStringList{"cmdClearMeasurements"};
    QTest::newRow("Identify after Clear") << QStringList{"cmdClearMeasurements", "cmdIdentify"};
}

void TestScreenFit::everyControlCanBeReached() {
    QFETCH(QStringList, controls);
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    window.SSTab->setCurrentWidget(window.Measure);
    showAtItsMinimum(window);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (const QString& name : controls) {
        QWidget* control = controlNamed(window, name);
        control->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY2(wholeInView(*control), qPrintable(name));
    }
}

QTEST_MAIN(TestScreenFit)
#include "tst_screenfit.moc"
