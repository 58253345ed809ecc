#pragma once

#include <QScrollArea>

// A frameless scroll area for a part of a window that may not fit: it
// shows its scroll bars only when its contents are larger than it, and it
// brings the control with the keyboard focus into view, however the focus
// got there (Tab from outside, a mnemonic, a click). It takes no focus
// itself, so it adds no stop to the Tab order.
class FocusScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit FocusScrollArea(QWidget* parent = nullptr);
};
