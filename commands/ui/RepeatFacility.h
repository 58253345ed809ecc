#pragma once

#include <QObject>

class QLineEdit;
class QPushButton;
class CommandRepeat;
class LinkEngine;

// The controls of the repeat facility and the timing boxes.
struct RepeatControls {
    QLineEdit* txtRepeatCmd = nullptr;
    QLineEdit* txtRepeatDelay = nullptr;
    QLineEdit* txtWakeUp = nullptr;
    // Disabled while a repetition runs.
    QPushButton* cmdQuery = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdID = nullptr;
};

// The timing boxes and the repetition's controls. The boxes keep
// themselves numeric as the operator types (an unfinished number such as
// "2." stays until the box is left), and hand their values to the repeat
// and the link; the three send buttons rest while a repetition runs.
class RepeatFacility : public QObject {
    Q_OBJECT
public:
    RepeatFacility(CommandRepeat& repeat, LinkEngine& link, const RepeatControls& controls,
                   QObject* parent = nullptr);

    // The boxes are read: each shows its normal form.
    void NormalizeBoxes();

    void txtRepeatCmd_Change();
    void txtRepeatDelay_Change();
    void txtWakeUp_Change();

private:
    void Repeat_RunningChanged(bool running);

    CommandRepeat& m_repeat;
    LinkEngine& m_link;
    RepeatControls m_controls;
};
