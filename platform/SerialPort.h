#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

// Settings made once before the first open. The window sets them in this
// order: numbers 0, 1, 100, then switches false, false, true, true.
struct SerialStartupOptions {
    int FlowControl = 0;         // 0 none, 1 XON/XOFF, 2 RTS/CTS
    int ReceiveMode = 1;         // 1 bytes as received (no newline translation)
    int TerminalEchoLimit = 100; // longest run of sent bytes the terminal view echoes at once
    bool LocalEcho = false;      // the terminal view echoes typed keys itself
    bool DiscardNulls = false;   // drop received NUL bytes
    bool DtrOnOpen = true;       // assert DTR when the port opens (powers many adaptors)
    bool RtsOnOpen = true;       // assert RTS when the port opens
};

// One write to the line: an optional break and the marking after it, then
// the bytes. The component makes its writes in the order they were asked.
struct LineWrite {
    int BreakMs = 0; // hold the line in break this long first; 0: no break
    int MarkMs = 0;  // then let it mark this long before the bytes
    QByteArray Bytes;
    // Given back with WriteFinished, so that the caller knows its own write.
    quint64 Tag = 0;
};

// The serial port component: the operations and events the program uses.
// Characters are bytes: codes 0-255 map one-to-one between text and wire.
// Writes are made away from the caller's thread: no call waits on the line.
class ISerialPort : public QObject {
    Q_OBJECT
public:
    // LastEventCode after a receive parity error.
    static constexpr int ParityErrorEvent = 1009;

    using QObject::QObject;

    // Applied at the next open: "baud,parity,data,stop", e.g. "1200,E,7,1".
    virtual void setLineSettings(const QString& settings) = 0;
    virtual QString LineSettings() const = 0;
    virtual void setPortName(const QString& name) = 0;
    virtual QString PortName() const = 0;
    virtual void setStartupOptions(const SerialStartupOptions& options) = 0;
    // true opens the named port with the line settings, false closes it.
    virtual void setIsOpen(bool open) = 0;
    virtual bool IsOpen() const = 0;
    // True once the open device went away (an adaptor unplugged), until the
    // port is next opened or closed on purpose.
    virtual bool Lost() const = 0;
    // true holds the line in break until set false, after the writes asked
    // before.
    virtual void setBreakState(bool on) = 0;
    virtual bool BreakState() const = 0;
    // Queues a write after those asked before; WriteFinished tells when its
    // last byte has left. False on a closed port, where nothing is sent and
    // StatusText says so.
    virtual bool Write(const LineWrite& write) = 0;
    // Queues bytes for sending, as a write without a break.
    bool Transmit(const QByteArray& bytes) { return Write({0, 0, bytes, 0}); }
    // Received bytes waiting in the component's buffer.
    virtual qint64 WaitingCount() const = 0;
    // Every waiting byte; WaitingCount is 0 afterwards.
    virtual QByteArray ReadAll() = 0;
    // The first maxBytes waiting bytes (or all, when fewer wait); the rest
    // stays waiting.
    virtual QByteArray Read(qint64 maxBytes) = 0;
    // The waiting bytes, left waiting.
    virtual QByteArray PeekWaiting() const = 0;
    virtual int LastEventCode() const = 0;
    // What the port is doing, or why it failed, in plain words.
    virtual QString StatusText() const = 0;
    // One name per serial port of the machine.
    virtual QStringList PortNames() const = 0;

signals:
    // A line event happened; LastEventCode tells which.
    void LineEvent();
    // For the terminal view: bytes as they arrive and as they go out.
    void BytesReceived(const QByteArray& bytes);
    void BytesTransmitted(const QByteArray& bytes);
    // A write ended: its bytes left the port (onTheLine), or the device
    // failed on the way (the port is then closed and StatusChanged follows).
    void WriteFinished(quint64 tag, bool onTheLine);
    // The port opened or closed, or its status text changed.
    void StatusChanged();
};
