#pragma once

#include <QComboBox>

// An editable combo box that reports the moments the window reacts to:
// the list about to open (DropDown), an entry chosen from the list with the
// mouse or with Up/Down while closed (Click), a key going down before the
// box acts on it (KeyDown), and Enter (Committed, only when EnterCommits).
class DropDownComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownComboBox(QWidget* parent = nullptr);

    // When true, Enter counts as choosing the typed text (Committed);
    // otherwise Enter leaves the box alone.
    void setEnterCommits(bool commits) { m_enterCommits = commits; }
    void showPopup() override;

signals:
    void DropDown();
    void Click();
    void KeyDown(int key);
    void Committed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_enterCommits = false;
};
