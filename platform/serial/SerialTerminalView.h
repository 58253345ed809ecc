#pragma once

#include "platform/SerialPort.h"
#include "platform/TerminalText.h"

#include <QColor>
#include <QPlainTextEdit>

// The serial component's terminal: shows received bytes as they arrive and
// sent bytes in a second colour, keeps a bounded scrollback, and raises
// KeyTyped for keys typed into it. It never sends anything itself. Text
// selected with the mouse is copied with Ctrl+C, Ctrl+Shift+C or the
// context menu.
class SerialTerminalView : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int ScrollbackLines = 5000;

    explicit SerialTerminalView(ISerialPort& port, QWidget* parent = nullptr);

    // The view uses LocalEcho and TerminalEchoLimit.
    void setStartupOptions(const SerialStartupOptions& options) { m_options = options; }

signals:
    // A typed character: printable codes, Enter 13, Backspace 8, Tab 9,
    // Escape 27, Delete 127 and control characters.
    void KeyTyped(int code);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showReceived(const QByteArray& bytes);
    void showTransmitted(const QByteArray& bytes);
    void appendText(const QString& text, const QColor& colour);

    SerialStartupOptions m_options;
    TerminalTextFormatter m_receivedText;
    TerminalTextFormatter m_sentText;
};
