#pragma once

#include "commands/CommandHistory.h"

#include <QObject>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class CTimer;
class ClickableLabel;
class DropDownComboBox;
class IClock;
class ISettingsStore;
class SensorLink;

// The controls of the command area and the timing boxes.
struct CommandControls {
    QLineEdit* txtNode = nullptr;
    DropDownComboBox* cboCmd = nullptr;
    ClickableLabel* lblCmd = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdID = nullptr;
    QPushButton* cmdQuery = nullptr;
    QPushButton* cmdXQuery = nullptr;
    QLineEdit* txtRepeatCmd = nullptr;
    QLineEdit* txtRepeatDelay = nullptr;
    QLineEdit* txtWakeUp = nullptr;
    QLabel* lblRoundTrip = nullptr;
    CTimer* tmrRepeatCmd = nullptr;
};

// The operator's commands: the command line with its stored history, the
// quick identification and address-query buttons, the repeat facility and
// the validation of the timing boxes.
class CommandLine : public QObject {
    Q_OBJECT
public:
    CommandLine(SensorLink& link, ISettingsStore& settings, IClock& clock,
                const CommandControls& controls, QObject* parent = nullptr);

    void cmdSend_Click();
    void cboCmd_Click();
    void cboCmd_DropDown();
    void cboCmd_KeyDown(int key);
    void lblCmd_Click();
    // Enter anywhere in the window writes CR LF to the port.
    void Form_KeyPress(int character);
    void cmdID_Click();
    void cmdQuery_Click();
    void cmdXQuery_Click();
    void txtRepeatCmd_Change();
    void txtRepeatDelay_Change();
    void txtWakeUp_Change();
    void tmrRepeatCmd_Timer();

    qint32 RepeatCount() const { return m_repeatCount; }

private:
    // The steps every operator's send shares; false when the command was refused.
    bool sendFromOperator(const QString& command);
    void setRepeatButtonsEnabled(bool enabled);
    // Empties the list and the edit text.
    void emptyCommandBox();

    SensorLink& m_link;
    CommandHistory m_history;
    IClock& m_clock;
    CommandControls m_controls;
    qint32 m_repeatCount = 0;
};
