#include "commands/ui/CommandLine.h"

#include "commands/ui/RepeatFacility.h"
#include "link/ui/SensorLink.h"
#include "platform/Clock.h"
#include "platform/StatusPanels.h"
#include "platform/ui/ClickableLabel.h"
#include "platform/ui/DropDownComboBox.h"

#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

CommandLine::CommandLine(SensorLink& link, RepeatFacility& repeat, ISettingsStore& settings,
                         IClock& clock, IStatusPanels& status, const CommandControls& controls,
                         QObject* parent)
    : QObject(parent), m_link(link), m_repeat(repeat), m_history(settings), m_clock(clock),
      m_status(status), m_controls(controls) {
    connect(m_controls.cmdSend, &QPushButton::clicked, this, &CommandLine::cmdSend_Click);
    connect(m_controls.cmdID, &QPushButton::clicked, this, &CommandLine::cmdID_Click);
    connect(m_controls.cmdQuery, &QPushButton::clicked, this, &CommandLine::cmdQuery_Click);
    connect(m_controls.cmdXQuery, &QPushButton::clicked, this, &CommandLine::cmdXQuery_Click);
    connect(m_controls.cboCmd, &DropDownComboBox::Click, this, &CommandLine::cboCmd_Click);
    connect(m_controls.cboCmd, &DropDownComboBox::DropDown, this, &CommandLine::cboCmd_DropDown);
    connect(m_controls.cboCmd, &DropDownComboBox::KeyDown, this, &CommandLine::cboCmd_KeyDown);
    connect(m_controls.lblCmd, &ClickableLabel::Click, this, &CommandLine::lblCmd_Click);
}

SendOutcome CommandLine::sendFromOperator(const QString& command) {
    m_repeat.TakeRepeatCount();
    m_link.StartRoundTrip();
    return m_link.SendCommand(command);
}

SendOutcome CommandLine::cmdSend_Click() {
    const QString body = m_controls.cboCmd->currentText();
    if (body.isEmpty())
        return {};
    const SendOutcome outcome =
        sendFromOperator(m_controls.txtNode->text() + body + QLatin1Char('!'));
    // A command that never went on the line is not remembered.
    if (outcome.What == SendOutcome::Kind::Refused || outcome.What == SendOutcome::Kind::Held)
        return outcome;
    const QString historyFailure =
        m_history.Remember(m_controls.cboCmd->currentText(),
                           QLocale().toString(m_clock.LocalNow(), QLocale::ShortFormat));
    if (!historyFailure.isEmpty())
        m_status.SetPanelText(1, historyFailure);
    return outcome;
}

void CommandLine::cboCmd_Click() {
    cmdSend_Click();
}

void CommandLine::cboCmd_DropDown() {
    const QStringList commands = m_history.Commands();
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
    if (key != Qt::Key_Delete)
        return;
    m_history.Forget(m_controls.cboCmd->currentText());
}

void CommandLine::lblCmd_Click() {
    const QStringList commands = m_history.Commands();
    if (commands.isEmpty())
        return;
    emptyCommandBox();
    for (const QString& command : commands)
        m_history.Forget(command);
}

void CommandLine::Form_KeyPress(int character) {
    if (character == 13)
        m_link.TransmitTyped(QByteArrayLiteral("\r\n"));
}

void CommandLine::cmdID_Click() {
    sendFromOperator(m_controls.txtNode->text() + QLatin1String("I!"));
}

void CommandLine::cmdQuery_Click() {
    sendFromOperator(QStringLiteral("?!"));
}

void CommandLine::cmdXQuery_Click() {
    sendFromOperator(QStringLiteral("?X!"));
}

void CommandLine::emptyCommandBox() {
    m_controls.cboCmd->clear();
    m_controls.cboCmd->setEditText(QString());
}
