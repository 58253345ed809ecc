#pragma once

#include "link/Exchange.h"
#include "link/Reception.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class CTimer;
class IClock;
class ISerialPort;
class IStatusPanels;
class TrafficLog;

// The controls the sensor link reads and writes.
struct LinkControls {
    QComboBox* cboLines = nullptr;
    QLineEdit* txtWakeUp = nullptr;
    QLabel* lblRoundTrip = nullptr;
    CTimer* tmrRcv = nullptr;
};

// Sends commands to the sensor bus (break or wake-up characters first) and
// collects the answers: the reception tick completes an answer at its line
// end, declares a time-out, and reports each exchange's outcome once, with
// the exchange's number. The tick runs only while it has something to
// decide, so an idle link costs no CPU.
class SensorLink : public QObject {
    Q_OBJECT
public:
    // Status panel 2 keeps this many of the latest received characters.
    static constexpr int ReceivedTextLimit = 1000;

    SensorLink(ISerialPort& Sax, IClock& clock, IStatusPanels& status, TrafficLog& trafficLog,
               const LinkControls& controls, QObject* parent = nullptr);

    // Wakes the line and writes the whole command text, starting a new
    // exchange. A command that cannot go on the line, or a port that stays
    // closed, starts none; status panel 1 then says why.
    // Refused, with status panel 1 saying why, while a sequence holds the
    // link.
    SendOutcome SendCommand(const QString& command);
    // A sequence of exchanges that must not be cut into (a measurement)
    // holds the link: until it lets go, only its own commands go out and
    // every other send or typed byte is refused with `holderReport`.
    void Hold(const QString& holderReport);
    void Release();
    bool IsHeld() const { return !m_holderReport.isEmpty(); }
    // The holder's own commands, sent as SendCommand sends.
    SendOutcome SendHeldCommand(const QString& command);
    void SendBreak();
    void SendWakeUp(qint64 count);
    void Sax_KeyTyped(int code);
    void Sax_LineEvent();
    void tmrRcv_Timer();
    // Bytes came in: tick now and start the 10 ms period afresh, so that the
    // answer completes one quiet tick after its last byte.
    void Sax_BytesReceived();
    void Timer1_Timer(CTimer& Timer1);
    // Writes bytes typed by the operator (no time-out follows them).
    void TransmitTyped(const QByteArray& bytes);

    QString LastCommand() const { return m_lastCommand; }
    void setRoundTripStart(qint64 tick) { m_state.RoundTripStart = tick; }
    // An operator's send, or each command of a holder: the round-trip label
    // empties and the next completion is timed from now.
    void StartRoundTrip();
    const ReceptionState& State() const { return m_state; }

signals:
    // The exchange's one outcome; answer holds the answer's bytes when it
    // was Answered.
    void ExchangeEnded(ExchangeId exchange, ExchangeOutcome outcome, const QByteArray& answer);
    // A command went on the line (after its wake-up), starting `exchange`.
    void CommandTransmitted(ExchangeId exchange, const QString& command);
    // An answer completed with no exchange in flight: a service request, a
    // late answer, or noise. It is shown and logged as every answer is.
    void AnswerOutsideExchange(const QByteArray& answer);

private:
    SendOutcome transmitCommand(const QString& command);
    bool refusedWhileHeld();
    TickInput tickInput() const;
    void complete(const TickResult& result, bool showRoundTrip);
    void timeOut(ExchangeId exchange);
    // Completes what waits before a new command goes out: it was said before
    // the command, so it cannot be the command's answer.
    void completeWaiting();
    void interruptExchangeInFlight();
    void Sax_StatusChanged();
    void scheduleTicks();
    void reportIfClosed();
    // Shows a report in status panel 1 beside what it already reports.
    void showAlongside(const QString& report);
    bool wakeUpInUse() const;

    ISerialPort& Sax;
    IClock& m_clock;
    IStatusPanels& m_status;
    TrafficLog& m_trafficLog;
    LinkControls m_controls;
    ReceptionState m_state;
    ExchangeId m_lastExchange = NoExchange;
    QString m_lastCommand;
    QString m_receivedText; // status panel 2: the tail of the answers since the last send
    bool m_portOpen = false;
    QString m_holderReport; // empty while no sequence holds the link
};
