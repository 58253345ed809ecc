#pragma once

#include "commands/CommandHistory.h"
#include "link/Exchange.h"

#include <QObject>
#include <QString>

class QLineEdit;
class QPushButton;
class ClickableLabel;
class DropDownComboBox;
class IClock;
class ISettingsStore;
class IStatusPanels;
class RepeatFacility;
class SensorLink;

// The controls of the command area.
struct CommandControls {
    QLineEdit* txtNode = nullptr;
    DropDownComboBox* cboCmd = nullptr;
    ClickableLabel* lblCmd = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdID = nullptr;
    QPushButton* cmdQuery = nullptr;
    QPushButton* cmdXQuery = nullptr;
};

// The operator's commands: the command line with its stored history and the
// quick identification and address-query buttons.
class CommandLine : public QObject {
    Q_OBJECT
public:
    CommandLine(SensorLink& link, RepeatFacility& repeat, ISettingsStore& settings, IClock& clock,
                IStatusPanels& status, const CommandControls& controls, QObject* parent = nullptr);

    // Sends the address, the command line's text and "!"; nothing for an
    // empty text.
    SendOutcome cmdSend_Click();
    void cboCmd_Click();
    void cboCmd_DropDown();
    void cboCmd_KeyDown(int key);
    void lblCmd_Click();
    // Enter anywhere in the window writes CR LF to the port.
    void Form_KeyPress(int character);
    void cmdID_Click();
    void cmdQuery_Click();
    void cmdXQuery_Click();

private:
    // The steps every operator's send shares.
    SendOutcome sendFromOperator(const QString& command);
    // Empties the list and the edit text.
    void emptyCommandBox();

    SensorLink& m_link;
    RepeatFacility& m_repeat;
    CommandHistory m_history;
    IClock& m_clock;
    IStatusPanels& m_status;
    CommandControls m_controls;
};
