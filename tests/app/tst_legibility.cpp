#include "WindowHarness.h"

#include "app/TwoPanelStatusBar.h"
#include "measure/MeasurementRunner.h"
#include "measure/ui/MeasurePlot.h"
#include "measure/ui/MeasureTab.h"
#include "platform/ui/ElidedLabel.h"
#include "platform/ui/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolTip>
#include <QtTest>

// What the window shows at its design size reads whole: the labels' texts,
// long messages (cut visibly, whole on hover), every column of the
// measurement table, and a plot whose lines are not flattened by each other.
class TestLegibility : public QObject {
    Q_OBJECT
private slots:
    void designSizeNeedsNoScrolling();
    void labelsHaveRoomForTheirTexts();
    void longTextsShowWholeOnHover_data();
    void longTextsShowWholeOnHover();
    void measureColumnsShowWhole_data();
    void measureColumnsShowWhole();
    void plotAxesChoiceIsKept();
    void plotAxesChoiceNotKeptIsReported();
};

namespace {

void showWindow(frmSDI12& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

// The Measure tab, shown, after one measurement of `values`; `fault`, when
// given, fails it.
void showMeasurement(frmSDI12& window, const QStringList& values, const QString& fault = {}) {
    window.SSTab->setCurrentWidget(window.Measure);
    showWindow(window);
    MeasurementRecord record;
    record.Time = QDateTime(QDate(2026, 1, 31), QTime(14, 5, 9));
    record.Command = QStringLiteral("0M!");
    for (const QString& value : values)
        record.Outcome.Values.append({value, value.toDouble()});
    record.Outcome.Promised = int(values.size());
    record.Outcome.Fault = fault;
    emit window.Measure->Runner().measurementEnded(record);
}

// A settings store that keeps nothing.
class FullSettingsStore : public MemorySettingsStore {
public:
    bool Save(const QString&, const QString&, const QString&, const QString&) override {
        return false;
    }
    QString ErrorString() const override { return QStringLiteral("No space left on device"); }
};

} // namespace

// The design size holds on a screen large enough for it (raised, where the
// design falls short, to show the whole command area above the status
// bar), with no scroll bar in the left column or on the Measure tab.
void TestLegibility::designSizeNeedsNoScrolling() {
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    window.SSTab->setCurrentWidget(window.Measure);
    showWindow(window);
    const QSize design(Twips::ToPixels(10890), Twips::ToPixels(7530));
    QCOMPARE(window.size(), design.expandedTo(window.minimumSize()));
    QVERIFY(window.height() - design.height() <= 2);
    QVERIFY(!window.scrControls->verticalScrollBar()->isVisible());
    for (const QScrollArea* area : window.Measure->findChildren<QScrollArea*>()) {
        QVERIFY(!area->verticalScrollBar()->isVisible());
        QVERIFY(!area->horizontalScrollBar()->isVisible());
    }
}

// Each label in the port and command areas is as wide as its text (a
// wrapped one as tall), and its text covers no box beside it and stays
// within its frame's border.
void TestLegibility::labelsHaveRoomForTheirTexts() {
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    showWindow(window);
    for (const QGroupBox* frame : {window.fraPort, window.fraSDI12}) {
        const auto boxes = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QLabel* label : frame->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->text().isEmpty())
                continue;
            const QByteArray name = label->text().toUtf8();
            const QRect place = label->geometry();
            QRect text(place.topLeft(), label->sizeHint());
            if (label->wordWrap()) {
                text.setSize({place.width(), label->heightForWidth(place.width())});
                QVERIFY2(place.height() >= text.height(), name);
            } else {
                QVERIFY2(place.width() >= text.width(), name);
            }
            for (const QWidget* box : boxes) {
                if (box->focusPolicy() != Qt::NoFocus)
                    QVERIFY2(!text.intersects(box->geometry()), name);
            }
            QVERIFY2(frame->contentsRect().contains(text), name);
        }
    }
}

// A text longer than its label ends in "…" where it is cut, and hovering
// shows it whole; a text that fits shows whole without it.
void TestLegibility::longTextsShowWholeOnHover_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("cut");
    QTest::newRow("round trip") << "round trip"
                                << "Roundtrip delay = 80 mS" << false;
    QTest::newRow("long round trip") << "round trip"
                                     << "Roundtrip delay = 123456789 mS" << true;
    QTest::newRow("panel 1") << "panel 1"
                             << "TIMEOUT" << false;
    QTest::newRow("long panel 1")
        << "panel 1"
        << "The measurements cannot be saved to /home/operator/measurements/2026/january/"
           "the-river-station-by-the-old-mill/Measurements.csv (Permission denied)."
        << true;
}

