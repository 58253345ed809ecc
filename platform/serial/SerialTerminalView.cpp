#include "platform/serial/SerialTerminalView.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>

namespace {

const QColor receivedColour(Qt::black);
const QColor sentColour(0x00, 0x00, 0x8B); // dark blue

// The byte a key stands for, or -1 for keys that only move or select.
int typedCode(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Delete:
        return 127;
    default:
        break;
    }
    // Characters go out as one byte each, so only codes up to 255 can be sent.
    const QString text = event.text();
    if (text.size() == 1 && text.at(0).unicode() <= 0xFF)
        return text.at(0).unicode();
    return -1;
}

} // namespace

SerialTerminalView::SerialTerminalView(ISerialPort& port, QWidget* parent)
    : QPlainTextEdit(parent) {
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    setMaximumBlockCount(ScrollbackLines);
    setUndoRedoEnabled(false);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // A fixed light background keeps both text colours readable under any theme.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, receivedColour);
    setPalette(colours);
    connect(&port, &ISerialPort::BytesReceived, this, &SerialTerminalView::showReceived);
    connect(&port, &ISerialPort::BytesTransmitted, this, &SerialTerminalView::showTransmitted);
}

// Ctrl+C copies a selection; with none it is the control character, which
// the sensor may be waiting for. Ctrl+Shift+C, as in other terminals, always
// copies and never reaches the sensor.
void SerialTerminalView::keyPressEvent(QKeyEvent* event) {
    const bool copyAlways = event->keyCombination() ==
                            QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_C);
    if (copyAlways || (event->matches(QKeySequence::Copy) && textCursor().hasSelection())) {
        copy();
        return;
    }
    const int code = typedCode(*event);
    if (code < 0) {
        QPlainTextEdit::keyPressEvent(event); // scrolling and selection keys
        return;
    }
    if (m_options.LocalEcho)
        appendText(m_sentText.format(QByteArray(1, char(code))), sentColour);
    emit KeyTyped(code);
}

void SerialTerminalView::showReceived(const QByteArray& bytes) {
    appendText(m_receivedText.format(bytes), receivedColour);
}

// A long run (a burst of wake-up characters) is shortened to the echo limit,
// with a count of what was left out.
void SerialTerminalView::showTransmitted(const QByteArray& bytes) {
    const int limit = m_options.TerminalEchoLimit;
    if (limit <= 0)
        return;
    QString text = m_sentText.format(bytes.left(limit));
    if (bytes.size() > limit)
        text += QStringLiteral("<+%1 bytes>").arg(bytes.size() - limit);
    appendText(text, sentColour);
}

void SerialTerminalView::appendText(const QString& text, const QColor& colour) {
    if (text.isEmpty())
        return;
    QScrollBar* scrollBar = verticalScrollBar();
    const bool followingEnd = scrollBar->value() == scrollBar->maximum();
    QTextCharFormat format;
    format.setForeground(colour);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // New lines go through appendPlainText: only that path frees the lines
        // that fall off the scrollback (plain cursor inserts keep their text
        // storage, so memory would grow for as long as the session runs).
        if (i > 0)
            appendPlainText(QString());
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        end.insertText(lines[i], format);
    }
    // Someone reading back through the scrollback is not pulled to the end.
    if (followingEnd)
        scrollBar->setValue(scrollBar->maximum());
}
