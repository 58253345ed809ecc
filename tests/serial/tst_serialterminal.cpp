#include "platform/serial/SerialTerminalView.h"
#include "support/FakeSerialPort.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

class TestSerialTerminal : public QObject {
    Q_OBJECT
    FakeSerialPort m_port;
    SerialTerminalView m_view{m_port};

private slots:
    void initTestCase() {
        m_port.Receive("0+1.23\r\n0+4.56\r\n");
        m_view.resize(300, 200);
        m_view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_view));
    }
    void init() {
        QGuiApplication::clipboard()->setText("before");
        m_view.moveCursor(QTextCursor::Start);
    }

    // The key events carry the text the system gives them: Ctrl+C is ETX.
    void copyKeysAndTypedKeys_data() {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<QList<int>>("typed");
        const int ctrl = Qt::ControlModifier;
        const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("Ctrl+C, selection") << true << int(Qt::Key_C) << ctrl << QString("\x03")
                                           << QString("0+1.23") << QList<int>{};
        QTest::newRow("Ctrl+C, no selection: ETX to the sensor")
            << false << int(Qt::Key_C) << ctrl << QString("\x03") << QString("before")
            << QList<int>{3};
        QTest::newRow("Ctrl+Shift+C, selection")
            << true << int(Qt::Key_C) << ctrlShift << QString("\x03") << QString("0+1.23")
            << QList<int>{};
        QTest::newRow("Ctrl+Shift+C, no selection")
            << false << int(Qt::Key_C) << ctrlShift << QString("\x03") << QString("before")
            << QList<int>{};
        QTest::newRow("letter, selection")
            << true << int(Qt::Key_A) << 0 << QString("a") << QString("before") << QList<int>{'a'};
    }
    void copyKeysAndTypedKeys() {
        QFETCH(bool, selected);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        if (selected)
            m_view.moveCursor(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QSignalSpy typed(&m_view, &SerialTerminalView::KeyTyped);
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QCoreApplication::sendEvent(&m_view, &press);
        QTEST(QGuiApplication::clipboard()->text(), "copied");
        QList<int> codes;
        for (const QList<QVariant>& signal : typed)
            codes.append(signal.at(0).toInt());
        QTEST(codes, "typed");
    }

    void mouseSelectsText() {
        QTextCursor start = m_view.textCursor();
        QTextCursor end = start;
        end.movePosition(QTextCursor::EndOfBlock);
        const QPoint from = m_view.cursorRect(start).center();
        const QPoint to = m_view.cursorRect(end).center();
        QTest::mousePress(m_view.viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(m_view.viewport(), to);
        QTest::mouseRelease(m_view.viewport(), Qt::LeftButton, {}, to);
        QCOMPARE(m_view.textCursor().selectedText(), "0+1.23");
    }
};

QTEST_MAIN(TestSerialTerminal)
#include "tst_serialterminal.moc"
