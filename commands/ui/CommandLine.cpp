#include "commands/ui/CommandLine.h"

#include "commands/BoxValidation.h"
#include "link/ui/SensorLink.h"
#include "platform/Clock.h"
#include "platform/Val.h"
#include "platform/ui/ClickableLabel.h"
#include "platform/ui/DropDownComboBox.h"
#include "timer/CTimer.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {

// Rewrites a box with its normalised text; writing only when the text
// differs keeps the change notification from calling itself without end.
void normalizeBox(QLineEdit& box, std::optional<double> upperLimit) {
    const QString normalized = BoxValidation::Normalize(box.text(), upperLimit);
    if (normalized != box.text())
        box.setText(normalized);
}

} // namespace

CommandLine::CommandLine(SensorLink& link, ISettingsStore& settings, IClock& clock,
                         const CommandControls& controls, QObject* parent)
    : QObject(parent), m_link(link), m_history(settings), m_clock(clock), m_controls(controls) {
    connect(m_controls.cmdSend, &QPushButton::clicked, this, &CommandLine::cmdSend_Click);
    connect(m_controls.cmdID, &QPushButton::clicked, this, &CommandLine::cmdID_Click);
    connect(m_controls.cmdQuery, &QPushButton::clicked, this, &CommandLine::cmdQuery_Click);
    connect(m_controls.cmdXQuery, &QPushButton::clicked, this, &CommandLine::cmdXQuery_Click);
    connect(m_controls.cboCmd, &DropDownComboBox::Click, this, &CommandLine::cboCmd_Click);
    connect(m_controls.cboCmd, &DropDownComboBox::DropDown, this, &CommandLine::cboCmd_DropDown);
    connect(m_controls.cboCmd, &DropDownComboBox::KeyDown, this, &CommandLine::cboCmd_KeyDown);
    connect(m_controls.lblCmd, &ClickableLabel::Click, this, &CommandLine::lblCmd_Click);
    connect(m_controls.txtRepeatCmd, &QLineEdit::textChanged, this,
            &CommandLine::txtRepeatCmd_Change);
    connect(m_controls.txtRepeatDelay, &QLineEdit::textChanged, this,
            &CommandLine::txtRepeatDelay_Change);
    connect(m_controls.txtWakeUp, &QLineEdit::textChanged, this, &CommandLine::txtWakeUp_Change);
    connect(m_controls.tmrRepeatCmd, &CTimer::Timer, this, &CommandLine::tmrRepeatCmd_Timer);
}

bool CommandLine::sendFromOperator(const QString& command) {
    m_controls.lblRoundTrip->setText(QString());
    m_repeatCount = Val::RoundToInt32(Val::LeadingNumber(m_controls.txtRepeatCmd->text()));
    m_link.setRoundTripStart(m_clock.TickMs());
    return m_link.SendCommand(command);
}

void CommandLine::cmdSend_Click() {
    const QString body = m_controls.cboCmd->currentText();
    if (body.isEmpty())
        return;
    if (!sendFromOperator(m_controls.txtNode->text() + body + QLatin1Char('!')))
        return;
    m_history.Remember(m_controls.cboCmd->currentText(),
                       QLocale().toString(m_clock.LocalNow(), QLocale::ShortFormat));
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

void CommandLine::txtRepeatCmd_Change() {
    normalizeBox(*m_controls.txtRepeatCmd, BoxValidation::RepeatCountLimit);
}

void CommandLine::txtRepeatDelay_Change() {
    normalizeBox(*m_controls.txtRepeatDelay, BoxValidation::RepeatDelayLimit);
}

void CommandLine::txtWakeUp_Change() {
    normalizeBox(*m_controls.txtWakeUp, std::nullopt);
}

void CommandLine::tmrRepeatCmd_Timer() {
    m_link.SendCommand(m_link.LastCommand());
    QLineEdit& box = *m_controls.txtRepeatCmd;
    box.setText(Val::NumberText(Val::LeadingNumber(box.text()) - 1));
    if (Val::LeadingNumber(box.text()) == 0) {
        m_controls.tmrRepeatCmd->setEnabled(false);
        setRepeatButtonsEnabled(true);
        box.setText(QString::number(m_repeatCount));
    }
}

void CommandLine::emptyCommandBox() {
    m_controls.cboCmd->clear();
    m_controls.cboCmd->setEditText(QString());
}

void CommandLine::setRepeatButtonsEnabled(bool enabled) {
    m_controls.cmdQuery->setEnabled(enabled);
    m_controls.cmdSend->setEnabled(enabled);
    m_controls.cmdID->setEnabled(enabled);
}
