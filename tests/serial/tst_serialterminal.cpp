#include "platform/serial/SerialTerminalView.h"
#include "support/FakeSerialPort.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

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
        const auto row = [](const char* name, bool selected, int key, int modifiers,
                            const QString& text, const char* copied, QList<int> typed) {
            QTest::newRow(name) << selected << key << modifiers << text << copied << typed;
        };
        const int ctrl = Qt::ControlModifier;
        const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        row("Ctrl+C, selection", true, Qt::Key_C, ctrl, "\x03", "0+1.23", {});
        row("Ctrl+C, no selection: ETX to the sensor", false, Qt::Key_C, ctrl, "\x03", "before",
            {3});
        row("Ctrl+Shift+C, selection", true, Qt::Key_C, ctrlShift, "\x03", "0+1.23", {});
        row("Ctrl+Shift+C, no selection", false, Qt::Key_C, ctrlShift, "\x03", "before", {});
        row("letter, selection", true, Qt::Key_A, 0, "a", "before", {'a'});
        row("character beyond one byte", false, 0, 0, "\u20AC", "before", {});
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
        QCOMPARE(m_view.toPlainText(), "0+1.23\n0+4.56\n"); // raised, never inserted
    }

    // Sent and received bytes show in two colours, within a bounded scrollback.
    void showsTrafficInTwoColours() {
        FakeSerialPort port;
        port.setIsOpen(true);
        SerialTerminalView view(port);
        port.Transmit("0M!");
        port.Receive("00013\r\n");
        QCOMPARE(view.toPlainText(), "0M!00013\n");
        const auto formats = view.document()->firstBlock().textFormats();
        QVERIFY(formats.size() == 2 &&
                formats[0].format.foreground() != formats[1].format.foreground());
        const int lines = SerialTerminalView::ScrollbackLines;
        for (int line = 1; line <= lines; ++line)
            port.Receive(QByteArray::number(line) + "\r\n");
        QVERIFY(view.document()->blockCount() <= lines);
        QVERIFY(view.toPlainText().endsWith(QString::number(lines) + "\n"));
    }
};

QTEST_MAIN(TestSerialTerminal)
#include "tst_serialterminal.moc"
