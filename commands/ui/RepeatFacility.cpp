#include "commands/ui/RepeatFacility.h"

#include "commands/BoxValidation.h"
#include "commands/CommandRepeat.h"
#include "link/LinkEngine.h"
#include "platform/Val.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// Rewrites a box with its new text; writing only when the text differs
// keeps the change notification from calling itself without end.
void showInBox(QLineEdit& box, const QString& text) {
    if (text != box.text())
        box.setText(text);
}

const std::optional<double> NoLimit;

} // namespace

RepeatFacility::RepeatFacility(CommandRepeat& repeat, LinkEngine& link,
                               const RepeatControls& controls, QObject* parent)
    : QObject(parent), m_repeat(repeat), m_link(link), m_controls(controls) {
    connect(m_controls.txtRepeatCmd, &QLineEdit::textChanged, this,
            &RepeatFacility::txtRepeatCmd_Change);
    connect(m_controls.txtRepeatDelay, &QLineEdit::textChanged, this,
            &RepeatFacility::txtRepeatDelay_Change);
    connect(m_controls.txtWakeUp, &QLineEdit::textChanged, this, &RepeatFacility::txtWakeUp_Change);
    for (QLineEdit* box :
         {m_controls.txtRepeatCmd, m_controls.txtRepeatDelay, m_controls.txtWakeUp})
        connect(box, &QLineEdit::editingFinished, this, &RepeatFacility::NormalizeBoxes);
    connect(&m_repeat, &CommandRepeat::countTextChanged, m_controls.txtRepeatCmd,
            [this](const QString& text) { showInBox(*m_controls.txtRepeatCmd, text); });
    connect(&m_repeat, &CommandRepeat::runningChanged, this,
            &RepeatFacility::Repeat_RunningChanged);
    m_repeat.setCountText(m_controls.txtRepeatCmd->text());
    m_repeat.setDelayText(m_controls.txtRepeatDelay->text());
    m_link.setWakeUpCount(Val::LeadingNumber(m_controls.txtWakeUp->text()));
}

void RepeatFacility::NormalizeBoxes() {
    showInBox(*m_controls.txtRepeatCmd, BoxValidation::Normalize(m_controls.txtRepeatCmd->text(),
                                                                 BoxValidation::RepeatCountLimit));
    showInBox(*m_controls.txtRepeatDelay,
              BoxValidation::Normalize(m_controls.txtRepeatDelay->text(),
                                       BoxValidation::RepeatDelayLimit));
    showInBox(*m_controls.txtWakeUp,
              BoxValidation::Normalize(m_controls.txtWakeUp->text(), NoLimit));
}

void RepeatFacility::txtRepeatCmd_Change() {
    QLineEdit& box = *m_controls.txtRepeatCmd;
    showInBox(box,
              BoxValidation::NormalizeWhileTyping(box.text(), BoxValidation::RepeatCountLimit));
    m_repeat.setCountText(box.text());
}

void RepeatFacility::txtRepeatDelay_Change() {
    QLineEdit& box = *m_controls.txtRepeatDelay;
    showInBox(box,
              BoxValidation::NormalizeWhileTyping(box.text(), BoxValidation::RepeatDelayLimit));
    m_repeat.setDelayText(box.text());
}

void RepeatFacility::txtWakeUp_Change() {
    QLineEdit& box = *m_controls.txtWakeUp;
    showInBox(box, BoxValidation::NormalizeWhileTyping(box.text(), NoLimit));
    m_link.setWakeUpCount(Val::LeadingNumber(box.text()));
}

void RepeatFacility::Repeat_RunningChanged(bool running) {
    m_controls.cmdQuery->setEnabled(!running);
    m_controls.cmdSend->setEnabled(!running);
    m_controls.cmdID->setEnabled(!running);
}
