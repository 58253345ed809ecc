#pragma once

#include <QObject>

class QLineEdit;
class QPushButton;
class CTimer;
class SensorLink;

// The controls of the repeat facility and the timing boxes.
struct RepeatControls {
    QLineEdit* txtRepeatCmd = nullptr;
    QLineEdit* txtRepeatDelay = nullptr;
    QLineEdit* txtWakeUp = nullptr;
    // Disabled while a repetition runs.
    QPushButton* cmdQuery = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdID = nullptr;
    CTimer* tmrRepeatCmd = nullptr;
};

// Sends the last command again and again at a set pace: every command that
// goes on the line arms the repetition when the count and the delay ask for
// it, and each tick sends the link's last command and counts the box down.
// Also keeps the three timing boxes numeric as they change.
class RepeatFacility : public QObject {
    Q_OBJECT
public:
    RepeatFacility(SensorLink& link, const RepeatControls& controls, QObject* parent = nullptr);

    // An operator's send takes the box's present count as the one to show
    // again when the repetition ends.
    void TakeRepeatCount();
    qint32 RepeatCount() const { return m_repeatCount; }
    bool Running() const { return m_running; }

    void tmrRepeatCmd_Timer();
    void txtRepeatCmd_Change();
    void txtRepeatDelay_Change();
    void txtWakeUp_Change();

private:
    // A command went on the line: arm the repetition when it is asked for.
    void Link_CommandTransmitted();
    void setRunning(bool running);

    SensorLink& m_link;
    RepeatControls m_controls;
    qint32 m_repeatCount = 0;
    bool m_running = false;
};
