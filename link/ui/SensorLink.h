#pragma once

#include "link/Reception.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class CTimer;
class IClock;
class ISerialPort;
class IStatusPanels;
class TrafficLog;

// The controls the sensor link reads and writes.
struct LinkControls {
    QComboBox* cboLines = nullptr;
    QLineEdit* txtWakeUp = nullptr;
    QLineEdit* txtRepeatCmd = nullptr;
    QLineEdit* txtRepeatDelay = nullptr;
    QPushButton* cmdQuery = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdID = nullptr;
    QLabel* lblRoundTrip = nullptr;
    CTimer* tmrRepeatCmd = nullptr;
    CTimer* tmrRcv = nullptr;
};

// Sends commands to the sensor bus (break or wake-up characters first) and
// collects the answers: every 10 ms tmrRcv_Timer completes a response by
// silence, declares a time-out, and hands the outcome on.
class SensorLink : public QObject {
    Q_OBJECT
public:
    SensorLink(ISerialPort& Sax, IClock& clock, IStatusPanels& status, TrafficLog& trafficLog,
               const LinkControls& controls, QObject* parent = nullptr);

    // Where an exchange's outcome goes: the Result cell of the current sheet
    // row ("OK" or "TIMEOUT"), then the batch step.
    void setOutcomeHandlers(std::function<void(const QString&)> markResult,
                            std::function<void()> batchStep);

    // Wakes the line and writes the whole command text. False when the
    // command was refused (status panel 1 says why) and nothing was sent.
    bool SendCommand(const QString& command);
    void SendBreak();
    void SendWakeUp(qint64 count);
    void Sax_KeyTyped(int code);
    void Sax_LineEvent();
    void tmrRcv_Timer();
    // Bytes came in: tick now and start the 10 ms period afresh, so that the
    // response completes one quiet tick after its last byte.
    void Sax_BytesReceived();
    void Timer1_Timer(CTimer& Timer1);
    // Writes bytes typed by the operator (no time-out follows them).
    void TransmitTyped(const QByteArray& bytes);

    QString LastCommand() const { return m_lastCommand; }
    void setRoundTripStart(qint64 tick) { m_state.RoundTripStart = tick; }
    const ReceptionState& State() const { return m_state; }

private:
    void complete(const CompletionFigures& figures);
    void timeOut();
    void armRepetition();
    void reportIfClosed();
    bool wakeUpInUse() const;

    ISerialPort& Sax;
    IClock& m_clock;
    IStatusPanels& m_status;
    TrafficLog& m_trafficLog;
    LinkControls m_controls;
    ReceptionState m_state;
    QString m_lastCommand;
    std::function<void(const QString&)> m_markResult;
    std::function<void()> m_batchStep;
};
