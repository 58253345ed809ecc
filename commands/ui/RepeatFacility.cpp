#include "commands/ui/RepeatFacility.h"

#include "commands/BoxValidation.h"
#include "commands/Repetition.h"
#include "link/ui/SensorLink.h"
#include "platform/Val.h"
#include "timer/CTimer.h"

#include <QLineEdit>
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

RepeatFacility::RepeatFacility(SensorLink& link, const RepeatControls& controls, QObject* parent)
    : QObject(parent), m_link(link), m_controls(controls) {
    connect(&m_link, &SensorLink::CommandTransmitted, this,
            &RepeatFacility::Link_CommandTransmitted);
    connect(m_controls.tmrRepeatCmd, &CTimer::Timer, this, &RepeatFacility::tmrRepeatCmd_Timer);
    connect(m_controls.txtRepeatCmd, &QLineEdit::textChanged, this,
            &RepeatFacility::txtRepeatCmd_Change);
    connect(m_controls.txtRepeatDelay, &QLineEdit::textChanged, this,
            &RepeatFacility::txtRepeatDelay_Change);
    connect(m_controls.txtWakeUp, &QLineEdit::textChanged, this, &RepeatFacility::txtWakeUp_Change);
}

void RepeatFacility::TakeRepeatCount() {
    m_repeatCount = Val::RoundToInt32(Val::LeadingNumber(m_controls.txtRepeatCmd->text()));
}

// Setting the interval restarts the count, so the first repeat comes one
// delay after this send.
void RepeatFacility::Link_CommandTransmitted() {
    // The commands of a sequence holding the link are not the operator's.
    if (m_link.IsHeld())
        return;
    const std::optional<qint32> interval =
        Repetition::ArmInterval(m_controls.txtRepeatCmd->text(), m_controls.txtRepeatDelay->text());
    if (!interval)
        return;
    m_controls.tmrRepeatCmd->setInterval(*interval);
    setRunning(true);
}

void RepeatFacility::tmrRepeatCmd_Timer() {
    // While a measurement holds the link the repetition waits its turn: the
    // count goes down only for a send that was not held back.
    if (m_link.SendCommand(m_link.LastCommand()).What == SendOutcome::Kind::Held)
        return;
    QLineEdit& box = *m_controls.txtRepeatCmd;
    box.setText(Repetition::CountedDown(box.text()));
    if (Repetition::CountdownEnded(box.text())) {
        setRunning(false);
        box.setText(QString::number(m_repeatCount));
    }
}

void RepeatFacility::setRunning(bool running) {
    m_running = running;
    m_controls.cmdQuery->setEnabled(!running);
    m_controls.cmdSend->setEnabled(!running);
    m_controls.cmdID->setEnabled(!running);
    m_controls.tmrRepeatCmd->setEnabled(running);
}

void RepeatFacility::txtRepeatCmd_Change() {
    normalizeBox(*m_controls.txtRepeatCmd, BoxValidation::RepeatCountLimit);
}

void RepeatFacility::txtRepeatDelay_Change() {
    normalizeBox(*m_controls.txtRepeatDelay, BoxValidation::RepeatDelayLimit);
}

void RepeatFacility::txtWakeUp_Change() {
    normalizeBox(*m_controls.txtWakeUp, std::nullopt);
}
