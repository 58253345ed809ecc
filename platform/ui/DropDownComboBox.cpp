#include "platform/ui/DropDownComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

DropDownComboBox::DropDownComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // The list holds only what the program puts there; typed text is not
    // added to it.
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    connect(this, qOverload<int>(&QComboBox::activated), this, &DropDownComboBox::Click);
}

void DropDownComboBox::showPopup() {
    emit DropDown();
    QComboBox::showPopup();
}

void DropDownComboBox::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(event->key());
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter must not pick the list entry that matches the typed text.
        event->accept();
        if (m_enterCommits)
            emit Committed();
        return;
    }
    QComboBox::keyPressEvent(event);
}
