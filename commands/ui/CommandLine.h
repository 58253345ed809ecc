#pragma once

#include "link/Exchange.h"

#include <QObject>
#include <QString>

class QLineEdit;
class QPushButton;
class ClickableLabel;
class DropDownComboBox;
class OperatorCommands;
class RepeatFacility;

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

// The command area's handlers: the command line with its stored history and
// the quick identification and address-query buttons. What they decide is
// OperatorCommands'; these read and fill the controls.
class CommandLine : public QObject {
    Q_OBJECT
public:
    CommandLine(OperatorCommands& commands, RepeatFacility& repeat, const CommandControls& controls,
                QObject* parent = nullptr);

    // Sends the address, the command line's text and "!"; nothing for an
    // empty text.
    SendOutcome cmdSend_Click();
    // The same within a timed sender's turn on the line (a batch row).
    SendOutcome SendInTurn(TurnId turn);
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
    // Empties the list and the edit text.
    void emptyCommandBox();

    OperatorCommands& m_commands;
    RepeatFacility& m_repeat;
    CommandControls m_controls;
};
