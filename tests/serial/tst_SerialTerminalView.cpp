#include "platform/serial/SerialTerminalView.h"
#include "platform/serial/TermiosSerialPort.h"

#include <QTextBlock>
#include <QtTest>

class SerialTerminalViewTest : public QObject {
    Q_OBJECT
    TermiosSerialPort port; // closed: the test raises its events
private slots:
    // Typed keys are raised, not inserted; a character beyond one byte raises
    // nothing. Traffic shows in two colours, within a bounded scrollback.
    void typesAndShowsTraffic() {
        SerialTerminalView view(port);
        QSignalSpy typed(&view, &SerialTerminalView::KeyTyped);
        QTest::keyClick(&view, 'M');
        QTest::keyClick(&view, Qt::Key_Return);
        QKeyEvent euro(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x20AC)));
        QApplication::sendEvent(&view, &euro);
        QCOMPARE(typed, QList<QList<QVariant>>({{77}, {13}}));
        QVERIFY(view.document()->isEmpty());
        emit port.BytesTransmitted("0M!");
        emit port.BytesReceived("00013\r");
        emit port.BytesReceived("\n");
        QCOMPARE(view.toPlainText(), "0M!00013\n");
        QTextBlock::iterator fragment = view.document()->firstBlock().begin();
        const QBrush sentColour = fragment.fragment().charFormat().foreground();
        QVERIFY(sentColour != (++fragment).fragment().charFormat().foreground());
        const int lines = SerialTerminalView::ScrollbackLines;
        for (int line = 1; line <= lines; ++line)
            emit port.BytesReceived(QByteArray::number(line) + "\r\n");
        QVERIFY(view.document()->blockCount() <= lines);
        QVERIFY(view.toPlainText().endsWith(QString::number(lines) + "\n"));
    }
};

QTEST_MAIN(SerialTerminalViewTest)
#include "tst_SerialTerminalView.moc"
