#include "WindowHarness.h"

#include "app/TwoPanelStatusBar.h"
#include "measure/ui/MeasureTab.h"
#include "platform/ui/ElidedLabel.h"
#include "platform/ui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolTip>
#include <QtTest>

// What the window shows at its design size reads whole: the labels' texts,
// and long messages, cut visibly and whole on hover.
class TestLegibility : public QObject {
    Q_OBJECT
private slots:
    void designSizeNeedsNoScrolling();
    void labelsHaveRoomForTheirTexts();
    void longTextsShowWholeOnHover_data();
    void longTextsShowWholeOnHover();
};

namespace {

void showWindow(frmSDI12& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

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

QTEST_MAIN(TestLegibility)
#include "tst_legibility.moc"