void TestLegibility::longTextsShowWholeOnHover() {
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(bool, cut);
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    showWindow(window);
    ElidedLabel* shown = nullptr;
    if (label == QLatin1String("panel 1")) {
        window.StatusBar->SetPanelText(1, text);
        shown = window.StatusBar->findChild<ElidedLabel*>(QStringLiteral("StatusPanel1"));
    } else {
        window.lblRoundTrip->setText(text);
        shown = qobject_cast<ElidedLabel*>(window.lblRoundTrip);
    }
    QVERIFY(shown);
    QTRY_COMPARE(shown->ShownText() != text, cut);
    if (cut) {
        QVERIFY(shown->ShownText().contains(QStringLiteral("…")));
        const QPoint middle = shown->rect().center();
        QHelpEvent hover(QEvent::ToolTip, middle, shown->mapToGlobal(middle));
        QApplication::sendEvent(shown, &hover);
        QTRY_COMPARE(QToolTip::text(), text);
        QToolTip::hideText();
    }
    // Panel 1 never pushes the link's state out of the bar.
    const QWidget* linkState = window.StatusBar->findChild<QWidget*>(QStringLiteral("LinkState"));
    QVERIFY(window.StatusBar->rect().contains(linkState->geometry()));
}

// After a first measurement at the design size, every column of the table
// shows whole without moving the splitter, and the last one reaches the
// table's right edge.
void TestLegibility::measureColumnsShowWhole_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("fault");
    QTest::newRow("one value") << QStringList{"+21.37"} << QString();
    QTest::newRow("temperature, pressure, voltage")
        << QStringList{"+21.37", "+1013.2", "+12.61"} << QString();
    QTest::newRow("failed after two values")
        << QStringList{"+21.37", "+1013.2"} << QStringLiteral("No answer to 0D1!");
}

void TestLegibility::measureColumnsShowWhole() {
    QFETCH(QStringList, values);
    QFETCH(QString, fault);
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    showMeasurement(window, values, fault);
    QTableView& table = *window.Measure->grdMeasurements;
    const QHeaderView& titles = *table.horizontalHeader();
    const int columns = table.model()->columnCount();
    QVERIFY(columns >= 3);
    const int viewWidth = table.viewport()->width();
    QTRY_COMPARE(titles.sectionViewportPosition(columns - 1) + titles.sectionSize(columns - 1),
                 viewWidth);
    const QAbstractItemView& view = table;
    for (int column = 0; column < columns; ++column) {
        const QByteArray title = table.model()->headerData(column, Qt::Horizontal).toByteArray();
        QVERIFY2(titles.sectionViewportPosition(column) >= 0, title);
        QVERIFY2(titles.sectionSize(column) >= view.sizeHintForColumn(column), title);
        QVERIFY2(titles.sectionSize(column) >= titles.sectionSizeHint(column), title);
    }
}

// One axis per value is the first choice; the operator's choice is kept for
// the next run, and the plot follows the box.
void TestLegibility::plotAxesChoiceIsKept() {
    WindowHarness harness;
    MeasureTab& tab = *harness.Window->Measure;
    QVERIFY(tab.chkOneAxisPerValue->isChecked());
    QVERIFY(tab.picPlot->IsOneAxisPerValue());
    tab.chkOneAxisPerValue->click();
    QVERIFY(!tab.picPlot->IsOneAxisPerValue());
    frmSDI12 nextRun(harness.Pieces.With(harness.Serial, harness.Clock));
    QVERIFY(!nextRun.Measure->chkOneAxisPerValue->isChecked());
    QVERIFY(!nextRun.Measure->picPlot->IsOneAxisPerValue());
    nextRun.Measure->chkOneAxisPerValue->click();
    frmSDI12 third(harness.Pieces.With(harness.Serial, harness.Clock));
    QVERIFY(third.Measure->picPlot->IsOneAxisPerValue());
}

// A choice the store could not keep is said on the tab's report line; the
// plot follows it all the same.
void TestLegibility::plotAxesChoiceNotKeptIsReported() {
    FullSettingsStore full;
    WindowHarness harness;
    Platform platform = harness.Pieces.With(harness.Serial, harness.Clock);
    platform.Settings = &full;
    frmSDI12 window(platform);
    window.Measure->chkOneAxisPerValue->click();
    QVERIFY(!window.Measure->picPlot->IsOneAxisPerValue());
    const QString report = window.Measure->lblMeasureReport->text();
    QVERIFY2(report.contains(QStringLiteral("not saved")) &&
                 report.contains(QStringLiteral("No space left on device")),
             qPrintable(report));
}

QTEST_MAIN(TestLegibility)
#include "tst_legibility.moc"
