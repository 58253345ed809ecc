#pragma once

#include <QString>

// A message box with an OK button, behind an interface so that tests can
// read what it would show.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual void Show(const QString& title, const QString& text) = 0;
};
