#include "platform/serial/SerialTerminalView.h"
#include "platform/serial/TermiosSerialPort.h"

#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

class SerialTerminalViewTest : public QObject {
    Q_OBJECT
    TermiosSerialPort port; // closed: the test raises its events
private slots:
    void raisesTypedKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("letter") << int(Qt::Key_M) << "M" << 77;
        QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << 13;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << 8;
        QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1B" << 27;
        QTest::newRow("tab") << int(Qt::Key_Tab) << "\t" << 9;
    }

    void raisesTypedKeys() {
        QFETCH(int, key);
        QFETCH(QString, text);
        SerialTerminalView view(port);
        QSignalSpy typed(&view, &SerialTerminalView::KeyTyped);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&view, &press);
        QKeyEvent euro(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x20AC)));
        QApplication::sendEvent(&view, &euro); // not a byte: nothing to raise
        QCOMPARE(typed.count(), 1);
        QTEST(typed.at(0).at(0).toInt(), "code");
        QVERIFY(view.document()->isEmpty()); // typing inserts nothing
    }

    void showsBothDirectionsApart() {
        SerialTerminalView view(port);
        emit port.BytesTransmitted("0M!");
        emit port.BytesReceived("00013\r");
        emit port.BytesReceived("\n");
        QCOMPARE(view.toPlainText(), "0M!00013\n");
        QTextBlock::iterator fragment = view.document()->firstBlock().begin();
        const QBrush sentColour = fragment.fragment().charFormat().foreground();
        QVERIFY(sentColour != (++fragment).fragment().charFormat().foreground());
    }

    void boundsTheScrollback() {
        SerialTerminalView view(port);
        const int lines = SerialTerminalView::ScrollbackLines + 500;
        for (int line = 1; line <= lines; ++line)
            emit port.BytesReceived(QByteArray::number(line) + "\r\n");
        QVERIFY(view.document()->blockCount() <= SerialTerminalView::ScrollbackLines);
        QVERIFY(view.toPlainText().endsWith(QString::number(lines) + "\n"));
    }
};

QTEST_MAIN(SerialTerminalViewTest)
#include "tst_SerialTerminalView.moc"
