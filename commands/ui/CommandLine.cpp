#include "commands/ui/CommandLine.h"

#include "commands/OperatorCommands.h"
#include "commands/ui/RepeatFacility.h"
#include "platform/ui/ClickableLabel.h"
#include "platform/ui/DropDownComboBox.h"

#include <QLineEdit>
#include <QPushButton>

CommandLine::CommandLine(OperatorCommands& commands, RepeatFacility& repeat,
                         const CommandControls& controls, QObject* parent)
    : QObject(parent), m_commands(commands), m_repeat(repeat), m_controls(controls) {
    connect(m_controls.cmdSend, &QPushButton::clicked, this, &CommandLine::cmdSend_Click);
    connect(m_controls.cmdID, &QPushButton::clicked, this, &CommandLine::cmdID_Click);
    connect(m_controls.cmdQuery, &QPushButton::clicked, this, &CommandLine::cmdQuery_Click);
    connect(m_controls.cmdXQuery, &QPushButton::clicked, this, &CommandLine::cmdXQuery_Click);
    connect(m_controls.cboCmd, &DropDownComboBox::Click, this, &CommandLine::cboCmd_Click);
    connect(m_controls.cboCmd, &DropDownComboBox::DropDown, this, &CommandLine::cboCmd_DropDown);
    connect(m_controls.cboCmd, &DropDownComboBox::KeyDown, this, &CommandLine::cboCmd_KeyDown);
    connect(m_controls.lblCmd, &ClickableLabel::Click, this, &CommandLine::lblCmd_Click);
}

SendOutcome CommandLine::cmdSend_Click() {
    return SendInTurn(NoTurn);
}

SendOutcome CommandLine::SendInTurn(TurnId turn) {
    m_repeat.NormalizeBoxes();
    return m_commands.sendCommandLine(m_controls.txtNode->text(), m_controls.cboCmd->currentText(),
                                      turn);
}

void CommandLine::cboCmd_Click() {
    cmdSend_Click();
}

void CommandLine::cboCmd_DropDown() {
    const QStringList commands = m_commands.history();
    if (commands.isEmpty())
        return;
    emptyCommandBox();
    m_controls.cboCmd->addItems(commands);
    // Adding items makes the first one current; the box stays empty until
    // the operator picks an entry, so that a send cannot take it unasked.
    m_controls.cboCmd->setCurrentIndex(-1);
    m_controls.cboCmd->setEditText(QString());
}

void CommandLine::cboCmd_KeyDown(int key) {
    if (key == Qt::Key_Delete)
        m_commands.forget(m_controls.cboCmd->currentText());
}

void CommandLine::lblCmd_Click() {
    if (m_commands.history().isEmpty())
        return;
    emptyCommandBox();
    m_commands.forgetAll();
}

void CommandLine::Form_KeyPress(int character) {
    if (character == 13)
        m_commands.sendLineEnd();
}

void CommandLine::cmdID_Click() {
    m_repeat.NormalizeBoxes();
    m_commands.sendIdentification(m_controls.txtNode->text());
}

void CommandLine::cmdQuery_Click() {
    m_repeat.NormalizeBoxes();
    m_commands.sendAddressQuery();
}

void CommandLine::cmdXQuery_Click() {
    m_repeat.NormalizeBoxes();
    m_commands.sendExtendedAddressQuery();
}

void CommandLine::emptyCommandBox() {
    m_controls.cboCmd->clear();
    m_controls.cboCmd->setEditText(QString());
}
